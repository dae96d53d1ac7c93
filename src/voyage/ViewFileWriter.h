#pragma once

#include "ViewFileLock.h"
#include "VoyageState.h"

#include <filesystem>
#include <string>

namespace tembrel {

// Writes the 13-line KML 2.0 view file that Google Earth's network link
// reads: one placemark whose LookAt is the current centre at Range metres.
// The estimate puts one in its place that records instead of writing.
class ViewFileWriter {
public:
    static constexpr const char* FileName = "TembrelData.KML";

    // The file is FileName inside directory; an empty directory means the
    // process's current directory at the moment of each write.
    explicit ViewFileWriter(std::filesystem::path directory = {});
    virtual ~ViewFileWriter() = default;

    // The document for these values, CR LF after every line.
    static std::string Render(const VoyageState& state, char decimalSeparator);

    // Replaces the file whole (a fresh file renamed over it). Throws
    // InOutError with the mapped code; nothing is held on any path.
    virtual void WriteViewFile(const VoyageState& state, char decimalSeparator) const;

    // Takes the lock that keeps a second copy from writing the same file
    // (ViewFileLock::Acquire).
    virtual ViewFileLock::Result LockFolder(ViewFileLock& lock) const {
        return lock.Acquire(Path());
    }

    std::filesystem::path Path() const;

private:
    std::filesystem::path directory_;
};

} // namespace tembrel
