#pragma once

#include <QFont>

namespace tembrel {

// The font of the program's windows. It was "MS Sans Serif" 8 point on the
// system the layout was drawn for: 11 pixels high at 96 dpi, 13 pixels from
// line to line. It maps to Tahoma where the system has it (its successor, of
// the same metrics), else DejaVu Sans Condensed (the same line height, and
// widths close enough that every caption fits its place), else DejaVu Sans;
// always at 11 pixels, so the fixed layout keeps its proportions at any dpi.
QFont FormFont();

} // namespace tembrel
