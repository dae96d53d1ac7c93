#pragma once

#include "MemoLines.h"
#include "VoyageInputs.h"
#include "VoyageView.h"

#include <QPointer>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QWidget;

namespace tembrel {

class GaugeWidget;
class MessageBoxRoutine;

// The voyage engine's view and inputs over the main window's widgets: what
// the engine tells lands on the gauge, the Start button, the area label and
// the boxes; what it reads comes from the edits, the grid and the memo of
// that moment. The main window owns it and keeps its widgets alive as long.
class MainWindowVoyagePorts final : public VoyageView, public VoyageInputs {
public:
    // The main window's widgets the engine reaches, by their component names.
    struct Widgets {
        QWidget& F_Main; // owns the boxes; its palette gives the lock colour
        QTabWidget& PC_Main;
        QWidget& TS_MAreas;
        QWidget& TS_Points;
        QLineEdit& E_LatD;
        QLineEdit& E_LonD;
        QLineEdit& E_VE;
        QLineEdit& E_VS;
        QLineEdit& E_VEast;
        QLineEdit& E_VSouth;
        QLineEdit& E_VA;
        QLineEdit& E_VR;
        QWidget& P_MAreas;
        QTableWidget& SG_Areas;
        QPlainTextEdit& M_Points;
        QToolButton& B_Start;
        QLabel& LB_MAreas;
        GaugeWidget& GA_Progress;
    };

    MainWindowVoyagePorts(const Widgets& widgets, MessageBoxRoutine& messageBox);
    Q_DISABLE_COPY_MOVE(MainWindowVoyagePorts)
    ~MainWindowVoyagePorts() override = default;

    // VoyageView.
    void SetProgress(std::int64_t progress) override;
    void AddProgress(std::int64_t step) override;
    void SetStartCaption(const std::string& caption) override;
    void SetStartVisible(bool visible) override;
    void SetAreaLabelCaption(const std::string& caption) override;
    void SetAreaLabelVisible(bool visible) override;
    void SetAreasPanelEnabled(bool enabled) override;
    void FocusRefreshEdit() override;
    void SetFieldState(LockKind kind, Control control, bool enable) override;
    ModalResult ShowMessage(const std::string& text, BoxType type, unsigned buttons) override;
    void ShowDefaultErrorBox(const std::string& text) override;
    void ShowTickFault(const std::string& text) override;
    void TickFaultCleared() override;

    // VoyageInputs.
    Page ActivePage() const override;
    std::string EditText(InputEdit edit) const override;
    std::string GridCell(int column, int row) const override;
    int MemoLineCount() const override;
    std::string MemoLine(int index) const override;

    QLineEdit& Edit(InputEdit edit) const;

private:
    QWidget& ControlWidget(Control control) const;

    Widgets widgets_;
    MessageBoxRoutine& messageBox_;
    MemoLines memoLines_;
    // The open error box of a failed tick, if any.
    QPointer<QWidget> tickFaultBox_;
};

} // namespace tembrel
