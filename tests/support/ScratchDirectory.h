#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <random>
#endif

namespace tembrel::test {

// A fresh directory under the system's temporary folder, removed with all it
// holds when the object goes. Used by tests and benchmarks that write files.
class ScratchDirectory {
public:
    ScratchDirectory() {
#ifdef _WIN32
        // No mkdtemp: a random name, taken only if nobody has it yet.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate =
                std::filesystem::temp_directory_path() / ("tembrel-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate;
            }
        }
        if (path_.empty()) {
            throw std::runtime_error("cannot create a scratch directory");
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "tembrel-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a scratch directory");
        }
        path_ = pattern;
#endif
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& Path() const {
        return path_;
    }

private:
    std::filesystem::path path_;
};

} // namespace tembrel::test
