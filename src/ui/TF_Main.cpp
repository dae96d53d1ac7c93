#include "TF_Main.h"

#include "DefaultErrorBox.h"
#include "FormFont.h"
#include "GaugeModel.h"
#include "GaugeWidget.h"
#include "MenuBarKeys.h"
#include "MessageBoxRoutine.h"
#include "Messages.h"
#include "TF_About.h"
#include "TF_Help.h"
#include "VoyageErrors.h"
#include "WindowManners.h"

#include "CacheFolderCommand.h"
#include "DecimalSeparator.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <exception>
#include <memory>

// Resources live in the static UI library; the linker keeps them only when
// something refers to them. Q_INIT_RESOURCE must be used outside a namespace.
static void InitTembrelResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tembrel {

namespace {

constexpr int ClientWidth = 470;
constexpr int ClientHeight = 465;

// The two bevels of a panel, each one pixel wide, as a QFrame box: a sunken
// box is an outer lowered bevel around an inner raised one, a raised box the
// reverse.
enum class Bevels { OuterLoweredInnerRaised, OuterRaisedInnerLowered };

QFrame* MakePanel(QWidget* parent, const char* name, Bevels bevels) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Box);
    panel->setFrameShadow(bevels == Bevels::OuterLoweredInnerRaised ? QFrame::Sunken
                                                                    : QFrame::Raised);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    return panel;
}

// A panel that fills a tab page.
QFrame* MakePagePanel(QWidget* page, const char* name) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    QFrame* panel = MakePanel(page, name, Bevels::OuterRaisedInnerLowered);
    layout->addWidget(panel);
    return panel;
}

// Labels size themselves to their text.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A word-wrapped label of two lines at its place. Where the platform's font
// is wider than the one the layout was drawn with, the label grows to keep
// its two lines instead of wrapping a third one out of sight.
QLabel* MakeTwoLineLabel(QWidget* parent, const char* name, const QString& first,
                         const QString& second, const QRect& place) {
    auto* label = new QLabel(first + QLatin1Char('\n') + second, parent);
    label->setObjectName(QLatin1String(name));
    const QSize natural = label->sizeHint();
    label->setWordWrap(true);
    label->setGeometry(place.left(), place.top(), std::max(place.width(), natural.width()),
                       std::max(place.height(), natural.height()));
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& place) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    return edit;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void SetBackgroundColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

