#pragma once

#include "VoyageErrors.h"
#include "VoyageView.h"

#include <exception>

namespace tembrel {

template <class Handler> void RunHandler(VoyageView& view, Handler&& handler) {
    try {
        handler();
    } catch (const SilentAbort&) {
    } catch (const std::exception& e) {
        view.ShowDefaultErrorBox(DefaultErrorBoxText(MessageOf(e)));
    }
}

} // namespace tembrel
