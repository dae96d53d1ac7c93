#pragma once

// What every importer must do with any bytes: read them through the entry
// point the Import command uses, with its limits, and either refuse the file
// with a message for the user or give what it read within those limits; and
// give the same when the file arrives in pieces cut anywhere, as a stream
// read does.

#include "ImportTypes.h"
#include "VoyageErrors.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tembrel::test {

inline void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// The import, or the message that refused the file.
template <class Import> struct Outcome {
    std::optional<Import> import;
    std::string refusal;
};

template <class Import, class Read> Outcome<Import> Attempt(Read&& read) {
    try {
        return {read(), {}};
    } catch (const VoyageError& e) {
        Check(e.what()[0] != '\0');
        return {std::nullopt, e.what()};
    }
}

// Feeds the reader `piece` bytes at a time until it has all or wants no more.
template <class Reader>
auto FeedInPieces(std::string_view text, std::size_t piece, std::size_t limit) {
    Reader reader(limit);
    for (std::size_t at = 0; at < text.size(); at += piece) {
        if (!reader.Feed(text.substr(at, piece))) {
            break;
        }
    }
    return reader.Finish();
}

inline void CheckItem(const ImportedPoint& point) {
    Check(std::isfinite(point.longitude) && std::isfinite(point.latitude) && point.line >= 1);
}

inline void CheckItem(const ImportedArea& area) {
    Check(std::isfinite(area.latitude) && std::isfinite(area.longitude) &&
          std::isfinite(area.width) && std::isfinite(area.height) && area.line >= 1);
}

template <class Import, class Items>
void CheckWithinLimits(const Import& import, const Items& items, std::size_t limit) {
    Check(items.size() <= limit && import.problems.size() <= MaxKeptProblems && !import.cancelled);
    Check(import.problemsLeftOut == 0 || import.problems.size() == MaxKeptProblems);
    for (const auto& item : items) {
        CheckItem(item);
    }
    for (const ImportProblem& problem : import.problems) {
        Check(!problem.reason.empty());
    }
}

// A refusal as far as it must not depend on where the pieces were cut. Of a
// file with XML faults, Qt's reader reports the first it meets, and it
// decodes each piece as it arrives: a badly encoded byte is found before an
// earlier syntax fault when it comes in the same piece, after it otherwise.
// Which fault is named (and at which line) may differ; that it is refused
// as XML that is not well-formed may not.
inline std::string_view Comparable(std::string_view refusal) {
    constexpr std::string_view notXml = "The file is not well-formed XML:";
    return refusal.substr(0, refusal.starts_with(notXml) ? notXml.size() : refusal.size());
}

// Whole and in pieces: the same items, problems and refusal.
template <class Import, class Member>
void CheckSame(const Outcome<Import>& whole, const Outcome<Import>& pieces, Member items) {
    Check(whole.import.has_value() == pieces.import.has_value() &&
          Comparable(whole.refusal) == Comparable(pieces.refusal));
    if (whole.import) {
        Check((*whole.import).*items == (*pieces.import).*items &&
              whole.import->problems == pieces.import->problems &&
              whole.import->problemsLeftOut == pieces.import->problemsLeftOut);
        if constexpr (requires { whole.import->shapes; }) {
            Check(whole.import->shapes == pieces.import->shapes);
        }
    }
}

// One fuzz input: the first byte sets the piece size (1 to 256 bytes), the
// rest is the file. `parse` is the entry point; `items` the import's list.
template <class Reader, class Import, class Parse, class Items>
void CheckImporter(const std::uint8_t* data, std::size_t size, std::size_t limit, Parse&& parse,
                   Items items) {
    if (size == 0) {
        return;
    }
    const std::size_t piece = static_cast<std::size_t>(data[0]) + 1;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const Outcome<Import> entry = Attempt<Import>([&] { return parse(text); });
    if (entry.import) {
        CheckWithinLimits(*entry.import, (*entry.import).*items, limit);
    }
    const Outcome<Import> whole = Attempt<Import>(
        [&] { return FeedInPieces<Reader>(text, std::max<std::size_t>(text.size(), 1), limit); });
    const Outcome<Import> pieces =
        Attempt<Import>([&] { return FeedInPieces<Reader>(text, piece, limit); });
    CheckSame(whole, pieces, items);
}

} // namespace tembrel::test
