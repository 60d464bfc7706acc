// A long analysis seen and stopped from the window: the progress dialog and what it blocks.
#pragma once

#include <QString>

#include "engine/ResultStore.h"

class QWidget;

// The progress dialog's object name, for tests.
inline constexpr const char* kAnalysisProgressName = "analysisProgress";

// Runs store.AnalyseRecord(record, dampingRatio, gravity) on the engine's worker threads.
// A run that lasts longer than about 0.3 s shows a modal progress dialog over window
// ("Analysing <record name>", the share done, Cancel); meanwhile the window repaints but
// takes no input, so none of its handlers runs. Cancel, or closing the window, stops the
// run at once. Returns false when the run was stopped; errors of the analysis propagate.
bool AnalyseWithProgress(ResultStore& store, TimeHistory* record, double dampingRatio,
                         double gravity, QWidget* window);
