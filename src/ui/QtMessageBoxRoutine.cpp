#include "QtMessageBoxRoutine.h"

#include "WindowManners.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace tembrel {

namespace {

// A word longer than this may break: at its path separators where it has
// any, else anywhere; the box would otherwise grow past half the screen and
// still cut it.
constexpr qsizetype LongestWholeWord = 32;

constexpr QChar BreakHere(0x200B);  // zero-width space
constexpr QChar NeverBreak(0x2060); // word joiner

bool IsPathSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

// A long word with a zero-width space where its line may break: after each
// path separator, so that a path breaks between its folders
// ("/home/ann/" + "TembrelLink.kml", not "/home/ann/Tembr" + "elLink.kml"),
// and after each character of a part still too long to stand whole (a
// folder's long name, a long number). A word joiner keeps each separator on
// the line of the name before it: the line breaker would otherwise break
// between "C:" and "\\".
void AppendBreakable(QString& breakable, QStringView word) {
    const bool path = std::any_of(word.begin(), word.end(), IsPathSeparator);
    qsizetype partStart = 0;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        if (i < word.size() && !(path && IsPathSeparator(word.at(i)))) {
            continue;
        }
        const QStringView part = word.mid(partStart, i - partStart);
        if (part.size() > LongestWholeWord) {
            for (const QChar c : part) {
                breakable += c;
                breakable += BreakHere;
            }
        } else {
            breakable += part;
        }
        if (i < word.size()) {
            if (i > 0) {
                breakable += NeverBreak;
            }
            breakable += word.at(i);
            if (i + 1 < word.size()) {
                breakable += BreakHere;
            }
        }
        partStart = i + 1;
    }
}

QString BreakableText(const QString& text) {
    QString breakable;
    breakable.reserve(text.size());
    qsizetype wordStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !text.at(i).isSpace()) {
            continue;
        }
        const QStringView word = QStringView(text).mid(wordStart, i - wordStart);
        if (word.size() > LongestWholeWord) {
            AppendBreakable(breakable, word);
        } else {
            breakable += word;
        }
        if (i < text.size()) {
            breakable += text.at(i);
        }
        wordStart = i + 1;
    }
    return breakable;
}

// QMessageBox reports its close box as a click on the escape button; the
// program needs to tell the two apart (the close box is neither Yes nor No).
// The box asks for a close box only, and is centred on the screen by its
// frame.
class ModalBox final : public QMessageBox {
public:
    // A modal box comes back when minimised (its window manager would take
    // the main window along); one that does not wait lets the main window
    // be minimised with it.
    ModalBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* owner,
             bool modal = true)
        : QMessageBox(icon, caption, BreakableText(text), QMessageBox::NoButton, owner,
                      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
        new WindowManners(*this,
                          {.swallowEscape = false, .refuseMinimise = modal, .outerSize = {}});
    }

    bool ClosedByCloseBox() const { return closedByCloseBox_; }

    // ActionRole keeps the buttons in the order they are added on every
    // platform's button layout; roles would reorder them.
    QPushButton* AddButton(const QString& caption) {
        return addButton(caption, QMessageBox::ActionRole);
    }

    void CentreButtons() {
        if (auto* buttonBox = findChild<QDialogButtonBox*>()) {
            buttonBox->setCenterButtons(true);
        }
    }

    int Run() {
        CentreButtons();
        return exec();
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // sizes the box to its text
        // Qt allows up to 500 pixels of text besides the icon and margins:
        // keep the whole box within half the screen.
        const QScreen* screen = this->screen();
        if (screen == nullptr || layout() == nullptr) {
            return;
        }
        const int frame = frameGeometry().width() - width();
        const int half = screen->availableGeometry().width() / 2 - frame;
        if (width() > half) {
            setFixedSize(half, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(half)
                                                             : height());
        }
    }

    void closeEvent(QCloseEvent* event) override {
        if (clickedButton() == nullptr) {
            closedByCloseBox_ = true;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool closedByCloseBox_ = false;
};

struct BoxLook {
    QMessageBox::Icon icon;
    const char* caption;
};

BoxLook LookOf(BoxType type) {
    switch (type) {
    case BoxType::Error:
        return {QMessageBox::Critical, "Error"};
    case BoxType::Information:
        return {QMessageBox::Information, "Information"};
    case BoxType::Confirmation:
        return {QMessageBox::Question, "Confirm"};
    }
    return {QMessageBox::NoIcon, ""};
}

} // namespace

ModalResult QtMessageBoxRoutine::Show(QWidget* owner, const QString& text, BoxType type,
                                      unsigned buttons) {
    const BoxLook look = LookOf(type);
    ModalBox box(look.icon, QString::fromLatin1(look.caption), text, owner);
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    if (buttons & ButtonYes) {
        yes = box.AddButton(QStringLiteral("&Yes"));
    }
    if (buttons & ButtonNo) {
        no = box.AddButton(QStringLiteral("&No"));
    }
    if (buttons & ButtonOk) {
        ok = box.AddButton(QStringLiteral("OK"));
    }
    if (QPushButton* defaultButton = ok != nullptr ? ok : yes) {
        box.setDefaultButton(defaultButton);
    }
    if (QPushButton* escapeButton = no != nullptr ? no : ok) {
        box.setEscapeButton(escapeButton);
    }
    box.Run();

    if (box.ClosedByCloseBox()) {
        return ModalResult::Cancel;
    }
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked != nullptr && clicked == yes) {
        return ModalResult::Yes;
    }
    if (clicked != nullptr && clicked == no) {
        return ModalResult::No;
    }
    if (clicked != nullptr && clicked == ok) {
        return ModalResult::Ok;
    }
    return ModalResult::Cancel;
}

void QtMessageBoxRoutine::ShowDefaultError(QWidget* owner, const QString& caption,
                                           const QString& text) {
    ModalBox box(QMessageBox::Critical, caption, text, owner);
    QPushButton* ok = box.AddButton(QStringLiteral("OK"));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.Run();
}

QWidget* QtMessageBoxRoutine::OpenDefaultError(QWidget* owner, const QString& caption,
                                               const QString& text) {
    auto* box = new ModalBox(QMessageBox::Critical, caption, text, owner, false);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    QPushButton* ok = box->AddButton(QStringLiteral("OK"));
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    box->CentreButtons();
    box->show();
    return box;
}

} // namespace tembrel
