#pragma once

#include "ImportFileData.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tembrel {

// Runs a file read off the window's thread, so that the window keeps
// painting and ticking, while a window-modal progress dialog (object name
// "ImportProgress", shown once the read has taken a moment) says how far it
// has come and offers Cancel, which the read sees at its next chunk. Returns
// when the read has ended; an error it threw is thrown again here.
void RunBackgroundRead(QWidget* owner, const QString& fileName,
                       const std::function<void(const ImportProgress& progress)>& read);

// The same for a read that returns its result.
template <class Result>
Result BackgroundRead(QWidget* owner, const QString& fileName,
                      const std::function<Result(const ImportProgress& progress)>& read) {
    std::optional<Result> result;
    RunBackgroundRead(owner, fileName,
                      [&](const ImportProgress& progress) { result = read(progress); });
    return std::move(*result);
}

} // namespace tembrel
