// Windows: the decimal separator from the user's regional settings, and the
// notice of their change turned into a LocaleChange event for the window.
#include "DecimalSeparator.h"
#include "RegionalSettingsNotice.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>
#include <string>

namespace tembrel {
namespace {

struct SeparatorCase {
    std::string name;
    std::wstring regional;
    char separator;
};

class RegionalSeparator : public ::testing::TestWithParam<SeparatorCase> {
protected:
    // The user's setting is changed as the control panel changes it, and put back.
    void SetUp() override {
        wchar_t saved[8] = {};
        ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8), 0);
        saved_ = saved;
    }
    void TearDown() override {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_.c_str());
    }

private:
    std::wstring saved_;
};

TEST_P(RegionalSeparator, IsReadAfreshAtEachCall) {
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, GetParam().regional.c_str()));
    EXPECT_EQ(RegionalDecimalSeparator(), GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(Table, RegionalSeparator,
                         ::testing::Values(SeparatorCase{"Comma", L",", ','},
                                           SeparatorCase{"FullStop", L".", '.'},
                                           SeparatorCase{"Apostrophe", L"'", '\''},
                                           SeparatorCase{"CommaAgain", L",", ','},
                                           // Not one ASCII character: the program's own full stop.
                                           SeparatorCase{"TwoCharacters", L"ab", '.'},
                                           SeparatorCase{"MiddleDot", L"\u00B7", '.'}),
                         [](const ::testing::TestParamInfo<SeparatorCase>& info) {
                             return info.param.name;
                         });

class LocaleChangeCounter : public QObject {
public:
    int count = 0;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LocaleChange) {
            ++count;
        }
        return QObject::event(event);
    }
};

QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

struct NoticeCase {
    std::string name;
    UINT message;
    const wchar_t* section;
    int events;
};

class RegionalSettingsNotice : public ::testing::TestWithParam<NoticeCase> {};

TEST_P(RegionalSettingsNotice, PostsLocaleChangeOnlyForTheRegionalSettings) {
    Application();
    LocaleChangeCounter window;
    const std::unique_ptr<QAbstractNativeEventFilter> filter = CreateRegionalSettingsFilter(window);
    MSG msg{};
    msg.message = GetParam().message;
    msg.lParam = reinterpret_cast<LPARAM>(GetParam().section);
    qintptr result = 0;
    // Qt goes on handling every message.
    EXPECT_FALSE(filter->nativeEventFilter("windows_generic_MSG", &msg, &result));
    EXPECT_FALSE(filter->nativeEventFilter("windows_dispatcher_MSG", &msg, &result));
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.count, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegionalSettingsNotice,
    ::testing::Values(NoticeCase{"Intl", WM_SETTINGCHANGE, L"intl", 1},
                      NoticeCase{"Environment", WM_SETTINGCHANGE, L"Environment", 0},
                      NoticeCase{"NoSection", WM_SETTINGCHANGE, nullptr, 0},
                      NoticeCase{"OtherMessage", WM_PAINT, L"intl", 0}),
    [](const ::testing::TestParamInfo<NoticeCase>& info) { return info.param.name; });

TEST(RegionalSettingsNoticeLifetime, AGoneReceiverGetsNothing) {
    Application();
    auto window = std::make_unique<LocaleChangeCounter>();
    const std::unique_ptr<QAbstractNativeEventFilter> filter =
        CreateRegionalSettingsFilter(*window);
    window.reset();
    MSG msg{};
    msg.message = WM_SETTINGCHANGE;
    msg.lParam = reinterpret_cast<LPARAM>(L"intl");
    qintptr result = 0;
    EXPECT_FALSE(filter->nativeEventFilter("windows_generic_MSG", &msg, &result));
    QCoreApplication::sendPostedEvents();
}

} // namespace
} // namespace tembrel
