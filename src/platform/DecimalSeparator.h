#pragma once

namespace tembrel {

// The decimal separator of the user's regional settings, read afresh at each
// call (the process locale is never changed). '.' when the regional one is
// not a single byte.
char RegionalDecimalSeparator();

} // namespace tembrel
