// Memory sizes inside the analysis's messages.
#include "engine/StoreText.h"

#include <cstdio>

std::string ByteSizeText(std::size_t bytes) {
    constexpr double kMB = 1024.0 * 1024.0;
    constexpr double kGB = kMB * 1024.0;
    char text[48];
    if (bytes < kMB) {
        std::snprintf(text, sizeof text, "%zu bytes", bytes);
    } else if (bytes < kGB) {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / kMB);
    } else {
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / kGB);
    }
    return text;
}
