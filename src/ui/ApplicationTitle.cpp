#include "ApplicationTitle.h"

namespace tembrel {

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string ApplicationTitle(std::string_view executablePath) {
    std::string_view name = executablePath;
    const std::size_t folderEnd = name.find_last_of("/\\");
    if (folderEnd != std::string_view::npos) {
        name.remove_prefix(folderEnd + 1);
    }
    name = name.substr(0, name.find('.'));
    std::string title;
    title.reserve(name.size());
    for (char c : name) {
        // The first character keeps its case.
        title += title.empty() ? c : AsciiLower(c);
    }
    return title;
}

} // namespace tembrel
