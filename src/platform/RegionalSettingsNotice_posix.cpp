#include "RegionalSettingsNotice.h"

namespace tembrel {

namespace {

// Qt itself posts LocaleChange here.
class NoFilter final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray&, void*, qintptr*) override { return false; }
};

} // namespace

std::unique_ptr<QAbstractNativeEventFilter> CreateRegionalSettingsFilter(QObject&) {
    return std::make_unique<NoFilter>();
}

void ForwardRegionalSettingsChanges(QObject&) {}

} // namespace tembrel
