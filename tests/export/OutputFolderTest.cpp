#include <gtest/gtest.h>

#include "FakeDrawSession.h"

namespace {

using fake::FolderCall;
using trevolo::ControlId;

TEST(MakeOutputFolder, TestsTheFolderAndCreatesItOnlyWhenNothingIsThere) {
    struct Case {
        const char* label;
        std::wstring text2;
        std::set<std::wstring> existing;
        std::vector<FolderCall> want;
    } cases[] = {
        {"initial text, folder missing", L"批量输出\\", {},
         {{"Exists", L"C:\\批量输出\\"}, {"CreateFolder", L"C:\\批量输出\\"}}},
        {"initial text, folder there", L"批量输出\\", {L"C:\\批量输出\\"}, {{"Exists", L"C:\\批量输出\\"}}},
        {"empty text names the root", L"", {L"C:\\"}, {{"Exists", L"C:\\"}}},
        {"nothing trimmed or added", L" a b ", {}, {{"Exists", L"C:\\ a b "}, {"CreateFolder", L"C:\\ a b "}}},
    };
    for (const auto& c : cases) {
        fake::FakeFormControls form;
        form.texts[ControlId::Text2] = c.text2;
        fake::FakeFolderSystem folders;
        folders.existing = c.existing;
        trevolo::MakeOutputFolder(form, folders);
        EXPECT_EQ(folders.calls, c.want) << c.label;
    }
}

TEST(MakeOutputFolder, CreationReadsText2Afresh) {
    fake::FakeFormControls form;
    fake::FakeFolderSystem folders;
    folders.afterExists = [&] { form.texts[ControlId::Text2] = L"另一个"; };
    trevolo::MakeOutputFolder(form, folders);
    const std::vector<FolderCall> want{{"Exists", L"C:\\批量输出\\"}, {"CreateFolder", L"C:\\另一个"}};
    EXPECT_EQ(folders.calls, want);
}

}  // namespace
