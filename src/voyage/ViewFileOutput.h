#pragma once

#include <filesystem>
#include <string_view>

namespace tembrel {

// The system file layer under the view file: one file replaced whole. Each
// system has its own source file, chosen by the build.
class ViewFileOutput {
public:
    // Creates or truncates the file at path (a relative path is resolved
    // against the current directory now), writes document in one write and
    // closes it. Other processes may read the file while it is open. A failure
    // throws InOutError with the Windows system error code of the condition;
    // the file is closed on every path.
    static void Replace(const std::filesystem::path& path, std::string_view document);

#ifndef _WIN32
    // The Windows system error code of the same condition as an errno value,
    // so that users see the same message on every system. (On Windows the
    // codes come from the system itself.)
    static int SystemErrorCode(int errnoValue);
#endif
};

} // namespace tembrel
