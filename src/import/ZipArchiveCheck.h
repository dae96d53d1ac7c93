#pragma once

#include <string>
#include <string_view>

namespace tembrel {

// Refuses a zip archive (a KMZ, or a spreadsheet such as .xlsx) from the
// signature of its first bytes, before a text reader turns it into lines of
// garbage. The bytes may come in chunks of any size; Scan throws VoyageError
// with the given refusal once the first four are a zip's.
class ZipArchiveCheck {
public:
    explicit ZipArchiveCheck(std::string refusal) : refusal_(std::move(refusal)) {}

    void Scan(std::string_view chunk);

private:
    std::string refusal_;
    std::string head_; // the first bytes, until there are enough to judge
    bool judged_ = false;
};

} // namespace tembrel
