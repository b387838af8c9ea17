// ExtractPayload writing this program's own copies of the payloads into a
// scratch folder of the prefix.
#include "ExtractPayload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

using testfiles::ListFolder;
using testfiles::OwnResource;
using testfiles::ReadBytes;
using testfiles::WriteBytes;
using testing::ElementsAre;
using trevolo::ExtractPayload;

const std::wstring kFolder = L"C:\\work\\extract";

class ExtractPayloadTest : public testing::Test {
protected:
    void SetUp() override {
        Clear();
        ASSERT_TRUE(CreateDirectoryW(kFolder.c_str(), nullptr));
    }
    void TearDown() override { Clear(); }

    static void Clear() {
        for (const auto& name : ListFolder(kFolder)) {
            const std::wstring path = kFolder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(kFolder.c_str());
    }
};

TEST_F(ExtractPayloadTest, TheTargetEndsUpHoldingExactlyThePayload) {
    struct Case {
        const char* label;
        int number;
        std::optional<std::string> previous;
    } cases[] = {
        {"new file", 101, std::nullopt},
        {"over a longer file", 106, std::string(1000, 'x')},
        {"over a shorter file", 102, std::string("MZ")},
        {"over the same payload", 105, OwnResource(105)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::wstring target = kFolder + L"\\target";
        DeleteFileW(target.c_str());
        if (c.previous) {
            ASSERT_TRUE(WriteBytes(target, *c.previous));
        }

        EXPECT_EQ(ExtractPayload(c.number, L"CUSTOM", target), 0);
        const std::string payload = OwnResource(c.number);
        ASSERT_FALSE(payload.empty());
        const auto written = ReadBytes(target);
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(written->size(), payload.size());
        EXPECT_TRUE(*written == payload);
        EXPECT_THAT(ListFolder(kFolder), ElementsAre(L"target")) << "a temporary file was left behind";
    }
}

TEST_F(ExtractPayloadTest, NothingIsCreatedWhenThereIsNothingToWriteOrNowhereToWriteIt) {
    EXPECT_NE(ExtractPayload(106, L"CUSTOM", kFolder + L"\\missing\\ABOUT.CSC"), 0);
    EXPECT_NE(ExtractPayload(110, L"CUSTOM", kFolder + L"\\cdrmenu.cfg"), 0);
    EXPECT_NE(ExtractPayload(106, L"OTHER", kFolder + L"\\cdrmenu.cfg"), 0);
    EXPECT_THAT(ListFolder(kFolder), ElementsAre());
}

// A payload replacing a file that must not be written to leaves it exactly
// as it was, the way CorelDRAW's own libraries must survive an install while
// CorelDRAW runs.
TEST_F(ExtractPayloadTest, ATargetThatMayNotBeWrittenIsLeftAlone) {
    const std::wstring target = kFolder + L"\\Sccomp91.dll";
    struct Case {
        const char* label;
        std::function<std::function<void()>()> hold;  // returns how to let go
    } cases[] = {
        {"read-only",
         [&] {
             SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
             return [&] { SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL); };
         }},
        {"held open without sharing",
         [&] {
             auto file = std::make_shared<win::UniqueFile>(
                 CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
             EXPECT_TRUE(*file);
             return [file] { file->reset(); };
         }},
        {"a loaded library",
         [&] {
             auto library = std::make_shared<win::UniqueModule>(LoadLibraryW(target.c_str()));
             EXPECT_TRUE(*library) << GetLastError();
             return [library] { library->reset(); };
         }},
    };
    const std::string previous = OwnResource(108);  // a real library, so it can be loaded
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(WriteBytes(target, previous));
        auto release = c.hold();
        const DWORD attributes = GetFileAttributesW(target.c_str());

        EXPECT_NE(ExtractPayload(102, L"CUSTOM", target), 0);
        EXPECT_EQ(GetFileAttributesW(target.c_str()), attributes);
        release();
        EXPECT_TRUE(ReadBytes(target) == previous) << "the target was changed";
        EXPECT_THAT(ListFolder(kFolder), ElementsAre(L"Sccomp91.dll")) << "a temporary file was left behind";
    }
}

TEST_F(ExtractPayloadTest, APathWithoutDriveGoesToTheRootOfTheCurrentDrive) {
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_EQ(std::wstring(current).substr(0, 3), L"C:\\");
    const std::wstring onRoot = L"C:\\trevolo-extract-test.cfg";
    DeleteFileW(onRoot.c_str());

    EXPECT_EQ(ExtractPayload(101, L"CUSTOM", L"\\trevolo-extract-test.cfg"), 0);
    EXPECT_TRUE(ReadBytes(onRoot) == OwnResource(101));
    DeleteFileW(onRoot.c_str());
}

}  // namespace
