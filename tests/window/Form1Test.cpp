// Form1 under Wine, driven as a user drives it: entries picked from the
// dropped-down lists with the mouse, page numbers typed key by key, buttons
// clicked. The fakes stand in for CorelDRAW and the disk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Form1Fixture.h"

namespace windowtest {
namespace {

TEST_F(Form1Test, StartsWithTheInitialSettingsAndTexts) {
    EXPECT_EQ(Fields(form.Settings()), Fields(ExportSettings{}));
    EXPECT_EQ(Fields(form.Settings()), (std::vector<int>{1, 772, 6, 500, 500, 300, 1, 1}));
    for (ControlId id : {ControlId::Combo1, ControlId::Combo2, ControlId::Combo3, ControlId::Combo4})
        EXPECT_EQ(form.ListIndex(id), -1) << NameOf(id);
    EXPECT_EQ(form.Text(ControlId::Text2), L"批量输出\\");
    EXPECT_EQ(form.Text(ControlId::Combo3), L"1：1 原样");
}

TEST_F(Form1Test, PickingAnEntrySetsItsFieldAndNoOther) {
    struct Case {
        ControlId list;
        int index;
        std::int16_t ExportSettings::*field;
        int expected;
    } cases[] = {
        {ControlId::Combo1, 0, &ExportSettings::ExportFilter, 772},
        {ControlId::Combo1, 1, &ExportSettings::ExportFilter, 773},
        {ControlId::Combo1, 2, &ExportSettings::ExportFilter, 774},
        {ControlId::Combo1, 3, &ExportSettings::ExportFilter, 769},
        {ControlId::Combo1, 4, &ExportSettings::ExportFilter, 1799},
        {ControlId::Combo1, 5, &ExportSettings::ExportFilter, 770},
        {ControlId::Combo1, 6, &ExportSettings::ExportFilter, 771},
        {ControlId::Combo1, 7, &ExportSettings::ExportFilter, 776},
        {ControlId::Combo1, 8, &ExportSettings::ExportFilter, 1296},
        {ControlId::Combo1, 9, &ExportSettings::ExportFilter, 1284},
        {ControlId::Combo1, 10, &ExportSettings::ExportFilter, 1285},
        {ControlId::Combo2, 0, &ExportSettings::ImageType, 1},
        {ControlId::Combo2, 1, &ExportSettings::ImageType, 2},
        {ControlId::Combo2, 2, &ExportSettings::ImageType, 3},
        {ControlId::Combo2, 3, &ExportSettings::ImageType, 4},
        {ControlId::Combo2, 4, &ExportSettings::ImageType, 5},
        {ControlId::Combo2, 5, &ExportSettings::ImageType, 6},
        {ControlId::Combo4, 0, &ExportSettings::Resolution, 96},
        {ControlId::Combo4, 1, &ExportSettings::Resolution, 100},
        {ControlId::Combo4, 2, &ExportSettings::Resolution, 150},
        {ControlId::Combo4, 3, &ExportSettings::Resolution, 200},
        {ControlId::Combo4, 4, &ExportSettings::Resolution, 250},
        {ControlId::Combo4, 5, &ExportSettings::Resolution, 300},
        {ControlId::Combo4, 6, &ExportSettings::Resolution, 600},
        {ControlId::Combo4, 7, &ExportSettings::Resolution, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NameOf(c.list) + " index " + std::to_string(c.index));
        // A value no entry gives, so the pick shows even for the entry shown already.
        form.Settings().*c.field = -7;
        ExportSettings expected = form.Settings();
        expected.*c.field = static_cast<std::int16_t>(c.expected);
        Pick(c.list, c.index);
        EXPECT_EQ(Fields(form.Settings()), Fields(expected));
        EXPECT_EQ(form.Text(c.list), std::wstring(trevolo::ListEntriesOf(c.list)[static_cast<std::size_t>(c.index)]));
    }
    EXPECT_TRUE(session.Calls().empty());
}

TEST_F(Form1Test, PickingAFixedSizeSetsWidthAndHeight) {
    struct Case {
        int index;
        int width, height;
    } cases[] = {{1, 640, 480}, {2, 800, 600}, {3, 1024, 768}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ExportSettings expected = form.Settings();
        expected.ExportWidth = static_cast<std::int16_t>(c.width);
        expected.ExportHeight = static_cast<std::int16_t>(c.height);
        Pick(ControlId::Combo3, c.index);
        EXPECT_EQ(Fields(form.Settings()), Fields(expected));
    }
    EXPECT_TRUE(session.Calls().empty());
    EXPECT_TRUE(reported.empty());
}

TEST_F(Form1Test, PickingActualSizeMeasuresTheDrawing) {
    session.size = {1000000, 500000};
    Pick(ControlId::Combo3, 1);
    Pick(ControlId::Combo3, 0);
    EXPECT_EQ(session.CallNames(), Names({"Open", "SelectAllObjects", "GetSize", "Close"}));
    EXPECT_EQ(form.Settings().ExportWidth, 1181);
    EXPECT_EQ(form.Settings().ExportHeight, 590);
    EXPECT_TRUE(reported.empty());
}

TEST_F(Form1Test, ActualSizeThatDoesNotFitChangesNothingAndSaysWhy) {
    session.size = {27745554, 1000};
    Pick(ControlId::Combo3, 0);
    EXPECT_EQ(form.Settings().ExportWidth, 32767);
    EXPECT_EQ(form.Settings().ExportHeight, 1);
    EXPECT_TRUE(reported.empty());

    session.size = {27745555, 500000};
    const ExportSettings before = form.Settings();
    Pick(ControlId::Combo3, 1);
    form.Settings() = before;
    Pick(ControlId::Combo3, 0);
    EXPECT_EQ(Fields(form.Settings()), Fields(before));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_THAT(reported[0], testing::HasSubstr(L"32767"));
}

TEST_F(Form1Test, ActualSizeWithoutCorelDrawTellsTheUserInChinese) {
    session.reachable = false;
    const ExportSettings before = form.Settings();
    Pick(ControlId::Combo3, 0);
    EXPECT_EQ(Fields(form.Settings()), Fields(before));
    EXPECT_EQ(session.CallNames(), Names({"Open"}));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_THAT(reported[0], testing::HasSubstr(L"无法连接 CorelDRAW"));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(Form1Test, AClickWithNothingChosenChangesNothing) {
    for (ControlId list : {ControlId::Combo1, ControlId::Combo2, ControlId::Combo3, ControlId::Combo4}) {
        SCOPED_TRACE(NameOf(list));
        const ExportSettings before = form.Settings();
        ClickWithNothingChosen(list);
        EXPECT_EQ(Fields(form.Settings()), Fields(before));
    }
    EXPECT_TRUE(session.Calls().empty());
    EXPECT_TRUE(reported.empty());
}

TEST_F(Form1Test, TypingIntoAListsTextFieldChangesNoSetting) {
    const ExportSettings before = form.Settings();
    ClickAndSelectAll(ControlId::Combo1);
    Type(L"PNG 类型文件");
    EXPECT_EQ(form.Text(ControlId::Combo1), L"PNG 类型文件");
    EXPECT_EQ(Fields(form.Settings()), Fields(before));
}

TEST_F(Form1Test, StartPageFollowsTheTextKeyByKey) {
    struct Step {
        const char* action;
        std::function<void()> act;
        const wchar_t* text;
        int startPage;
    };
    const Step steps[] = {
        {"empty the box", [&] { ClickAndSelectAll(ControlId::Text3); Press(VK_DELETE); }, L"", 1},
        {"type 1", [&] { Type(L"1"); }, L"1", 1},
        {"type 2", [&] { Type(L"2"); }, L"12", 12},
        {"select all and delete", [&] { ClickAndSelectAll(ControlId::Text3); Press(VK_DELETE); }, L"", 12},
        {"type 12 again", [&] { Type(L"12"); }, L"12", 12},
        {"type 3", [&] { Type(L"3"); }, L"123", 123},
        {"delete only the 3", [&] { Press(VK_BACK); }, L"12", 12},
        {"delete only the 2", [&] { Press(VK_BACK); }, L"1", 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.action);
        step.act();
        EXPECT_EQ(form.Text(ControlId::Text3), step.text);
        EXPECT_EQ(form.Settings().StartPage, step.startPage);
    }
}

TEST_F(Form1Test, EndPageKeepsTheLastTextThatFitted) {
    wchar_t separator[8] = L".";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    const std::wstring twoAndAHalf = std::wstring(L"2") + separator + L"5";
    const std::wstring threeAndAHalf = std::wstring(L"3") + separator + L"5";
    struct Case {
        std::wstring typed;
        int endPage;
    } cases[] = {
        {twoAndAHalf, 2}, {threeAndAHalf, 4}, {L"40000", 4000}, {L"abc", 4000}, {L" 7 ", 7}, {L"-3", -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.typed));
        ClickAndSelectAll(ControlId::Text4);
        Type(c.typed);
        EXPECT_EQ(form.Text(ControlId::Text4), c.typed);
        EXPECT_EQ(form.Settings().EndPage, c.endPage);
    }
    EXPECT_EQ(form.Settings().StartPage, 1);
}

TEST_F(Form1Test, WritingAPageTextRaisesItsChangeOnlyWhenTheTextChanges) {
    form.SetText(ControlId::Text3, L"7");
    EXPECT_EQ(form.Settings().StartPage, 7);
    form.SetText(ControlId::Text4, L"12");
    EXPECT_EQ(form.Settings().EndPage, 12);

    form.Settings().StartPage = 99;
    form.SetText(ControlId::Text3, L"7");
    EXPECT_EQ(form.Settings().StartPage, 99);
    EXPECT_EQ(form.Text(ControlId::Text3), L"7");

    form.SetText(ControlId::Text1, L"5");
    EXPECT_EQ(form.Text(ControlId::Text1), L"5");
    EXPECT_EQ(form.Settings().PageCount, 1);
}

TEST_F(Form1Test, ButtonsRunTheirOperations) {
    session.pageCount = 5;
    ClickButton(ControlId::Command1);
    EXPECT_EQ(form.Text(ControlId::Text1), L"5");
    EXPECT_EQ(form.Text(ControlId::Text3), L"1");
    EXPECT_EQ(form.Text(ControlId::Text4), L"5");
    EXPECT_EQ(form.Settings().PageCount, 5);
    EXPECT_EQ(form.Settings().EndPage, 5);

    ClickButton(ControlId::Command2);
    EXPECT_THAT(folders.calls, testing::ElementsAre(fake::FolderCall{"Exists", L"C:\\批量输出\\"},
                                                    fake::FolderCall{"CreateFolder", L"C:\\批量输出\\"}));

    form.SetText(ControlId::Text4, L"1");
    ClickButton(ControlId::Command3);
    const auto exports = session.CallsNamed("FileExport");
    ASSERT_EQ(exports.size(), 1u);
    EXPECT_EQ(std::get<std::wstring>(exports[0].args[0]), L"C:\\批量输出\\\\输出页码1.TIF");
}

}  // namespace
}  // namespace windowtest
