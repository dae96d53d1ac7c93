#include "TF_About.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QVBoxLayout>

#include <exception>

#include "FormFont.h"
#include "JpegImageLoader.h"
#include "ShellOpener.h"
#include "WindowManners.h"

// The resources sit in the static UI library, which the linker keeps only
// when something refers to them. Q_INIT_RESOURCE must be used outside a namespace.
static void InitHelpAndAboutResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tembrel {

namespace {

constexpr char kWebAddress[] = "https://tembrel.example.org";
constexpr char kEmailAddress[] = "tembrel@example.org";

QByteArray BuiltInPicture() {
    InitHelpAndAboutResources();
    QFile file(QStringLiteral(":/about.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Labels size themselves to their text. Each stays centred where its design
// box was, so that another font or text cannot push it off the window.
void PlaceLabel(QLabel& label, const QRect& designBox) {
    label.adjustSize();
    const QSize size = label.size();
    label.move(designBox.x() + (designBox.width() - size.width()) / 2, designBox.y());
}

QLabel* AddLink(QFrame& panel, const QString& name, const QString& text, const QRect& box) {
    auto* link = new QLabel(text, &panel);
    link->setObjectName(name);
    link->setTextFormat(Qt::PlainText);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link->setPalette(palette);
    link->setCursor(Qt::ArrowCursor);
    PlaceLabel(*link, box);
    return link;
}

} // namespace

TF_About::TF_About(ShellOpener& shell, QWidget* owner) : TF_About(shell, BuiltInPicture(), owner) {}

TF_About::TF_About(ShellOpener& shell, const QByteArray& pictureJpeg, QWidget* owner)
    // A close box only: the window manager would minimise the main window
    // with it.
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      shell_(shell) {
    // Esc does not close it: OK, Enter or its close box do.
    new WindowManners(*this, {});
    setObjectName(QStringLiteral("F_About"));
    setWindowTitle(QStringLiteral("About Tembrel 5.0"));
    setModal(true);
    setFont(FormFont());
    setFixedSize(354, 375);
    QPalette white = palette();
    white.setColor(QPalette::Window, QColor(255, 255, 255));
    setPalette(white);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::NoFrame);
    Panel1->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(55, 16, 245, 178);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    const QImage picture = JpegImageLoader::Decode(pictureJpeg);
    if (!picture.isNull()) {
        Image1->setPixmap(QPixmap::fromImage(picture));
    }

    Label4 = new QLabel(QStringLiteral("Version 5.0\n"
                                       "Copyright (C) 2026 The Tembrel developers\n"
                                       "Written by the Tembrel developers"),
                        Panel1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setTextFormat(Qt::PlainText);
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PlaceLabel(*Label4, QRect(85, 218, 183, 39));

    // In the free band between the credits and the links.
    LB_Licence =
        new QLabel(QStringLiteral("Free software under the GNU GPL, version 3 or later"), Panel1);
    LB_Licence->setObjectName(QStringLiteral("LB_Licence"));
    LB_Licence->setTextFormat(Qt::PlainText);
    PlaceLabel(*LB_Licence, QRect(27, 266, 300, 13));

    L_MyWebPage = AddLink(*Panel1, QStringLiteral("L_MyWebPage"), QString::fromLatin1(kWebAddress),
                          QRect(81, 289, 191, 13));
    Label1 = AddLink(*Panel1, QStringLiteral("Label1"), QString::fromLatin1(kEmailAddress),
                     QRect(122, 305, 110, 13));
    L_MyWebPage->installEventFilter(this);
    Label1->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("OK"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(139, 333, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TF_About::Button1Click);
}

TF_About::~TF_About() = default;

void TF_About::L_MyWebPageClick() {
    AskShellToOpen(kWebAddress);
}

void TF_About::Label1Click() {
    AskShellToOpen(std::string("mailto:") + kEmailAddress);
}

void TF_About::Button1Click() {
    accept();
}

void TF_About::AskShellToOpen(const std::string& target) {
    // The shell reports its own failures (no browser, no mail program); the
    // window has nothing to add and must not let an error into the event loop.
    try {
        shell_.Open(target);
    } catch (const std::exception&) {
    }
}

bool TF_About::eventFilter(QObject* watched, QEvent* event) {
    // A click is a left-button release over the label that took the press.
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == L_MyWebPage || watched == Label1)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (watched == L_MyWebPage) {
                L_MyWebPageClick();
            } else {
                Label1Click();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tembrel
