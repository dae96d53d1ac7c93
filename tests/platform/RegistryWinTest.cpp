// The registry store and the registry cache-folder command against the
// registry itself (Wine's, in CI). Each test works under a key of its own
// below HKEY_CURRENT_USER\Software, deleted at its end; the user's own keys
// are never touched.
#include "RegistryCacheFolderCommand.h"
#include "RegistrySettingsStore.h"
#include "SettingsStore.h"

#include "RecordingShellOpener.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <sddl.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tembrel {
namespace {

using test::RecordingShellOpener;

const EditTexts kEmpty{};
const EditTexts kOdd{"  30.5", "a, b", "\"q\"", "@x", "\xc3\xa9t\xc3\xa9", "", "x=y;z", "%HOME%"};

std::wstring Wide(const QString& text) {
    return text.toStdWString();
}

// The UTF-16 of a text, as REG_BINARY data.
std::vector<BYTE> BinaryData(const std::u16string& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    return {bytes, bytes + text.size() * sizeof(char16_t)};
}

// The string form of a raw registry value: UTF-16 with its terminating NUL.
std::vector<BYTE> StringData(const std::u16string& text) {
    return BinaryData(text + u'\0');
}

// A key of its own under HKEY_CURRENT_USER\Software for one test.
class ScratchKey {
public:
    ScratchKey()
        : path_(QStringLiteral("Software\\TembrelTest-%1-%2")
                    .arg(GetCurrentProcessId())
                    .arg(++count_)) {
        RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path_).c_str());
    }
    ~ScratchKey() { RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path_).c_str()); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    QString Path() const { return path_; }

    // Sets a raw value of `subKey` (below this key, "" for itself), creating
    // the keys on the way.
    void Set(const QString& subKey, const QString& name, DWORD type,
             const std::vector<BYTE>& data) const {
        const std::wstring key =
            Wide(subKey.isEmpty() ? path_ : path_ + QLatin1Char('\\') + subKey);
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), Wide(name).c_str(), type,
                                  data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    void CreateKey(const QString& subKey) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                                  Wide(path_ + QLatin1Char('\\') + subKey).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    bool Exists(const QString& subKey) const {
        HKEY key = nullptr;
        const std::wstring path =
            Wide(subKey.isEmpty() ? path_ : path_ + QLatin1Char('\\') + subKey);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
    // The type and data of a value; nullopt when it cannot be read.
    std::optional<std::pair<DWORD, std::u16string>> Get(const QString& name) const {
        DWORD type = 0;
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, Wide(path_).c_str(), Wide(name).c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::u16string data(size / 2, u'\0');
        if (RegGetValueW(HKEY_CURRENT_USER, Wide(path_).c_str(), Wide(name).c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size / 2);
        if (type == REG_SZ && !data.empty() && data.back() == u'\0') {
            data.pop_back();
        }
        return std::make_pair(type, data);
    }

private:
    static inline int count_ = 0;
    QString path_;
};

// The eight texts of kFilled under `key`, E_VS (the fourth) left out.
const EditTexts kFilled{"30.124555", "31.254447", "2.5", "0.54", "1", "0.8", "1200", "5"};
void SetFilledExceptVs(const ScratchKey& key) {
    for (std::size_t i = 0; i < kFilled.size(); ++i) {
        if (i != 3) {
            key.Set({}, QString::fromLatin1(EditValueNames[i]), REG_SZ,
                    StringData(QString::fromStdString(kFilled[i]).toStdU16String()));
        }
    }
}

TEST(RegistrySettingsStore, SavesEightStringValuesAndRestoresThem) {
    const ScratchKey key;
    RegistrySettingsStore store(key.Path());
    ASSERT_TRUE(store.Save(kOdd));
    for (std::size_t i = 0; i < kOdd.size(); ++i) {
        const auto value = key.Get(QString::fromLatin1(EditValueNames[i]));
        ASSERT_TRUE(value) << EditValueNames[i];
        EXPECT_EQ(value->first, static_cast<DWORD>(REG_SZ)) << EditValueNames[i];
        // QSettings writes a text starting with '@' as "@@...".
        const std::string expected = (kOdd[i].starts_with('@') ? "@" : "") + kOdd[i];
        EXPECT_EQ(QString::fromStdU16String(value->second).toStdString(), expected)
            << EditValueNames[i];
    }
    EXPECT_EQ(RegistrySettingsStore(key.Path()).Restore(), kOdd);
}

TEST(RegistrySettingsStore, AMissingKeyIsCreatedEmptyAtTheFirstStart) {
    const ScratchKey key;
    ASSERT_FALSE(key.Exists({}));
    EXPECT_EQ(RegistrySettingsStore(key.Path()).Restore(), kEmpty);
    EXPECT_TRUE(key.Exists({}));
    EXPECT_FALSE(key.Get(QStringLiteral("E_LatD")));
}

// Sets the key's access list from a security descriptor string.
bool SetKeySecurity(const QString& path, const wchar_t* sddl) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
        return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool set = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                    &descriptor, nullptr) &&
               RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    RegCloseKey(key);
    return set;
}