// A PNG picture of the resources, read as PNG and nothing else: left to
// recognise the format, Qt would first load every image plugin to ask it.
QPixmap Picture(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QToolButton* MakeVoyageButton(QWidget* parent, const char* name, const QString& caption,
                              const QString& picture, const QRect& place) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(QIcon(Picture(picture)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true); // the border shows only under the mouse
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(place);
    return button;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TF_Main::TF_Main(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services), writer_(services.viewFileDirectory),
      controller_(state_, *this, writer_), T_Timer(new QTimer(this)), timerBackend_(*T_Timer),
      timer_(timerBackend_) {
    InitTembrelResources();
    setObjectName(QStringLiteral("F_Main"));
    T_Timer->setObjectName(QStringLiteral("T_Timer"));
    T_Timer->setInterval(timer_.Interval());

    BuildLayout();
    BuildMenu();
    // Centred by its frame at the first show; Esc does nothing here anyway.
    new WindowManners(*this, {.swallowEscape = false, .refuseMinimise = false, .outerSize = {}});
    memoLines_ = std::make_unique<MemoLines>(*M_Points);
    tools_ = std::make_unique<ToolCommands>(ToolCommands::Context{
        .window = *this,
        .state = state_,
        .decimalSeparator = [this] { return controller_.DecimalSeparator(); },
        .viewFile = writer_.Path(),
        .fileDialog = services.fileDialog != nullptr ? *services.fileDialog : systemFileDialog_,
        .shell = services.shell,
        .owner = this,
        .setMemoLines = [this](const QStringList& lines) { SetMemoLines(lines); },
        .setGridRows =
            [this](const std::vector<ToolCommands::GridRow>& rows) { SetGridRows(rows); }});
    ConnectHandlers();
    ConnectToolHandlers();

    Handle([this] { ReadDecimalSeparator(); });
    Handle([this] { FormCreate(); });
}

TF_Main::~TF_Main() {
    // The gauge goes after this part of the window; no estimate may be worked
    // out on a window half gone.
    GA_Progress->removeEventFilter(this);
}

// ---------------------------------------------------------------- layout

void TF_Main::BuildLayout() {
    setWindowTitle(QStringLiteral("Tembrel 5.0"));
    // A single border: minimise and close, no maximise, not resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addPixmap(Picture(QStringLiteral(":/tembrel-%1.png").arg(size)));
    }
    setWindowIcon(icon);
    setFont(FormFont());
    // The window's background is the button face, as a dialog's.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Panel1 = MakePanel(client_, "Panel1", Bevels::OuterLoweredInnerRaised);
    Panel1->setGeometry(0, 0, ClientWidth, 329);
    Panel2 = MakePanel(Panel1, "Panel2", Bevels::OuterRaisedInnerLowered);
    Panel2->setGeometry(2, 2, 466, 180);

    PC_Main = new QTabWidget(Panel2);
    PC_Main->setObjectName(QStringLiteral("PC_Main"));
    PC_Main->setGeometry(2, 2, 462, 176);
    BuildAreaPage();
    BuildAreasPage();
    BuildPointsPage();
    BuildSnapshotGroup();
    BuildButtonPanel();

    adjustSize();
}

void TF_Main::BuildAreaPage() {
    TS_Area = new QWidget;
    TS_Area->setObjectName(QStringLiteral("TS_Area"));
    PC_Main->addTab(TS_Area, QStringLiteral("Area"));
    P_Area = MakePagePanel(TS_Area, "P_Area");

    Label1 = MakeLabel(P_Area, "Label1", QStringLiteral("Latitude of NW point (Degrees)"), 10, 16);
    E_LatD = MakeEdit(P_Area, "E_LatD", {9, 31, 159, 21});
    Label5 =
        MakeLabel(P_Area, "Label5", QStringLiteral("Longitude of NW point (Degrees)"), 173, 16);
    E_LonD = MakeEdit(P_Area, "E_LonD", {173, 31, 159, 21});
    Label18 = MakeLabel(P_Area, "Label18", QStringLiteral("Width"), 10, 64);
    E_VE = MakeEdit(P_Area, "E_VE", {10, 80, 74, 21});
    Label9 = MakeLabel(P_Area, "Label9", QStringLiteral("km to the East"), 89, 84);
    Label19 = MakeLabel(P_Area, "Label19", QStringLiteral("Height"), 173, 65);
    E_VS = MakeEdit(P_Area, "E_VS", {173, 80, 74, 21});
    Label10 = MakeLabel(P_Area, "Label10", QStringLiteral("km to the South"), 252, 84);
}

void TF_Main::BuildAreasPage() {
    TS_MAreas = new QWidget;
    TS_MAreas->setObjectName(QStringLiteral("TS_MAreas"));
    PC_Main->addTab(TS_MAreas, QStringLiteral("Multiple Areas"));
    P_MAreas = MakePagePanel(TS_MAreas, "P_MAreas");

    Label3 = MakeTwoLineLabel(
        P_MAreas, "Label3", QStringLiteral("Enter each area in one record.."),
        QStringLiteral(
            "(Starting point Latitude, Starting point Longitude, Width in Km, Height in Km)"),
        {10, 8, 356, 26});

    SG_Areas = new QTableWidget(GridRowCount, GridColumnCount, P_MAreas);
    SG_Areas->setObjectName(QStringLiteral("SG_Areas"));
    SG_Areas->setGeometry(10, 38, 435, 104);
    SG_Areas->horizontalHeader()->hide();
    SG_Areas->verticalHeader()->hide();
    SG_Areas->horizontalHeader()->setMinimumSectionSize(1);
    SG_Areas->horizontalHeader()->setDefaultSectionSize(100);
    SG_Areas->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG_Areas->verticalHeader()->setMinimumSectionSize(1);
    SG_Areas->verticalHeader()->setDefaultSectionSize(19);
    SG_Areas->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SG_Areas->setShowGrid(true);
    SG_Areas->setEditTriggers(QAbstractItemView::DoubleClicked |
                              QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    SG_Areas->setTabKeyNavigation(true);
    SG_Areas->setSelectionMode(QAbstractItemView::SingleSelection);
    SG_Areas->setSelectionBehavior(QAbstractItemView::SelectItems);
    SG_Areas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG_Areas->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SetTextColour(SG_Areas, QColor(128, 0, 0)); // maroon
}

void TF_Main::BuildPointsPage() {
    TS_Points = new QWidget;
    TS_Points->setObjectName(QStringLiteral("TS_Points"));
    PC_Main->addTab(TS_Points, QStringLiteral("Scattered Points"));
    P_Points = MakePagePanel(TS_Points, "P_Points");

    Label2 = MakeTwoLineLabel(
        P_Points, "Label2",
        QStringLiteral("Enter each point in one line as shown in the example below.."),
        QStringLiteral("(Longitude, Latitude)"), {10, 8, 285, 26});

    M_Points = new QPlainTextEdit(P_Points);
    M_Points->setObjectName(QStringLiteral("M_Points"));
    M_Points->setGeometry(9, 39, 435, 102);
    M_Points->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A word longer than the memo is broken where the width ends, as the
    // wrapping edit controls do.
    M_Points->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    M_Points->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    M_Points->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    M_Points->setTabChangesFocus(true);
    SetTextColour(M_Points, QColor(0, 128, 0)); // green
    M_Points->setPlainText(QStringLiteral("30.102, 31.215\n-25.365, 16.2145"));
}

void TF_Main::BuildSnapshotGroup() {
    GB_Area = new QGroupBox(QStringLiteral("Snapshots"), Panel1);
    GB_Area->setObjectName(QStringLiteral("GB_Area"));
    GB_Area->setGeometry(9, 189, 452, 130);
    QPalette palette = GB_Area->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    GB_Area->setPalette(palette);

    const QColor navy(0, 0, 128);
    Label15 = MakeLabel(GB_Area, "Label15", QStringLiteral("Snapshots Width"), 10, 25);
    E_VEast = MakeEdit(GB_Area, "E_VEast", {9, 40, 118, 21});
    Label16 = MakeLabel(GB_Area, "Label16", QStringLiteral("km Horizontally"), 131, 44);
    Label20 = MakeLabel(GB_Area, "Label20", QStringLiteral("Snapshots Height"), 237, 25);
    E_VSouth = MakeEdit(GB_Area, "E_VSouth", {237, 40, 118, 21});
    Label17 = MakeLabel(GB_Area, "Label17", QStringLiteral("km Vertically"), 360, 44);
    Label11 = MakeLabel(GB_Area, "Label11", QStringLiteral("Zoom to Altitude"), 10, 80);
    E_VA = MakeEdit(GB_Area, "E_VA", {9, 96, 118, 21});
    Label12 = MakeLabel(GB_Area, "Label12", QStringLiteral("meters"), 131, 100);
    Label13 = MakeLabel(GB_Area, "Label13", QStringLiteral("Refresh Every"), 237, 80);
    E_VR = MakeEdit(GB_Area, "E_VR", {237, 96, 118, 21});
    Label14 = MakeLabel(GB_Area, "Label14", QStringLiteral("Second(s)"), 360, 100);
    for (QLineEdit* edit : {E_VEast, E_VSouth, E_VA, E_VR}) {
        SetTextColour(edit, navy);
    }
}

void TF_Main::BuildButtonPanel() {
    Panel3 = MakePanel(client_, "Panel3", Bevels::OuterLoweredInnerRaised);
    Panel3->setGeometry(0, 329, ClientWidth, 136);

    B_Start = MakeVoyageButton(Panel3, "B_Start", Text(messages::StartCaption),
                               QStringLiteral(":/start.png"), {31, 17, 130, 52});
    B_Pause = MakeVoyageButton(Panel3, "B_Pause", QStringLiteral("Pause"),
                               QStringLiteral(":/pause.png"), {169, 17, 130, 52});
    B_Stop = MakeVoyageButton(Panel3, "B_Stop", QStringLiteral("Stop"),
                              QStringLiteral(":/stop.png"), {308, 18, 130, 52});

    LB_MAreas = MakeLabel(Panel3, "LB_MAreas", Text(messages::AreaLabelPrefix), 177, 84);
    LB_MAreas->hide();

    GA_Progress = new GaugeWidget(Panel3);
    GA_Progress->setObjectName(QStringLiteral("GA_Progress"));
    GA_Progress->setGeometry(16, 102, 437, 20);
}

void TF_Main::BuildMenu() {
    MM_Main = menuBar();
    MM_Main->setObjectName(QStringLiteral("MM_Main"));

    // No shortcuts, and the leading blanks belong to the captions.
    File1 = MM_Main->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
    Exit1 = File1->addAction(QStringLiteral(" Exit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));

    GECahce1 = MM_Main->addMenu(QStringLiteral("GE Cache"));
    GECahce1->setObjectName(QStringLiteral("GECahce1"));
    OpentheCachefolder1 = GECahce1->addAction(QStringLiteral("Open Cache folder"));
    OpentheCachefolder1->setObjectName(QStringLiteral("OpentheCachefolder1"));

    BuildToolsMenu();

    About1 = MM_Main->addMenu(QStringLiteral("Help"));
    About1->setObjectName(QStringLiteral("About1"));
    Quickstart1 = About1->addAction(QStringLiteral(" Help Contents"));
    Quickstart1->setObjectName(QStringLiteral("Quickstart1"));
    N1 = About1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    AboutTembrel1 = About1->addAction(QStringLiteral(" About Tembrel..."));
    AboutTembrel1->setObjectName(QStringLiteral("AboutTembrel1"));

    new MenuBarKeys(*MM_Main, *this);
}

void TF_Main::ConnectHandlers() {
    connect(B_Start, &QToolButton::clicked, this, &TF_Main::B_StartClick);
    connect(B_Pause, &QToolButton::clicked, this, &TF_Main::B_PauseClick);
    connect(B_Stop, &QToolButton::clicked, this, &TF_Main::B_StopClick);
    connect(T_Timer, &QTimer::timeout, this, &TF_Main::T_TimerTimer);
    connect(Exit1, &QAction::triggered, this, &TF_Main::Exit1Click);
    connect(OpentheCachefolder1, &QAction::triggered, this, &TF_Main::OpentheCachefolder1Click);
    connect(Quickstart1, &QAction::triggered, this, &TF_Main::Quickstart1Click);
    connect(AboutTembrel1, &QAction::triggered, this, &TF_Main::AboutTembrel1Click);
#ifndef QT_NO_SESSIONMANAGER
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { SessionEnding(); });
#endif
}

void TF_Main::BuildToolsMenu() {
    Tools1 = MM_Main->addMenu(QStringLiteral("Tools"));
    Tools1->setObjectName(QStringLiteral("Tools1"));
    const auto add = [this](const char* name, const QString& caption) {
        QAction* action = Tools1->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    Showviewfile1 = add("Showviewfile1", QStringLiteral("Show view file"));
    CreateGoogleEarthlink1 =
        add("CreateGoogleEarthlink1", QStringLiteral("Create Google Earth link..."));
    N2 = Tools1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    Voyageestimate1 = add("Voyageestimate1", QStringLiteral("Voyage estimate"));
    Exportcoveragepreview1 =
        add("Exportcoveragepreview1", QStringLiteral("Export coverage preview..."));
    N3 = Tools1->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    Importpoints1 = add("Importpoints1", QStringLiteral("Import points..."));
    Importareas1 = add("Importareas1", QStringLiteral("Import areas..."));
}

void TF_Main::ConnectToolHandlers() {
    connect(Showviewfile1, &QAction::triggered, this, &TF_Main::Showviewfile1Click);
    connect(CreateGoogleEarthlink1, &QAction::triggered, this,
            &TF_Main::CreateGoogleEarthlink1Click);
    connect(Voyageestimate1, &QAction::triggered, this, &TF_Main::Voyageestimate1Click);
    connect(Exportcoveragepreview1, &QAction::triggered, this,
            &TF_Main::Exportcoveragepreview1Click);
    connect(Importpoints1, &QAction::triggered, this, &TF_Main::Importpoints1Click);
    connect(Importareas1, &QAction::triggered, this, &TF_Main::Importareas1Click);
    // The memo and the grid are locked during a voyage: so are their imports.
    connect(Tools1, &QMenu::aboutToShow, this, [this] {
        Importpoints1->setEnabled(!state_.InProgress);
        Importareas1->setEnabled(!state_.InProgress);
    });

    // The estimate is worked out when the tooltip is about to show, from the
    // inputs and the position of that moment: a long memo then costs nothing
    // at each keystroke or tick.
    GA_Progress->installEventFilter(this);
}

// ---------------------------------------------------------------- handlers

template <class Handler> void TF_Main::Handle(Handler&& handler) {
    try {
        RunHandler(*this, std::forward<Handler>(handler));
    } catch (...) {
        // Only showing the error box itself can fail here; nothing may cross
        // the event loop, and nothing is left to show the failure with.
    }
}

void TF_Main::FormCreate() {
    controller_.FormCreate();
    PC_Main->setCurrentWidget(TS_Area);
    GA_Progress->SetMaximum(static_cast<std::int32_t>(GaugeMaximum));
    RestoreSettings();

    static constexpr std::array<std::array<const char*, GridColumnCount>, 2> ExampleRows = {{
        {"30.124555", "31.254447", "2.5", "0.54"},
        {"31.55125", "29.79862", "1.2", "9.4"},
    }};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < GridColumnCount; ++column) {
            const QString text = QLatin1String(ExampleRows[row][column]);
            if (QTableWidgetItem* item = SG_Areas->item(row, column)) {
                item->setText(text);
            } else {
                SG_Areas->setItem(row, column, new QTableWidgetItem(text));
            }
        }
    }
}

void TF_Main::FormClose() {
    if (timer_.Enabled() && ShowMessage(messages::ConfirmExit, BoxType::Confirmation,
                                        ButtonYes | ButtonNo) == ModalResult::No) {
        throw SilentAbort();
    }
    SaveSettings();
}

void TF_Main::closeEvent(QCloseEvent* event) {
    bool closing = false;
    Handle([&] {
        FormClose();
        closing = true;
    });
    if (!closing) {
        event->ignore();
        return;
    }
    // The program ends with this window; no tick may reach it after its close.
    T_Timer->stop();
    event->accept();
}

bool TF_Main::event(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        Handle([this] { ReadDecimalSeparator(); });
    }
    return QMainWindow::event(event);
}

void TF_Main::ReadDecimalSeparator() {
    controller_.SetDecimalSeparator(services_.decimalSeparator());
}

void TF_Main::RestoreSettings() {
    // The store reports nothing; whatever it could not give stays empty.
    const EditTexts texts = services_.settings.Restore();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        Edit(static_cast<InputEdit>(i))->setText(Text(texts[i]));
    }
}

