// Progress of a long analysis on the batch tool's standard error.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "engine/FastPath.h"

// "analysing NAME: 42 %" for a share done of 0 .. 1 (rounded down).
std::string ProgressLine(const std::string& recordName, double shareDone);

// A watcher that stays quiet for quietFor; a run still going then gets its progress line
// rewritten in place (carriage return) every interval, ended by a line break once the run
// has finished. For a terminal only: redirected output would collect every rewrite.
RunWatcher TerminalProgress(std::string recordName, std::ostream& out,
                            std::chrono::milliseconds quietFor = std::chrono::seconds(1),
                            std::chrono::milliseconds interval = std::chrono::milliseconds(200));
