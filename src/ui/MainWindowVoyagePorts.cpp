#include "MainWindowVoyagePorts.h"

#include "ApplicationTitle.h"
#include "DefaultErrorBox.h"
#include "GaugeWidget.h"
#include "MessageBoxRoutine.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

namespace tembrel {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString ApplicationTitleText() {
    return Text(ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
}

void SetBackgroundColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, colour);
    widget.setPalette(palette);
}

} // namespace

MainWindowVoyagePorts::MainWindowVoyagePorts(const Widgets& widgets, MessageBoxRoutine& messageBox)
    : widgets_(widgets), messageBox_(messageBox), memoLines_(widgets.M_Points) {}

// ---------------------------------------------------------------- VoyageView

void MainWindowVoyagePorts::SetProgress(std::int64_t progress) {
    widgets_.GA_Progress.SetProgress(progress);
}

void MainWindowVoyagePorts::AddProgress(std::int64_t step) {
    widgets_.GA_Progress.AddProgress(step);
}

void MainWindowVoyagePorts::SetStartCaption(const std::string& caption) {
    widgets_.B_Start.setText(Text(caption));
}

void MainWindowVoyagePorts::SetStartVisible(bool visible) {
    widgets_.B_Start.setVisible(visible);
}

void MainWindowVoyagePorts::SetAreaLabelCaption(const std::string& caption) {
    widgets_.LB_MAreas.setText(Text(caption));
    widgets_.LB_MAreas.adjustSize();
}

void MainWindowVoyagePorts::SetAreaLabelVisible(bool visible) {
    widgets_.LB_MAreas.setVisible(visible);
}

void MainWindowVoyagePorts::SetAreasPanelEnabled(bool enabled) {
    widgets_.P_MAreas.setEnabled(enabled);
}

void MainWindowVoyagePorts::FocusRefreshEdit() {
    widgets_.E_VR.setFocus(Qt::OtherFocusReason);
}

void MainWindowVoyagePorts::SetFieldState(LockKind kind, Control control, bool enable) {
    QWidget& widget = ControlWidget(control);
    switch (kind) {
    case LockKind::ReadOnly:
        if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
            edit->setReadOnly(!enable);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(&widget)) {
            memo->setReadOnly(!enable);
        }
        break;
    case LockKind::Enabled:
        widget.setEnabled(enable);
        break;
    }
    SetBackgroundColour(widget, enable ? QColor(255, 255, 255)
                                       : widgets_.F_Main.palette().color(QPalette::ToolTipBase));
}

ModalResult MainWindowVoyagePorts::ShowMessage(const std::string& text, BoxType type,
                                               unsigned buttons) {
    return messageBox_.Show(&widgets_.F_Main, Text(text), type, buttons);
}

void MainWindowVoyagePorts::ShowDefaultErrorBox(const std::string& text) {
    messageBox_.ShowDefaultError(&widgets_.F_Main, ApplicationTitleText(), Text(text));
}

void MainWindowVoyagePorts::ShowTickFault(const std::string& text) {
    // One box at a time; a modal one would hold the timer until OK. A box
    // closed with OK is hidden at once and deleted a little later.
    if (tickFaultBox_ != nullptr && tickFaultBox_->isVisible()) {
        return;
    }
    tickFaultBox_ =
        messageBox_.OpenDefaultError(&widgets_.F_Main, ApplicationTitleText(), Text(text));
}

void MainWindowVoyagePorts::TickFaultCleared() {
    if (QWidget* box = tickFaultBox_) {
        tickFaultBox_ = nullptr;
        box->close();
    }
}

// ---------------------------------------------------------------- VoyageInputs

Page MainWindowVoyagePorts::ActivePage() const {
    const QWidget* page = widgets_.PC_Main.currentWidget();
    if (page == &widgets_.TS_MAreas) {
        return Page::TS_MAreas;
    }
    if (page == &widgets_.TS_Points) {
        return Page::TS_Points;
    }
    return Page::TS_Area;
}

std::string MainWindowVoyagePorts::EditText(InputEdit edit) const {
    return Edit(edit).text().toStdString();
}

std::string MainWindowVoyagePorts::GridCell(int column, int row) const {
    const QTableWidgetItem* item = widgets_.SG_Areas.item(row, column);
    return item != nullptr ? item->text().toStdString() : std::string();
}

int MainWindowVoyagePorts::MemoLineCount() const {
    return memoLines_.Count();
}

std::string MainWindowVoyagePorts::MemoLine(int index) const {
    return memoLines_.Line(index);
}

QLineEdit& MainWindowVoyagePorts::Edit(InputEdit edit) const {
    switch (edit) {
    case InputEdit::E_LatD:
        return widgets_.E_LatD;
    case InputEdit::E_LonD:
        return widgets_.E_LonD;
    case InputEdit::E_VE:
        return widgets_.E_VE;
    case InputEdit::E_VS:
        return widgets_.E_VS;
    case InputEdit::E_VEast:
        return widgets_.E_VEast;
    case InputEdit::E_VSouth:
        return widgets_.E_VSouth;
    case InputEdit::E_VA:
        return widgets_.E_VA;
    case InputEdit::E_VR:
        return widgets_.E_VR;
    }
    return widgets_.E_VR;
}

QWidget& MainWindowVoyagePorts::ControlWidget(Control control) const {
    switch (control) {
    case Control::E_LatD:
        return widgets_.E_LatD;
    case Control::E_LonD:
        return widgets_.E_LonD;
    case Control::E_VE:
        return widgets_.E_VE;
    case Control::E_VS:
        return widgets_.E_VS;
    case Control::E_VEast:
        return widgets_.E_VEast;
    case Control::E_VSouth:
        return widgets_.E_VSouth;
    case Control::E_VA:
        return widgets_.E_VA;
    case Control::E_VR:
        return widgets_.E_VR;
    case Control::M_Points:
        return widgets_.M_Points;
    }
    return widgets_.M_Points;
}

} // namespace tembrel
