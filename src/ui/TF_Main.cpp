#include "TF_Main.h"

#include "DefaultErrorBox.h"
#include "FormFont.h"
#include "GaugeModel.h"
#include "GaugeWidget.h"
#include "LiveIndicator.h"
#include "MenuBarKeys.h"
#include "MessageBoxRoutine.h"
#include "Messages.h"
#include "NumberText.h"
#include "PngIconEngine.h"
#include "TF_About.h"
#include "TF_Help.h"
#include "TextConversion.h"
#include "VoyageErrors.h"
#include "WindowManners.h"
#include "ui_TF_Main.h"

#include "CacheFolderCommand.h"
#include "DecimalSeparator.h"
#include "PortSetting.h"
#ifdef TEMBREL_LIVE_SERVER
#include "ViewServer.h"
#endif

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <exception>
#include <memory>

// Resources live in the static UI library; the linker keeps them only when
// something refers to them. Q_INIT_RESOURCE must be used outside a namespace.
static void InitTembrelResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tembrel {

namespace {

// Labels size themselves to their text.
void FitToText(QLabel* label) {
    label->adjustSize();
}

// A word-wrapped label of two lines at its place. Where the platform's font
// is wider than the one the layout was drawn with, the label grows to keep
// its two lines instead of wrapping a third one out of sight.
void KeepTwoLines(QLabel* label) {
    label->setWordWrap(false);
    const QSize natural = label->sizeHint();
    label->setWordWrap(true);
    label->resize(std::max(label->width(), natural.width()),
                  std::max(label->height(), natural.height()));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::chrono::milliseconds SteadyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

TF_Main::TF_Main(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services), writer_(services.viewFileDirectory),
      monitor_(services.liveClock ? services.liveClock : FollowingMonitor::Clock(SteadyNow)),
      ui(std::make_unique<Ui::TF_Main>()), T_Timer(new QTimer(this)), timerBackend_(*T_Timer),
      timer_(timerBackend_) {
    InitTembrelResources();
    T_Timer->setObjectName(QStringLiteral("T_Timer"));
    T_Timer->setInterval(timer_.Interval());

    BuildLayout();
    // Centred by its frame at the first show; Esc does nothing here anyway.
    new WindowManners(*this, {.swallowEscape = false, .refuseMinimise = false, .outerSize = {}});
    ports_ = std::make_unique<MainWindowVoyagePorts>(
        MainWindowVoyagePorts::Widgets{.F_Main = *this,
                                       .PC_Main = *ui->PC_Main,
                                       .TS_MAreas = *ui->TS_MAreas,
                                       .TS_Points = *ui->TS_Points,
                                       .E_LatD = *ui->E_LatD,
                                       .E_LonD = *ui->E_LonD,
                                       .E_VE = *ui->E_VE,
                                       .E_VS = *ui->E_VS,
                                       .E_VEast = *ui->E_VEast,
                                       .E_VSouth = *ui->E_VSouth,
                                       .E_VA = *ui->E_VA,
                                       .E_VR = *ui->E_VR,
                                       .P_MAreas = *ui->P_MAreas,
                                       .SG_Areas = *ui->SG_Areas,
                                       .M_Points = *ui->M_Points,
                                       .B_Start = *ui->B_Start,
                                       .LB_MAreas = *ui->LB_MAreas,
                                       .GA_Progress = *ui->GA_Progress},
        services.messageBox);
    controller_ = std::make_unique<VoyageController>(state_, *ports_, *ports_, timer_, writer_);
    tools_ = std::make_unique<ToolCommands>(ToolCommands::Context{
        .inputs = *ports_,
        .timer = timer_,
        .state = state_,
        .engine = *controller_,
        .viewFile = writer_.Path(),
        .fileDialog = services.fileDialog != nullptr ? *services.fileDialog : systemFileDialog_,
        .messageBox = services.messageBox,
        .shell = services.shell,
        .owner = this,
        .memo = *ui->M_Points,
        .grid = *ui->SG_Areas,
        .livePort = [this] { return ViewServerPort(); },
        .livePath = [this] { return ViewServerPath(); },
        .arrivals = &arrivals_});
    PrepareLiveLink();
    ConnectHandlers();
    ConnectToolHandlers();

    Handle([this] { ReadDecimalSeparator(); });
    Handle([this] { FormCreate(); });
}

TF_Main::~TF_Main() {
    // The gauge goes after this part of the window; no estimate may be worked
    // out on a window half gone.
    ui->GA_Progress->removeEventFilter(this);
}

// ---------------------------------------------------------------- layout

void TF_Main::BuildLayout() {
    // What the form file cannot say: the border, the icon read as PNG only,
    // the form's font with its fallbacks and the button face behind it all.
    // A single border: minimise and close, no maximise, not resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(
        QIcon(new PngIconEngine(QStringLiteral(":/tembrel-%1.png"), {16, 32, 48, 64, 128, 256})));
    setFont(FormFont());
    // The window's background is the button face, as a dialog's.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);

    // The form file holds the rest. Its menu captions keep their leading
    // blanks and have no shortcuts; the voyage buttons show their border only
    // under the mouse; a word longer than the memo is broken where the width
    // ends, as the wrapping edit controls do.
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (QLabel* label : {ui->Label1, ui->Label5, ui->Label18, ui->Label9, ui->Label19, ui->Label10,
                          ui->Label15, ui->Label16, ui->Label20, ui->Label17, ui->Label11,
                          ui->Label12, ui->Label13, ui->Label14}) {
        FitToText(label);
    }
    KeepTwoLines(ui->Label3);
    KeepTwoLines(ui->Label2);

    // The grid's size is the engine's; its rows and columns keep their sizes.
    ui->SG_Areas->setRowCount(VoyageInputs::GridRowCount);
    ui->SG_Areas->setColumnCount(VoyageInputs::GridColumnCount);
    ui->SG_Areas->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->SG_Areas->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    const struct {
        QToolButton* button;
        const char* picture;
    } pictures[] = {
        {ui->B_Start, ":/start.png"}, {ui->B_Pause, ":/pause.png"}, {ui->B_Stop, ":/stop.png"}};
    for (const auto& [button, picture] : pictures) {
        button->setIcon(QIcon(PngIconEngine::ReadPng(QLatin1String(picture))));
    }
    // The engine's own texts, which it shows there again later.
    ui->B_Start->setText(Text(messages::StartCaption));
    ui->LB_MAreas->setText(Text(messages::AreaLabelPrefix));
    FitToText(ui->LB_MAreas);
    ui->LB_MAreas->hide();

    // In the gap right of the gauge: no control of the layout moves for it.
    indicator_ = new LiveIndicator(ui->Panel3);
    indicator_->setObjectName(QStringLiteral("LiveIndicator"));
    indicator_->setGeometry(457, 107, 10, 10);
    indicator_->hide();

    new MenuBarKeys(*ui->MM_Main, *this);
    adjustSize();
}

void TF_Main::ConnectHandlers() {
    connect(ui->B_Start, &QToolButton::clicked, this, &TF_Main::B_StartClick);
    connect(ui->B_Pause, &QToolButton::clicked, this, &TF_Main::B_PauseClick);
    connect(ui->B_Stop, &QToolButton::clicked, this, &TF_Main::B_StopClick);
    connect(T_Timer, &QTimer::timeout, this, &TF_Main::T_TimerTimer);
    connect(ui->Exit1, &QAction::triggered, this, &TF_Main::Exit1Click);
    connect(ui->OpentheCachefolder1, &QAction::triggered, this, &TF_Main::OpentheCachefolder1Click);
    connect(ui->Quickstart1, &QAction::triggered, this, &TF_Main::Quickstart1Click);
    connect(ui->AboutTembrel1, &QAction::triggered, this, &TF_Main::AboutTembrel1Click);
#ifndef QT_NO_SESSIONMANAGER
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { SessionEnding(); });
#endif
}

void TF_Main::ConnectToolHandlers() {
    const auto wire = [this](QAction* action, auto command) {
        connect(action, &QAction::triggered, this, [this, command] { Handle(command); });
    };
    wire(ui->Showviewfile1, [this] { tools_->ShowViewFile(); });
    wire(ui->CreateGoogleEarthlink1, [this] { tools_->CreateGoogleEarthLink(); });
    wire(ui->CreateliveGoogleEarthlink1, [this] { tools_->CreateLiveGoogleEarthLink(); });
    wire(ui->Voyageestimate1, [this] { tools_->ShowEstimate(UntilNextTick()); });
    wire(ui->Voyagereport1, [this] { tools_->ShowVoyageReport(); });
    connect(ui->Measuresnapshotsize1, &QAction::triggered, this, &TF_Main::MeasureSnapshotSize);
    wire(ui->Exportcoveragepreview1, [this] { tools_->ExportCoveragePreview(); });
    wire(ui->Importpoints1, [this] { tools_->ImportPoints(); });
    wire(ui->Importareas1, [this] { tools_->ImportAreas(); });
    // The memo and the grid are locked during a voyage: so are their imports.
    connect(ui->Tools1, &QMenu::aboutToShow, this, [this] {
        ui->Importpoints1->setEnabled(tools_->ImportsAllowed());
        ui->Importareas1->setEnabled(tools_->ImportsAllowed());
    });

    // The estimate is worked out when the tooltip is about to show, from the
    // inputs and the position of that moment: a long memo then costs nothing
    // at each keystroke or tick.
    ui->GA_Progress->installEventFilter(this);
}

// ---------------------------------------------------------------- handlers

template <class Handler> void TF_Main::Handle(Handler&& handler) {
    try {
        RunHandler(*ports_, std::forward<Handler>(handler));
    } catch (...) {
        // Only showing the error box itself can fail here; nothing may cross
        // the event loop, and nothing is left to show the failure with.
    }
}

void TF_Main::FormCreate() {
    controller_->Create();
    ui->PC_Main->setCurrentWidget(ui->TS_Area);
    ui->GA_Progress->SetMaximum(static_cast<std::int32_t>(GaugeMaximum));
    RestoreSettings();

    static constexpr std::array<std::array<const char*, VoyageInputs::GridColumnCount>, 2>
        ExampleRows = {{
            {"30.124555", "31.254447", "2.5", "0.54"},
            {"31.55125", "29.79862", "1.2", "9.4"},
        }};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < VoyageInputs::GridColumnCount; ++column) {
            const QString text = QLatin1String(ExampleRows[row][column]);
            if (QTableWidgetItem* item = ui->SG_Areas->item(row, column)) {
                item->setText(text);
            } else {
                ui->SG_Areas->setItem(row, column, new QTableWidgetItem(text));
            }
        }
    }
}

