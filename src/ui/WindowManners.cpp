#include "WindowManners.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tembrel {

WindowManners::WindowManners(QWidget& window, Options options)
    : QObject(&window), window_(window), options_(options) {
    window_.installEventFilter(this);
}

QRect WindowManners::CentredClient(const QRect& available, QSize outer, const QMargins& frame) {
    const QPoint corner(available.x() + (available.width() - outer.width()) / 2,
                        available.y() + (available.height() - outer.height()) / 2);
    return QRect(corner + QPoint(frame.left(), frame.top()), outer.shrunkBy(frame));
}

QMargins WindowManners::Frame() const {
    const QWindow* handle = window_.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void WindowManners::Place(const QMargins& frame) {
    const QScreen* screen = window_.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    // Before the frame is known the outer size cannot be met; the window
    // keeps the size it was given and is placed again once the frame is known.
    const bool sized = options_.outerSize && !frame.isNull();
    const QSize outer = sized ? *options_.outerSize : window_.size().grownBy(frame);
    const QRect client = CentredClient(screen->availableGeometry(), outer, frame);
    // The client area's own geometry: move() would place the frame by the
    // frame the widget last heard of, which may lag behind the window's.
    window_.setGeometry(QRect(client.topLeft(), sized ? client.size() : window_.size()));
}

bool WindowManners::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        if (options_.swallowEscape &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::Show:
        if (!shown_ && !event->spontaneous()) {
            shown_ = true;
            const QMargins frame = Frame();
            framed_ = !frame.isNull();
            Place(frame);
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Paint:
    case QEvent::WindowActivate:
        // The window manager frames the window after it has appeared, without
        // a move when the window keeps its place inside the frame: look for
        // the frame until it is known, then place the window again, once.
        // Until then a window that sizes itself as it shows (a message box)
        // is centred again at its new size.
        if (shown_ && !framed_) {
            const QMargins frame = Frame();
            framed_ = !frame.isNull();
            if (framed_) {
                // Not from inside a paint.
                QTimer::singleShot(0, this, [this, frame] { Place(frame); });
            } else if (event->type() == QEvent::Resize) {
                Place(frame);
            }
        }
        break;
    case QEvent::WindowStateChange:
        if (options_.refuseMinimise && window_.isMinimized()) {
            // Queued: the window manager is still busy minimising it.
            QTimer::singleShot(0, &window_, [this] {
                window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
                if (QWidget* owner = window_.parentWidget()) {
                    owner->window()->setWindowState(owner->window()->windowState() &
                                                    ~Qt::WindowMinimized);
                }
            });
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace tembrel
