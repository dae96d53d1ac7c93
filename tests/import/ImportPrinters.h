#pragma once

// Imported records printed readably in failed comparisons.

#include "ImportTypes.h"

#include <ostream>

namespace tembrel {

inline void PrintTo(const ImportProblem& p, std::ostream* out) {
    *out << "line " << p.line << ": " << p.reason;
}

inline void PrintTo(const ImportedPoint& p, std::ostream* out) {
    *out << "line " << p.line << ": lon " << static_cast<double>(p.longitude) << " lat "
         << static_cast<double>(p.latitude);
}

inline void PrintTo(const ImportedArea& a, std::ostream* out) {
    *out << "line " << a.line << ": " << static_cast<double>(a.latitude) << " "
         << static_cast<double>(a.longitude) << " " << static_cast<double>(a.width) << " x "
         << static_cast<double>(a.height);
}

} // namespace tembrel
