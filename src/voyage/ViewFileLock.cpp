#include "ViewFileLock.h"

namespace tembrel {

std::filesystem::path ViewFileLock::LockPath(const std::filesystem::path& viewFile) {
    std::filesystem::path lock = viewFile;
    lock += Suffix;
    return lock;
}

} // namespace tembrel
