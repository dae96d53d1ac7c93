#pragma once

#include <cstdint>

namespace tembrel {

inline constexpr std::int64_t GaugeMaximum = 1000000000;

// Progress is clamped to [0, GaugeMaximum] on every change.
std::int64_t ClampProgress(std::int64_t progress);

} // namespace tembrel
