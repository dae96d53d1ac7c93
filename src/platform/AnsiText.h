#pragma once

#include <string>
#include <string_view>

namespace tembrel {

// Conversions between the program's UTF-8 texts and the ANSI code page that
// the registry's and the shell's "A" functions use. A character the code page
// lacks becomes its best fit or '?'. Embedded NULs pass through. Windows only.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

} // namespace tembrel
