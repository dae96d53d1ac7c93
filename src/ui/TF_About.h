#pragma once

#include <QDialog>

namespace tembrel {

class ShellOpener;

// The about window: picture, version, credits and two links handed to the
// desktop shell.
class TF_About final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TF_About)

public:
    TF_About(ShellOpener& shell, QWidget* owner);
    ~TF_About() override;
};

} // namespace tembrel
