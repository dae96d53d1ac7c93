#include "QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tembrel {

namespace {

constexpr std::array<int, 2> QuitSignalNumbers = {SIGTERM, SIGINT};

// The write end of the socket pair; all a signal handler may touch.
volatile std::sig_atomic_t signalWriteEnd = -1;

extern "C" void OnQuitSignal(int) {
    // Only async-signal-safe calls here; errno belongs to the code we
    // interrupted. A full socket means a request is already pending.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

struct QuitSignals::Pipe {
    std::array<int, 2> ends = {-1, -1}; // read, write
    std::array<struct sigaction, QuitSignalNumbers.size()> previous{};
    bool installed = false;
    QSocketNotifier* notifier = nullptr;
};

QuitSignals::QuitSignals(QObject* parent) : QObject(parent), pipe_(std::make_unique<Pipe>()) {
    if (signalWriteEnd != -1) {
        return; // another instance holds the signals
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pipe_->ends.data()) !=
        0) {
        return;
    }
    signalWriteEnd = pipe_->ends[1];
    pipe_->notifier = new QSocketNotifier(pipe_->ends[0], QSocketNotifier::Read, this);
    connect(pipe_->notifier, &QSocketNotifier::activated, this, [this] {
        // Several signals before the loop came round ask for one quit.
        std::array<char, 64> drained{};
        while (::read(pipe_->ends[0], drained.data(), drained.size()) > 0) {
        }
        Q_EMIT quitRequested();
    });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < QuitSignalNumbers.size(); ++i) {
        ::sigaction(QuitSignalNumbers[i], &action, &pipe_->previous[i]);
    }
    pipe_->installed = true;
}

QuitSignals::~QuitSignals() {
    if (pipe_->installed) {
        for (std::size_t i = 0; i < QuitSignalNumbers.size(); ++i) {
            ::sigaction(QuitSignalNumbers[i], &pipe_->previous[i], nullptr);
        }
        signalWriteEnd = -1;
    }
    delete pipe_->notifier;
    for (const int end : pipe_->ends) {
        if (end != -1) {
            ::close(end);
        }
    }
}

bool QuitSignals::Installed() const {
    return pipe_->installed;
}

} // namespace tembrel
