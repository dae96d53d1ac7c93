#include "DataStreamGuard.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <string_view>

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

// One-letter escapes and the characters they stand for.
constexpr std::string_view EscapeLetters = "abfnrtv\"?'\\";
constexpr std::string_view EscapedCharacters = "\a\b\f\n\r\t\v\"?'\\";

int HexDigit(char ch) {
    const char lower = static_cast<char>(ch | 0x20);
    return ch >= '0' && ch <= '9' ? ch - '0' : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

int OctalDigit(char ch) {
    return ch >= '0' && ch <= '7' ? ch - '0' : -1;
}

// The character of the digits from `i` on, as many as follow, kept to 16 bits
// as in Qt: "\x10040" is '@'.
char16_t DigitRun(QByteArrayView value, qsizetype& i, int (*digit)(char), int bits) {
    char16_t code = 0;
    for (int d = 0; i < value.size() && (d = digit(value[i])) >= 0; ++i) {
        code = static_cast<char16_t>((code << bits) + d);
    }
    return code;
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
            if (const std::size_t letter = EscapeLetters.find(escaped);
                letter != std::string_view::npos) {
                elements.Add(static_cast<char16_t>(EscapedCharacters[letter]));
            } else if (escaped == 'x' && i < size && HexDigit(value[i]) >= 0) {
                elements.Add(DigitRun(value, i, HexDigit, 4));
            } else if (OctalDigit(escaped) >= 0) {
                --i;
                elements.Add(DigitRun(value, i, OctalDigit, 3));
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
    QByteArray result;
    result.reserve(ini.size());
    qsizetype copied = 0;
    qsizetype pos = ini.startsWith("\xef\xbb\xbf") ? 3 : 0;
    bool topLevel = true;
    IniLine line;
    while (NextIniLine(ini, pos, line)) {
        const QByteArrayView text = ini.sliced(line.start, line.end - line.start);
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            const QByteArrayView name = text.first(close < 0 ? text.size() : close).sliced(1);
            // [General] and what comes before any section: the top level.
            topLevel = name.trimmed().compare("general", Qt::CaseInsensitive) == 0;
        } else if (topLevel && line.equals >= 0 &&
                   HoldsDataStreamText(ini.sliced(line.equals + 1, line.end - line.equals - 1))) {
            result.append(ini.sliced(copied, line.equals + 1 - copied));
            result.append(RefusedValue);
            copied = line.end;
        }
    }
    result.append(ini.sliced(copied));
    return result;
}

} // namespace tembrel
