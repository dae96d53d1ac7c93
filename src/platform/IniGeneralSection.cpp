#include "IniGeneralSection.h"

#include "IniEscaping.h"

namespace tembrel {

namespace {

bool IsLineSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct IniLine {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1; // index of the first '=' outside quotes, in the file
};

// The next line from `pos`, split as QSettings splits a file: blank lines and
// comment lines (';' first) are skipped; a line ends at a line break or at a
// ';' outside quotes; an escaped line break, or one inside quotes, goes on.
bool NextLine(QByteArrayView data, qsizetype& pos, IniLine& line) {
    const qsizetype n = data.size();
    qsizetype start = pos;
    while (start < n && IsLineSpace(data[start])) {
        ++start;
    }
    qsizetype i = start;
    qsizetype equals = -1;
    bool inQuotes = false;
    bool ended = false;
    while (i < n && !ended) {
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && equals < 0) {
                equals = i - 1;
            }
        } else if (c == '\n' || c == '\r') {
            if (!inQuotes) {
                --i;
                ended = true;
            }
        } else if (c == '\\') {
            if (i < n) {
                const char escaped = data[i++];
                if (i < n && ((escaped == '\n' && data[i] == '\r') ||
                              (escaped == '\r' && data[i] == '\n'))) {
                    ++i;
                }
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';') {
            if (i == start + 1) {
                while (i < n && data[i] != '\n' && data[i] != '\r') {
                    ++i;
                }
                while (i < n && IsLineSpace(data[i])) {
                    ++i;
                }
                start = i;
            } else if (!inQuotes) {
                --i; // the rest of the line is a comment, skipped as the next line
                ended = true;
            }
        }
    }
    pos = i;
    line.start = start;
    line.length = i - start;
    line.equals = equals;
    return line.length > 0;
}

// Whether a value read from a file may be written back as it is: one that
// leaves a quote open or ends in a lone backslash would swallow the next line.
// (A key cannot: its line's first '=' outside quotes ends it.)
bool WritesBackSafely(QByteArrayView rawValue) {
    bool inQuotes = false;
    for (qsizetype i = 0; i < rawValue.size(); ++i) {
        if (rawValue[i] == '\\') {
            if (i + 1 >= rawValue.size()) {
                return false;
            }
            ++i;
        } else if (rawValue[i] == '"') {
            inQuotes = !inQuotes;
        }
    }
    return !inQuotes;
}

} // namespace

IniGeneralSection IniGeneralSection::Parse(QByteArrayView file) {
    IniGeneralSection section;
    if (file.startsWith("\xef\xbb\xbf")) {
        file = file.sliced(3);
    }
    const auto keepOtherSection = [&section, file](qsizetype from, qsizetype to) {
        section.otherSections_ += file.sliced(from, to - from);
        if (!section.otherSections_.endsWith('\n')) {
            section.otherSections_ += '\n';
        }
    };

    bool inGeneral = true;
    qsizetype otherStart = -1;
    qsizetype pos = 0;
    IniLine line;
    while (NextLine(file, pos, line)) {
        const QByteArrayView text = file.sliced(line.start, line.length);
        if (text.startsWith('[')) {
            if (otherStart >= 0) {
                keepOtherSection(otherStart, line.start);
            }
            qsizetype close = text.indexOf(']');
            if (close < 0) {
                close = text.size();
            }
            inGeneral = text.sliced(1, close - 1).trimmed().toByteArray().toLower() == "general";
            otherStart = inGeneral ? -1 : line.start;
            continue;
        }
        if (!inGeneral || line.equals < 0) {
            continue; // a line without '=' means nothing to QSettings either
        }
        const qsizetype equals = line.equals - line.start;
        const QByteArrayView rawKey = text.first(equals).trimmed();
        const QByteArrayView rawValue = text.sliced(equals + 1);
        const QString key = UnescapeIniKey(rawKey);
        // A key given twice takes its last value, in the place of the first.
        if (const std::ptrdiff_t index = section.IndexOf(key); index >= 0) {
            section.entries_[index].rawKey = rawKey.toByteArray();
            section.entries_[index].rawValue = rawValue.toByteArray();
        } else {
            section.entries_.push_back({key, rawKey.toByteArray(), rawValue.toByteArray()});
        }
    }
    if (otherStart >= 0) {
        keepOtherSection(otherStart, file.size());
    }
    return section;
}

std::ptrdiff_t IniGeneralSection::IndexOf(const QString& key) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key == key) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

bool IniGeneralSection::Contains(const QString& key) const {
    return IndexOf(key) >= 0;
}

QVariant IniGeneralSection::Value(const QString& key) const {
    const std::ptrdiff_t index = IndexOf(key);
    return index >= 0 ? ParseIniValue(entries_[index].rawValue) : QVariant();
}

void IniGeneralSection::SetString(const QString& key, std::string_view text) {
    QByteArray value = FormatIniString(text);
    if (const std::ptrdiff_t index = IndexOf(key); index >= 0) {
        entries_[index].rawValue = std::move(value);
    } else {
        entries_.push_back({key, EscapeIniKey(key), std::move(value)});
    }
}

QByteArray IniGeneralSection::Serialize() const {
    QByteArray out("[General]\n");
    for (const Entry& entry : entries_) {
        if (WritesBackSafely(entry.rawValue)) {
            out += entry.rawKey + '=' + entry.rawValue + '\n';
        }
    }
    if (!otherSections_.isEmpty()) {
        out += '\n' + otherSections_;
    }
    return out;
}

} // namespace tembrel
