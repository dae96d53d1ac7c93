#pragma once

#include <stdexcept>
#include <string>

namespace tembrel {

// The failures that travel through the engine. Handlers either trap them and
// show a fixed message, or let them reach the default error box at the window
// boundary, which shows what() (see DefaultErrorBox.h).
class VoyageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that the text-to-real or text-to-integer conversion refuses.
class ConversionError : public VoyageError {
public:
    using VoyageError::VoyageError;
};

// A failed file operation. code() is the Windows system error code of the
// condition (errno is mapped to it on other systems), so users see the same
// message everywhere.
class InOutError : public VoyageError {
public:
    explicit InOutError(int code);
    int code() const noexcept { return code_; }
    static std::string MessageFor(int code);

private:
    int code_;
};

// A floating-point fault of the voyage arithmetic.
class FloatingPointError : public VoyageError {
public:
    enum class Kind { DivisionByZero, InvalidOperation, Overflow };
    explicit FloatingPointError(Kind kind);
    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

// A 32-bit integer result that does not fit (a snapshot count, say).
class IntegerOverflowError : public VoyageError {
public:
    IntegerOverflowError() : VoyageError("Integer overflow") {}
};

// Refuses an operation without any message (a refused close of the window).
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

} // namespace tembrel
