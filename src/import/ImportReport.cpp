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
                                       std::size_t leftOut) {
    std::string text = problems.empty() ? std::string() : Lines(problems, leftOut) + "\n";
    return text + "No " + what + " found in the file. Nothing has been imported.";
}

} // namespace tembrel