void TF_Main::FormClose() {
    if (timer_.Enabled() && ports_->ShowMessage(messages::ConfirmExit, BoxType::Confirmation,
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
    timer_.SetEnabled(false);
    event->accept();
}

bool TF_Main::event(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        Handle([this] { ReadDecimalSeparator(); });
    }
#ifdef TEMBREL_LIVE_SERVER
    // The live link is no part of the first paint: it listens right after
    // it, or sooner where something asks for it.
    if (event->type() == QEvent::Paint && server_ == nullptr && !serverDue_) {
        serverDue_ = true;
        QTimer::singleShot(0, this, [this] { Handle([this] { Server(); }); });
    }
#endif
    return QMainWindow::event(event);
}

void TF_Main::ReadDecimalSeparator() {
    controller_->SetDecimalSeparator(services_.decimalSeparator());
}

void TF_Main::RestoreSettings() {
    // The store reports nothing; whatever it could not give stays empty.
    const EditTexts texts = services_.settings.Restore();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ports_->Edit(static_cast<InputEdit>(i)).setText(Text(texts[i]));
    }
}

void TF_Main::SaveSettings() {
    EditTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = ports_->EditText(static_cast<InputEdit>(i));
    }
    // Not examined: a failed save leaves the previous texts, and says nothing.
    services_.settings.Save(texts);
}

