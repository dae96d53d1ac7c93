#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace tembrel {

// What the program's windows share, written once: Esc closes none of them
// (a dialog would take it as Cancel), and each is centred on its screen,
// frame and all, when it first shows. Where the window manager reports the
// frame only after the window has appeared (X11), the window is sized and
// centred again once, as soon as the frame is known, so that it sits in the
// middle and its outer size is the one asked for. A window that the window
// manager minimises comes straight back: it is modal or the main window's
// companion, and its window manager would take the main window with it.
class WindowManners final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowManners)

public:
    struct Options {
        bool swallowEscape = true;
        bool refuseMinimise = true;
        // The outer size, frame included; none keeps the window's own size.
        std::optional<QSize> outerSize;
    };

    // Watches `window` (and is owned by it) from now on.
    WindowManners(QWidget& window, Options options);

    // The client area's geometry that puts a window of this outer size, with
    // this frame, in the middle of `available`.
    static QRect CentredClient(const QRect& available, QSize outer, const QMargins& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place(const QMargins& frame);
    QMargins Frame() const;

    QWidget& window_;
    Options options_;
    bool shown_ = false;
    bool framed_ = false; // placed by the frame the window manager reported
};

} // namespace tembrel
