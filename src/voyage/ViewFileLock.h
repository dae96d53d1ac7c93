#pragma once

#include <filesystem>

namespace tembrel {

// Keeps two copies of the program from writing the same view file: an
// exclusive lock on a file beside it ("TembrelData.KML.lock"), held from a
// voyage's start to its end. The system drops it when the process ends in
// any way, a crash included. Only another copy's lock keeps one out: what
// the file's mode says, or another program that merely has it open (an
// indexer, a virus scanner), does not. Each system has its own source file.
class ViewFileLock {
public:
    static constexpr const char* Suffix = ".lock";

    enum class Result {
        // Taken now, or already held.
        Held,
        // No lock file exists and none can be made (a folder closed to new
        // files, say): the voyage goes on unguarded, and the view file's own
        // write reports what is wrong.
        Unguarded,
        // Another copy holds it.
        HeldElsewhere,
        // Something stands at the lock's name that can be neither locked nor
        // safely replaced (a folder with files in it, a file this user may
        // not open): refused, as no other copy could be kept out.
        Unusable,
    };

    ViewFileLock() = default;
    ViewFileLock(const ViewFileLock&) = delete;
    ViewFileLock& operator=(const ViewFileLock&) = delete;
    ~ViewFileLock() { Release(); }

    // Takes the lock for the view file at viewFile (resolved now, like the
    // view file itself). Taking it again while held changes nothing.
    Result Acquire(const std::filesystem::path& viewFile);
    void Release();
    bool Held() const { return handle_ != Invalid; }

    static std::filesystem::path LockPath(const std::filesystem::path& viewFile);

private:
#ifdef _WIN32
    using Handle = void*;
    static inline Handle const Invalid = reinterpret_cast<Handle>(-1);
#else
    using Handle = int;
    static constexpr Handle Invalid = -1;
#endif
    Handle handle_ = Invalid;
};

} // namespace tembrel
