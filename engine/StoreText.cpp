// Memory sizes inside the analysis's messages.
#include "engine/StoreText.h"

#include "records/NumberText.h"

std::string ByteSizeText(std::size_t bytes) {
    constexpr double kMB = 1024.0 * 1024.0;
    constexpr double kGB = kMB * 1024.0;
    // FormatFixed, not printf: the window's process runs in the user's locale, where
    // printf would write "1,5 MB" into a message that is otherwise English.
    if (bytes < kMB) {
        return std::to_string(bytes) + " bytes";
    }
    if (bytes < kGB) {
        return FormatFixed(static_cast<double>(bytes) / kMB, 1) + " MB";
    }
    return FormatFixed(static_cast<double>(bytes) / kGB, 1) + " GB";
}
