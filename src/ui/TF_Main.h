#pragma once

#include "ArrivalRecord.h"
#include "MainWindowServices.h"
#include "MainWindowVoyagePorts.h"
#include "QtFileDialogRoutine.h"
#include "QtTimerBackend.h"
#include "ServedViewFileWriter.h"
#include "SettingsStore.h"
#include "SnapshotMeasure.h"
#include "TimerModel.h"
#include "ToolCommands.h"
#include "VoyageController.h"
#include "VoyageState.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QTimer;

namespace Ui {
class TF_Main;
} // namespace Ui

namespace tembrel {

class LiveIndicator;
class ViewServer;

// The main window: the three input pages, the snapshot settings, the voyage
// buttons, the area label, the gauge, the menu and the voyage timer. The
// voyage engine sees it through its ports (MainWindowVoyagePorts) and arms
// its timer. Every handler runs through RunHandler: an error that escapes it
// shows in the default error box and never crosses the event loop.
class TF_Main final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TF_Main)

public:
    // Builds the layout and runs FormCreate; the caller shows the window.
    explicit TF_Main(const MainWindowServices& services, QWidget* parent = nullptr);
    ~TF_Main() override;

    // The engine's view of this window and the voyage timer, for the tests.
    MainWindowVoyagePorts& VoyagePorts() { return *ports_; }
    TimerModel& Timer() { return timer_; }
    // The live link: the view server's port (0 when it is not serving), the
    // monitor of Google Earth's fetches and the light beside the gauge. The
    // server starts listening after the window's first paint, or at the
    // first call that needs it, whichever comes first.
    std::uint16_t ViewServerPort();
    // The view's path on the server, with its secret; empty when not serving.
    std::string ViewServerPath();
    FollowingMonitor& Monitor() { return monitor_; }
    const ArrivalRecord& Arrivals() const { return arrivals_; }
    LiveIndicator& Indicator() { return *indicator_; }
    // Brings the light and its tooltip up to date with the monitor.
    void RefreshLiveStatus();
#ifdef TEMBREL_LIVE_SERVER
    ViewServer* Server();
#endif

    // The event handlers, as the controls and the timer call them. Public so
    // that a test can deliver a tick without waiting a period for it.
    void B_StartClick();
    void B_PauseClick();
    void B_StopClick();
    void T_TimerTimer();
    void Exit1Click();
    void OpentheCachefolder1Click();
    void Quickstart1Click();
    // Tools › Measure snapshot size...: writes one view, and at Google
    // Earth's fetch that shows it offers the size it saw for the two
    // snapshot fields.
    void MeasureSnapshotSize();
    void AboutTembrel1Click();

    // The desktop session is ending (log-off, shutdown): the program may be
    // ended without a close, so the eight edit texts are saved now, without
    // asking anything.
    void SessionEnding();

    // The system asks the program to end (SIGTERM or SIGINT): the eight edit
    // texts are saved as at the session's end, and the program quits without
    // asking anything, whatever box is open.
    void QuitWithoutQuestion();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void ConnectHandlers();
    void ConnectToolHandlers();
    // GA_Progress's tooltip: the voyage estimate, or the time left.
    void UpdateEstimateTip();
    std::int64_t UntilNextTick() const;

    void FormCreate();
    // Throws SilentAbort to refuse the close.
    void FormClose();
    void RestoreSettings();
    void SaveSettings();
    void ReadDecimalSeparator();
    // The measure's time limit and the hand-over of each written view to the
    // server; the server itself starts later (Server()).
    void PrepareLiveLink();
    // The kept port was taken: the server listens on `port` this run.
    void TellPortTaken(std::uint16_t kept, std::uint16_t port);
    // Refresh Every and the snapshot size, as the monitor judges by them.
    void UpdateMonitorInputs();
    // Where the measure looks: the Area's centre, the first area of the
    // grid's or the first point, by the active page. Throws on bad texts.
    ViewCentre MeasureCentre() const;
    void OfferMeasure(const SnapshotMeasure::Result& result);
    void MeasureTimedOut();

    // Runs one handler the way the application does (RunHandler).
    template <class Handler> void Handle(Handler&& handler);

    MainWindowServices services_;
    VoyageState state_;
    ServedViewFileWriter writer_;
    FollowingMonitor monitor_;
    ArrivalRecord arrivals_;
    bool newVoyage_ = false; // its first view starts a fresh arrival record
    SnapshotMeasure measure_;
    QTimer* measureLimit_ = nullptr; // runs only while a measure waits
    LiveIndicator* indicator_ = nullptr;
#ifdef TEMBREL_LIVE_SERVER
    ViewServer* server_ = nullptr;
    bool serverDue_ = false; // its start is queued behind the first paint
#endif

    // The layout, as the form file describes it.
    std::unique_ptr<Ui::TF_Main> ui;
    QTimer* T_Timer = nullptr;

    QtTimerBackend timerBackend_;
    // The voyage timer's one state: T_Timer runs only as it says.
    TimerModel timer_;
    std::unique_ptr<MainWindowVoyagePorts> ports_;
    std::unique_ptr<VoyageController> controller_;
    QtFileDialogRoutine systemFileDialog_;
    std::unique_ptr<ToolCommands> tools_;
};

} // namespace tembrel
