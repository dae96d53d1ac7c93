#pragma once

#include "VoyageWindow.h"

#include <QString>

class QWidget;

namespace tembrel {

// Abstract base class for the program's one message box routine: a modal box
// from a text, a box type and a set of buttons, returning the button that
// closed it (Cancel when its own close box did). Timer ticks go on while a box
// is open. The tests replace it with a scripted routine.
class MessageBoxRoutine {
public:
    virtual ~MessageBoxRoutine() = default;

    virtual ModalResult Show(QWidget* owner, const QString& text, BoxType type,
                             unsigned buttons) = 0;

    // The application's default error box: the stop icon and one OK button.
    virtual void ShowDefaultError(QWidget* owner, const QString& caption, const QString& text) = 0;

    // The same box without waiting for it: it is shown and returned at once,
    // and deletes itself when it closes. Timer ticks go on behind it. A
    // routine whose boxes never wait may show it as ShowDefaultError does and
    // return no box.
    virtual QWidget* OpenDefaultError(QWidget* owner, const QString& caption, const QString& text) {
        ShowDefaultError(owner, caption, text);
        return nullptr;
    }
};

} // namespace tembrel
