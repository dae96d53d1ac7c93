#include "RegionalSettingsNotice.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>

namespace tembrel {

namespace {

class RegionalSettingsFilter final : public QAbstractNativeEventFilter {
public:
    explicit RegionalSettingsFilter(QObject& receiver) : receiver_(&receiver) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_generic_MSG" || message == nullptr) {
            return false;
        }
        const MSG& msg = *static_cast<const MSG*>(message);
        // Qt's windows are Unicode windows: lParam names the section, "intl"
        // for the regional settings (and may be null).
        if (msg.message == WM_SETTINGCHANGE && msg.lParam != 0 &&
            std::wcscmp(reinterpret_cast<const wchar_t*>(msg.lParam), L"intl") == 0 &&
            !receiver_.isNull()) {
            QCoreApplication::postEvent(receiver_.data(), new QEvent(QEvent::LocaleChange));
        }
        return false; // Qt handles the message as before
    }

private:
    QPointer<QObject> receiver_;
};

} // namespace

std::unique_ptr<QAbstractNativeEventFilter> CreateRegionalSettingsFilter(QObject& receiver) {
    return std::make_unique<RegionalSettingsFilter>(receiver);
}

void ForwardRegionalSettingsChanges(QObject& receiver) {
    QAbstractNativeEventFilter* filter = CreateRegionalSettingsFilter(receiver).release();
    QCoreApplication::instance()->installNativeEventFilter(filter);
    QObject::connect(&receiver, &QObject::destroyed, QCoreApplication::instance(), [filter] {
        QCoreApplication::instance()->removeNativeEventFilter(filter);
        delete filter;
    });
}

} // namespace tembrel
