#pragma once

#include "MainWindowServices.h"
#include "MemoLines.h"
#include "QtFileDialogRoutine.h"
#include "QtTimerBackend.h"
#include "SettingsStore.h"
#include "TimerModel.h"
#include "ToolCommands.h"
#include "ViewFileWriter.h"
#include "VoyageController.h"
#include "VoyageState.h"
#include "VoyageWindow.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;

namespace tembrel {

class GaugeWidget;

// The main window: the three input pages, the snapshot settings, the voyage
// buttons, the area label, the gauge, the menu and the voyage timer. It is
// the window the voyage engine drives. Every handler runs through
// RunHandler: an error that escapes it shows in the default error box and
// never crosses the event loop.
class TF_Main final : public QMainWindow, public VoyageWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TF_Main)

public:
    // Builds the layout and runs FormCreate; the caller shows the window.
    explicit TF_Main(const MainWindowServices& services, QWidget* parent = nullptr);
    ~TF_Main() override;

    // VoyageWindow.
    bool TimerEnabled() const override;
    void SetTimerEnabled(bool enabled) override;
    std::int32_t TimerInterval() const override;
    void SetTimerInterval(std::int32_t milliseconds) override;
    std::int64_t Progress() const override;
    void SetProgress(std::int64_t progress) override;
    void AddProgress(std::int64_t step) override;
    void SetStartCaption(const std::string& caption) override;
    void SetStartVisible(bool visible) override;
    void SetAreaLabelCaption(const std::string& caption) override;
    void SetAreaLabelVisible(bool visible) override;
    void SetAreasPanelEnabled(bool enabled) override;
    Page ActivePage() const override;
    std::string EditText(InputEdit edit) const override;
    std::string GridCell(int column, int row) const override;
    int MemoLineCount() const override;
    std::string MemoLine(int index) const override;
    void FocusRefreshEdit() override;
    void SetFieldState(std::int16_t kind, Control control, bool enable) override;
    ModalResult ShowMessage(const std::string& text, BoxType type, unsigned buttons) override;
    void ShowDefaultErrorBox(const std::string& text) override;
    void ShowTickFault(const std::string& text) override;
    void TickFaultCleared() override;

    // The event handlers, as the controls and the timer call them. Public so
    // that a test can deliver a tick without waiting a period for it.
    void B_StartClick();
    void B_PauseClick();
    void B_StopClick();
    void T_TimerTimer();
    void Exit1Click();
    void OpentheCachefolder1Click();
    void Quickstart1Click();
    void AboutTembrel1Click();
    // The Tools menu.
    void Showviewfile1Click();
    void CreateGoogleEarthlink1Click();
    void Voyageestimate1Click();
    void Exportcoveragepreview1Click();
    void Importpoints1Click();
    void Importareas1Click();

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
    void BuildAreaPage();
    void BuildAreasPage();
    void BuildPointsPage();
    void BuildSnapshotGroup();
    void BuildButtonPanel();
    void BuildMenu();
    void BuildToolsMenu();
    void ConnectHandlers();
    void ConnectToolHandlers();
    // GA_Progress's tooltip: the voyage estimate, or the time left.
    void UpdateEstimateTip();
    std::int64_t UntilNextTick() const;
    void SetMemoLines(const QStringList& lines);
    void SetGridRows(const std::vector<ToolCommands::GridRow>& rows);

    void FormCreate();
    // Throws SilentAbort to refuse the close.
    void FormClose();
    void RestoreSettings();
    void SaveSettings();
    void ReadDecimalSeparator();

    // Runs one handler the way the application does (RunHandler).
    template <class Handler> void Handle(Handler&& handler);

    static QString ApplicationTitleText();
    QLineEdit* Edit(InputEdit edit) const;
    QWidget* ControlWidget(Control control) const;

    MainWindowServices services_;
    VoyageState state_;
    ViewFileWriter writer_;
    VoyageController controller_;

    QWidget* client_ = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QTabWidget* PC_Main = nullptr;
    QWidget* TS_Area = nullptr;
    QFrame* P_Area = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* E_LatD = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* E_LonD = nullptr;
    QLabel* Label18 = nullptr;
    QLineEdit* E_VE = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label19 = nullptr;
    QLineEdit* E_VS = nullptr;
    QLabel* Label10 = nullptr;
    QWidget* TS_MAreas = nullptr;
    QFrame* P_MAreas = nullptr;
    QLabel* Label3 = nullptr;
    QTableWidget* SG_Areas = nullptr;
    QWidget* TS_Points = nullptr;
    QFrame* P_Points = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* M_Points = nullptr;
    QGroupBox* GB_Area = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* E_VEast = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label20 = nullptr;
    QLineEdit* E_VSouth = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* E_VA = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* E_VR = nullptr;
    QLabel* Label14 = nullptr;
    QFrame* Panel3 = nullptr;
    QToolButton* B_Start = nullptr;
    QToolButton* B_Pause = nullptr;
    QToolButton* B_Stop = nullptr;
    QLabel* LB_MAreas = nullptr;
    GaugeWidget* GA_Progress = nullptr;
    QMenuBar* MM_Main = nullptr;
    QMenu* File1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* GECahce1 = nullptr;
    QAction* OpentheCachefolder1 = nullptr;
    QMenu* Tools1 = nullptr;
    QAction* Showviewfile1 = nullptr;
    QAction* CreateGoogleEarthlink1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Voyageestimate1 = nullptr;
    QAction* Exportcoveragepreview1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Importpoints1 = nullptr;
    QAction* Importareas1 = nullptr;
    QMenu* About1 = nullptr;
    QAction* Quickstart1 = nullptr;
    QAction* N1 = nullptr;
    QAction* AboutTembrel1 = nullptr;
    QTimer* T_Timer = nullptr;

    QtTimerBackend timerBackend_;
    TimerModel timer_;
    std::unique_ptr<MemoLines> memoLines_;
    QtFileDialogRoutine systemFileDialog_;
    std::unique_ptr<ToolCommands> tools_;
    // The open error box of a failed tick, if any.
    QPointer<QWidget> tickFaultBox_;
};

} // namespace tembrel
