#pragma once

#include <QMetaObject>
#include <QString>

#include <vector>

class QPlainTextEdit;

namespace tembrel {

// The lines of a word-wrapping memo as its user sees them: every line of the
// control's own layout counts, so a paragraph wrapped at the memo's width
// reads as several lines; an empty last line does not count. The layout is
// walked once after every change of text or width, not at every read: a
// voyage reads the lines at every tick.
class MemoLines final {
public:
    explicit MemoLines(QPlainTextEdit& memo);
    ~MemoLines();
    MemoLines(const MemoLines&) = delete;
    MemoLines& operator=(const MemoLines&) = delete;

    int Count() const;
    // An index out of range gives an empty text.
    QString Line(int index) const;

private:
    struct Span {
        int block;
        int start;
        int length;
    };

    void Refresh() const;

    QPlainTextEdit& memo_;
    QMetaObject::Connection changed_;
    mutable std::vector<Span> spans_;
    mutable bool stale_ = true;
    mutable int width_ = -1;
};

} // namespace tembrel
