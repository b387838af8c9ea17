// The nine payloads as Trevolo.exe carries them, and what each one holds.
// The harness copies Trevolo.exe and the built payload files next to this
// program.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "MakerInfo.h"
#include "TestFiles.h"
#include "PayloadManifest.h"
#include "coreldraw.h"
#include "win/Ansi.h"

namespace {

using testfiles::ReadBytes;
using Microsoft::WRL::ComPtr;

std::wstring BesideMe(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

std::string Built(const trevolo::PayloadFile& payload) {
    return ReadBytes(BesideMe(win::FromAnsi(payload.builtFile))).value_or("<missing>");
}

std::string Built(int number) {
    for (const auto& payload : trevolo::kPayloads)
        if (payload.number == number) return Built(payload);
    return "<not in the manifest>";
}

BOOL CALLBACK CollectNumber(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR numbers) {
    reinterpret_cast<std::set<int>*>(numbers)->insert(IS_INTRESOURCE(name) ? LOWORD(name) : -1);
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<int>*>(languages)->push_back(language);
    return TRUE;
}

TEST(Payloads, TrevoloCarriesEachBuiltFileByteForByte) {
    win::UniqueModule trevolo(LoadLibraryExW(BesideMe(L"Trevolo.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(trevolo) << GetLastError();

    std::set<int> numbers;
    EnumResourceNamesW(trevolo.get(), L"CUSTOM", CollectNumber, reinterpret_cast<LONG_PTR>(&numbers));
    EXPECT_EQ(numbers, (std::set<int>{101, 102, 103, 104, 105, 106, 107, 108, 109}));

    for (const auto& payload : trevolo::kPayloads) {
        SCOPED_TRACE(payload.number);
        std::vector<int> languages;
        EnumResourceLanguagesW(trevolo.get(), L"CUSTOM", MAKEINTRESOURCEW(payload.number), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<int>{2052});

        HRSRC found = FindResourceW(trevolo.get(), MAKEINTRESOURCEW(payload.number), L"CUSTOM");
        ASSERT_NE(found, nullptr);
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(trevolo.get(), found)));
        const std::string carried(bytes, SizeofResource(trevolo.get(), found));
        EXPECT_EQ(carried.size(), Built(payload).size());
        EXPECT_TRUE(carried == Built(payload)) << "payload " << payload.number << " differs from " << payload.builtFile;
    }
}

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

TEST(Payloads, CompiledScriptsDifferOnlyInTheirValueNameAndChecksum) {
    const std::string st1 = Built(105), st2 = Built(107);
    ASSERT_EQ(st1.size(), 250u);
    ASSERT_EQ(st2.size(), 250u);
    for (const std::string* script : {&st1, &st2}) {
        EXPECT_EQ(script->substr(0, 8), std::string("|SCRIPT\0", 8));
        EXPECT_NE(script->find("software\\corel\\VORLAN"), std::string::npos);
        std::uint32_t stored;
        memcpy(&stored, script->data() + 16, 4);
        EXPECT_EQ(stored, Crc32(script->substr(20)));
    }
    const auto name = st1.find("ST1");
    ASSERT_NE(name, std::string::npos);
    EXPECT_EQ(st1.find("ST2"), std::string::npos);
    EXPECT_EQ(st2.find("ST2"), name);

    std::set<std::size_t> differing;
    for (std::size_t i = 0; i < st1.size(); ++i)
        if (st1[i] != st2[i]) differing.insert(i);
    std::set<std::size_t> allowed = {16, 17, 18, 19, name + 2};
    EXPECT_TRUE(std::includes(allowed.begin(), allowed.end(), differing.begin(), differing.end()))
        << testing::PrintToString(differing);
}

TEST(Payloads, InformationScriptIsOneGbkLineWithTheMakersDetails) {
    ASSERT_EQ(GetACP(), 936u);
    namespace maker = trevolo::maker;
    const std::wstring line = std::wstring(L"retval% = messagebox(\"Varo条码科技(") + maker::kWebAddress + L");电话 " +
                              maker::kTelephone + L";" + maker::kMessengerNumber +
                              L"欢迎咨询\",\"关于 Varo条码科技\",48)\r\n";
    const std::string script = Built(106);
    EXPECT_EQ(script.size(), 129u);
    EXPECT_EQ(script, win::ToAnsi(line));
}

std::vector<std::string> ExportNames(HMODULE module) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (!entry.VirtualAddress) return names;
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    auto* rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.emplace_back(reinterpret_cast<const char*>(base + rvas[i]));
    return names;
}

TEST(Payloads, SkinLibraryExportsClassXPUndecoratedAndRecordsCallsWhenAsked) {
    win::UniqueModule library(LoadLibraryW(BesideMe(L"Classface.dll").c_str()));
    ASSERT_TRUE(library) << GetLastError();
    EXPECT_EQ(ExportNames(library.get()), std::vector<std::string>{"ClassXP"});
    using ClassXP = int(WINAPI*)(int, int);
    auto classXP = reinterpret_cast<ClassXP>(reinterpret_cast<void*>(GetProcAddress(library.get(), "ClassXP")));
    ASSERT_NE(classXP, nullptr);

    const std::wstring journal = L"C:\\work\\classface-journal.txt";
    DeleteFileW(journal.c_str());
    classXP(0, 1);
    EXPECT_FALSE(ReadBytes(journal).has_value()) << "recorded without being asked";

    SetEnvironmentVariableW(L"CLASSFACE_JOURNAL", journal.c_str());
    classXP(0, 1);
    classXP(0, 0);
    SetEnvironmentVariableW(L"CLASSFACE_JOURNAL", nullptr);
    EXPECT_EQ(ReadBytes(journal).value_or("<none>"), "ClassXP 0 1\r\nClassXP 0 0\r\n");
    DeleteFileW(journal.c_str());
}

TEST(Payloads, TypeLibraryLoadsAndDescribesIDrawApplication) {
    EXPECT_EQ(Built(109).substr(0, 4), "MSFT");
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(BesideMe(L"coreldraw.tlb").c_str(), REGKIND_NONE, &library), S_OK);
    ComPtr<ITypeInfo> info;
    MEMBERID member = 0;
    USHORT found = 1;
    wchar_t name[] = L"IDrawApplication";
    ASSERT_EQ(library->FindName(name, 0, &info, &member, &found), S_OK);
    ASSERT_EQ(found, 1);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IDrawApplication));
    info->ReleaseTypeAttr(attributes);
}

TEST(Payloads, RuntimeFilesCarryCorelsVersionBlocks) {
    struct Case {
        const wchar_t* file;
        const wchar_t* description;
    } cases[] = {
        {L"Sccomp91.dll", L"Corel SCRIPT Compiler DLL"},
        {L"Sccres91.dll", L"Corel SCRIPT Compiler Resources"},
        {L"Scint91.dll", L"Corel SCRIPT Interpreter DLL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        const std::wstring path = BesideMe(c.file);
        std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        ASSERT_FALSE(block.empty());
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
        EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 9);
        EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 337);

        struct Translation {
            WORD language, codePage;
        }* translation = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
        wchar_t key[64];
        swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription", translation->language, translation->codePage);
        wchar_t* description = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&description), &size));
        EXPECT_EQ(std::wstring(description), c.description);
    }
}

}  // namespace
