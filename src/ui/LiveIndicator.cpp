#include "LiveIndicator.h"

#include <QPainter>

namespace tembrel {

LiveIndicator::LiveIndicator(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QString::fromStdString(FollowingMonitor::Describe({})));
}

QColor LiveIndicator::Colour(FollowingMonitor::State state) {
    switch (state) {
    case FollowingMonitor::State::Following:
        return {0, 160, 0};
    case FollowingMonitor::State::PeriodDiffers:
    case FollowingMonitor::State::CameraAway:
    case FollowingMonitor::State::NoCamera:
        return {230, 150, 0};
    case FollowingMonitor::State::NotFetching:
        return {200, 0, 0};
    case FollowingMonitor::State::NotYetFetched:
        break;
    }
    return {150, 150, 150};
}

void LiveIndicator::Show(const FollowingMonitor::Status& status) {
    setToolTip(QString::fromStdString(FollowingMonitor::Describe(status)));
    if (status.state != state_) {
        state_ = status.state;
        update();
    }
}

void LiveIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(Colour(state_));
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace tembrel
