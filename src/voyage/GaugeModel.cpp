#include "GaugeModel.h"

#include <algorithm>

namespace tembrel {

std::int64_t ClampProgress(std::int64_t progress) {
    return std::clamp<std::int64_t>(progress, 0, GaugeMaximum);
}

std::string GaugeText(std::int64_t progress) {
    // Clamped first, as the gauge holds it; the product then cannot overflow.
    const std::int64_t percent = ClampProgress(progress) * 100 / GaugeMaximum;
    return std::to_string(percent) + "%";
}

} // namespace tembrel
