// The main window over the real settings store and the real cache-folder
// command, in a temporary home and configuration folder: the eight edit texts
// survive a restart, a store that cannot be written stays silent, and the
// cache menu opens the folder that Google Earth's settings name. (When the
// window asks and saves is TF_MainTest's.)

#include "RecordingShellOpener.h"
#include "ScriptedMessageBoxRoutine.h"

#include "ConfFileCacheFolderCommand.h"
#include "SettingsStore.h"
#include "TF_Main.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace tembrel;
using namespace tembrel::test;

namespace {

const char* const EditNames[] = {"E_LatD",  "E_LonD",   "E_VE", "E_VS",
                                 "E_VEast", "E_VSouth", "E_VA", "E_VR"};

// Inputs a voyage starts from: 2 rows of 3 snapshots, a 600 s period (no tick
// comes during a test).
const QStringList StartableInputs = {QStringLiteral("48.86"), QStringLiteral("2.2877"),
                                     QStringLiteral("1"),     QStringLiteral("0.4"),
                                     QStringLiteral("0.3"),   QStringLiteral("0.2"),
                                     QStringLiteral("250"),   QStringLiteral("600")};

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The eight values as Qt's own QSettings reads the file (a copy under a name
// of its own, so QSettings' cache of files it has read never answers).
QStringList ValuesQSettingsReads(const QString& path) {
    static int copies = 0;
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy-%1.conf").arg(++copies));
    if (!QFile::copy(path, copy)) {
        return {QStringLiteral("<no file>")};
    }
    const QSettings settings(copy, QSettings::IniFormat);
    QStringList values;
    for (const char* name : EditNames) {
        const QVariant value = settings.value(QLatin1String(name));
        values << (value.typeId() == QMetaType::QString ? value.toString()
                                                        : QStringLiteral("<not a string>"));
    }
    return values;
}

class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char* name) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) {
            previous_ = qgetenv(name);
        }
    }
    ~EnvironmentVariable() {
        if (previous_) {
            qputenv(name_, *previous_);
        } else {
            qunsetenv(name_);
        }
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> previous_;
};

} // namespace

class MainWindowSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartGivesEmptyEditsAndCreatesTheStore();
    void typedTextsComeBackAfterARestart();
    void restoresWhatQSettingsWrote();
    void restoreStopsSilentlyAtANonStringValue_data();
    void restoreStopsSilentlyAtANonStringValue();
    void unwritableStoreClosesSilently_data();
    void unwritableStoreClosesSilently();
    void cacheFolderMenuOpensTheFolderGoogleEarthNames();

private:
    QString Home() const { return root_->filePath(QStringLiteral("home")); }
    QString Config() const { return root_->filePath(QStringLiteral("config")); }
    QString StoreFile() const { return Config() + QStringLiteral("/Tembrel/Tembrel.conf"); }

    void CreateWindow();
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
    void SetEdits(const QStringList& texts) const {
        for (int i = 0; i < 8; ++i) {
            EditAt(i)->setText(texts.value(i));
        }
    }
    bool WriteStore(const QStringList& texts) const {
        QByteArray file = "[General]\n";
        for (int i = 0; i < 8; ++i) {
            file += QByteArray(EditNames[i]) + '=' + texts.value(i).toUtf8() + '\n';
        }
        return WriteBytes(StoreFile(), file);
    }

    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<EnvironmentVariable> home_;
    std::unique_ptr<EnvironmentVariable> config_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<RecordingShellOpener> shell_;
    std::unique_ptr<CacheFolderCommand> cacheFolder_;
    std::unique_ptr<ScriptedMessageBoxRoutine> boxes_;
    std::unique_ptr<TF_Main> window_;
};

void MainWindowSettingsTest::initTestCase() {
#ifdef _WIN32
    QSKIP("Linux only: this suite reads the store's file and Google Earth's .conf files; on "
          "Windows both live in the registry (MainWindowRegistryTest).");
#endif
}

