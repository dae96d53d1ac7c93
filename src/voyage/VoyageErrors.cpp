#include "VoyageErrors.h"

namespace tembrel {

namespace {

const char* FloatingPointMessage(FloatingPointError::Kind kind) {
    switch (kind) {
    case FloatingPointError::Kind::DivisionByZero:
        return "Floating point division by zero";
    case FloatingPointError::Kind::InvalidOperation:
        return "Invalid floating point operation";
    case FloatingPointError::Kind::Overflow:
        return "Floating point overflow";
    }
    return "Invalid floating point operation";
}

} // namespace

InOutError::InOutError(int code) : VoyageError(MessageFor(code)), code_(code) {}

std::string InOutError::MessageFor(int code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

FloatingPointError::FloatingPointError(Kind kind)
    : VoyageError(FloatingPointMessage(kind)), kind_(kind) {}

} // namespace tembrel
