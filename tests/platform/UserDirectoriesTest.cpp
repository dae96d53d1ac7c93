#include "UserDirectories.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace tembrel {
namespace {

using test::ScopedEnvironmentVariable;

struct DirectoryCase {
    const char* name;
    std::optional<std::string> xdgConfigHome;
    std::string expectedConfig;
};

void PrintTo(const DirectoryCase& c, std::ostream* os) {
    *os << c.name;
}

class UserConfigDirectoryTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(UserConfigDirectoryTest, FollowsXdgConfigHome) {
    const ScopedEnvironmentVariable home("HOME", "/home/someone");
    const ScopedEnvironmentVariable config("XDG_CONFIG_HOME", GetParam().xdgConfigHome);
    EXPECT_EQ(UserConfigDirectory().toStdString(), GetParam().expectedConfig);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, UserConfigDirectoryTest,
    ::testing::Values(DirectoryCase{"Set", "/elsewhere/config", "/elsewhere/config"},
                      DirectoryCase{"Unset", std::nullopt, "/home/someone/.config"},
                      DirectoryCase{"Empty", "", "/home/someone/.config"},
                      DirectoryCase{"RelativeIsIgnored", "relative/config",
                                    "/home/someone/.config"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UserHomeDirectory, IsHomeWhenSet) {
    const ScopedEnvironmentVariable home("HOME", "/home/someone");
    EXPECT_EQ(UserHomeDirectory().toStdString(), "/home/someone");
}

TEST(UserHomeDirectory, FallsBackToThePasswordDatabase) {
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = entry->pw_dir;
    const ScopedEnvironmentVariable home("HOME", std::nullopt);
    EXPECT_EQ(UserHomeDirectory().toStdString(), expected);
    const ScopedEnvironmentVariable config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(UserConfigDirectory().toStdString(), expected + "/.config");
}

} // namespace
} // namespace tembrel