void TF_Main::SaveSettings() {
    EditTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = EditText(static_cast<InputEdit>(i));
    }
    // Not examined: a failed save leaves the previous texts, and says nothing.
    services_.settings.Save(texts);
}

void TF_Main::SessionEnding() {
    Handle([this] { SaveSettings(); });
}

void TF_Main::QuitWithoutQuestion() {
    Handle([this] { SaveSettings(); });
    T_Timer->stop();
    // exit(), not quit(): quit() would close the window first, and its close
    // asks about a running voyage.
    QCoreApplication::exit(0);
}

void TF_Main::B_StartClick() {
    Handle([this] { controller_.B_StartClick(); });
}

void TF_Main::B_PauseClick() {
    Handle([this] { controller_.B_PauseClick(); });
}

void TF_Main::B_StopClick() {
    Handle([this] { controller_.B_StopClick(); });
}

void TF_Main::T_TimerTimer() {
    Handle([this] { controller_.T_TimerTimer(); });
}

void TF_Main::Exit1Click() {
    close(); // through closeEvent, as the close box
}

void TF_Main::OpentheCachefolder1Click() {
    Handle([this] {
        if (!services_.cacheFolder.Run()) {
            ShowMessage(messages::CacheFolderError, BoxType::Error, ButtonOk);
        }
    });
}

