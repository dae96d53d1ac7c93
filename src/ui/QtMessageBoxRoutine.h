#pragma once

#include "MessageBoxRoutine.h"

namespace tembrel {

// The message boxes on screen: captions "Error", "Information" and "Confirm"
// with the matching standard icons; buttons "&Yes", "&No" and "OK" in that
// order, centred; Enter gives OK when present, else Yes; Esc gives No when
// present, else OK; the close box gives Cancel.
class QtMessageBoxRoutine final : public MessageBoxRoutine {
public:
    ModalResult Show(QWidget* owner, const QString& text, BoxType type, unsigned buttons) override;
    void ShowDefaultError(QWidget* owner, const QString& caption, const QString& text) override;
    QWidget* OpenDefaultError(QWidget* owner, const QString& caption, const QString& text) override;
};

} // namespace tembrel
