#include "AnsiText.h"

#include <windows.h>

#include <climits>

namespace tembrel {

namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty() || wide.size() > INT_MAX) {
        return std::string();
    }
    const int length = static_cast<int>(wide.size());
    const int narrowLength =
        WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrowLength <= 0) {
        return std::string();
    }
    std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), narrowLength, nullptr,
                        nullptr);
    return narrow;
}

} // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    return Narrow(CP_ACP, Widen(CP_UTF8, utf8));
}

std::string AnsiToUtf8(std::string_view ansi) {
    return Narrow(CP_UTF8, Widen(CP_ACP, ansi));
}

} // namespace tembrel
