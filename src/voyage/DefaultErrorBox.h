#pragma once

#include <string>
#include <string_view>

namespace tembrel {

class VoyageView;

// The default error box's text: the message, with "." appended when it is not
// empty and its last character sorts above ".".
std::string DefaultErrorBoxText(std::string_view message);

// Runs one event handler the way the application does: an escaping error is
// shown in the view's default error box, a SilentAbort shows nothing.
// Nothing escapes.
template <class Handler> void RunHandler(VoyageView& view, Handler&& handler);

} // namespace tembrel

#include "DefaultErrorBox.inl"
