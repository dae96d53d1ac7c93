#include "IniEscaping.h"

#include <QDataStream>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVariantList>

namespace tembrel {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

int OctDigitValue(char c) {
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// The character a one-letter escape stands for, -1 for any other letter.
int SimpleEscapeValue(char letter) {
    switch (letter) {
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
        return letter;
    default:
        return -1;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void ChopBlanks(QString& text, qsizetype keep) {
    while (text.size() > keep && (text.back() == u' ' || text.back() == u'\t')) {
        text.chop(1);
    }
}

// A value with its escapes and quotes resolved: one text, or the items of a
// list when it holds a comma outside quotes.
struct UnescapedValue {
    QString text;
    QStringList items;
    bool isList = false;
};

UnescapedValue Unescape(QByteArrayView raw) {
    UnescapedValue out;
    QString& current = out.text;
    const qsizetype n = raw.size();
    qsizetype i = 0;
    bool inQuotes = false;
    bool quoted = false;   // the current item holds a quote: its end blanks stay
    bool chopAtEnd = true; // a value that ends inside an escape keeps its end blanks
    qsizetype keep = 0;    // blanks before this index came from escapes or quotes

    const auto skipBlanks = [&] {
        while (i < n && IsBlank(raw[i])) {
            ++i;
        }
        keep = current.size();
    };

    skipBlanks();
    while (i < n) {
        const char c = raw[i];
        if (c == '\\') {
            if (i + 1 >= n) {
                chopAtEnd = false;
                break;
            }
            const char letter = raw[i + 1];
            i += 2;
            if (const int simple = SimpleEscapeValue(letter); simple >= 0) {
                current += QChar(char16_t(simple));
            } else if (letter == 'x' || OctDigitValue(letter) >= 0) {
                // Hex after "\x", octal after "\<digit>": as many digits as follow.
                const bool hex = letter == 'x';
                if (hex && (i >= n || HexDigitValue(raw[i]) < 0)) {
                    if (i >= n) {
                        chopAtEnd = false;
                        break;
                    }
                    keep = current.size(); // "\x" without digits stands for nothing
                    continue;
                }
                char16_t value = hex ? 0 : char16_t(OctDigitValue(letter));
                while (i < n) {
                    const int digit = hex ? HexDigitValue(raw[i]) : OctDigitValue(raw[i]);
                    if (digit < 0) {
                        break;
                    }
                    value = char16_t((value << (hex ? 4 : 3)) + digit);
                    ++i;
                }
                current += QChar(value);
                if (i >= n) {
                    chopAtEnd = false;
                    break;
                }
            } else if (letter == '\n' || letter == '\r') {
                // An escaped line end continues the value on the next line.
                if (i < n && (raw[i] == '\n' || raw[i] == '\r') && raw[i] != letter) {
                    ++i;
                }
            }
            // Any other escaped character stands for nothing.
            keep = current.size();
            continue;
        }
        if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
            }
            continue;
        }
        if (c == ',' && !inQuotes) {
            if (!quoted) {
                ChopBlanks(current, keep);
            }
            out.isList = true;
            out.items.append(current);
            current.clear();
            quoted = false;
            ++i;
            skipBlanks();
            continue;
        }
        qsizetype end = i + 1;
        while (end < n && raw[end] != '\\' && raw[end] != '"' && raw[end] != ',') {
            ++end;
        }
        current += QString::fromUtf8(raw.sliced(i, end - i));
        i = end;
    }
    if (chopAtEnd && !quoted) {
        ChopBlanks(current, keep);
    }
    if (out.isList) {
        out.items.append(current);
    }
    return out;
}

// The numbers of "@Rect(1 2 3 4)" and the like, split at blanks and at ')'.
QStringList SplitArguments(const QString& text, qsizetype openParenthesis) {
    QStringList arguments;
    QString item;
    for (qsizetype i = openParenthesis + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u')') {
            arguments.append(item);
        } else if (c == u' ') {
            arguments.append(item);
            item.clear();
        } else {
            item.append(c);
        }
    }
    return arguments;
}

QVariant StreamedVariant(const QString& text, qsizetype offset, QDataStream::Version version) {
    QByteArray bytes = QStringView(text).sliced(offset).toLatin1();
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    stream.setVersion(version);
    QVariant value;
    stream >> value;
    return value;
}

// One text as a value: a plain text, or one of the @-forms.
QVariant TextToVariant(const QString& text) {
    if (!text.startsWith(u'@')) {
        return text;
    }
    if (text.endsWith(u')')) {
        if (text.startsWith(QLatin1String("@ByteArray("))) {
            return QStringView(text).sliced(11).chopped(1).toLatin1();
        }
        if (text.startsWith(QLatin1String("@String("))) {
            return QStringView(text).sliced(8).chopped(1).toString();
        }
        if (text.startsWith(QLatin1String("@Variant("))) {
            return StreamedVariant(text, 9, QDataStream::Qt_4_0);
        }
        if (text.startsWith(QLatin1String("@DateTime("))) {
            return StreamedVariant(text, 10, QDataStream::Qt_5_6);
        }
        if (text.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = SplitArguments(text, 5);
            if (a.size() == 4) {
                return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
            }
        } else if (text.startsWith(QLatin1String("@Size("))) {
            const QStringList a = SplitArguments(text, 5);
            if (a.size() == 2) {
                return QSize(a[0].toInt(), a[1].toInt());
            }
        } else if (text.startsWith(QLatin1String("@Point("))) {
            const QStringList a = SplitArguments(text, 6);
            if (a.size() == 2) {
                return QPoint(a[0].toInt(), a[1].toInt());
            }
        } else if (text == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (text.startsWith(QLatin1String("@@"))) {
        return text.sliced(1);
    }
    return text;
}

// A list stays a list of texts unless one item is an @-form.
QVariant ListToVariant(const QStringList& items) {
    QStringList texts = items;
    for (QString& item : texts) {
        if (!item.startsWith(u'@')) {
            continue;
        }
        if (item.size() < 2 || item[1] != u'@') {
            QVariantList values;
            values.reserve(items.size());
            for (const QString& original : items) {
                values.append(TextToVariant(original));
            }
            return values;
        }
        item.remove(0, 1);
    }
    return texts;
}

} // namespace

QVariant ParseIniValue(QByteArrayView raw) {
    const UnescapedValue value = Unescape(raw);
    return value.isList ? ListToVariant(value.items) : TextToVariant(value.text);
}

QByteArray FormatIniString(std::string_view text) {
    QByteArray out;
    bool needsQuotes = false;
    // After "\0" or "\xNN" a hex digit would join the escape, so it is escaped too.
    bool escapeHexDigit = false;
    if (!text.empty() && text.front() == '@') {
        out += '@'; // "@@" keeps a text from reading as an @-form
    }
    for (const char c : text) {
        if (c == ';' || c == ',' || c == '=') {
            needsQuotes = true;
        }
        if (escapeHexDigit && HexDigitValue(c) >= 0) {
            out += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case '\0':
            out += "\\0";
            escapeHexDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        default:
            if (static_cast<unsigned char>(c) <= 0x1F) {
                out += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
                escapeHexDigit = true;
            } else {
                out += c; // printable ASCII, and UTF-8 as it is
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' '))) {
        out.prepend('"');
        out.append('"');
    }
    return out;
}

QString UnescapeIniKey(QByteArrayView raw) {
    const QString decoded = QString::fromUtf8(raw);
    QString key;
    key.reserve(decoded.size());
    qsizetype i = 0;
    while (i < decoded.size()) {
        const QChar c = decoded[i];
        if (c == u'\\') {
            key += u'/';
            ++i;
            continue;
        }
        if (c != u'%' || i + 1 >= decoded.size()) {
            key += c;
            ++i;
            continue;
        }
        const bool wide = decoded[i + 1] == u'U';
        const qsizetype first = wide ? i + 2 : i + 1;
        const qsizetype digits = wide ? 4 : 2;
        bool ok = first + digits <= decoded.size();
        char16_t value = 0;
        for (qsizetype d = first; ok && d < first + digits; ++d) {
            const int digit =
                decoded[d].unicode() < 0x80 ? HexDigitValue(char(decoded[d].unicode())) : -1;
            ok = digit >= 0;
            value = char16_t((value << 4) + (ok ? digit : 0));
        }
        if (!ok) {
            key += u'%';
            ++i;
            continue;
        }
        key += QChar(value);
        i = first + digits;
    }
    return key;
}

QByteArray EscapeIniKey(const QString& key) {
    static const char hexDigits[] = "0123456789ABCDEF";
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hexDigits[c >> 4];
            out += hexDigits[c & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) {
                out += hexDigits[(c >> shift) & 0xF];
            }
        }
    }
    return out;
}

} // namespace tembrel
