#include "ImportReport.h"

namespace tembrel {

std::string ImportReport::Lines(const std::vector<ImportProblem>& problems) {
    std::string text = problems.size() == 1 ? std::string("1 line of the file cannot be read:\n")
                                            : std::to_string(problems.size()) +
                                                  " lines of the file cannot be read:\n";
    for (std::size_t i = 0; i < problems.size() && i < MaxListed; ++i) {
        text += "Line " + std::to_string(problems[i].line) + ": " + problems[i].reason + "\n";
    }
    if (problems.size() > MaxListed) {
        const std::size_t more = problems.size() - MaxListed;
        text +=
            "... and " + std::to_string(more) + (more == 1 ? " more line.\n" : " more lines.\n");
    }
    return text;
}

std::string ImportReport::Question(const std::vector<ImportProblem>& problems, std::size_t good,
                                   const char* singular, const char* plural) {
    return Lines(problems) + "\nImport the other " + std::to_string(good) + " " +
           (good == 1 ? singular : plural) + "?";
}

std::string ImportReport::NothingFound(const std::vector<ImportProblem>& problems,
                                       const char* what) {
    std::string text = problems.empty() ? std::string() : Lines(problems) + "\n";
    return text + "No " + what + " found in the file. Nothing has been imported.";
}

} // namespace tembrel
