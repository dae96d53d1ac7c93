#pragma once

#include <QDialog>

class QFrame;
class QPlainTextEdit;
class QTabWidget;

namespace tembrel {

// The help window: three pages of fixed text. Created afresh at each opening,
// so it always shows its first page scrolled to the top.
class TF_Help final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TF_Help)

public:
    explicit TF_Help(QWidget* owner);
    ~TF_Help() override;

private:
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QFrame* Panel1;
    QPlainTextEdit* M_intro;
    QWidget* TabSheet2;
    QFrame* Panel2;
    QPlainTextEdit* Memo1;
    QWidget* TabSheet3;
    QFrame* Panel3;
    QPlainTextEdit* Memo2;
};

} // namespace tembrel
