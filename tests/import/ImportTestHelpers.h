#pragma once

// What the import suites share: imported records printed readably in
// failed comparisons, and files written and read for a test.

#include "ImportTypes.h"
#include "VoyageErrors.h"

#include <QString>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

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

namespace test {

inline QString Path(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// The message of the VoyageError that read throws, or "(not refused)".
template <class Read> std::string Refusal(Read&& read) {
    try {
        read();
    } catch (const VoyageError& e) {
        return e.what();
    }
    return "(not refused)";
}

} // namespace test

} // namespace tembrel
