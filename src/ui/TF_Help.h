#pragma once

#include <QDialog>

namespace tembrel {

// The help window: three pages of fixed text. Created afresh at each opening,
// so it always shows its first page scrolled to the top.
class TF_Help final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TF_Help)

public:
    explicit TF_Help(QWidget* owner);
    ~TF_Help() override;
};

} // namespace tembrel
