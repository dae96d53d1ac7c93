#pragma once

#include "FakeCacheFolderCommand.h"
#include "FakeSettingsStore.h"
#include "RecordingShellOpener.h"
#include "ScriptedFileDialogRoutine.h"
#include "ScriptedMessageBoxRoutine.h"

#include "TF_Main.h"

#include <QLatin1String>
#include <QLineEdit>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <memory>

namespace tembrel::test {

// The main window on the shared fakes, its view file in a folder of its own:
// what the main window's suites set up alike. Reset() before each test, then
// CreateWindow() once the fakes hold what the test needs.
class MainWindowFixture {
protected:
    static constexpr const char* EditNames[] = {"E_LatD",  "E_LonD",   "E_VE", "E_VS",
                                                "E_VEast", "E_VSouth", "E_VA", "E_VR"};

    void Reset() {
        viewDirectory_ = std::make_unique<QTemporaryDir>();
        QVERIFY(viewDirectory_->isValid());
        settings_ = std::make_unique<FakeSettingsStore>();
        shell_ = std::make_unique<RecordingShellOpener>();
        cacheFolder_ = std::make_unique<FakeCacheFolderCommand>();
        boxes_ = std::make_unique<ScriptedMessageBoxRoutine>();
        dialogs_ = std::make_unique<ScriptedFileDialogRoutine>();
        separator_ = '.';
    }

    // viewFileDirectory empty: the current directory, as the program has it.
    void CreateWindow(const std::filesystem::path& viewFileDirectory) {
        window_ = std::make_unique<TF_Main>(MainWindowServices{
            .settings = *settings_,
            .shell = *shell_,
            .cacheFolder = *cacheFolder_,
            .messageBox = *boxes_,
            .viewFileDirectory = viewFileDirectory,
            .decimalSeparator = [this] { return separator_; },
            .fileDialog = dialogs_.get(),
            .viewServerPort = viewServerPort_,
            .liveClock = liveClock_,
        });
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void CreateWindow() { CreateWindow(viewDirectory_->path().toStdString()); }

    // After each test: every scripted answer was used, and none was missing.
    void VerifyScriptsUsedUp() const {
        QCOMPARE(boxes_->unscripted, 0);
        QVERIFY(boxes_->answers.empty());
        QCOMPARE(dialogs_->unscripted, 0);
        QVERIFY(dialogs_->answers.empty());
    }

    template <class T = QWidget> T* Find(const char* name) const {
        T* found = window_->findChild<T*>(QLatin1String(name));
        if (found == nullptr) {
            qWarning("no child named %s", name);
        }
        return found;
    }
    QLineEdit* EditAt(int index) const { return Find<QLineEdit>(EditNames[index]); }
    QToolButton* Button(const char* name) const { return Find<QToolButton>(name); }
    void SetEdits(const QStringList& texts) const {
        for (int i = 0; i < 8; ++i) {
            EditAt(i)->setText(texts.value(i));
        }
    }
    void ShowPage(const char* name) const {
        Find<QTabWidget>("PC_Main")->setCurrentWidget(Find(name));
    }

    std::unique_ptr<QTemporaryDir> viewDirectory_;
    std::unique_ptr<FakeSettingsStore> settings_;
    std::unique_ptr<RecordingShellOpener> shell_;
    std::unique_ptr<FakeCacheFolderCommand> cacheFolder_;
    std::unique_ptr<ScriptedMessageBoxRoutine> boxes_;
    std::unique_ptr<ScriptedFileDialogRoutine> dialogs_;
    char separator_ = '.';
    // The live link's port and the following monitor's clock; none by
    // default, as the suites that do not look at the live link leave them.
    PortSetting* viewServerPort_ = nullptr;
    FollowingMonitor::Clock liveClock_ = {};
    std::unique_ptr<TF_Main> window_;
};

} // namespace tembrel::test
