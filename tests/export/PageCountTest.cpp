#include <gtest/gtest.h>

#include "FakeDrawSession.h"

namespace {

using fake::DrawCall;
using trevolo::ControlId;

struct PageCountRun {
    fake::FakeDrawSession session;
    fake::FakeFormControls form;
    trevolo::ExportSettings settings;

    PageCountRun() { fake::FollowRangeTexts(form, settings); }
    void Run() { trevolo::ReadPageCount(session, form, settings); }
    void ExpectShown(const std::wstring& count) const {
        EXPECT_EQ(form.Text(ControlId::Text1), count);
        EXPECT_EQ(form.Text(ControlId::Text3), L"1");
        EXPECT_EQ(form.Text(ControlId::Text4), count);
    }
};

const std::vector<std::string> kCallsWithDrawingOpen{
    "Open", "IsDocument", "SetDocVisible", "SetVisible", "ZoomToPage", "GetPageCount", "Close"};
const std::vector<std::string> kCallsWithNewDrawing{
    "Open", "IsDocument", "FileNew", "SetDocVisible", "SetVisible", "ZoomToPage", "GetPageCount", "Close"};

TEST(ReadPageCount, FiveOpenPagesBecomeTheCountAndTheWholeRange) {
    PageCountRun run;
    run.session.pageCount = 5;
    run.Run();

    const std::vector<DrawCall> want{{"Open", {}},         {"IsDocument", {}}, {"SetDocVisible", {true}},
                                     {"SetVisible", {true}}, {"ZoomToPage", {}}, {"GetPageCount", {}},
                                     {"Close", {}}};
    EXPECT_EQ(run.session.Calls(), want);
    EXPECT_FALSE(run.session.IsOpen());
    run.ExpectShown(L"5");
    EXPECT_EQ(run.settings.PageCount, 5);
    EXPECT_EQ(run.settings.StartPage, 1);
    EXPECT_EQ(run.settings.EndPage, 5);
}

TEST(ReadPageCount, RangeIsSetAlsoWhenTheTextsDoNotChange) {
    // Text3 already shows "1" and Text4 the count: no Change is raised, yet
    // the range still becomes the whole drawing.
    PageCountRun run;
    run.session.pageCount = 5;
    run.form.texts[ControlId::Text4] = L"5";
    run.settings.StartPage = 3;
    run.settings.EndPage = 9;
    run.Run();

    EXPECT_EQ(run.form.changes, std::vector<ControlId>{ControlId::Text1});
    EXPECT_EQ(run.settings.StartPage, 1);
    EXPECT_EQ(run.settings.EndPage, 5);
}

TEST(ReadPageCount, TextsChangedFromOtherValuesRaiseChange) {
    PageCountRun run;
    run.session.pageCount = 12;
    run.form.texts[ControlId::Text3] = L"7";
    run.Run();

    const std::vector<ControlId> want{ControlId::Text1, ControlId::Text3, ControlId::Text4};
    EXPECT_EQ(run.form.changes, want);
    run.ExpectShown(L"12");
}

TEST(ReadPageCount, NoDrawingOpenOpensANewOneFirst) {
    PageCountRun run;
    run.session.documentOpen = false;
    run.Run();
    EXPECT_EQ(run.session.CallNames(), kCallsWithNewDrawing);
}

TEST(ReadPageCount, AFailingStepIsSkippedAndTheRestRun) {
    // Previous count 9; every case that cannot read a new one keeps it and
    // still shows it and sets the range from it.
    struct Case {
        const char* label;
        std::function<void(fake::FakeDrawSession&)> setUp;
        std::vector<std::string> wantCalls;
        std::int16_t wantCount;
    } cases[] = {
        {"no server", [](auto& s) { s.reachable = false; }, kCallsWithNewDrawing, 9},
        {"IsDocument cannot be asked", [](auto& s) { s.Fail("IsDocument"); }, kCallsWithNewDrawing, 4},
        {"FileNew fails", [](auto& s) { s.documentOpen = false; s.Fail("FileNew"); }, kCallsWithNewDrawing, 4},
        {"SetDocVisible fails", [](auto& s) { s.Fail("SetDocVisible"); }, kCallsWithDrawingOpen, 4},
        {"ZoomToPage fails", [](auto& s) { s.Fail("ZoomToPage"); }, kCallsWithDrawingOpen, 4},
        {"GetPageCount fails", [](auto& s) { s.Fail("GetPageCount"); }, kCallsWithDrawingOpen, 9},
        {"count 70000 does not fit", [](auto& s) { s.pageCount = 70000; }, kCallsWithDrawingOpen, 9},
        {"count 32768 does not fit", [](auto& s) { s.pageCount = 32768; }, kCallsWithDrawingOpen, 9},
        {"count -32769 does not fit", [](auto& s) { s.pageCount = -32769; }, kCallsWithDrawingOpen, 9},
        {"count 32767 fits", [](auto& s) { s.pageCount = 32767; }, kCallsWithDrawingOpen, 32767},
        {"count -32768 fits", [](auto& s) { s.pageCount = -32768; }, kCallsWithDrawingOpen, -32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        PageCountRun run;
        run.settings.PageCount = 9;
        run.settings.StartPage = 2;
        run.session.pageCount = 4;
        c.setUp(run.session);
        run.Run();

        EXPECT_EQ(run.session.CallNames(), c.wantCalls);
        EXPECT_EQ(run.session.Calls().back().name, "Close");
        EXPECT_FALSE(run.session.IsOpen());
        EXPECT_EQ(run.settings.PageCount, c.wantCount);
        run.ExpectShown(trevolo::DecimalText(c.wantCount));
        EXPECT_EQ(run.settings.StartPage, 1);
        EXPECT_EQ(run.settings.EndPage, c.wantCount);
    }
}

TEST(ReadPageCount, WithoutAServerEveryDrawingCallFails) {
    PageCountRun run;
    run.session.reachable = false;
    run.Run();
    for (const auto& call : run.session.Calls())
        EXPECT_EQ(call.ok, call.name == "Close") << testing::PrintToString(call);
}

}  // namespace
