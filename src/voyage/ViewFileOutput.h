#pragma once

#include <filesystem>
#include <string_view>

namespace tembrel {

// The system file layer under the view file: one file replaced whole. Each
// system has its own source file, chosen by the build.
class ViewFileOutput {
public:
    // Replaces the file at path (a relative path is resolved against the
    // current directory now) with document: writes a fresh file beside it and
    // renames that over it, so a reader sees the old document or the new one,
    // never an empty or partial file. A link, pipe or device at the name is
    // replaced, not followed, opened or waited on; an existing file that may
    // not be written is refused as before. A failure throws InOutError with
    // the Windows system error code of the condition; nothing is left open
    // and no temporary file is left behind.
    static void Replace(const std::filesystem::path& path, std::string_view document);

#ifndef _WIN32
    // The Windows system error code of the same condition as an errno value,
    // so that users see the same message on every system. (On Windows the
    // codes come from the system itself.)
    static int SystemErrorCode(int errnoValue);
#endif
};

} // namespace tembrel
