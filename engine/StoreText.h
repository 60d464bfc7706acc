// Memory sizes inside the analysis's messages.
#pragma once

#include <cstddef>
#include <string>

// A memory size for the user: bytes below 1 MB, else MB or GB with one decimal.
std::string ByteSizeText(std::size_t bytes);
