#pragma once

#include <filesystem>
#include <string>

namespace tembrel {

// What Google Earth would read: the texts of lines 6 to 8 of the view file on
// disk (longitude, latitude, range) without their tags, separated by spaces.
// A line that is missing or not as expected is given as it stands ("?" when
// missing), so that a damaged file shows in the output.
std::string ReadViewTexts(const std::filesystem::path& file);

// The value inside "<tag>value</tag>"; the whole line when it is not so.
std::string ElementText(const std::string& line, const std::string& tag);

} // namespace tembrel