void MainWindowSettingsTest::init() {
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    QVERIFY(QDir().mkpath(Home()));
    QVERIFY(QDir().mkpath(Config()));
    // Never the real home: the store and Google Earth's files are looked up
    // through these two.
    home_ = std::make_unique<EnvironmentVariable>("HOME");
    config_ = std::make_unique<EnvironmentVariable>("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(Home()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config()));
    shell_ = std::make_unique<RecordingShellOpener>();
    boxes_ = std::make_unique<ScriptedMessageBoxRoutine>();
}

void MainWindowSettingsTest::cleanup() {
    if (window_) {
        QCOMPARE(boxes_->unscripted, 0);
        QVERIFY(boxes_->answers.empty());
        QVERIFY(boxes_->errors.empty());
    }
    window_.reset();
    cacheFolder_.reset();
    settings_.reset();
    config_.reset();
    home_.reset();
    root_.reset();
}

void MainWindowSettingsTest::CreateWindow() {
    settings_ = CreateUserSettingsStore();
    cacheFolder_ = std::make_unique<ConfFileCacheFolderCommand>(*shell_, Config(), Home());
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

void MainWindowSettingsTest::CloseAndRestart() {
    QVERIFY(window_->close());
    window_.reset();
    CreateWindow();
}

void MainWindowSettingsTest::firstStartGivesEmptyEditsAndCreatesTheStore() {
    CreateWindow();
    QCOMPARE(EditTexts(), QStringList(8, QString()));
    QVERIFY(QFileInfo(StoreFile()).isFile());
    QVERIFY(boxes_->boxes.empty());
}

void MainWindowSettingsTest::typedTextsComeBackAfterARestart() {
    CreateWindow();
    const QStringList typed = {QStringLiteral("  30.5"), QStringLiteral("-31,25 "),
                               QStringLiteral("abc"),    QString(),
                               QStringLiteral("1;2"),    QStringLiteral("x=\"y\""),
                               QStringLiteral("@250"),   QString::fromUtf8("\xc3\xa9t\xc3\xa9")};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClicks(EditAt(i), typed[i]);
    }
    EditAt(7)->insert(typed[7]); // keyClicks types Latin-1 only
    QCOMPARE(EditTexts(), typed);

    CloseAndRestart();
    QCOMPARE(EditTexts(), typed);
    QCOMPARE(ValuesQSettingsReads(StoreFile()), typed);
    QVERIFY(boxes_->boxes.empty());
}

void MainWindowSettingsTest::restoresWhatQSettingsWrote() {
    const QStringList texts = {QStringLiteral(" 48.86"), QStringLiteral("2,2877"),
                               QStringLiteral("a, b"),   QString(),
                               QStringLiteral("0.3 "),   QString::fromUtf8("\xe6\x97\xa5"),
                               QStringLiteral("#250"),   QStringLiteral("\\10")};
    {
        QSettings settings(StoreFile(), QSettings::IniFormat);
        for (int i = 0; i < 8; ++i) {
            settings.setValue(QLatin1String(EditNames[i]), texts[i]);
        }
        settings.sync();
        QCOMPARE(settings.status(), QSettings::NoError);
    }
    CreateWindow();
    QCOMPARE(EditTexts(), texts);
}

void MainWindowSettingsTest::restoreStopsSilentlyAtANonStringValue_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("number") << QByteArray("@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)");
    QTest::newRow("list") << QByteArray("0, 4");
    QTest::newRow("byte array") << QByteArray("@ByteArray(0.4)");
}

void MainWindowSettingsTest::restoreStopsSilentlyAtANonStringValue() {
    QFETCH(QByteArray, value);
    QVERIFY(WriteStore(StartableInputs));
    QByteArray file = ReadBytes(StoreFile());
    file.replace("E_VS=0.4", "E_VS=" + value);
    QVERIFY(WriteBytes(StoreFile(), file));

    CreateWindow();
    QCOMPARE(EditTexts(), StartableInputs.mid(0, 3) + QStringList(5, QString()));
    QVERIFY(boxes_->boxes.empty());

    // The next close writes all eight as strings.
    SetEdits(StartableInputs);
    CloseAndRestart();
    QCOMPARE(ValuesQSettingsReads(StoreFile()), StartableInputs);
    QCOMPARE(EditTexts(), StartableInputs);
}

void MainWindowSettingsTest::unwritableStoreClosesSilently_data() {
    QTest::addColumn<bool>("fileForFolder");
    QTest::newRow("a file where the folder must be") << true;
    QTest::newRow("a folder where the file must be") << false;
}

void MainWindowSettingsTest::unwritableStoreClosesSilently() {
    QFETCH(bool, fileForFolder);
    const QString obstacle =
        fileForFolder ? Config() + QStringLiteral("/Tembrel") : StoreFile() + QStringLiteral("/x");
    QVERIFY(WriteBytes(obstacle, "in the way"));

    CreateWindow();
    QCOMPARE(EditTexts(), QStringList(8, QString()));
    SetEdits(StartableInputs);
    QVERIFY(window_->close());
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(ReadBytes(obstacle), QByteArray("in the way"));
}

// The command's cases are CacheFolderCommandTest's; here only its wiring to
// the menu, over the real configuration files.
void MainWindowSettingsTest::cacheFolderMenuOpensTheFolderGoogleEarthNames() {
    const QString folder = Home() + QStringLiteral("/My Cache/Google Earth");
    QVERIFY(WriteBytes(Config() + QStringLiteral("/Google/GoogleEarthPro.conf"),
                       "[General]\nCachePath=" + folder.toUtf8() + '\n'));
    QVERIFY(QDir().mkpath(folder));
    CreateWindow();

    window_->findChild<QAction*>(QStringLiteral("OpentheCachefolder1"))->trigger();

    QCOMPARE(shell_->opened.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(shell_->opened[0]),
             QStringLiteral("file://") + Home() + QStringLiteral("/My%20Cache/Google%20Earth"));
    QVERIFY(boxes_->boxes.empty());
}

QTEST_MAIN(MainWindowSettingsTest)
#include "MainWindowSettingsTest.moc"