// A key the user may only read: the save fails and leaves the values as
// they were.
TEST(RegistrySettingsStore, AReadOnlyKeyKeepsItsValues) {
    const ScratchKey key;
    ASSERT_TRUE(RegistrySettingsStore(key.Path()).Save(kOdd));
    // Read access for everyone, nothing else (the owner may still change the
    // access list, and does so before the key is deleted).
    ASSERT_TRUE(SetKeySecurity(key.Path(), L"D:P(A;;KR;;;WD)"));
    HKEY writable = nullptr;
    const bool enforced = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key.Path()).c_str(), 0,
                                        KEY_SET_VALUE, &writable) != ERROR_SUCCESS;
    if (!enforced) {
        RegCloseKey(writable);
    }
    const bool saved = enforced && RegistrySettingsStore(key.Path()).Save(kFilled);
    const EditTexts restored = RegistrySettingsStore(key.Path()).Restore();
    ASSERT_TRUE(SetKeySecurity(key.Path(), L"D:P(A;;KA;;;WD)"));
    if (!enforced) {
        GTEST_SKIP() << "this registry does not enforce a key's access list";
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(restored, kOdd);
}

// E_VS stored in other forms, the other seven as REG_SZ.
struct RegistryValueCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    std::size_t restored; // how many texts come back
    std::string vs;       // E_VS's text when it is among them
};

void PrintTo(const RegistryValueCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<BYTE> DwordData(DWORD value) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&value);
    return {bytes, bytes + sizeof value};
}

// Two strings and the empty one that ends a REG_MULTI_SZ.
std::vector<BYTE> MultiStringData(const std::u16string& first, const std::u16string& second) {
    std::vector<BYTE> data = StringData(first);
    const std::vector<BYTE> rest = StringData(second);
    data.insert(data.end(), rest.begin(), rest.end());
    data.push_back(0);
    data.push_back(0);
    return data;
}

// A QVariantList whose count (0x5F404930) QDataStream would take from the
// value: QSettings would ask for about 51 GB. Its NULs reach QDataStream
// only from REG_BINARY or REG_NONE data, which Qt reads whole as text.
const std::u16string kCrafted = std::u16string(u"@Variant(") + std::u16string(3, u'\0') +
                                u"\t_@I0" + std::u16string(2, u'\0') + u"\x5)";
// What QDataStream would read from a string value: it fails, harmlessly.
const std::u16string kDecodable = u"@Variant(\x1\x1\x1\x1)";

class RegistryValueTest : public ::testing::TestWithParam<RegistryValueCase> {};

