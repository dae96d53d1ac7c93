#include "CsvLines.h"

#include <algorithm>

namespace tembrel {

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

CsvLines::CsvLines(std::string_view text) {
    CsvLineStream stream([this](const Line& line) {
        lines_.push_back(line);
        return true;
    });
    stream.Feed(text);
    stream.Finish();
    separator_ = stream.Separator();
}

CsvLineStream::CsvLineStream(Handler handler) : handler_(std::move(handler)) {}

bool CsvLineStream::Feed(std::string_view chunk) {
    while (!chunk.empty() && !stopped_) {
        if (afterCr_ && chunk.front() == '\n') {
            chunk.remove_prefix(1); // the LF of a CR LF
        }
        afterCr_ = false;
        const std::size_t end = chunk.find_first_of("\r\n");
        const std::string_view part = chunk.substr(0, end);
        const std::size_t room = CsvLines::MaxLineBytes - pending_.size();
        pending_.append(part.substr(0, room));
        tooLong_ = tooLong_ || part.size() > room;
        if (end == std::string_view::npos) {
            break;
        }
        afterCr_ = chunk[end] == '\r';
        chunk.remove_prefix(end + 1);
        EndLine();
    }
    return !stopped_;
}

bool CsvLineStream::Finish() {
    if (!stopped_ && (!pending_.empty() || tooLong_)) {
        EndLine();
    }
    return !stopped_;
}

void CsvLineStream::EndLine() {
    ++number_;
    if (pending_.empty() && !tooLong_) {
        return; // an empty line: nothing to hand on
    }
    std::string_view line = pending_;
    if (number_ == 1 && line.starts_with(ByteOrderMark)) {
        line.remove_prefix(ByteOrderMark.size());
    }
    if (tooLong_) {
        stopped_ = !handler_(CsvLines::Line{number_, {}, true});
    } else if (!Trim(line).empty()) {
        if (!separatorKnown_) {
            separatorKnown_ = true;
            if (line.find('\t') != std::string_view::npos) {
                separator_ = '\t';
            } else if (line.find(';') != std::string_view::npos) {
                separator_ = ';';
            }
        }
        stopped_ = !handler_(CsvLines::Line{number_, CsvLines::SplitFields(line, separator_)});
    }
    pending_.clear();
    tooLong_ = false;
}

std::vector<std::string> CsvLines::SplitFields(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    const auto finish = [&] {
        fields.push_back(wasQuoted ? field : std::string(Trim(field)));
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && Trim(field).empty()) {
            // A quote opens a field only at its start; blanks before it go.
            field.clear();
            quoted = true;
            wasQuoted = true;
        } else if (c == separator) {
            finish();
        } else if (!(wasQuoted && (c == ' ' || c == '\t'))) {
            field += c;
        }
    }
    finish();
    return fields;
}

} // namespace tembrel
