#include "BackgroundRead.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace tembrel {

namespace {

constexpr int ProgressSteps = 1000;

} // namespace

void RunBackgroundRead(QWidget* owner, const QString& fileName,
                       const std::function<void(const ImportProgress& progress)>& read) {
    std::atomic<bool> cancel{false};
    std::atomic<long long> done{0};
    std::atomic<long long> total{0};
    const ImportProgress progress{[&](long long bytes, long long size) {
                                      done = bytes;
                                      total = size;
                                  },
                                  &cancel};

    QProgressDialog dialog(QStringLiteral("Reading %1...").arg(fileName), QStringLiteral("Cancel"),
                           0, ProgressSteps, owner);
    dialog.setObjectName(QStringLiteral("ImportProgress"));
    dialog.setWindowTitle(QStringLiteral("Import"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(300); // a quick read shows no dialog
    dialog.setValue(0);

    QEventLoop loop;
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] { cancel = true; });
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        const long long size = total;
        if (size > 0) {
            dialog.setValue(static_cast<int>(done * ProgressSteps / size));
        }
    });
    poll.start();

    std::exception_ptr error;
    std::thread worker([&] {
        try {
            read(progress);
        } catch (...) {
            error = std::current_exception();
        }
        // Queued: the loop quits once it runs, even if the read ends first.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the program quits: the read stops at its
    // next chunk then.
    cancel = true;
    worker.join();
    poll.stop();
    if (error) {
        std::rethrow_exception(error);
    }
}

} // namespace tembrel
