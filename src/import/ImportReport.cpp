#include "ImportReport.h"

namespace tembrel {

std::string ImportReport::Lines(const std::vector<ImportProblem>& problems, std::size_t leftOut) {
    const std::size_t count = problems.size() + leftOut;
    std::string text = count == 1 ? std::string("1 line of the file cannot be read:\n")
                                  : std::to_string(count) + " lines of the file cannot be read:\n";
    std::size_t listed = 0;
    for (; listed < problems.size() && listed < MaxListed; ++listed) {
        text +=
            "Line " + std::to_string(problems[listed].line) + ": " + problems[listed].reason + "\n";
    }
    if (count > listed) {
        const std::size_t more = count - listed;
        text +=
            "... and " + std::to_string(more) + (more == 1 ? " more line.\n" : " more lines.\n");
    }
    return text;
}

std::string ImportReport::Question(const std::vector<ImportProblem>& problems, std::size_t good,
                                   const char* singular, const char* plural, std::size_t leftOut) {
    return Lines(problems, leftOut) + "\nImport the other " + std::to_string(good) + " " +
           (good == 1 ? singular : plural) + "?";
}

std::string ImportReport::NothingFound(const std::vector<ImportProblem>& problems, const char* what,
                                       std::size_t leftOut, const OtherShapes& shapes) {
    std::string text = problems.empty() ? std::string() : Lines(problems, leftOut) + "\n";
    text += "No " + std::string(what) + " found in the file";
    if (const std::string others = Shapes(shapes); !others.empty()) {
        text += "; it holds " + others;
    }
    return text + ". Nothing has been imported.";
}

std::string ImportReport::Shapes(const OtherShapes& shapes) {
    std::vector<std::string> parts;
    const auto count = [&](std::size_t n, const char* one, const char* many) {
        if (n > 0) {
            parts.push_back(std::to_string(n) + " " + (n == 1 ? one : many));
        }
    };
    count(shapes.paths, "path", "paths");
    count(shapes.polygons, "polygon", "polygons");
    count(shapes.tracks, "track", "tracks");
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    }
    return text;
}

} // namespace tembrel
