#include "DataStreamGuard.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <vector>

// The scanners below follow QSettingsPrivate::iniUnescapedStringList and
// QConfFileSettingsPrivate::readIniLine / readIniFile of Qt 6.4 step by step,
// keeping only what decides where a value lies and how its elements start.

namespace tembrel {

namespace {

// Taken in place of a refused value: another type with data, read without
// QDataStream.
constexpr QByteArrayView RefusedValue = "@Rect(0 0 0 0)";

// The first characters of each element of a value, as far as they matter.
class ElementStarts {
public:
    void Add(QStringView text) {
        if (start_.size() < MaxPrefix) {
            start_ += text.first(std::min(text.size(), MaxPrefix - start_.size()));
        }
    }
    void Add(char16_t ch) { Add(QStringView(&ch, 1)); }
    void EndElement() {
        found_ = found_ || IsDataStreamText(start_);
        start_.clear();
    }
    bool Found() const { return found_; }

private:
    static constexpr qsizetype MaxPrefix = 10; // "@DateTime("
    QString start_;
    bool found_ = false;
};

bool IsHexDigit(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

char16_t HexValue(char ch) {
    return static_cast<char16_t>(ch <= '9' ? ch - '0' : (ch | 0x20) - 'a' + 10);
}

bool IsOctalDigit(char ch) {
    return ch >= '0' && ch <= '7';
}

// The character of a one-letter escape, or 0 for none.
char SimpleEscape(char ch) {
    switch (ch) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return ch;
    default:
        return 0;
    }
}

bool IsLineSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool IsLineSpecial(char ch) {
    return ch == '\n' || ch == '\r' || ch == '"' || ch == ';' || ch == '=' || ch == '\\';
}

struct IniLine {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype equals = -1; // -1: none outside quotes
};

// The next logical line from `pos` (quotes and escapes may span line breaks;
// ';' starts a comment), as readIniLine splits it. False at the end.
bool NextIniLine(QByteArrayView data, qsizetype& pos, IniLine& line) {
    const qsizetype size = data.size();
    bool inQuotes = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < size && IsLineSpace(data[line.start])) {
        ++line.start;
    }
    qsizetype i = line.start;
    while (i < size) {
        const char ch = data[i++];
        if (!IsLineSpecial(ch)) {
            continue;
        }
        if (ch == '=') {
            if (!inQuotes && line.equals == -1) {
                line.equals = i - 1;
            }
        } else if (ch == '\n' || ch == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size && ((escaped == '\n' && data[i] == '\r') ||
                                 (escaped == '\r' && data[i] == '\n'))) {
                    ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (i == line.start + 1) { // ';' first: a comment line
            while (i < size && data[i] != '\n' && data[i] != '\r') {
                ++i;
            }
            while (i < size && IsLineSpace(data[i])) {
                ++i;
            }
            line.start = i;
        } else if (!inQuotes) {
            --i;
            break;
        }
    }
    pos = i;
    line.end = i;
    return line.end > line.start;
}

struct ByteRange {
    qsizetype begin;
    qsizetype end;
};

std::vector<ByteRange> DataStreamValueRanges(QByteArrayView ini) {
    std::vector<ByteRange> ranges;
    qsizetype pos = ini.startsWith("\xef\xbb\xbf") ? 3 : 0;
    bool topLevel = true;
    IniLine line;
    while (NextIniLine(ini, pos, line)) {
        const QByteArrayView text = ini.sliced(line.start, line.end - line.start);
        if (text.startsWith('[')) {
            qsizetype close = text.indexOf(']');
            if (close < 0) {
                close = text.size();
            }
            const QByteArrayView name = text.first(close).sliced(1).trimmed();
            // [General] and what comes before any section: the top level.
            topLevel = name.compare("general", Qt::CaseInsensitive) == 0;
        } else if (topLevel && line.equals >= 0 &&
                   HoldsDataStreamText(ini.sliced(line.equals + 1, line.end - line.equals - 1))) {
            ranges.push_back({line.equals + 1, line.end});
        }
    }
    return ranges;
}

} // namespace

bool IsDataStreamText(QStringView text) {
    return text.startsWith(u"@Variant(") || text.startsWith(u"@DateTime(");
}

bool HoldsDataStreamText(QByteArrayView value) {
    // One decoder for the whole value, as in Qt: a UTF-8 sequence cut by an
    // escape or a comma goes on in the next piece of plain text.
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    ElementStarts elements;
    const qsizetype size = value.size();
    qsizetype i = 0;
    bool inQuotes = false;
    const auto skipBlanks = [&] {
        while (i < size && (value[i] == ' ' || value[i] == '\t')) {
            ++i;
        }
    };
    skipBlanks();
    while (i < size) {
        const char ch = value[i];
        if (ch == '\\') {
            if (++i >= size) {
                break;
            }
            const char escaped = value[i++];
            if (const char simple = SimpleEscape(escaped); simple != 0) {
                elements.Add(static_cast<char16_t>(simple));
            } else if (escaped == 'x' && i < size && IsHexDigit(value[i])) {
                // As many digits as follow, kept to 16 bits: "\x10040" is '@'.
                char16_t code = 0;
                for (; i < size && IsHexDigit(value[i]); ++i) {
                    code = static_cast<char16_t>((code << 4) + HexValue(value[i]));
                }
                elements.Add(code);
            } else if (escaped == 'x' && i >= size) {
                break;
            } else if (IsOctalDigit(escaped)) {
                char16_t code = static_cast<char16_t>(escaped - '0');
                for (; i < size && IsOctalDigit(value[i]); ++i) {
                    code = static_cast<char16_t>((code << 3) + (value[i] - '0'));
                }
                elements.Add(code);
            } else if (escaped == '\n' || escaped == '\r') {
                if (i < size && (value[i] == '\n' || value[i] == '\r') && value[i] != escaped) {
                    ++i;
                }
            } // any other escaped character is dropped
        } else if (ch == '"') {
            ++i;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
            }
        } else if (ch == ',' && !inQuotes) {
            elements.EndElement();
            ++i;
            skipBlanks();
        } else {
            qsizetype end = i + 1;
            while (end < size && value[end] != '\\' && value[end] != '"' && value[end] != ',') {
                ++end;
            }
            elements.Add(QString(fromUtf8(value.sliced(i, end - i))));
            i = end;
        }
    }
    elements.EndElement();
    return elements.Found();
}

QByteArray WithoutDataStreamValues(QByteArrayView ini) {
    const std::vector<ByteRange> ranges = DataStreamValueRanges(ini);
    if (ranges.empty()) {
        return ini.toByteArray();
    }
    QByteArray result;
    result.reserve(ini.size());
    qsizetype copied = 0;
    for (const ByteRange& range : ranges) {
        result.append(ini.sliced(copied, range.begin - copied));
        result.append(RefusedValue);
        copied = range.end;
    }
    result.append(ini.sliced(copied));
    return result;
}

} // namespace tembrel
