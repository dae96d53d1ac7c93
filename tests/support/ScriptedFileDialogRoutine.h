#pragma once

// A file dialog routine that answers from a script and records what it was
// asked, so that no test waits on a dialog.

#include "FileDialogRoutine.h"

#include <QString>

#include <deque>
#include <vector>

namespace tembrel::test {

class ScriptedFileDialogRoutine final : public FileDialogRoutine {
public:
    struct Request {
        bool save = false;
        QString caption;
        QString proposed; // the suggested file or folder
        QString filter;
    };

    // The next answers, in order; an empty one cancels.
    std::deque<QString> answers;
    std::vector<Request> requests;
    int unscripted = 0; // dialogs that found no answer: a test fault

    QString SaveFileName(QWidget*, const QString& caption, const QString& suggested,
                         const QString& filter) override {
        return Answer({true, caption, suggested, filter});
    }
    QString OpenFileName(QWidget*, const QString& caption, const QString& folder,
                         const QString& filter) override {
        return Answer({false, caption, folder, filter});
    }

private:
    QString Answer(Request request) {
        requests.push_back(std::move(request));
        if (answers.empty()) {
            ++unscripted;
            return {};
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace tembrel::test
