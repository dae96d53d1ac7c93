#include "MemoLines.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
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
    return static_cast<int>(spans_.size());
}

QString MemoLines::Line(int index) const {
    Refresh();
    if (index < 0 || index >= static_cast<int>(spans_.size())) {
        return {};
    }
    const Span& span = spans_[static_cast<std::size_t>(index)];
    return memo_.document()->findBlockByNumber(span.block).text().mid(span.start, span.length);
}

void MemoLines::Refresh() const {
    QTextDocument* document = memo_.document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    // The memo wraps at its viewport's width: a new width is a new layout.
    const int width = memo_.viewport()->width();
    if (!stale_ && width == width_) {
        return;
    }
    spans_.clear();
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        if (layout != nullptr) {
            layout->ensureBlockLayout(block);
        }
        const QTextLayout* lines = block.layout();
        const int lineCount = lines != nullptr ? lines->lineCount() : 0;
        if (lineCount == 0) {
            spans_.push_back({block.blockNumber(), 0, static_cast<int>(block.length()) - 1});
            continue;
        }
        for (int i = 0; i < lineCount; ++i) {
            const QTextLine line = lines->lineAt(i);
            spans_.push_back({block.blockNumber(), line.textStart(), line.textLength()});
        }
    }
    // The line after a final line break is where the caret goes, not a line.
    if (!spans_.empty() && spans_.back().length == 0 &&
        spans_.back().block == document->blockCount() - 1) {
        spans_.pop_back();
    }
    stale_ = false;
    width_ = width;
}

} // namespace tembrel
