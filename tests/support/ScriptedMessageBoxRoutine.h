#pragma once

#include "MessageBoxRoutine.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

namespace tembrel::test {

// Answers the questions from a script and records every box, so that no test
// waits on a box.
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

} // namespace tembrel::test
