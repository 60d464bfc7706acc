// The errors the core raises, with the texts the user sees.
#include "records/Errors.h"

ConvertError::ConvertError(const std::string& text)
    : OrvantaError("'" + text + "' is not a valid floating point value") {}

ListIndexError::ListIndexError(long long index)
    : OrvantaError("List index out of bounds (" + std::to_string(index) + ")") {}

FileOpenError::FileOpenError(const std::string& path, const std::string& reason)
    : OrvantaError("Cannot open file \"" + path + "\". " + reason) {}

DivisionByZeroError::DivisionByZeroError() : OrvantaError("Floating point division by zero") {}

InvalidOperationError::InvalidOperationError() : OrvantaError("Invalid floating point operation") {}

OverflowError::OverflowError() : OrvantaError("Floating point overflow") {}
