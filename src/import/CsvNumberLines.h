#pragma once

#include "CsvColumns.h"
#include "CsvLines.h"
#include "ExtendedMath.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tembrel {

// What the CSV readers share: the lines of a CSV text that each hold a few
// numbers, in the columns its first line chooses (CsvColumns), read with the
// file's decimal mark. A line that does not hold them all goes to Refuse with
// the reason; the numbers of the others go to Take, in the order of the
// columns. The text may come in chunks.
class CsvNumberLines {
public:
    struct Column {
        const char* name; // for "latitude 'x' is not a number"
        CsvColumns::Matcher matches;
    };

    CsvNumberLines(const CsvNumberLines&) = delete;
    CsvNumberLines& operator=(const CsvNumberLines&) = delete;
    virtual ~CsvNumberLines() = default;

    // False once the limit is passed: feed no more.
    bool Feed(std::string_view chunk) { return stream_.Feed(chunk); }

protected:
    // expected: the reason given for a line with too few fields.
    CsvNumberLines(std::vector<Column> columns, std::string expected);

    // The end of the text: its last line, if it has no line break.
    void FinishLines() { stream_.Finish(); }
    // False stops the reading.
    virtual bool Take(const std::vector<Extended>& values, int line) = 0;
    virtual void Refuse(int line, std::string reason) = 0;

private:
    bool OnLine(const CsvLines::Line& line);

    std::vector<Column> columns_;
    std::string expected_;
    CsvLineStream stream_;
    std::optional<CsvColumns> indices_;
    std::vector<Extended> values_;
};

} // namespace tembrel
