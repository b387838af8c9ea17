// The registry helpers against Wine's real registry, on keys of the test's
// own under HKCU\Software\TrevoloTest, removed again after each test.
#include "Registry.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <optional>
#include <string>

#include "win/UniqueHandle.h"

namespace trevolo {
// Lets gtest print a value's kind and text when a check fails.
void PrintTo(const RegistryValue& value, std::ostream* os) {
    const char* kinds[] = {"empty", "text", "integer"};
    *os << kinds[value.data().index()] << ' ' << testing::PrintToString(value.Text());
}
}  // namespace trevolo

namespace {

using trevolo::RegistryValue;

constexpr wchar_t kRoot[] = L"Software\\TrevoloTest";
constexpr wchar_t kKey[] = L"Software\\TrevoloTest\\Key";

struct RawValue {
    DWORD type;
    std::string bytes;
};

class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests need the Chinese ANSI code page";
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    }

    // Stores exactly `bytes`. The byte after them is not a NUL, or the
    // registry would count a NUL that was left out, as Windows does.
    void Put(const char* name, DWORD type, const std::string& bytes) {
        const std::string buffer = bytes + 'X';
        ASSERT_EQ(RegSetValueExA(key_.get(), name, 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    std::optional<RawValue> Get(const char* name) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key_.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
        std::string bytes(size, '\0');
        RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(size);
        return RawValue{type, bytes};
    }

    win::UniqueRegKey key_;
};

bool KeyExists(const wchar_t* path) {
    win::UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(RegistryTest, TextIsReadWholeWithItsNul) {
    struct Case {
        const char* label;
        std::string stored;
        std::wstring text;
    } cases[] = {
        {"C:\\Corel and its NUL", std::string("C:\\Corel\0", 9), std::wstring(L"C:\\Corel\0", 9)},
        {"two double-byte characters in 8 bytes", Bytes({'C', ':', '\\', 0xD6, 0xD0, 0xCE, 0xC4, 0}),
         std::wstring(L"C:\\中文\0", 6)},
        {"no NUL stored", "abc", L"abc"},
        {"nothing stored", "", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Put("Destination", REG_SZ, c.stored);
        RegistryValue value;
        EXPECT_EQ(trevolo::ReadKeyValue(key_.get(), L"Destination", value), ERROR_SUCCESS);
        EXPECT_EQ(value, RegistryValue(c.text));
        EXPECT_EQ(trevolo::FetchRegistryValue(HKEY_CURRENT_USER, kKey, L"Destination"), RegistryValue(c.text));
    }
}

TEST_F(RegistryTest, IntegersAreSignedAndReadAsDecimalText) {
    for (std::int32_t stored : {-1, 0, 2147483647, -2147483647 - 1}) {
        SCOPED_TRACE(stored);
        Put("Number", REG_DWORD, std::string(reinterpret_cast<const char*>(&stored), 4));
        const RegistryValue value = trevolo::FetchRegistryValue(HKEY_CURRENT_USER, kKey, L"Number");
        EXPECT_EQ(value, RegistryValue(stored));
        EXPECT_EQ(value.Text(), std::to_wstring(stored));
    }
}

TEST_F(RegistryTest, FailedReadsLeaveTheValueAsItWas) {
    Put("Expand", REG_EXPAND_SZ, std::string("%WINDIR%\0", 9));
    Put("Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    Put("Binary", REG_BINARY, "\x01\x02");
    Put("Long", REG_DWORD, std::string(8, '\x11'));  // longer than an integer
    struct Case {
        const char* label;
        HKEY key;
        const wchar_t* name;
        std::int32_t code;
    } cases[] = {
        {"REG_EXPAND_SZ", key_.get(), L"Expand", -1},
        {"REG_MULTI_SZ", key_.get(), L"Multi", -1},
        {"REG_BINARY", key_.get(), L"Binary", -1},
        {"REG_DWORD of 8 bytes", key_.get(), L"Long", ERROR_MORE_DATA},
        {"missing value", key_.get(), L"Missing", ERROR_FILE_NOT_FOUND},
        {"no key", nullptr, L"Expand", ERROR_INVALID_HANDLE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryValue value(L"before");
        EXPECT_EQ(trevolo::ReadKeyValue(c.key, c.name, value), c.code);
        EXPECT_EQ(value, RegistryValue(L"before"));
        if (c.key) {
            EXPECT_TRUE(trevolo::FetchRegistryValue(HKEY_CURRENT_USER, kKey, c.name).empty());
        }
    }
}

TEST_F(RegistryTest, WritesStoreTheseBytes) {
    struct Case {
        const char* label;
        std::int32_t type;
        RegistryValue value;
        std::int32_t code;
        std::optional<RawValue> stored;
    } cases[] = {
        {"abc", 1, L"abc", 0, RawValue{REG_SZ, Bytes({0x61, 0x62, 0x63, 0})}},
        {"a double-byte character", 1, L"a中b", 0, RawValue{REG_SZ, Bytes({0x61, 0xD6, 0xD0, 0x62, 0})}},
        {"the empty text", 1, L"", 0, RawValue{REG_SZ, Bytes({0})}},
        {"an integer as text", 1, 42, 0, RawValue{REG_SZ, "42" + Bytes({0})}},
        {"-1", 4, -1, 0, RawValue{REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF})}},
        {"a text as an integer", 4, L"12", ERROR_INVALID_DATA, std::nullopt},
        {"another type", REG_BINARY, L"abc", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegDeleteValueA(key_.get(), "Value");
        EXPECT_EQ(trevolo::WriteKeyValue(key_.get(), L"Value", c.type, c.value), c.code);
        const auto stored = Get("Value");
        ASSERT_EQ(stored.has_value(), c.stored.has_value());
        if (stored) {
            EXPECT_EQ(stored->type, c.stored->type);
            EXPECT_EQ(stored->bytes, c.stored->bytes);
        }
    }
}

TEST_F(RegistryTest, FetchingFromAMissingKeyCreatesNothing) {
    EXPECT_TRUE(trevolo::FetchRegistryValue(HKEY_CURRENT_USER, L"Software\\TrevoloTest\\Missing", L"Value").empty());
    EXPECT_FALSE(KeyExists(L"Software\\TrevoloTest\\Missing"));
}

TEST_F(RegistryTest, StoringNeedsTheKeyToBeCreatedFirst) {
    constexpr wchar_t kPath[] = L"Software\\TrevoloTest\\VORLAN\\Deeper";
    trevolo::StoreRegistryValue(HKEY_CURRENT_USER, kPath, L"ST1", L"D:\\Tools\\Trevolo.exe", 1);
    EXPECT_FALSE(KeyExists(kPath));

    trevolo::CreateRegistryKey(HKEY_CURRENT_USER, kPath);
    trevolo::StoreRegistryValue(HKEY_CURRENT_USER, kPath, L"ST1", L"D:\\Tools\\Trevolo.exe", 1);
    EXPECT_EQ(trevolo::FetchRegistryValue(HKEY_CURRENT_USER, kPath, L"ST1"),
              RegistryValue(std::wstring(L"D:\\Tools\\Trevolo.exe\0", 21)));
}

TEST_F(RegistryTest, CreatingAnExistingKeyKeepsItsValues) {
    Put("ST1", REG_SZ, std::string("kept\0", 5));
    trevolo::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
    const auto stored = Get("ST1");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->bytes, std::string("kept\0", 5));
}

// A key the user may read but not write, as HKLM keys are for a limited user:
// every helper opens with the rights 0x3F, so it gets nothing out of it and
// puts nothing in.
TEST_F(RegistryTest, AKeyThatRefusesTheRightsIsNeitherReadNorWritten) {
    Put("Destination", REG_SZ, std::string("C:\\Corel\0", 9));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Everyone may read and delete (so the test can clean up), nothing else.
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRSD;;;WD)", SDDL_REVISION_1, &descriptor,
                                                                     nullptr));
    const LONG set = RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    ASSERT_EQ(set, ERROR_SUCCESS);
    key_.reset();

    win::UniqueRegKey probe;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, trevolo::kRegistryRights, probe.put()), ERROR_ACCESS_DENIED)
        << "this registry does not enforce key security";

    EXPECT_TRUE(trevolo::FetchRegistryValue(HKEY_CURRENT_USER, kKey, L"Destination").empty());
    trevolo::CreateRegistryKey(HKEY_CURRENT_USER, kKey);
    trevolo::StoreRegistryValue(HKEY_CURRENT_USER, kKey, L"ST1", L"x", 1);

    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key_.put()), ERROR_SUCCESS);
    EXPECT_FALSE(Get("ST1").has_value());
    EXPECT_EQ(Get("Destination")->bytes, std::string("C:\\Corel\0", 9));
}

}  // namespace
