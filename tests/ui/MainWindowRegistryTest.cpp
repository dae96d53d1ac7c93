// The main window over the registry store (Windows only), on a scratch key of
// its own below HKEY_CURRENT_USER\Software, deleted before and after each
// case: typed texts come back in a new window as REG_SZ values, and a value
// of another type ends the restore there without a word.

#include "RecordingShellOpener.h"
#include "ScriptedMessageBoxRoutine.h"

#include "RegistryCacheFolderCommand.h"
#include "RegistrySettingsStore.h"
#include "TF_Main.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

using namespace tembrel;
using namespace tembrel::test;

namespace {

const char* const EditNames[] = {"E_LatD",  "E_LonD",   "E_VE", "E_VS",
                                 "E_VEast", "E_VSouth", "E_VA", "E_VR"};

const QStringList Texts = {QStringLiteral("48.86"), QStringLiteral("2.2877"), QStringLiteral("1"),
                           QStringLiteral("0.4"),   QStringLiteral("0.3"),    QStringLiteral("0.2"),
                           QStringLiteral("250"),   QStringLiteral("1")};

std::wstring Wide(const QString& text) {
    return text.toStdWString();
}

// A value as the registry holds it: its type, and its text when a string.
struct RawValue {
    DWORD type = REG_NONE;
    QString text;
};

RawValue ReadRaw(const QString& key, const char* name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    const std::wstring wideKey = Wide(key);
    const std::wstring wideName = Wide(QLatin1String(name));
    if (RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), wideName.c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) != ERROR_SUCCESS) {
        return {REG_NONE, QStringLiteral("<missing>")};
    }
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), wideName.c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) != ERROR_SUCCESS) {
        return {type, QStringLiteral("<unreadable>")};
    }
    return {type, type == REG_SZ ? QString::fromWCharArray(data.data()) : QString()};
}

} // namespace

class MainWindowRegistryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void typedTextsComeBackAsStrings();
    void aNumberEndsTheRestoreSilently();

private:
    void OpenWindow();
    void CloseAndRestart();
    QLineEdit* EditAt(int index) const {
        return window_->findChild<QLineEdit*>(QLatin1String(EditNames[index]));
    }
    QStringList EditTexts() const {
        QStringList texts;
        for (int i = 0; i < 8; ++i) {
            texts << EditAt(i)->text();
        }
        return texts;
    }
    void SetString(const char* name, const QString& text) const {
        const std::wstring value = Wide(text);
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(key_).c_str(),
                                 Wide(QLatin1String(name)).c_str(), REG_SZ, value.c_str(),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                 LSTATUS{ERROR_SUCCESS});
    }

    QString key_;
    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<RegistrySettingsStore> settings_;
    std::unique_ptr<RecordingShellOpener> shell_;
    std::unique_ptr<RegistryCacheFolderCommand> cacheFolder_;
    std::unique_ptr<ScriptedMessageBoxRoutine> boxes_;
    std::unique_ptr<TF_Main> window_;
};

void MainWindowRegistryTest::init() {
    static int count = 0;
    key_ =
        QStringLiteral("Software\\TembrelWindowTest-%1-%2").arg(GetCurrentProcessId()).arg(++count);
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key_).c_str());
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    shell_ = std::make_unique<RecordingShellOpener>();
    boxes_ = std::make_unique<ScriptedMessageBoxRoutine>();
}

void MainWindowRegistryTest::cleanup() {
    if (window_) {
        QCOMPARE(boxes_->unscripted, 0);
        QVERIFY(boxes_->boxes.empty());
    }
    window_.reset();
    cacheFolder_.reset();
    settings_.reset();
    root_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key_).c_str());
}

void MainWindowRegistryTest::OpenWindow() {
    settings_ = std::make_unique<RegistrySettingsStore>(key_);
    cacheFolder_ = std::make_unique<RegistryCacheFolderCommand>(*shell_, key_);
    window_ = std::make_unique<TF_Main>(MainWindowServices{
        .settings = *settings_,
        .shell = *shell_,
        .cacheFolder = *cacheFolder_,
        .messageBox = *boxes_,
        .viewFileDirectory = root_->path().toStdString(),
        .decimalSeparator = [] { return '.'; },
    });
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void MainWindowRegistryTest::CloseAndRestart() {
    QVERIFY(window_->close());
    window_.reset();
    OpenWindow();
}

void MainWindowRegistryTest::typedTextsComeBackAsStrings() {
    OpenWindow();
    QCOMPARE(EditTexts(), QStringList(8, QString()));
    for (int i = 0; i < 8; ++i) {
        QTest::keyClicks(EditAt(i), Texts[i]);
    }

    CloseAndRestart();
    QCOMPARE(EditTexts(), Texts);
    for (int i = 0; i < 8; ++i) {
        const RawValue raw = ReadRaw(key_, EditNames[i]);
        QCOMPARE(raw.type, DWORD{REG_SZ});
        QCOMPARE(raw.text, Texts[i]);
    }
}

void MainWindowRegistryTest::aNumberEndsTheRestoreSilently() {
    for (int i = 0; i < 8; ++i) {
        SetString(EditNames[i], Texts[i]);
    }
    const DWORD five = 5;
    QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(key_).c_str(), L"E_VS", REG_DWORD, &five,
                             sizeof five),
             LSTATUS{ERROR_SUCCESS});

    OpenWindow();
    QCOMPARE(EditTexts(), Texts.mid(0, 3) + QStringList(5, QString()));

    // The next close writes all eight as strings again.
    for (int i = 3; i < 8; ++i) {
        EditAt(i)->setText(Texts[i]);
    }
    CloseAndRestart();
    QCOMPARE(EditTexts(), Texts);
    QCOMPARE(ReadRaw(key_, "E_VS").type, DWORD{REG_SZ});
    QCOMPARE(ReadRaw(key_, "E_VS").text, Texts[3]);
}

QTEST_MAIN(MainWindowRegistryTest)
#include "MainWindowRegistryTest.moc"
