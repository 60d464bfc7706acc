// The errors the core raises, with the texts the user sees.
#include "records/Errors.h"

namespace {

// A UTF-8 continuation byte (10xxxxxx) never starts a character.
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string ShownText(std::string_view text) {
    std::size_t length = text.size();
    const bool cut = length > ConvertError::kMaxShownBytes;
    if (cut) {
        length = ConvertError::kMaxShownBytes;
        while (length > 0 && IsContinuationByte(text[length])) {
            --length;
        }
    }
    std::string shown;
    shown.reserve(length + 8);
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '\0') {
            shown.append("\xEF\xBF\xBD");  // U+FFFD REPLACEMENT CHARACTER
        } else {
            shown.push_back(text[i]);
        }
    }
    if (cut) {
        shown.append("...");
    }
    return shown;
}

namespace {

// Built by appending: GCC 12 gives a false -Wrestrict warning for "'" + std::string + "...".
std::string ConvertMessage(const std::string& text) {
    std::string message = "'";
    message.append(ShownText(text));
    message.append("' is not a valid floating point value");
    return message;
}

}  // namespace

ConvertError::ConvertError(const std::string& text) : OrvantaError(ConvertMessage(text)) {}

ListIndexError::ListIndexError(long long index)
    : OrvantaError("List index out of bounds (" + std::to_string(index) + ")") {}

FileOpenError::FileOpenError(const std::string& path, const std::string& reason)
    : OrvantaError("Cannot open file \"" + path + "\". " + reason) {}

DivisionByZeroError::DivisionByZeroError() : OrvantaError("Floating point division by zero") {}

InvalidOperationError::InvalidOperationError() : OrvantaError("Invalid floating point operation") {}

OverflowError::OverflowError() : OrvantaError("Floating point overflow") {}
