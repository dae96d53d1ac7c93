#include "ShellOpener.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace tembrel {

namespace {

// The desktop's default handler through xdg-open, started detached so the
// program never waits for it. The target is one argument of its own: no shell
// ever parses it, so blanks, quotes and '$' reach xdg-open as they are.
class XdgShellOpener final : public ShellOpener {
public:
    bool Open(const std::string& target) override {
        return QProcess::startDetached(QStringLiteral("xdg-open"),
                                       QStringList{QString::fromStdString(target)});
    }
};

} // namespace

QString FolderShellTarget(const QString& absoluteFolder) {
    return QUrl::fromLocalFile(absoluteFolder).toString(QUrl::FullyEncoded);
}

std::unique_ptr<ShellOpener> CreateSystemShellOpener() {
    return std::make_unique<XdgShellOpener>();
}

} // namespace tembrel
