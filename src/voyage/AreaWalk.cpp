#include "AreaWalk.h"

#include "TextConversion.h"

namespace tembrel {

AreaWalk::AreaWalk(std::string_view snapshotWidth, std::string_view snapshotHeight,
                   char decimalSeparator)
    // Multiply first, then divide: the tick's form, not the plan's K37 and K32.
    : east_(Div(Mul(StrToFloat(snapshotWidth, decimalSeparator), 37), 3600)),
      south_(Div(Mul(StrToFloat(snapshotHeight, decimalSeparator), 32), 3600)) {}

} // namespace tembrel
