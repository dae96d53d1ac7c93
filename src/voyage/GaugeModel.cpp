#include "GaugeModel.h"

#include <algorithm>

namespace tembrel {

std::int64_t ClampProgress(std::int64_t progress) {
    return std::clamp<std::int64_t>(progress, 0, GaugeMaximum);
}

} // namespace tembrel