TEST_P(RegistryValueTest, RestoresByTheTypeRule) {
    const RegistryValueCase& c = GetParam();
    const ScratchKey key;
    SetFilledExceptVs(key);
    key.Set({}, QStringLiteral("E_VS"), c.type, c.data);

    EditTexts expected;
    for (std::size_t i = 0; i < c.restored; ++i) {
        expected[i] = i == 3 ? c.vs : kFilled[i];
    }
    EXPECT_EQ(RegistrySettingsStore(key.Path()).Restore(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryValueTest,
    ::testing::Values(
        RegistryValueCase{"String", REG_SZ, StringData(u"0.54"), 8, "0.54"},
        RegistryValueCase{"ExpandStringIsNotExpanded", REG_EXPAND_SZ, StringData(u"%HOME%"), 8,
                          "%HOME%"},
        RegistryValueCase{"StringEndsAtItsNul", REG_SZ, StringData(std::u16string(u"0.5\0x", 5)), 8,
                          "0.5"},
        RegistryValueCase{"DoubledAtIsOneAt", REG_SZ, StringData(u"@@x"), 8, "@x"},
        RegistryValueCase{"AtInTheMiddle", REG_SZ, StringData(u"a@Variant(b)"), 8, "a@Variant(b)"},
        RegistryValueCase{"DwordEndsTheRestore", REG_DWORD, DwordData(5), 3, ""},
        RegistryValueCase{"MultiStringEndsTheRestore", REG_MULTI_SZ, MultiStringData(u"0", u"54"),
                          3, ""},
        RegistryValueCase{"EmptyBinaryIsEmptyAndGoesOn", REG_BINARY, {}, 8, ""},
        RegistryValueCase{"BinaryTextGoesOn", REG_BINARY, BinaryData(u"0.54"), 8, "0.54"},
        RegistryValueCase{"DecodableStringEndsTheRestore", REG_SZ, StringData(kDecodable), 3, ""},
        RegistryValueCase{"DecodableExpandStringEndsTheRestore", REG_EXPAND_SZ,
                          StringData(kDecodable), 3, ""},
        RegistryValueCase{"DecodableDateTimeEndsTheRestore", REG_SZ,
                          StringData(u"@DateTime(\x1\x1)"), 3, ""},
        RegistryValueCase{"DecodableListElementEndsTheRestore", REG_MULTI_SZ,
                          MultiStringData(u"x", kDecodable), 3, ""},
        RegistryValueCase{"CraftedBinaryEndsTheRestore", REG_BINARY, BinaryData(kCrafted), 3, ""},
        RegistryValueCase{"CraftedNoneEndsTheRestore", REG_NONE, BinaryData(kCrafted), 3, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The cache-folder command over Google Earth's two keys below a scratch
// "Software" key: each either absent, present without values, or holding
// "CachePath" (a folder that exists, "", a number or a crafted value).
enum class GoogleEarthKey { Absent, Empty, Folder, EmptyPath, Number, Crafted };

struct CacheCase {
    const char* name;
    GoogleEarthKey plus;
    GoogleEarthKey pro;
    const char* opened; // "plus" or "pro": that folder; nullptr: Run() fails
};

void PrintTo(const CacheCase& c, std::ostream* os) {
    *os << c.name;
}

class RegistryCacheFolderTest : public ::testing::TestWithParam<CacheCase> {};

TEST_P(RegistryCacheFolderTest, OpensTheRecordedFolderOrFails) {
    const CacheCase& c = GetParam();
    const ScratchKey software;
    const QTemporaryDir folders;
    const QString plusKey = QStringLiteral("Google\\Google Earth Plus");
    const QString proKey = QStringLiteral("Google\\Google Earth Pro");
    const QString cachePath = QStringLiteral("CachePath");
    for (const auto& [key, state, folder] : {std::tuple(plusKey, c.plus, QStringLiteral("plus")),
                                             std::tuple(proKey, c.pro, QStringLiteral("pro"))}) {
        const QString path =
            QDir::toNativeSeparators(folders.filePath(folder + QStringLiteral(" cache")));
        ASSERT_TRUE(QDir().mkpath(path));
        switch (state) {
        case GoogleEarthKey::Absent:
            break;
        case GoogleEarthKey::Empty:
            software.CreateKey(key);
            break;
        case GoogleEarthKey::Folder:
            software.Set(key, cachePath, REG_SZ, StringData(path.toStdU16String()));
            break;
        case GoogleEarthKey::EmptyPath:
            software.Set(key, cachePath, REG_SZ, StringData(u""));
            break;
        case GoogleEarthKey::Number:
            software.Set(key, cachePath, REG_DWORD, DwordData(1));
            break;
        case GoogleEarthKey::Crafted:
            software.Set(key, cachePath, REG_BINARY, BinaryData(kCrafted));
            break;
        }
    }
    software.CreateKey(QStringLiteral("Unrelated"));

    RecordingShellOpener shell;
    RegistryCacheFolderCommand command(shell, software.Path());
    const bool succeeded = command.Run();

    if (c.opened != nullptr) {
        EXPECT_TRUE(succeeded);
        const QString folder =
            folders.filePath(QString::fromLatin1(c.opened) + QStringLiteral(" cache"));
        EXPECT_EQ(shell.opened,
                  std::vector<std::string>{QDir::toNativeSeparators(folder).toStdString()});
    } else {
        EXPECT_FALSE(succeeded);
        EXPECT_TRUE(shell.opened.empty());
    }
    // Google Earth's keys are only read.
    EXPECT_EQ(software.Exists(plusKey), c.plus != GoogleEarthKey::Absent);
    EXPECT_EQ(software.Exists(proKey), c.pro != GoogleEarthKey::Absent);
}

using enum GoogleEarthKey;

INSTANTIATE_TEST_SUITE_P(Keys, RegistryCacheFolderTest,
                         ::testing::Values(CacheCase{"PlusFolder", Folder, Absent, "plus"},
                                           CacheCase{"PlusWinsOverPro", Folder, Folder, "plus"},
                                           CacheCase{"ProWhenPlusIsAbsent", Absent, Folder, "pro"},
                                           CacheCase{"ProWhenPlusIsEmpty", Empty, Folder, "pro"},
                                           CacheCase{"BothAbsentFails", Absent, Absent, nullptr},
                                           CacheCase{"BothEmptyFails", Empty, Empty, nullptr},
                                           CacheCase{"EmptyPathFails", EmptyPath, Folder, nullptr},
                                           CacheCase{"NumberFails", Number, Folder, nullptr},
                                           CacheCase{"NumberInProFails", Absent, Number, nullptr},
                                           CacheCase{"CraftedPathFails", Crafted, Folder, nullptr},
                                           CacheCase{"CraftedPathInProFails", Empty, Crafted,
                                                     nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
