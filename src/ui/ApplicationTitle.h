#pragma once

#include <string>
#include <string_view>

namespace tembrel {

// The caption of the default error box: the executable's file name without
// its folder, cut at the first full stop, every character after the first in
// lower case.
std::string ApplicationTitle(std::string_view executablePath);

} // namespace tembrel
