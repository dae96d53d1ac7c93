#pragma once

#include "VoyageErrors.h"
#include "VoyageWindow.h"

#include <exception>

namespace tembrel {

template <class Handler> void RunHandler(VoyageWindow& window, Handler&& handler) {
    try {
        handler();
    } catch (const SilentAbort&) {
    } catch (const std::exception& e) {
        window.ShowDefaultErrorBox(DefaultErrorBoxText(e.what()));
    }
}

} // namespace tembrel
