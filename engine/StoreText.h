// Number texts inside the analysis's messages.
#pragma once

#include <cstddef>
#include <string>

// General format with up to 15 significant digits and no trailing zeros (%.15g).
std::string GeneralText(double value);

// A memory size for the user: bytes below 1 MB, else MB or GB with one decimal.
std::string ByteSizeText(std::size_t bytes);
