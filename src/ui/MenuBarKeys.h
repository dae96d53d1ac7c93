#pragma once

#include <QObject>

class QMenuBar;
class QWidget;

namespace tembrel {

// Alt pressed and released alone, or F10, takes the keyboard to the menu bar
// with its first menu active, as a Windows menu bar answers both even without
// access keys. Where the platform's style does this itself (Windows) its way
// goes first; X11 never does, as its Alt press carries no Alt modifier.
// Watches the application's key events for one window while no popup or
// modal window is open.
class MenuBarKeys final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarKeys)

public:
    // Owned by `window`.
    MenuBarKeys(QMenuBar& menuBar, QWidget& window);
    ~MenuBarKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate();

    QMenuBar& menuBar_;
    QWidget& window_;
    bool altAlone_ = false;      // Alt is down and nothing else happened since
    bool activationDue_ = false; // a lone Alt was released
};

} // namespace tembrel
