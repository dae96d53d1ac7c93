#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tembrel {

// The failures that travel through the engine. Handlers either trap them and
// show a fixed message, or let them reach the default error box at the window
// boundary, which shows what() (see DefaultErrorBox.h).
class VoyageError : public std::runtime_error {
public:
    explicit VoyageError(const std::string& message)
        : std::runtime_error(message), message_(message) {}
    explicit VoyageError(const char* message) : VoyageError(std::string(message)) {}

    // The whole message: what() ends at the first NUL, and a text quoted in
    // the message (a grid cell's, say) may hold one.
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// The whole message of any error (see VoyageError::Message).
inline std::string_view MessageOf(const std::exception& error) noexcept {
    if (const auto* voyageError = dynamic_cast<const VoyageError*>(&error)) {
        return voyageError->Message();
    }
    return error.what();
}

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
