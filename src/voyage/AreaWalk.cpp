#include "AreaWalk.h"

#include "TextConversion.h"

namespace tembrel {

AreaWalk::AreaWalk(std::string_view snapshotWidth, std::string_view snapshotHeight,
                   char decimalSeparator)
    : east_(EastStep(StrToFloat(snapshotWidth, decimalSeparator))),
      south_(SouthStep(StrToFloat(snapshotHeight, decimalSeparator))) {}

} // namespace tembrel
