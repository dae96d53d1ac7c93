#include "QuitSignals.h"

namespace tembrel {

// A windowed program on Windows gets no console signals; the session's end
// reaches it as commitDataRequest instead.
struct QuitSignals::Pipe {};

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {}

QuitSignals::~QuitSignals() = default;

bool QuitSignals::Installed() const {
    return false;
}

} // namespace tembrel
