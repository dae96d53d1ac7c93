#include "MenuBarKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace tembrel {

MenuBarKeys::MenuBarKeys(QMenuBar& menuBar, QWidget& window)
    : QObject(&window), menuBar_(menuBar), window_(window) {
    qApp->installEventFilter(this);
}

MenuBarKeys::~MenuBarKeys() {
    qApp->removeEventFilter(this);
}

void MenuBarKeys::Activate() {
    if (QApplication::activePopupWidget() != nullptr) {
        return; // a menu is open already
    }
    // The style's own Alt handling may have made the first menu active
    // without opening it, which some styles do not even draw: open it.
    QAction* active = menuBar_.activeAction();
    for (QAction* action : menuBar_.actions()) {
        if (active == nullptr && action->menu() != nullptr && action->isVisible() &&
            action->isEnabled()) {
            active = action;
        }
    }
    if (active != nullptr) {
        menuBar_.setActiveAction(active);
    }
}

bool MenuBarKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::WindowDeactivate) {
        altAlone_ = false; // a click, or Alt+Tab to another window
        activationDue_ = false;
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    // Only this window's keys, and not while a menu or a modal window has them.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_ ||
        QApplication::activePopupWidget() != nullptr ||
        QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress) {
        activationDue_ = false;
        if (key->key() == Qt::Key_Alt) {
            // Alt while the menu bar has the keyboard takes it back.
            altAlone_ = !menuBar_.hasFocus() && menuBar_.activeAction() == nullptr &&
                        (altAlone_ || !key->isAutoRepeat());
            return false;
        }
        altAlone_ = false;
        if (key->key() == Qt::Key_F10 &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            Activate();
            return true;
        }
        return false;
    }
    if (key->key() == Qt::Key_Alt && altAlone_) {
        altAlone_ = false;
        // After the release has gone its way, so that a style's own
        // handling of it is seen first; unless a key or click came between.
        activationDue_ = true;
        QTimer::singleShot(0, this, [this] {
            if (std::exchange(activationDue_, false)) {
                Activate();
            }
        });
    }
    return false;
}

} // namespace tembrel