void TF_Main::Quickstart1Click() {
    Handle([this] {
        // A fresh window at every opening, destroyed also when showing it fails.
        const std::unique_ptr<TF_Help> help = std::make_unique<TF_Help>(this);
        help->exec();
    });
}

void TF_Main::AboutTembrel1Click() {
    Handle([this] {
        const std::unique_ptr<TF_About> about = std::make_unique<TF_About>(services_.shell, this);
        about->exec();
    });
}

void TF_Main::Showviewfile1Click() {
    Handle([this] { tools_->ShowViewFile(); });
}

void TF_Main::CreateGoogleEarthlink1Click() {
    Handle([this] { tools_->CreateGoogleEarthLink(); });
}

void TF_Main::Voyageestimate1Click() {
    Handle([this] { tools_->ShowEstimate(UntilNextTick()); });
}

void TF_Main::Exportcoveragepreview1Click() {
    Handle([this] { tools_->ExportCoveragePreview(); });
}

void TF_Main::Importpoints1Click() {
    Handle([this] { tools_->ImportPoints(); });
}

void TF_Main::Importareas1Click() {
    Handle([this] { tools_->ImportAreas(); });
}

// ---------------------------------------------------------------- Tools

std::int64_t TF_Main::UntilNextTick() const {
    return T_Timer->isActive() ? T_Timer->remainingTime() : -1;
}

