#pragma once

#include <QDialog>

#include <string>

class QByteArray;
class QEvent;
class QFrame;
class QLabel;
class QPushButton;

namespace tembrel {

class ShellOpener;

// The about window: picture, version, credits, the licence and two links
// handed to the desktop shell.
class TF_About final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TF_About)

public:
    TF_About(ShellOpener& shell, QWidget* owner);
    // The same window showing `pictureJpeg` instead of the built-in picture;
    // data that does not decode leaves the picture empty.
    TF_About(ShellOpener& shell, const QByteArray& pictureJpeg, QWidget* owner);
    ~TF_About() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void L_MyWebPageClick();
    void Label1Click();
    void Button1Click();
    void AskShellToOpen(const std::string& target);

    ShellOpener& shell_;

    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Label4;
    QLabel* LB_Licence;
    QLabel* L_MyWebPage;
    QLabel* Label1;
    QPushButton* Button1;
};

} // namespace tembrel
