#pragma once

#include <string>
#include <string_view>

namespace tembrel {

class VoyageWindow;

// The default error box's text: the message, with "." appended when it is not
// empty and its last character sorts above ".".
std::string DefaultErrorBoxText(std::string_view message);

// Runs one event handler the way the application does: an escaping error is
// shown in the window's default error box, a SilentAbort shows nothing.
// Nothing escapes.
template <class Handler> void RunHandler(VoyageWindow& window, Handler&& handler);

} // namespace tembrel

#include "DefaultErrorBox.inl"
