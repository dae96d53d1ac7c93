// Writes pictures of Tembrel's windows into a folder, for a look at the layout
// without a desktop (run it with QT_QPA_PLATFORM=offscreen):
//   tembrel-screenshots FOLDER
// The main window is taken on each of its pages, then during a paused
// Multiple Areas voyage (label, gauge and locked inputs showing). It runs
// against stand-ins: nothing is read from or written to the user's settings,
// and the view file goes to a temporary folder.

#include "CacheFolderCommand.h"
#include "MessageBoxRoutine.h"
#include "SettingsStore.h"
#include "ShellOpener.h"
#include "TF_About.h"
#include "TF_Help.h"
#include "TF_Main.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <clocale>
#include <cstdio>

using namespace tembrel;

namespace {

// Nothing stored: the edits start empty, and nothing is kept.
class NoSettings final : public SettingsStore {
public:
    bool Open() override { return true; }
    bool QueryValue(std::string_view, ValueType&, std::size_t&) override { return false; }
    bool ReadValue(std::string_view, std::size_t, ValueType&, std::string&) override {
        return false;
    }
    bool SetString(std::string_view, std::string_view) override { return true; }
    bool Close() override { return true; }
};

class NoShell final : public ShellOpener {
public:
    bool Open(const std::string&) override { return true; }
};

class NoCacheFolder final : public CacheFolderCommand {
public:
    bool Run() override { return true; }
};

// Any box would stop a picture run: every question is answered No, and any
// message is printed instead of shown.
class PrintedBoxes final : public MessageBoxRoutine {
public:
    ModalResult Show(QWidget*, const QString& text, BoxType, unsigned) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return ModalResult::No;
    }
    void ShowDefaultError(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
};

bool Save(QWidget& window, const QDir& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder.filePath(QLatin1String(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template <class T> T* Child(QWidget& window, const char* name) {
    return window.findChild<T*>(QLatin1String(name));
}

bool MainWindowPictures(const QDir& folder) {
    QTemporaryDir viewFolder;
    NoSettings settings;
    NoShell shell;
    NoCacheFolder cacheFolder;
    PrintedBoxes boxes;
    TF_Main window({.settings = settings,
                    .shell = shell,
                    .cacheFolder = cacheFolder,
                    .messageBox = boxes,
                    .viewFileDirectory = viewFolder.path().toStdString(),
                    .decimalSeparator = [] { return '.'; }});
    window.show();
    auto* pages = Child<QTabWidget>(window, "PC_Main");
    if (pages == nullptr) {
        return false;
    }

    // The help example, so that the edits show typical texts.
    const char* texts[][2] = {{"E_LatD", "48.86"}, {"E_LonD", "2.2877"}, {"E_VE", "1"},
                              {"E_VS", "0.4"},     {"E_VEast", "0.3"},   {"E_VSouth", "0.2"},
                              {"E_VA", "250"},     {"E_VR", "10"}};
    for (const auto& [name, text] : texts) {
        if (auto* edit = Child<QLineEdit>(window, name)) {
            edit->setText(QLatin1String(text));
        }
    }

    bool saved = true;
    pages->setCurrentIndex(0);
    saved &= Save(window, folder, "main-area.png");
    pages->setCurrentIndex(1);
    saved &= Save(window, folder, "main-multiple-areas.png");
    pages->setCurrentIndex(2);
    saved &= Save(window, folder, "main-points.png");

    // Three snapshots into the first area of the grid, then paused.
    pages->setCurrentIndex(1);
    window.B_StartClick();
    for (int tick = 0; tick < 3 && window.TimerEnabled(); ++tick) {
        window.T_TimerTimer();
    }
    window.B_PauseClick();
    saved &= Save(window, folder, "main-paused.png");
    return saved;
}

// The help window on each of its pages, and the about window.
bool HelpAndAboutPictures(const QDir& folder) {
    bool saved = true;
    TF_Help help(nullptr);
    help.show();
    if (auto* pages = Child<QTabWidget>(help, "PageControl1")) {
        const char* names[] = {"help-introduction.png", "help-quick-start.png", "help-example.png"};
        for (int page = 0; page < 3; ++page) {
            pages->setCurrentIndex(page);
            saved &= Save(help, folder, names[page]);
        }
    } else {
        saved = false;
    }
    help.close();

    NoShell shell;
    TF_About about(shell, nullptr);
    about.show();
    saved &= Save(about, folder, "about.png");
    about.close();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: tembrel-screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    const bool mainSaved = MainWindowPictures(folder);
    const bool helpAndAboutSaved = HelpAndAboutPictures(folder);
    return mainSaved && helpAndAboutSaved ? 0 : 1;
}
