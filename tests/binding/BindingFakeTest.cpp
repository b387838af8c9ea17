// The binding against the in-process script object: what goes over IDispatch
// for each operation, and that every reference is given back.
#include <gtest/gtest.h>

#include "FakeScript.h"

using trevolo::DispatchDrawSession;

namespace {

struct ComInit {
    ComInit() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComInit() { CoUninitialize(); }
};

class BindingFake : public testing::Test {
protected:
    ComInit com;
    fake::FakeScriptSource source;
    DispatchDrawSession session{source};

    std::vector<std::wstring> ArgsOf(const fake::RecordedCall& call) {
        std::vector<std::wstring> out;
        for (const auto& a : call.args) out.push_back(std::to_wstring(a.vt) + L":" + a.value);
        return out;
    }
};

TEST_F(BindingFake, EachOperationIsCalledByNameWithAutomationArguments) {
    source.drawing.pageCount = 7;
    source.drawing.xSize = 1000000;
    source.drawing.ySize = 500000;
    ASSERT_TRUE(session.Open());

    bool open = false;
    std::int32_t count = 0, x = 0, y = 0;
    EXPECT_TRUE(session.IsDocument(open));
    EXPECT_TRUE(open);
    EXPECT_TRUE(session.FileNew());
    EXPECT_TRUE(session.SetDocVisible(true));
    EXPECT_TRUE(session.SetVisible(true));
    EXPECT_TRUE(session.ZoomToPage());
    source.drawing.pageCount = 7;
    EXPECT_TRUE(session.GetPageCount(count));
    EXPECT_EQ(count, 7);
    EXPECT_TRUE(session.SetCurrentPage(-3));
    EXPECT_TRUE(session.SelectAllObjects());
    EXPECT_TRUE(session.GetSize(x, y));
    EXPECT_EQ(x, 1000000);
    EXPECT_EQ(y, 500000);
    trevolo::FileExportArgs args{L"C:\\批量输出\\\\输出页码1.TIF", 772, 118.1, 59.05, 300, 300, 6, 1, true, false};
    EXPECT_TRUE(session.FileExport(args));

    using V = std::vector<std::wstring>;
    const std::wstring B = std::to_wstring(VT_BOOL) + L":", I = std::to_wstring(VT_I4) + L":",
                       R = std::to_wstring(VT_R8) + L":", S = std::to_wstring(VT_BSTR) + L":",
                       RI = std::to_wstring(VT_BYREF | VT_I4) + L":";
    struct Expected { const wchar_t* name; V args; } expected[] = {
        {L"IsDocument", {}},
        {L"FileNew", {}},
        {L"SetDocVisible", {B + L"True"}},
        {L"SetVisible", {B + L"True"}},
        {L"ZoomToPage", {}},
        {L"GetPageCount", {}},
        {L"SetCurrentPage", {I + L"-3"}},
        {L"SelectAllObjects", {}},
        {L"GetSize", {RI + L"0", RI + L"0"}},
        {L"FileExport", {S + L"C:\\批量输出\\\\输出页码1.TIF", I + L"772", R + L"118.1", R + L"59.05", I + L"300",
                         I + L"300", I + L"6", I + L"1", B + L"True", B + L"False"}},
    };
    const auto& calls = source.drawing.calls;
    ASSERT_EQ(calls.size(), std::size(expected));
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].name, expected[i].name);
        EXPECT_EQ(ArgsOf(calls[i]), expected[i].args) << testing::PrintToString(expected[i].name);
    }
}

TEST_F(BindingFake, FixedSizeDimensionsGoAsWholeNumbers) {
    ASSERT_TRUE(session.Open());
    trevolo::FileExportArgs args{L"x", 769, std::int32_t{800}, std::int32_t{600}, 96, 96, 5, 1, true, false};
    EXPECT_TRUE(session.FileExport(args));
    ASSERT_EQ(source.drawing.calls.size(), 1u);
    EXPECT_EQ(source.drawing.calls[0].args[2].vt, VT_I4);
    EXPECT_EQ(source.drawing.calls[0].args[2].value, L"800");
    EXPECT_EQ(source.drawing.calls[0].args[3].value, L"600");
}

TEST_F(BindingFake, RefusedCallsFailAndLeaveOutValuesAlone) {
    source.drawing.failing = {L"GetSize", L"GetPageCount", L"IsDocument", L"FileExport"};
    ASSERT_TRUE(session.Open());
    std::int32_t x = 11, y = 22, count = 33;
    bool open = false;
    EXPECT_FALSE(session.GetSize(x, y));
    EXPECT_EQ(x, 11);
    EXPECT_EQ(y, 22);
    EXPECT_FALSE(session.GetPageCount(count));
    EXPECT_EQ(count, 33);
    EXPECT_FALSE(session.IsDocument(open));
    EXPECT_FALSE(session.FileExport({}));
    EXPECT_TRUE(session.ZoomToPage());
}

TEST_F(BindingFake, WithoutAScriptObjectEveryCallFails) {
    source.createResult = REGDB_E_CLASSNOTREG;
    EXPECT_FALSE(session.Open());
    EXPECT_EQ(session.LastResult(), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(session.IsOpen());
    std::int32_t x = 0, y = 0;
    EXPECT_FALSE(session.ZoomToPage());
    EXPECT_FALSE(session.GetSize(x, y));
    EXPECT_TRUE(source.drawing.calls.empty());
}

TEST_F(BindingFake, EachOpenTakesAFreshScriptAndCloseReleasesIt) {
    ASSERT_TRUE(session.Open());
    EXPECT_TRUE(session.ZoomToPage());
    ASSERT_TRUE(session.Open());  // replaces the first, which is released
    EXPECT_EQ(fake::FakeScriptSource::LiveScripts(), 1);
    EXPECT_TRUE(session.ZoomToPage());  // names resolved again on the new object
    session.Close();
    EXPECT_EQ(fake::FakeScriptSource::LiveScripts(), 0);
    EXPECT_EQ(source.scriptsCreated, 2);
    EXPECT_FALSE(session.ZoomToPage());
}

}  // namespace
