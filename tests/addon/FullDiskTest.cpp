// A payload that does not fit on the disk: the write fails part-way and the
// file it was to replace must survive whole. The fixture maps a small tmpfs
// as drive F: (small-drive.sh).
#include "ExtractPayload.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"

namespace {

using testfiles::ListFolder;
using testfiles::OwnResource;
using testfiles::ReadBytes;
using testfiles::WriteBytes;
using testing::ElementsAre;

const std::wstring kDrive = L"F:\\";

ULONGLONG FreeBytes() {
    ULARGE_INTEGER available{};
    GetDiskFreeSpaceExW(kDrive.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
}

// Takes up all but `leave` bytes of the drive.
bool Fill(const std::wstring& path, ULONGLONG leave) {
    win::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::string block(4096, '\0');
    while (FreeBytes() > leave + block.size()) {
        DWORD written = 0;
        if (!WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr)) return false;
    }
    return true;
}

TEST(FullDisk, AWriteFailingPartWayLeavesTheTargetAsItWas) {
    ASSERT_NE(GetFileAttributesW(kDrive.c_str()), INVALID_FILE_ATTRIBUTES) << "the small drive F: is not mapped";
    const std::wstring target = kDrive + L"Sccomp91.dll";
    const std::wstring filler = kDrive + L"filler";
    const std::string previous(3000, 'p');
    const std::string payload = OwnResource(102);
    ASSERT_TRUE(WriteBytes(target, previous));
    ASSERT_TRUE(Fill(filler, payload.size() / 2));
    ASSERT_LT(FreeBytes(), payload.size()) << "the payload would fit";
    ASSERT_GT(FreeBytes(), 0u) << "the write would not even start";

    EXPECT_NE(trevolo::ExtractPayload(102, L"CUSTOM", target), 0);
    EXPECT_TRUE(ReadBytes(target) == previous) << "the previous file was damaged";
    EXPECT_THAT(ListFolder(L"F:"), ElementsAre(L"Sccomp91.dll", L"filler")) << "a temporary file was left behind";

    // Where there was no file, there is none afterwards either.
    DeleteFileW(target.c_str());
    ASSERT_TRUE(Fill(filler, payload.size() / 2));
    EXPECT_NE(trevolo::ExtractPayload(102, L"CUSTOM", target), 0);
    EXPECT_THAT(ListFolder(L"F:"), ElementsAre(L"filler"));

    DeleteFileW(filler.c_str());
}

}  // namespace
