#pragma once

#include "FollowingMonitor.h"

#include <QWidget>

namespace tembrel {

// A small round light beside the gauge: whether Google Earth follows the
// voyage, its tooltip saying how. Grey before the first fetch, green while it
// follows, amber when its period or camera is off or it sends no camera, red
// when it stopped fetching. It never takes focus and never opens a box.
class LiveIndicator final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveIndicator)

public:
    explicit LiveIndicator(QWidget* parent = nullptr);

    void Show(const FollowingMonitor::Status& status);
    FollowingMonitor::State State() const { return state_; }

    static QColor Colour(FollowingMonitor::State state);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FollowingMonitor::State state_ = FollowingMonitor::State::NotYetFetched;
};

} // namespace tembrel
