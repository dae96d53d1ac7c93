#include "TF_Help.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMargins>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSize>
#include <QStringList>
#include <QTabWidget>
#include <QTextOption>
#include <QVBoxLayout>
#include <QWindow>

#include <optional>

#include "FormFont.h"
#include "WindowManners.h"

// The resources sit in the static UI library, which the linker keeps only
// when something refers to them. Q_INIT_RESOURCE must be used outside a namespace.
static void InitHelpAndAboutResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tembrel {

namespace {

// The window's size including its frame.
constexpr QSize kOuterSize(643, 374);
// A sizeable window's frame on Windows at 100 %. Assumed only where the
// platform cannot tell the real frame before the window appears (X11).
constexpr QMargins kTypicalFrame(8, 31, 8, 8);

// One page's text, stored one line per line: LF-separated, ending in LF.
QString PageText(const QString& resource) {
    InitHelpAndAboutResources();
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromLatin1(file.readAll());
    text.remove(QLatin1Char('\r')); // tolerate a checkout that added CRs
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

QWidget* AddTabSheet(QTabWidget& pages, const QString& name, const QString& caption) {
    auto* sheet = new QWidget;
    sheet->setObjectName(name);
    pages.addTab(sheet, caption);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    return sheet;
}

// Lowered outer bevel with a raised inner one: a sunken box draws that groove.
QFrame* AddPanel(QWidget& sheet, const QString& name) {
    auto* panel = new QFrame(&sheet);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    sheet.layout()->addWidget(panel);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    return panel;
}

QPlainTextEdit* AddMemo(QFrame& panel, const QString& name, const QString& resource,
                        const QColor& textColour, std::optional<QColor> background) {
    auto* memo = new QPlainTextEdit(&panel);
    memo->setObjectName(name);
    memo->setPlainText(PageText(resource));
    memo->setReadOnly(true);
    // Read-only still lets the reader move the caret and select with the keys.
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // Verdana where installed; DejaVu Sans, its nearest wide humanist sans,
    // elsewhere.
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    memo->setFont(font);

    QPalette palette = memo->palette();
    palette.setColor(QPalette::Text, textColour);
    if (background) {
        palette.setColor(QPalette::Base, *background);
    }
    memo->setPalette(palette);
    panel.layout()->addWidget(memo);
    return memo;
}

} // namespace

TF_Help::TF_Help(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("F_Help"));
    setWindowTitle(QStringLiteral("Tembrel Help"));
    setModal(true);
    setFont(FormFont());
    resize(kOuterSize.shrunkBy(kTypicalFrame));
    // Esc does not close it, only its frame does; its size is met once the
    // window manager has reported the frame.
    new WindowManners(*this,
                      {.swallowEscape = true, .refuseMinimise = false, .outerSize = kOuterSize});

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);

    const QColor maroon(128, 0, 0);
    const QColor green(0, 128, 0);
    const QColor red(255, 0, 0);
    const QColor white(255, 255, 255);

    TabSheet1 =
        AddTabSheet(*PageControl1, QStringLiteral("TabSheet1"), QStringLiteral("Introduction"));
    Panel1 = AddPanel(*TabSheet1, QStringLiteral("Panel1"));
    M_intro = AddMemo(*Panel1, QStringLiteral("M_intro"), QStringLiteral(":/help/introduction.txt"),
                      maroon, white);

    TabSheet2 =
        AddTabSheet(*PageControl1, QStringLiteral("TabSheet2"), QStringLiteral("Quick Start"));
    Panel2 = AddPanel(*TabSheet2, QStringLiteral("Panel2"));
    Memo1 = AddMemo(*Panel2, QStringLiteral("Memo1"), QStringLiteral(":/help/quickstart.txt"),
                    green, white);

    TabSheet3 = AddTabSheet(*PageControl1, QStringLiteral("TabSheet3"), QStringLiteral("Example"));
    Panel3 = AddPanel(*TabSheet3, QStringLiteral("Panel3"));
    // The system's own text-field background.
    Memo2 = AddMemo(*Panel3, QStringLiteral("Memo2"), QStringLiteral(":/help/example.txt"), red,
                    std::nullopt);

    PageControl1->setCurrentIndex(0);
}

TF_Help::~TF_Help() = default;

} // namespace tembrel
