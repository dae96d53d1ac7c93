#pragma once

#include "ImportTypes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tembrel {

// The one message that reports the lines an import left out, with their
// numbers: the first MaxListed of them, then how many more.
class ImportReport {
public:
    static constexpr std::size_t MaxListed = 15;

    // The bad lines, then the question whether to import the `good` others
    // (a "point" or "points", say). Asked with Yes and No. leftOut counts
    // further bad lines that were not kept.
    static std::string Question(const std::vector<ImportProblem>& problems, std::size_t good,
                                const char* singular, const char* plural, std::size_t leftOut = 0);

    // Nothing could be imported: the bad lines, if any, that no record was
    // found and, when the file holds other shapes, which.
    static std::string NothingFound(const std::vector<ImportProblem>& problems, const char* what,
                                    std::size_t leftOut = 0, const OtherShapes& shapes = {});

    // "3 paths and 1 polygon", "2 paths, 1 polygon and 1 track"; empty when
    // there are none.
    static std::string Shapes(const OtherShapes& shapes);

private:
    static std::string Lines(const std::vector<ImportProblem>& problems, std::size_t leftOut);
};

} // namespace tembrel
