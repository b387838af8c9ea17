// The folder test and creation against the real file system: every path lies
// under one scratch folder in the root of C:, made afresh for each test.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FakeDrawSession.h"
#include "Win32FolderSystem.h"

namespace {

namespace fs = std::filesystem;
using trevolo::ControlId;

const std::wstring kScratch = L"C:\\folder_test";

class Win32FolderSystemTest : public testing::Test {
protected:
    void SetUp() override {
        RemoveScratch();
        ASSERT_TRUE(fs::create_directory(kScratch));
        ASSERT_TRUE(fs::create_directory(kScratch + L"\\文件夹"));
        std::ofstream(fs::path(kScratch + L"\\file.txt")) << "x";
        ASSERT_TRUE(fs::create_directory(kScratch + L"\\hidden"));
        Mark(kScratch + L"\\hidden", FILE_ATTRIBUTE_HIDDEN);
        std::ofstream(fs::path(kScratch + L"\\hidden.txt")) << "x";
        Mark(kScratch + L"\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
        std::ofstream(fs::path(kScratch + L"\\system.txt")) << "x";
        Mark(kScratch + L"\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    }
    void TearDown() override { RemoveScratch(); }

    static void Mark(const std::wstring& path, DWORD attribute) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attribute)) << GetLastError();
        ASSERT_NE(GetFileAttributesW(path.c_str()) & attribute, 0u) << "the attribute did not stick";
    }
    static void RemoveScratch() {
        std::error_code ignored;
        for (const auto* name : {L"\\hidden", L"\\hidden.txt", L"\\system.txt"})
            SetFileAttributesW((kScratch + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(kScratch, ignored);
    }
    static bool IsFolder(const std::wstring& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    trevolo::Win32FolderSystem folders;
};

TEST_F(Win32FolderSystemTest, ExistsForVisibleFoldersAndFilesOnly) {
    struct Case {
        std::wstring path;
        bool exists;
    } cases[] = {
        {kScratch + L"\\文件夹", true},
        {kScratch + L"\\文件夹\\", true},  // the folder itself
        {kScratch + L"\\file.txt", true},
        {kScratch + L"\\file.txt\\", false},
        {kScratch + L"\\hidden", false},
        {kScratch + L"\\hidden\\", false},
        {kScratch + L"\\hidden.txt", false},
        {kScratch + L"\\system.txt", false},
        {kScratch + L"\\missing", false},
        {kScratch + L"\\missing\\", false},
        {kScratch + L"\\a|b", false},  // no path can hold it
        {kScratch + std::wstring(L"\\文件夹\0x", 6), false},
        {L"C:\\", true},
    };
    for (const auto& c : cases) EXPECT_EQ(folders.Exists(c.path), c.exists) << testing::PrintToString(c.path);
}

TEST_F(Win32FolderSystemTest, CreatesOneLevelOnly) {
    struct Case {
        std::wstring path;
        bool created;
    } cases[] = {
        {kScratch + L"\\新建", true},
        {kScratch + L"\\with slash\\", true},
        {kScratch + L"\\missing\\child", false},
        {kScratch + L"\\hidden", false},    // the name is taken
        {kScratch + L"\\file.txt", false},  // by a file
        {kScratch + L"\\a|b", false},
        {kScratch + std::wstring(L"\\新\0x", 4), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(folders.CreateFolder(c.path), c.created);
        EXPECT_EQ(IsFolder(c.path), c.created || c.path == kScratch + L"\\hidden");
    }
    EXPECT_FALSE(IsFolder(kScratch + L"\\missing"));
}

TEST_F(Win32FolderSystemTest, OutputFolderButtonCreatesTheFolderOnce) {
    fake::FakeFormControls form;
    form.texts[ControlId::Text2] = L"folder_test\\批量输出\\";
    const std::wstring folder = kScratch + L"\\批量输出\\";

    trevolo::MakeOutputFolder(form, folders);
    EXPECT_TRUE(IsFolder(folder));
    std::ofstream(fs::path(folder + L"inside.txt")) << "x";
    trevolo::MakeOutputFolder(form, folders);
    EXPECT_TRUE(fs::exists(folder + L"inside.txt")) << "pressed again, the folder stays as it was";
}

TEST_F(Win32FolderSystemTest, OutputFolderButtonLeavesMissingParentsAlone) {
    fake::FakeFormControls form;
    form.texts[ControlId::Text2] = L"folder_test\\missing\\批量输出\\";
    trevolo::MakeOutputFolder(form, folders);
    EXPECT_FALSE(IsFolder(kScratch + L"\\missing"));
}

TEST_F(Win32FolderSystemTest, EmptyText2NamesTheRootWhichExists) {
    fake::FakeFormControls form;
    form.texts[ControlId::Text2] = L"";
    EXPECT_EQ(trevolo::OutputFolder(form), L"C:\\");
    EXPECT_TRUE(folders.Exists(trevolo::OutputFolder(form)));
}

}  // namespace
