// The binding against the stand-in CorelDRAW running as its own process:
// what the server receives for each call, and how a reference behaves once
// that process has gone.
#include <gtest/gtest.h>

#include <algorithm>

#include "DrawApplication.h"
#include "StandinControl.h"

namespace {

using standin::JournalEntry;

std::vector<std::wstring> Described(const JournalEntry& e) {
    std::vector<std::wstring> out{e.call};
    for (const auto& a : e.args) out.push_back(standin::VarTypeText(a.vt) + L":" + a.value);
    return out;
}

class BindingStandin : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(standin::WaitForServerExit()) << "a server of an earlier test is still running";
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void TearDown() override {
        session.reset();
        app.reset();
        CoUninitialize();
    }
    void Start(const standin::DrawingFile& drawing) {
        ASSERT_TRUE(standin::PrepareServer(drawing));
        app = std::make_unique<trevolo::DrawApplication>();
        session = std::make_unique<trevolo::DispatchDrawSession>(*app);
    }
    static standin::DrawingFile TwoPages() {
        standin::DrawingFile d;
        d.pages.resize(2);
        d.pages[1].objects.push_back({100000, 200000, 1000000, 500000, {255, 0, 0}});
        return d;
    }

    std::unique_ptr<trevolo::DrawApplication> app;
    std::unique_ptr<trevolo::DispatchDrawSession> session;
};

TEST_F(BindingStandin, TheServerReceivesEachCallByNameWithItsArguments) {
    CreateDirectoryW(L"C:\\binding", nullptr);
    Start(TwoPages());
    ASSERT_TRUE(session->Open()) << std::hex << session->LastResult();

    bool open = false;
    std::int32_t count = 0, x = 0, y = 0;
    EXPECT_TRUE(session->IsDocument(open));
    EXPECT_TRUE(open);
    EXPECT_TRUE(session->SetDocVisible(true));
    EXPECT_TRUE(session->SetVisible(true));
    EXPECT_TRUE(session->ZoomToPage());
    EXPECT_TRUE(session->GetPageCount(count));
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(session->SetCurrentPage(2));
    EXPECT_TRUE(session->SelectAllObjects());
    EXPECT_TRUE(session->GetSize(x, y));
    EXPECT_EQ(x, 1000000);
    EXPECT_EQ(y, 500000);
    EXPECT_TRUE(session->FileExport({L"C:\\binding\\\\页2.BMP", 769, x * 0.001181, y * 0.001181, 96, 96, 5, 1,
                                     true, false}));
    EXPECT_TRUE(session->FileNew());
    session->Close();

    using V = std::vector<std::wstring>;
    const V expected[] = {
        {L"CorelScript"},
        {L"IsDocument"},
        {L"SetDocVisible", L"VT_BOOL:-1"},
        {L"SetVisible", L"VT_BOOL:-1"},
        {L"ZoomToPage"},
        {L"GetPageCount"},
        {L"SetCurrentPage", L"VT_I4:2"},
        {L"SelectAllObjects"},
        {L"GetSize", L"VT_BYREF|VT_I4:0", L"VT_BYREF|VT_I4:0"},
        {L"FileExport", L"VT_BSTR:C:\\binding\\\\页2.BMP", L"VT_I4:769", L"VT_R8:1181", L"VT_R8:590.5",
         L"VT_I4:96", L"VT_I4:96", L"VT_I4:5", L"VT_I4:1", L"VT_BOOL:-1", L"VT_BOOL:0"},
        {L"FileNew"},
    };
    auto journal = standin::ReadJournal();
    ASSERT_EQ(journal.size(), std::size(expected));
    for (size_t i = 0; i < journal.size(); ++i) {
        EXPECT_EQ(Described(journal[i]), expected[i]);
        EXPECT_EQ(journal[i].hr, S_OK) << testing::PrintToString(journal[i].call);
    }
    // 590.5 reached the server's whole-number parameter as the even 590.
    EXPECT_EQ(journal[9].result, L"1181x590");
}

TEST_F(BindingStandin, ARefusedCallComesBackAsAFailure) {
    auto drawing = TwoPages();
    drawing.failures.push_back({"GetSize", std::nullopt, std::nullopt});
    Start(drawing);
    ASSERT_TRUE(session->Open());
    std::int32_t x = 7, y = 8;
    EXPECT_TRUE(session->SelectAllObjects());
    EXPECT_FALSE(session->GetSize(x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_TRUE(session->ZoomToPage()) << "a refusal is one call's, not the session's";
}

TEST_F(BindingStandin, AfterTheServerHasGoneEveryCallFailsAndNothingIsRenewed) {
    auto drawing = TwoPages();
    drawing.exitAfterCalls = 2;  // CorelScript and one more
    Start(drawing);
    ASSERT_TRUE(session->Open());
    EXPECT_TRUE(session->ZoomToPage());
    EXPECT_FALSE(session->ZoomToPage());  // the server dies on this one
    ASSERT_TRUE(standin::WaitForServerExit());

    const HRESULT gone = session->LastResult();
    std::int32_t count = 0;
    EXPECT_FALSE(session->GetPageCount(count));
    EXPECT_FALSE(session->SetCurrentPage(1));
    // A new script object would need a new server; the kept application
    // object is not replaced, so opening fails the same way.
    session->Close();
    EXPECT_FALSE(session->Open());
    EXPECT_FALSE(session->Open());
    EXPECT_TRUE(HRESULT_FACILITY(gone) == FACILITY_WIN32 || HRESULT_FACILITY(gone) == FACILITY_RPC)
        << std::hex << gone;
    EXPECT_EQ(HRESULT_FACILITY(session->LastResult()), HRESULT_FACILITY(gone)) << std::hex << session->LastResult();
    EXPECT_TRUE(standin::WaitForServerExit(500)) << "no second server was started";
    const auto journal = standin::ReadJournal();
    EXPECT_EQ(std::count_if(journal.begin(), journal.end(), [](const JournalEntry& e) { return e.call == L"CorelScript"; }), 1);
}

}  // namespace