void TF_Main::UpdateEstimateTip() {
    // A tooltip is not worth an error box, so a failure only empties it.
    try {
        GA_Progress->setToolTip(tools_->EstimateText(UntilNextTick()));
    } catch (const std::exception&) {
        GA_Progress->setToolTip(QString());
    }
}

bool TF_Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GA_Progress && event->type() == QEvent::ToolTip) {
        UpdateEstimateTip();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TF_Main::SetMemoLines(const QStringList& lines) {
    M_Points->setPlainText(lines.join(QLatin1Char('\n')));
}

void TF_Main::SetGridRows(const std::vector<ToolCommands::GridRow>& rows) {
    for (int row = 0; row < GridRowCount; ++row) {
        for (int column = 0; column < GridColumnCount; ++column) {
            const std::size_t index = static_cast<std::size_t>(row);
            const QString text = index < rows.size()
                                     ? Text(rows[index][static_cast<std::size_t>(column)])
                                     : QString();
            if (QTableWidgetItem* item = SG_Areas->item(row, column)) {
                item->setText(text);
            } else if (!text.isEmpty()) {
                SG_Areas->setItem(row, column, new QTableWidgetItem(text));
            }
        }
    }
}

// ---------------------------------------------------------------- VoyageWindow

bool TF_Main::TimerEnabled() const {
    return timer_.Enabled();
}

void TF_Main::SetTimerEnabled(bool enabled) {
    timer_.SetEnabled(enabled);
}

std::int32_t TF_Main::TimerInterval() const {
    return timer_.Interval();
}

void TF_Main::SetTimerInterval(std::int32_t milliseconds) {
    timer_.SetInterval(milliseconds);
}

std::int64_t TF_Main::Progress() const {
    return GA_Progress->Progress();
}

void TF_Main::SetProgress(std::int64_t progress) {
    GA_Progress->SetProgress(progress);
}

void TF_Main::AddProgress(std::int64_t step) {
    GA_Progress->AddProgress(step);
}

void TF_Main::SetStartCaption(const std::string& caption) {
    B_Start->setText(Text(caption));
}

void TF_Main::SetStartVisible(bool visible) {
    B_Start->setVisible(visible);
}

void TF_Main::SetAreaLabelCaption(const std::string& caption) {
    LB_MAreas->setText(Text(caption));
    LB_MAreas->adjustSize();
}

void TF_Main::SetAreaLabelVisible(bool visible) {
    LB_MAreas->setVisible(visible);
}

void TF_Main::SetAreasPanelEnabled(bool enabled) {
    P_MAreas->setEnabled(enabled);
}

Page TF_Main::ActivePage() const {
    const QWidget* page = PC_Main->currentWidget();
    if (page == TS_MAreas) {
        return Page::TS_MAreas;
    }
    if (page == TS_Points) {
        return Page::TS_Points;
    }
    return Page::TS_Area;
}

std::string TF_Main::EditText(InputEdit edit) const {
    return Edit(edit)->text().toStdString();
}

std::string TF_Main::GridCell(int column, int row) const {
    const QTableWidgetItem* item = SG_Areas->item(row, column);
    return item != nullptr ? item->text().toStdString() : std::string();
}

int TF_Main::MemoLineCount() const {
    return memoLines_->Count();
}

std::string TF_Main::MemoLine(int index) const {
    return memoLines_->Line(index);
}

void TF_Main::FocusRefreshEdit() {
    E_VR->setFocus(Qt::OtherFocusReason);
}

void TF_Main::SetFieldState(std::int16_t kind, Control control, bool enable) {
    QWidget* widget = ControlWidget(control);
    const QColor colour = enable ? QColor(255, 255, 255) : palette().color(QPalette::ToolTipBase);
    switch (kind) {
    case 0:
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setReadOnly(!enable);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
            memo->setReadOnly(!enable);
        }
        SetBackgroundColour(widget, colour);
        break;
    case 2:
        widget->setEnabled(enable);
        SetBackgroundColour(widget, colour);
        break;
    default:
        break;
    }
}

