#include "MemoLines.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace tembrel {

MemoLines::MemoLines(QPlainTextEdit& memo) : memo_(memo) {
    changed_ = QObject::connect(memo_.document(), &QTextDocument::contentsChanged, &memo_,
                                [this] { stale_ = true; });
}

MemoLines::~MemoLines() {
    QObject::disconnect(changed_);
}

int MemoLines::Count() const {
    Refresh();
    return static_cast<int>(lines_.size());
}

const std::string& MemoLines::Line(int index) const {
    static const std::string none;
    Refresh();
    if (index < 0 || index >= static_cast<int>(lines_.size())) {
        return none;
    }
    return lines_[static_cast<std::size_t>(index)];
}

void MemoLines::Refresh() const {
    // The memo wraps at its viewport's width: a new width is a new layout.
    const int width = memo_.viewport()->width();
    if (!stale_ && width == width_) {
        return;
    }
    QTextDocument* document = memo_.document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    lines_.clear();
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        if (layout != nullptr) {
            layout->ensureBlockLayout(block);
        }
        const QString text = block.text();
        const QTextLayout* lines = block.layout();
        const int lineCount = lines != nullptr ? lines->lineCount() : 0;
        if (lineCount <= 1) {
            lines_.push_back(text.toStdString());
            continue;
        }
        for (int i = 0; i < lineCount; ++i) {
            const QTextLine line = lines->lineAt(i);
            lines_.push_back(text.mid(line.textStart(), line.textLength()).toStdString());
        }
    }
    // The line after a final line break is where the caret goes, not a line.
    if (!lines_.empty() && lines_.back().empty() && document->lastBlock().text().isEmpty()) {
        lines_.pop_back();
    }
    stale_ = false;
    width_ = width;
}

} // namespace tembrel
