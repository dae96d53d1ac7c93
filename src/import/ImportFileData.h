#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <string_view>

namespace tembrel {

// How far a read has come, for a progress bar, and whether the user has
// asked it to stop. Both may be left empty.
struct ImportProgress {
    // Bytes read so far and the file's size (0 when it is not known).
    std::function<void(long long done, long long total)> report;
    const std::atomic<bool>* cancel = nullptr;

    bool Cancelled() const { return cancel != nullptr && cancel->load(); }
};

// Reads a file to import in chunks of ChunkBytes, handing each to consume as
// it comes, so that no more than a chunk of the file is held at a time.
// consume returns false to stop early (a limit reached). Returns false when
// the user cancelled, true otherwise. Throws VoyageError with a message for
// the user when the file cannot be read, is not a regular file (a pipe would
// keep the read waiting) or holds more than maxBytes; a file that does is
// refused unread.
class ImportFileData {
public:
    static constexpr long long ChunkBytes = 64 * 1024;

    static bool Read(const QString& path, long long maxBytes, const ImportProgress& progress,
                     const std::function<bool(std::string_view chunk)>& consume);
};

} // namespace tembrel
