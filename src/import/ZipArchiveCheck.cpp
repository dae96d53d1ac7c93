#include "ZipArchiveCheck.h"

#include "VoyageErrors.h"

namespace tembrel {

namespace {

// A zip's first local file header; an empty archive starts otherwise, but
// holds nothing to import either way.
constexpr std::string_view ZipSignature{"PK\x03\x04", 4};

} // namespace

void ZipArchiveCheck::Scan(std::string_view chunk) {
    if (judged_) {
        return;
    }
    head_.append(chunk.substr(0, ZipSignature.size() - head_.size()));
    if (!ZipSignature.starts_with(head_)) {
        judged_ = true;
    } else if (head_.size() == ZipSignature.size()) {
        throw VoyageError(refusal_);
    }
}

} // namespace tembrel
