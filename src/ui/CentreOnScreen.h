#pragma once

class QWidget;

namespace tembrel {

// Moves a top-level window so that its frame is centred on the free area of
// its screen. Only the frame the platform already knows is counted, so call
// it just before the window appears (from showEvent).
void CentreOnScreen(QWidget& window);

} // namespace tembrel