void TF_Main::SessionEnding() {
    Handle([this] { SaveSettings(); });
}

void TF_Main::QuitWithoutQuestion() {
    Handle([this] { SaveSettings(); });
    timer_.SetEnabled(false);
    // exit(), not quit(): quit() would close the window first, and its close
    // asks about a running voyage.
    QCoreApplication::exit(0);
}

void TF_Main::B_StartClick() {
    // The voyage's views replace the measured one.
    measure_.Cancel();
    measureLimit_->stop();
    newVoyage_ = !state_.InProgress;
    Handle([this] { controller_->Start(); });
    RefreshLiveStatus();
}

void TF_Main::B_PauseClick() {
    Handle([this] { controller_->Pause(); });
}

void TF_Main::B_StopClick() {
    Handle([this] { controller_->Stop(); });
}

void TF_Main::T_TimerTimer() {
    Handle([this] { controller_->Tick(); });
    // The ticks wake the program anyway: a stop of Google Earth's fetches
    // shows at the next one, without a timer of its own.
    RefreshLiveStatus();
}

void TF_Main::Exit1Click() {
    close(); // through closeEvent, as the close box
}

void TF_Main::OpentheCachefolder1Click() {
    Handle([this] {
        if (!services_.cacheFolder.Run()) {
            ports_->ShowMessage(messages::CacheFolderError, BoxType::Error, ButtonOk);
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

// ---------------------------------------------------------------- Tools

std::int64_t TF_Main::UntilNextTick() const {
    return timer_.Enabled() ? T_Timer->remainingTime() : -1;
}

void TF_Main::UpdateEstimateTip() {
    // A tooltip is not worth an error box, so a failure only empties it.
    try {
        QString tip = tools_->EstimateText(UntilNextTick());
        // Once Google Earth fetched over the live link, the tip says how it
        // follows; with the file link alone the light says it never did.
        if (ViewServerPort() != 0) {
            UpdateMonitorInputs();
            const FollowingMonitor::Status status = monitor_.Now();
            if (status.state != FollowingMonitor::State::NotYetFetched) {
                tip += QLatin1Char('\n') + Text(FollowingMonitor::Describe(status));
            }
        }
        ui->GA_Progress->setToolTip(tip);
    } catch (const std::exception&) {
        ui->GA_Progress->setToolTip(QString());
    }
}

bool TF_Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->GA_Progress && event->type() == QEvent::ToolTip) {
        UpdateEstimateTip();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- live link

void TF_Main::PrepareLiveLink() {
    measureLimit_ = new QTimer(this);
    measureLimit_->setObjectName(QStringLiteral("MeasureLimit"));
    measureLimit_->setSingleShot(true);
    connect(measureLimit_, &QTimer::timeout, this,
            [this] { Handle([this] { MeasureTimedOut(); }); });
#ifdef TEMBREL_LIVE_SERVER
    writer_.OnWritten([this](const std::string& document, double lon, double lat) {
        Server()->SetView(QByteArray(document.data(), static_cast<qsizetype>(document.size())),
                          ViewCentre{lon, lat});
        if (measure_.Active()) {
            return; // the measure's view is no centre of a voyage
        }
        if (newVoyage_) {
            arrivals_.Clear();
            newVoyage_ = false;
        }
        arrivals_.ViewWritten({lon, lat});
    });
#endif
}

#ifdef TEMBREL_LIVE_SERVER
ViewServer* TF_Main::Server() {
    if (server_ != nullptr) {
        return server_;
    }
    server_ = new ViewServer({}, this);
    PortSetting* setting = services_.viewServerPort;
    const std::uint16_t kept = setting != nullptr ? setting->Read() : 0;
    const std::uint16_t port = server_->Listen(kept);
    // Kept once chosen: the links made before go on working. When the kept
    // port is taken this time, the link made now names the other one.
    if (port != 0 && kept == 0 && setting != nullptr) {
        setting->Save(port);
    }
    // The same for the secret of the link's path; a fresh one is used for
    // this run even when it cannot be kept.
    if (setting != nullptr &&
        !server_->SetSecret(QByteArray::fromStdString(setting->ReadSecret()))) {
        setting->SaveSecret(server_->Secret().toStdString());
    }
    if (port != 0 && kept != 0 && port != kept) {
        // After the window shows: a box from inside the constructor would
        // come before it.
        QTimer::singleShot(0, this, [this, kept, port] {
            Handle([this, kept, port] { TellPortTaken(kept, port); });
        });
    }
    server_->OnFetch(
        [this](const std::optional<CameraReport>& report, const std::optional<ViewCentre>& served) {
            UpdateMonitorInputs();
            // A fetch of the live link without a camera: its view-based
            // refresh was set to Never in Google Earth, which then leaves
            // the viewFormat out.
            if (!report) {
                monitor_.FetchedWithoutCamera(served);
                RefreshLiveStatus();
                return;
            }
            monitor_.Fetched(*report, served);
            arrivals_.Reported(*report, monitor_);
            RefreshLiveStatus();
            if (const auto measured = measure_.Fetched(*report, served)) {
                measureLimit_->stop();
                // Not from inside the server's request: the box waits for
                // the user, and the server goes on serving meanwhile.
                QTimer::singleShot(0, this, [this, result = *measured] {
                    Handle([this, &result] { OfferMeasure(result); });
                });
            }
        });
    indicator_->setVisible(port != 0);
    return server_;
}
#endif

std::string TF_Main::ViewServerPath() {
#ifdef TEMBREL_LIVE_SERVER
    return Server()->Port() != 0 ? Server()->DocumentPath().toStdString() : std::string();
#else
    return {};
#endif
}

void TF_Main::TellPortTaken(std::uint16_t kept, std::uint16_t port) {
    ports_->ShowMessage(
        QStringLiteral("Port %1, which Tembrel keeps for the live link, is taken by another "
                       "program: the view server listens on port %2 for this run. A live link "
                       "made before does not reach it, and one made now works for this run "
                       "only. Close the other program and start Tembrel again to serve on port "
                       "%1.")
            .arg(kept)
            .arg(port)
            .toStdString(),
        BoxType::Information, ButtonOk);
}

std::uint16_t TF_Main::ViewServerPort() {
#ifdef TEMBREL_LIVE_SERVER
    return Server()->Port();
#else
    return 0;
#endif
}

void TF_Main::UpdateMonitorInputs() {
    try {
        monitor_.SetPeriod(std::chrono::milliseconds(
            VoyageController::RefreshMilliseconds(ports_->EditText(InputEdit::E_VR))));
    } catch (const std::exception&) {
        monitor_.SetPeriod(std::chrono::milliseconds(0));
    }
    // A camera within a quarter of a snapshot of the centre still shows
    // three quarters of it; the next centre of a row is a whole one away.
    try {
        const char separator = controller_->DecimalSeparator();
        const auto width =
            static_cast<double>(StrToFloat(ports_->EditText(InputEdit::E_VEast), separator));
        const auto height =
            static_cast<double>(StrToFloat(ports_->EditText(InputEdit::E_VSouth), separator));
        monitor_.SetTolerance(width * 37.0 / 3600.0 / 4.0, height * 32.0 / 3600.0 / 4.0);
    } catch (const std::exception&) {
        // The snapshot fields are not numbers now: the last tolerance stays.
    }
}

void TF_Main::RefreshLiveStatus() {
    // A light is not worth an error box: a failure leaves it as it was.
    try {
        if (ViewServerPort() == 0) {
            return;
        }
        UpdateMonitorInputs();
        indicator_->Show(monitor_.Now());
    } catch (const std::exception&) {
    }
}

// ---------------------------------------------------------------- measure

ViewCentre TF_Main::MeasureCentre() const {
    const char separator = controller_->DecimalSeparator();
    const auto number = [separator](const std::string& text) {
        return static_cast<double>(StrToFloat(text, separator));
    };
    // The centre of an area given by its north-west corner and its size in km.
    const auto centre = [&](const std::string& lat, const std::string& lon,
                            const std::string& width, const std::string& height) {
        return ViewCentre{number(lon) + number(width) / 2 * 37.0 / 3600.0,
                          number(lat) - number(height) / 2 * 32.0 / 3600.0};
    };
    switch (ports_->ActivePage()) {
    case Page::TS_MAreas:
        return centre(ports_->GridCell(0, 0), ports_->GridCell(1, 0), ports_->GridCell(2, 0),
                      ports_->GridCell(3, 0));
    case Page::TS_Points:
        for (int line = 0; line < ports_->MemoLineCount(); ++line) {
            const std::string text = ports_->MemoLine(line);
            const std::size_t comma = text.find(',');
            if (comma != std::string::npos) {
                return ViewCentre{number(text.substr(0, comma)), number(text.substr(comma + 1))};
            }
        }
        throw VoyageError(messages::DataNotCorrect);
    case Page::TS_Area:
        break;
    }
    return centre(ports_->EditText(InputEdit::E_LatD), ports_->EditText(InputEdit::E_LonD),
                  ports_->EditText(InputEdit::E_VE), ports_->EditText(InputEdit::E_VS));
}

void TF_Main::MeasureSnapshotSize() {
    Handle([this] {
        if (state_.InProgress) {
            ports_->ShowMessage("Measure the snapshot size while no voyage is in progress.",
                                BoxType::Information, ButtonOk);
            return;
        }
        if (ViewServerPort() == 0) {
            ports_->ShowMessage("The view server is not running: the snapshot size cannot be "
                                "measured.",
                                BoxType::Error, ButtonOk);
            return;
        }
        VoyageState view;
        std::int32_t periodMs = 0;
        try {
            const ViewCentre centre = MeasureCentre();
            view.CurLon = static_cast<float>(centre.lon);
            view.CurLat = static_cast<float>(centre.lat);
            view.Range = StrToInt(ports_->EditText(InputEdit::E_VA));
            periodMs = VoyageController::RefreshMilliseconds(ports_->EditText(InputEdit::E_VR));
        } catch (const std::exception&) {
            ports_->ShowMessage(messages::DataNotCorrect, BoxType::Error, ButtonOk);
            return;
        }
        if (view.Range <= 0 || std::fabs(view.CurLat) > 90 || std::fabs(view.CurLon) > 180) {
            ports_->ShowMessage(messages::DataNotCorrect, BoxType::Error, ButtonOk);
            return;
        }
        measure_.Start({view.CurLon, view.CurLat}, view.Range);
        try {
            writer_.WriteViewFile(view, controller_->DecimalSeparator());
        } catch (...) {
            measure_.Cancel();
            throw;
        }
        // Two fetches are needed (one hands the view over, the next reports
        // the camera there); three periods, and half a minute at least.
        measureLimit_->start(std::max(3 * periodMs, 30000));
        ports_->ShowMessage(
            "Tembrel has written a view at latitude " +
                FormatNumber(view.CurLat, controller_->DecimalSeparator()) + ", longitude " +
                FormatNumber(view.CurLon, controller_->DecimalSeparator()) + ", " +
                std::to_string(view.Range) +
                " m up. When Google Earth shows it over the live link, the width and height of "
                "what its window shows are measured: keep Google Earth's window at the size you "
                "will fly the voyage with.",
            BoxType::Information, ButtonOk);
    });
}

void TF_Main::OfferMeasure(const SnapshotMeasure::Result& result) {
    const char separator = controller_->DecimalSeparator();
    const auto text = [separator](double km) {
        QString number = QString::number(km, 'f', 3);
        number.replace(QLatin1Char('.'), QLatin1Char(separator));
        return number;
    };
    const QString question =
        QStringLiteral("Google Earth shows %1 km by %2 km at %3 m, in a window of %4 x %5 "
                       "pixels.\n\nPut them into Snapshots Width and Height?")
            .arg(text(result.widthKm), text(result.heightKm))
            .arg(std::lround(result.range))
            .arg(result.windowWidth)
            .arg(result.windowHeight);
    if (ports_->ShowMessage(question.toStdString(), BoxType::Confirmation, ButtonYes | ButtonNo) ==
        ModalResult::Yes) {
        ports_->Edit(InputEdit::E_VEast).setText(text(result.widthKm));
        ports_->Edit(InputEdit::E_VSouth).setText(text(result.heightKm));
    }
}

void TF_Main::MeasureTimedOut() {
    if (!measure_.Active()) {
        return;
    }
    measure_.Cancel();
    ports_->ShowMessage("Google Earth did not show the measured view in time. Open the live link "
                        "in Google Earth (Tools, Create live Google Earth link...), keep its "
                        "window open, and measure again.",
                        BoxType::Error, ButtonOk);
}

} // namespace tembrel
