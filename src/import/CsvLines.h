#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tembrel {

// A CSV text as lines of fields. Lines end at LF, CR LF or CR; a UTF-8 byte
// order mark is dropped. The field separator is the file's own: a tab when
// the first non-empty line holds one, else a semicolon when it holds one,
// else a comma. A field may be quoted ("a; b", with "" for a quote); blanks
// around a field are dropped.
class CsvLines {
public:
    struct Line {
        int number = 0; // 1-based
        std::vector<std::string> fields;
    };

    explicit CsvLines(std::string_view text);

    char Separator() const { return separator_; }
    // The non-empty lines (a line of blanks is empty).
    const std::vector<Line>& Lines() const { return lines_; }

    static std::vector<std::string> SplitFields(std::string_view line, char separator);

private:
    char separator_ = ',';
    std::vector<Line> lines_;
};

} // namespace tembrel
