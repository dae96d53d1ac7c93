#pragma once

#include <QMetaObject>

#include <string>
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
    // In UTF-8, as the engine reads it. An index out of range gives an empty
    // text.
    const std::string& Line(int index) const;

private:
    void Refresh() const;

    QPlainTextEdit& memo_;
    QMetaObject::Connection changed_;
    // The lines' texts, converted once: a point search may read every line
    // at every tick.
    mutable std::vector<std::string> lines_;
    mutable bool stale_ = true;
    mutable int width_ = -1;
};

} // namespace tembrel
