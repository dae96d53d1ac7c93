#pragma once

#include <cstddef>
#include <functional>
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
    // A line longer than this is not held: it comes with no fields and
    // tooLong set.
    static constexpr std::size_t MaxLineBytes = 64 * 1024;

    struct Line {
        int number = 0; // 1-based
        std::vector<std::string> fields;
        bool tooLong = false;
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

// The same lines from a text fed in chunks of any size, each handed on as
// soon as it is complete, so that only the line being read is held. The
// handler returns false to stop; nothing is handed on after that.
class CsvLineStream {
public:
    using Handler = std::function<bool(const CsvLines::Line& line)>;

    explicit CsvLineStream(Handler handler);

    // False once the handler has stopped the stream.
    bool Feed(std::string_view chunk);
    // The end of the text: its last line, if it has no line break.
    bool Finish();
    // Known once the first non-empty line has been handed on.
    char Separator() const { return separator_; }

private:
    void EndLine();

    Handler handler_;
    std::string pending_;
    bool tooLong_ = false;
    bool afterCr_ = false;
    bool separatorKnown_ = false;
    char separator_ = ',';
    int number_ = 0;
    bool stopped_ = false;
};

} // namespace tembrel
