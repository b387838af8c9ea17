// The window on a machine where CorelDRAW is not installed: this program runs
// in a prefix of its own in which no automation server is registered.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EndToEndFixture.h"

namespace e2e {
namespace {

using windowtest::Fields;

class NoCorelDraw : public windowtest::Form1Driver<RealParts> {
protected:
    void SetUp() override {
        RemoveFolder(L"C:\\批量输出");
        windowtest::Form1Driver<RealParts>::SetUp();
    }
};

TEST_F(NoCorelDraw, ExportStillCreatesTheFolderAndNothingElse) {
    ClickButton(ControlId::Command3);
    EXPECT_TRUE(FileExists(L"C:\\批量输出\\"));
    EXPECT_TRUE(ListFolder(L"C:\\批量输出").empty());
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(NoCorelDraw, PageCountKeepsThePreviousCountAndSetsTheRange) {
    form.Settings().PageCount = 7;
    TypeInto(ControlId::Text3, L"4");
    ClickButton(ControlId::Command1);
    EXPECT_EQ(form.Text(ControlId::Text1), L"7");
    EXPECT_EQ(form.Text(ControlId::Text3), L"1");
    EXPECT_EQ(form.Text(ControlId::Text4), L"7");
    EXPECT_EQ(form.Settings().StartPage, 1);
    EXPECT_EQ(form.Settings().EndPage, 7);
    EXPECT_TRUE(reported.empty());
}

TEST_F(NoCorelDraw, ActualSizeTellsTheUserWhyNothingChanged) {
    const trevolo::ExportSettings before = form.Settings();
    Pick(ControlId::Combo3, 0);
    EXPECT_EQ(Fields(form.Settings()), Fields(before));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_THAT(reported[0], testing::HasSubstr(L"CorelDRAW"));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

}  // namespace
}  // namespace e2e
