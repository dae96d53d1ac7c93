#pragma once

#include <cstdint>
#include <string>

namespace tembrel {

inline constexpr std::int64_t GaugeMaximum = 1000000000;

// Progress is clamped to [0, GaugeMaximum] on every change.
std::int64_t ClampProgress(std::int64_t progress);

// The gauge's centred text: the whole percentage done, truncated ("99%" for
// 999999999).
std::string GaugeText(std::int64_t progress);

} // namespace tembrel
