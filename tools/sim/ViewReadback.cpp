#include "ViewReadback.h"

#include "HeadlessWindow.h"

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

namespace tembrel {

std::string ElementText(const std::string& line, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    if (line.size() >= open.size() + close.size() && line.starts_with(open) &&
        line.ends_with(close)) {
        return line.substr(open.size(), line.size() - open.size() - close.size());
    }
    return line;
}

std::string ReadViewTexts(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::vector<std::string> lines = HeadlessWindow::SplitLines(content);
    static const std::array<const char*, 3> tags = {"longitude", "latitude", "range"};
    std::string texts;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::size_t index = 5 + i;
        if (i > 0) {
            texts += ' ';
        }
        texts += index < lines.size() ? ElementText(lines[index], tags[i]) : "?";
    }
    return texts;
}

} // namespace tembrel
