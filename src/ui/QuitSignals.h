#pragma once

#include <QObject>

#include <memory>

namespace tembrel {

// Turns the system's requests to end the program (SIGTERM and SIGINT on
// POSIX systems: kill, a session manager, systemctl at shutdown, Ctrl+C in a
// terminal) into quitRequested on the GUI thread, so that the program can
// save and quit in order instead of dying where it stands. One instance at a
// time; the previous handlers come back when it is destroyed. On Windows it
// does nothing: a windowed program there gets no such signals.
class QuitSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuitSignals)

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    // Whether the handlers are in place.
    bool Installed() const;

Q_SIGNALS:
    void quitRequested();

private:
    struct Pipe;
    std::unique_ptr<Pipe> pipe_;
};

} // namespace tembrel
