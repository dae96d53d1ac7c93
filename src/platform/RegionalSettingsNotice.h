#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <memory>

namespace tembrel {

// Qt announces a change of the user's regional settings with a LocaleChange
// event on Linux, but not on Windows, where the system broadcasts
// WM_SETTINGCHANGE "intl" instead. The filter turns that broadcast into a
// LocaleChange event posted to the receiver, so the window reads the decimal
// separator again on every system. Elsewhere it does nothing.
std::unique_ptr<QAbstractNativeEventFilter> CreateRegionalSettingsFilter(QObject& receiver);

// Installs such a filter on the application for the receiver's lifetime.
void ForwardRegionalSettingsChanges(QObject& receiver);

} // namespace tembrel
