#pragma once

// Stand-ins for what the main window uses of the outside world: an in-memory
// settings store, a shell that records what it is asked to open, a cache
// folder command with a chosen outcome and a message box routine that answers
// from a script and records every box.

#include "CacheFolderCommand.h"
#include "MessageBoxRoutine.h"
#include "SettingsStore.h"
#include "ShellOpener.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tembrel::testing {

class FakeSettingsStore final : public SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values; // a missing name restores as ""
    bool writable = true;
    int saves = 0; // Save calls that succeeded

    EditTexts Restore() override {
        EditTexts texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto found = values.find(EditValueNames[i]);
            texts[i] = found == values.end() ? std::string() : found->second;
        }
        return texts;
    }
    bool Save(const EditTexts& texts) override {
        if (!writable) {
            return false;
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            values[EditValueNames[i]] = texts[i];
        }
        ++saves;
        return true;
    }

    std::string Text(std::string_view name) const {
        const auto found = values.find(name);
        return found == values.end() ? std::string("<missing>") : found->second;
    }
};

class FakeShellOpener final : public ShellOpener {
public:
    std::vector<std::string> opened;
    bool succeeds = true;
    bool Open(const std::string& target) override {
        opened.push_back(target);
        return succeeds;
    }
};

class FakeCacheFolderCommand final : public CacheFolderCommand {
public:
    bool succeeds = true;
    int runs = 0;
    bool Run() override {
        ++runs;
        return succeeds;
    }
};

class ScriptedMessageBoxRoutine final : public MessageBoxRoutine {
public:
    struct Box {
        QString text;
        BoxType type;
        unsigned buttons;
        QWidget* owner;
    };
    struct ErrorBox {
        QString caption;
        QString text;
    };
    // The answer to the next box with Yes or No; whileOpen runs while the
    // box is "open", before the answer is given.
    struct Answer {
        ModalResult result = ModalResult::Yes;
        std::function<void()> whileOpen;
    };

    std::deque<Answer> answers;
    std::vector<Box> boxes;
    std::vector<ErrorBox> errors;
    // Runs while any OK box is open (to look at the window behind it).
    std::function<void(const Box&)> whileOkBoxOpen;
    int unscripted = 0; // questions that found no answer: a test fault

    ModalResult Show(QWidget* owner, const QString& text, BoxType type, unsigned buttons) override {
        boxes.push_back({text, type, buttons, owner});
        if ((buttons & (ButtonYes | ButtonNo)) == 0) {
            if (whileOkBoxOpen) {
                whileOkBoxOpen(boxes.back());
            }
            return ModalResult::Ok;
        }
        if (answers.empty()) {
            ++unscripted;
            return ModalResult::No;
        }
        Answer answer = std::move(answers.front());
        answers.pop_front();
        if (answer.whileOpen) {
            answer.whileOpen();
        }
        return answer.result;
    }

    void ShowDefaultError(QWidget*, const QString& caption, const QString& text) override {
        errors.push_back({caption, text});
    }

    // Records the box as ShowDefaultError does and opens an empty stand-in
    // for it, which the test may close as the OK button would.
    QWidget* OpenDefaultError(QWidget* owner, const QString& caption,
                              const QString& text) override {
        errors.push_back({caption, text});
        auto* box = new QWidget(owner, Qt::Dialog);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        openedErrors.push_back(box);
        return box;
    }
    std::vector<QPointer<QWidget>> openedErrors;

    QStringList Texts() const {
        QStringList texts;
        for (const Box& box : boxes) {
            texts << box.text;
        }
        return texts;
    }
};

} // namespace tembrel::testing
