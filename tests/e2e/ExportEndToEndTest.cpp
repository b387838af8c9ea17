// The window's export buttons and size list as a user meets them, with the
// stand-in CorelDRAW in its own process and files landing on the prefix's C:.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EndToEndFixture.h"

namespace e2e {
namespace {

using testing::ElementsAre;
using testing::UnorderedElementsAre;
using windowtest::Fields;

std::vector<std::wstring> ArgsOf(const standin::JournalEntry& e) {
    std::vector<std::wstring> out;
    for (const auto& a : e.args) out.push_back(standin::VarTypeText(a.vt) + L":" + a.value);
    return out;
}

std::vector<std::wstring> CallSequence() {
    std::vector<std::wstring> names;
    for (const auto& e : standin::ReadJournal()) names.push_back(e.call);
    return names;
}

bool IsTiff(const std::optional<std::string>& bytes) {
    return bytes && (bytes->compare(0, 4, std::string("II*\0", 4)) == 0 || bytes->compare(0, 4, std::string("MM\0*", 4)) == 0);
}

TEST_F(EndToEnd, DefaultSettingsExportOneTiffIntoTheDefaultFolder) {
    Serve(Pages(1));
    ClickButton(ControlId::Command3);

    EXPECT_THAT(ListFolder(kDefaultFolder), ElementsAre(L"输出页码1.TIF"));
    EXPECT_THAT(CallSequence(), ElementsAre(L"CorelScript", L"SetDocVisible", L"SetVisible", L"ZoomToPage",
                                            L"SetCurrentPage", L"SetCurrentPage", L"SelectAllObjects",
                                            L"GetSize", L"FileExport"));
    auto exports = CallsNamed(L"FileExport");
    ASSERT_EQ(exports.size(), 1u);
    EXPECT_THAT(ArgsOf(exports[0]),
                ElementsAre(L"VT_BSTR:C:\\批量输出\\\\输出页码1.TIF", L"VT_I4:772", L"VT_R8:1181", L"VT_R8:590.5",
                            L"VT_I4:300", L"VT_I4:300", L"VT_I4:6", L"VT_I4:1", L"VT_BOOL:-1", L"VT_BOOL:0"));
    EXPECT_EQ(exports[0].result, L"1181x590");
    EXPECT_TRUE(IsTiff(ReadBytes(L"C:\\批量输出\\输出页码1.TIF")));

    // Kept for the identify check that runs after this program.
    CreateDirectoryW(L"C:\\e2e", nullptr);
    EXPECT_TRUE(CopyFileW(L"C:\\批量输出\\输出页码1.TIF", L"C:\\e2e\\default-export.tif", FALSE));
    EXPECT_TRUE(reported.empty());
}

TEST_F(EndToEnd, PageCountThenExportWritesEveryPage) {
    Serve(Pages(5));
    ClickButton(ControlId::Command1);
    EXPECT_EQ(form.Text(ControlId::Text1), L"5");
    EXPECT_EQ(form.Text(ControlId::Text3), L"1");
    EXPECT_EQ(form.Text(ControlId::Text4), L"5");
    EXPECT_EQ(form.Settings().PageCount, 5);
    EXPECT_EQ(form.Settings().StartPage, 1);
    EXPECT_EQ(form.Settings().EndPage, 5);

    ClickButton(ControlId::Command3);
    EXPECT_THAT(ListFolder(kDefaultFolder), UnorderedElementsAre(L"输出页码1.TIF", L"输出页码2.TIF", L"输出页码3.TIF",
                                                              L"输出页码4.TIF", L"输出页码5.TIF"));
}

TEST_F(EndToEnd, ATypedRangeExportsExactlyItsPages) {
    Serve(Pages(5));
    TypeInto(ControlId::Text3, L"3");
    TypeInto(ControlId::Text4, L"5");
    ClickButton(ControlId::Command3);

    EXPECT_THAT(ListFolder(kDefaultFolder), UnorderedElementsAre(L"输出页码3.TIF", L"输出页码4.TIF", L"输出页码5.TIF"));
    std::vector<std::wstring> pages;
    for (const auto& e : CallsNamed(L"SetCurrentPage")) pages.push_back(e.args.at(0).value);
    EXPECT_THAT(pages, ElementsAre(L"3", L"3", L"4", L"5"));
    EXPECT_EQ(CallsNamed(L"FileExport").size(), 3u);
}

TEST_F(EndToEnd, AFixedSizeGoesToEveryPageWithoutMeasuring) {
    Pick(ControlId::Combo3, 2);  // "800x600(SVGA)"
    Serve(Pages(2));
    TypeInto(ControlId::Text4, L"2");
    ClickButton(ControlId::Command3);

    auto exports = CallsNamed(L"FileExport");
    ASSERT_EQ(exports.size(), 2u);
    for (const auto& e : exports) {
        EXPECT_EQ(ArgsOf(e).at(2), L"VT_I4:800");
        EXPECT_EQ(ArgsOf(e).at(3), L"VT_I4:600");
        EXPECT_EQ(e.result, L"800x600");
    }
    EXPECT_TRUE(CallsNamed(L"SelectAllObjects").empty());
    EXPECT_TRUE(CallsNamed(L"GetSize").empty());
}

TEST_F(EndToEnd, AnExistingFileIsOverwritten) {
    CreateDirectoryW(kDefaultFolder, nullptr);
    HANDLE old = CreateFileW(L"C:\\批量输出\\输出页码1.TIF", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(old, "old", 3, &written, nullptr);
    CloseHandle(old);

    Serve(Pages(1));
    ClickButton(ControlId::Command3);
    const auto bytes = ReadBytes(L"C:\\批量输出\\输出页码1.TIF");
    EXPECT_TRUE(IsTiff(bytes));
}

TEST_F(EndToEnd, ANewFolderAndTypeAreFollowedByTheNextRun) {
    RemoveFolder(L"C:\\第二批");
    Serve(Pages(1));
    ClickButton(ControlId::Command3);
    TypeInto(ControlId::Text2, L"第二批");
    Pick(ControlId::Combo1, 3);  // "BMP 类型文件"
    ClickButton(ControlId::Command3);

    auto exports = CallsNamed(L"FileExport");
    ASSERT_EQ(exports.size(), 2u);
    EXPECT_EQ(exports[0].args.at(0).value, L"C:\\批量输出\\\\输出页码1.TIF");
    EXPECT_EQ(exports[1].args.at(0).value, L"C:\\第二批\\输出页码1.BMP");
    EXPECT_EQ(ArgsOf(exports[1]).at(1), L"VT_I4:769");
    EXPECT_THAT(ListFolder(L"C:\\第二批"), ElementsAre(L"输出页码1.BMP"));
    RemoveFolder(L"C:\\第二批");
}

TEST_F(EndToEnd, WhenCorelDrawDiesMidRunTheRestFailsQuietlyAndTheWindowGoesOn) {
    auto drawing = Pages(5);
    drawing.exitAfterCalls = 1 + 4 + 2 * 4;  // CorelScript, preparation, two pages
    Serve(drawing);
    TypeInto(ControlId::Text4, L"5");
    ClickButton(ControlId::Command3);
    EXPECT_THAT(ListFolder(kDefaultFolder), UnorderedElementsAre(L"输出页码1.TIF", L"输出页码2.TIF"));
    ASSERT_TRUE(standin::WaitForServerExit());

    // The kept application object is dead and is not replaced: the page
    // count keeps its previous value and a second run writes nothing.
    ClickButton(ControlId::Command1);
    EXPECT_EQ(form.Text(ControlId::Text1), L"1");
    EXPECT_EQ(form.Text(ControlId::Text4), L"1");
    ClickButton(ControlId::Command3);
    EXPECT_EQ(ListFolder(kDefaultFolder).size(), 2u);
    EXPECT_EQ(CallsNamed(L"CorelScript").size(), 1u) << "no second server was started";

    TypeInto(ControlId::Text3, L"4");
    EXPECT_EQ(form.Settings().StartPage, 4);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(reported.empty());
}

TEST_F(EndToEnd, ActualSizeMeasuresTheCurrentPage) {
    Serve(Pages(1));
    Pick(ControlId::Combo3, 1);
    Pick(ControlId::Combo3, 0);
    EXPECT_EQ(form.Settings().ExportWidth, 1181);
    EXPECT_EQ(form.Settings().ExportHeight, 590);
    EXPECT_THAT(CallSequence(), ElementsAre(L"CorelScript", L"SelectAllObjects", L"GetSize"));
    EXPECT_EQ(CallsNamed(L"SelectAllObjects").at(0).result, L"1") << "the selection stays in place";
    EXPECT_TRUE(reported.empty());
}

}  // namespace
}  // namespace e2e
