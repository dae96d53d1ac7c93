#pragma once

#include <string>
#include <string_view>

namespace tembrel {

// A line of tembrel-sim's output as a terminal can show it: valid UTF-8 is
// kept byte for byte; each piece that is no UTF-8 character becomes U+FFFD,
// as the window shows it; each control character but TAB becomes its picture
// (NUL U+2400, ESC U+241B, DEL U+2421). A text read from a file can then
// neither cut a line short, nor garble it, nor steer the terminal.
std::string PrintableText(std::string_view text);

} // namespace tembrel