ModalResult TF_Main::ShowMessage(const std::string& text, BoxType type, unsigned buttons) {
    return services_.messageBox.Show(this, Text(text), type, buttons);
}

QString TF_Main::ApplicationTitleText() {
    return Text(ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
}

void TF_Main::ShowDefaultErrorBox(const std::string& text) {
    services_.messageBox.ShowDefaultError(this, ApplicationTitleText(), Text(text));
}

void TF_Main::ShowTickFault(const std::string& text) {
    // One box at a time; a modal one would hold the timer until OK. A box
    // closed with OK is hidden at once and deleted a little later.
    if (tickFaultBox_ != nullptr && tickFaultBox_->isVisible()) {
        return;
    }
    tickFaultBox_ = services_.messageBox.OpenDefaultError(this, ApplicationTitleText(), Text(text));
}

void TF_Main::TickFaultCleared() {
    if (QWidget* box = tickFaultBox_) {
        tickFaultBox_ = nullptr;
        box->close();
    }
}

QLineEdit* TF_Main::Edit(InputEdit edit) const {
    switch (edit) {
    case InputEdit::E_LatD:
        return E_LatD;
    case InputEdit::E_LonD:
        return E_LonD;
    case InputEdit::E_VE:
        return E_VE;
    case InputEdit::E_VS:
        return E_VS;
    case InputEdit::E_VEast:
        return E_VEast;
    case InputEdit::E_VSouth:
        return E_VSouth;
    case InputEdit::E_VA:
        return E_VA;
    case InputEdit::E_VR:
        return E_VR;
    }
    return E_VR;
}

QWidget* TF_Main::ControlWidget(Control control) const {
    if (control == Control::M_Points) {
        return M_Points;
    }
    // The first eight controls are the edits, in the same order.
    return Edit(static_cast<InputEdit>(static_cast<int>(control)));
}

} // namespace tembrel
