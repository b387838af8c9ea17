#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "FakeDrawSession.h"

namespace {

using fake::CallArg;
using fake::DrawCall;
using trevolo::ControlId;

const std::wstring kFolder = L"C:\\批量输出\\";

std::wstring PageFile(std::int32_t page, const std::wstring& extension = L"TIF") {
    return kFolder + L"\\输出页码" + trevolo::DecimalText(page) + L"." + extension;
}

DrawCall Export(std::wstring file, CallArg width, CallArg height, std::int32_t filter = 772,
                std::int32_t resolution = 300, std::int32_t imageType = 6) {
    return {"FileExport",
            {std::move(file), filter, width, height, resolution, resolution, imageType, 1, true, false}};
}

struct ExportRun {
    fake::FakeDrawSession session;
    fake::FakeFormControls form;
    fake::FakeFolderSystem folders;
    trevolo::ExportSettings settings;

    void Range(std::int16_t start, std::int16_t end) {
        settings.StartPage = start;
        settings.EndPage = end;
    }
    void FixedSize(std::int16_t width, std::int16_t height) {
        form.texts[ControlId::Combo3] = L"800x600(SVGA)";
        form.listIndexes[ControlId::Combo3] = 2;
        settings.ExportWidth = width;
        settings.ExportHeight = height;
    }
    void Run() { trevolo::RunBatchExport(session, form, settings, folders); }

    std::vector<std::int32_t> PagesSet() const {
        std::vector<std::int32_t> pages;
        for (const auto& c : session.CallsNamed("SetCurrentPage")) pages.push_back(std::get<std::int32_t>(c.args[0]));
        return pages;
    }
    std::vector<std::wstring> ExportedFiles() const {
        std::vector<std::wstring> files;
        for (const auto& c : session.CallsNamed("FileExport")) files.push_back(std::get<std::wstring>(c.args[0]));
        return files;
    }
    std::vector<std::pair<CallArg, CallArg>> ExportedSizes() const {
        std::vector<std::pair<CallArg, CallArg>> sizes;
        for (const auto& c : session.CallsNamed("FileExport")) sizes.emplace_back(c.args[2], c.args[3]);
        return sizes;
    }
};

const std::vector<std::string> kPreparation{"Open", "SetDocVisible", "SetVisible", "ZoomToPage", "SetCurrentPage"};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(RunBatchExport, DefaultSettingsExportPageOneIntoTheDefaultFolder) {
    ExportRun run;
    run.session.size = {100000, 50000};
    std::size_t folderCallsAtOpen = 0;
    run.session.onCall = [&](const DrawCall& c) {
        if (c.name == "Open") folderCallsAtOpen = run.folders.calls.size();
    };
    run.Run();

    const std::vector<fake::FolderCall> wantFolder{{"Exists", kFolder}, {"CreateFolder", kFolder}};
    EXPECT_EQ(run.folders.calls, wantFolder);
    EXPECT_EQ(folderCallsAtOpen, 2u) << "the folder comes before CorelDRAW";

    const std::vector<DrawCall> want{
        {"Open", {}},
        {"SetDocVisible", {true}},
        {"SetVisible", {true}},
        {"ZoomToPage", {}},
        {"SetCurrentPage", {1}},
        {"SetCurrentPage", {1}},
        {"SelectAllObjects", {}},
        {"GetSize", {}},
        Export(L"C:\\批量输出\\\\输出页码1.TIF", 100000 * 0.001181, 50000 * 0.001181),
        {"Close", {}},
    };
    EXPECT_EQ(run.session.Calls(), want);
    EXPECT_FALSE(run.session.IsOpen());
}

TEST(RunBatchExport, ActualSizeIsTheMeasuredSizeTimesTheFactorUnrounded) {
    struct Case {
        fake::FakeDrawSession::Size size;
        std::int16_t resolution;
        double wantWidth, wantHeight;
    } cases[] = {
        {{100000, 50000}, 300, 118.1, 59.05},
        {{100000, 50000}, 1200, 118.1, 59.05},
        {{100000, 50000}, 96, 118.1, 59.05},
    };
    for (const auto& c : cases) {
        ExportRun run;
        run.session.size = c.size;
        run.settings.Resolution = c.resolution;
        run.Run();
        const auto exports = run.session.CallsNamed("FileExport");
        ASSERT_EQ(exports.size(), 1u);
        const DrawCall want = Export(PageFile(1), c.size.x * 0.001181, c.size.y * 0.001181, 772, c.resolution);
        EXPECT_EQ(exports[0], want) << "resolution " << c.resolution;
        EXPECT_DOUBLE_EQ(std::get<double>(exports[0].args[2]), c.wantWidth);
        EXPECT_DOUBLE_EQ(std::get<double>(exports[0].args[3]), c.wantHeight);
    }
}

TEST(RunBatchExport, FixedSizeHandsTheStoredSettingsWidenedForEveryPage) {
    ExportRun run;
    run.FixedSize(800, 600);
    run.Range(1, 3);
    run.settings.ExportFilter = 1799;
    run.settings.ImageType = 1;
    run.settings.Resolution = -96;
    run.Run();

    const std::vector<DrawCall> want{
        Export(PageFile(1), 800, 600, 1799, -96, 1),
        Export(PageFile(2), 800, 600, 1799, -96, 1),
        Export(PageFile(3), 800, 600, 1799, -96, 1),
    };
    EXPECT_EQ(run.session.CallsNamed("FileExport"), want);
    EXPECT_EQ(run.session.Count("SelectAllObjects"), 0u);
    EXPECT_EQ(run.session.Count("GetSize"), 0u);
}

TEST(RunBatchExport, ARangeExportsEachPageOnceWithItsCallsInOrder) {
    struct Case {
        const char* label;
        bool fixed;
        std::vector<std::string> perPage;
    } cases[] = {
        {"actual size", false, {"SetCurrentPage", "SelectAllObjects", "GetSize", "FileExport"}},
        {"fixed size", true, {"SetCurrentPage", "FileExport"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ExportRun run;
        if (c.fixed) run.FixedSize(640, 480);
        run.Range(3, 5);
        run.Run();

        const auto want = Concat(Concat(Concat(Concat(kPreparation, c.perPage), c.perPage), c.perPage), {"Close"});
        EXPECT_EQ(run.session.CallNames(), want);
        EXPECT_EQ(run.PagesSet(), (std::vector<std::int32_t>{3, 3, 4, 5}));
        EXPECT_EQ(run.ExportedFiles(), (std::vector<std::wstring>{PageFile(3), PageFile(4), PageFile(5)}));
    }
}

TEST(RunBatchExport, TheRangeCoversTheWhole16BitSpanWithoutWrapping) {
    struct Case {
        std::int16_t start, end;
        std::vector<std::int32_t> wantPages;  // exported, in order
    } cases[] = {
        {32766, 32767, {32766, 32767}},
        {32767, 32767, {32767}},
        {-32768, -32767, {-32768, -32767}},
        {-32768, -32768, {-32768}},
        {5, 4, {}},
        {32767, -32768, {}},
        {0, 0, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " to " << c.end);
        ExportRun run;
        run.Range(c.start, c.end);
        // A counter that wrapped would run on forever; stop it instead.
        run.session.onCall = [&](const DrawCall&) {
            if (run.session.Count("FileExport") > c.wantPages.size())
                throw std::runtime_error("ran past the end page " + std::to_string(c.end));
        };
        run.Run();

        std::vector<std::wstring> wantFiles;
        for (auto page : c.wantPages) wantFiles.push_back(PageFile(page));
        EXPECT_EQ(run.ExportedFiles(), wantFiles);
        // The preparation's SetCurrentPage(StartPage), then one per exported page.
        std::vector<std::int32_t> wantSet{c.start};
        wantSet.insert(wantSet.end(), c.wantPages.begin(), c.wantPages.end());
        EXPECT_EQ(run.PagesSet(), wantSet);
        EXPECT_EQ(run.session.CallNames().back(), "Close");
    }
}

TEST(RunBatchExport, EndBeforeStartSendsOnlyThePreparation) {
    ExportRun run;
    run.Range(7, 6);
    run.Run();
    EXPECT_EQ(run.session.CallNames(), Concat(kPreparation, {"Close"}));
    EXPECT_EQ(run.PagesSet(), std::vector<std::int32_t>{7});
}

TEST(RunBatchExport, SixtyThousandAndOnePagesFromMinus30000To30000) {
    ExportRun run;
    run.Range(-30000, 30000);
    run.Run();

    EXPECT_EQ(run.session.Count("FileExport"), 60001u);
    EXPECT_EQ(run.session.Count("SelectAllObjects"), 60001u);
    EXPECT_EQ(run.session.Count("GetSize"), 60001u);
    EXPECT_EQ(run.session.Count("SetCurrentPage"), 60002u) << "one for the preparation, none for a single page";
    const auto files = run.ExportedFiles();
    EXPECT_EQ(files.front(), PageFile(-30000));
    EXPECT_EQ(files[30000], PageFile(0));
    EXPECT_EQ(files.back(), PageFile(30000));
}

TEST(RunBatchExport, AFailedGetSizeKeepsTheSizesOfThePageBefore) {
    using Sizes = std::vector<std::pair<CallArg, CallArg>>;
    auto sizes = [](std::vector<std::pair<std::int32_t, std::int32_t>> measured) {
        Sizes out;
        for (auto [x, y] : measured) out.emplace_back(x * 0.001181, y * 0.001181);
        return out;
    };
    struct Case {
        const char* label;
        std::int16_t start, end, failingPage;
        Sizes want;
    } cases[] = {
        {"single page", 1, 1, 1, sizes({{0, 0}})},
        {"first page of a range", 1, 3, 1, sizes({{0, 0}, {2000, 20}, {3000, 30}})},
        {"later page", 1, 3, 2, sizes({{1000, 10}, {1000, 10}, {3000, 30}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ExportRun run;
        run.Range(c.start, c.end);
        run.session.pageSizes = {{1, {1000, 10}}, {2, {2000, 20}}, {3, {3000, 30}}};
        run.session.FailOnPage("GetSize", c.failingPage);
        run.Run();
        EXPECT_EQ(run.ExportedSizes(), c.want);
    }
}

TEST(RunBatchExport, AFailingCallIsSkippedAndEveryOtherCallStillMade) {
    ExportRun reference;
    reference.Range(1, 2);
    reference.Run();
    const auto allCalls = reference.session.CallNames();

    for (const char* failing : {"SetDocVisible", "SetVisible", "ZoomToPage", "SetCurrentPage", "SelectAllObjects",
                                "GetSize", "FileExport"}) {
        SCOPED_TRACE(failing);
        ExportRun run;
        run.Range(1, 2);
        run.session.Fail(failing);
        run.Run();
        EXPECT_EQ(run.session.CallNames(), allCalls);
        for (const auto& call : run.session.Calls()) EXPECT_EQ(call.ok, call.name != failing) << call.name;
    }
}

TEST(RunBatchExport, WithoutAServerTheFolderIsStillMadeAndNothingIsExported) {
    ExportRun run;
    run.session.reachable = false;
    run.Range(1, 2);
    run.Run();

    EXPECT_EQ(run.folders.calls.size(), 2u);
    EXPECT_EQ(run.folders.existing.count(kFolder), 1u);
    for (const auto& call : run.session.Calls())
        EXPECT_EQ(call.ok, call.name == "Close") << testing::PrintToString(call);
    EXPECT_EQ(run.session.Calls().back().name, "Close");
}

TEST(RunBatchExport, ModeIsActualSizeForTheExactFirstEntryTextOrIndexZero) {
    struct Case {
        std::wstring text;
        int index;
        bool actualSize;
    } cases[] = {
        {L"1：1 原样", -1, true},
        {L"1：1 原样", 3, true},
        {L"640x480(VGA)", 0, true},
        {L"", 0, true},
        {L"640x480(VGA)", 1, false},
        {L"1:1 原样", -1, false},    // ASCII colon
        {L"1：1  原样", -1, false},  // two spaces
        {L"1：1 原样 ", -1, false},
        {L"", -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text) << " index " << c.index);
        ExportRun run;
        run.form.texts[ControlId::Combo3] = c.text;
        run.form.listIndexes[ControlId::Combo3] = c.index;
        run.session.size = {1000, 1000};
        run.Run();

        EXPECT_EQ(run.session.Count("GetSize"), c.actualSize ? 1u : 0u);
        const CallArg want = c.actualSize ? CallArg{1000 * 0.001181} : CallArg{std::int32_t{500}};
        EXPECT_EQ(run.ExportedSizes(), (std::vector<std::pair<CallArg, CallArg>>{{want, want}}));
    }
}

TEST(RunBatchExport, ExtensionIsTheFirstThreeCharactersOfCombo1) {
    const std::wstring withPair{wchar_t(0xD83D), wchar_t(0xDE00), L'A', L'B', L' '};  // U+1F600 as UTF-16
    struct Case {
        std::wstring combo1, extension;
    } cases[] = {
        {L"TIF 类型文件", L"TIF"},
        {L"GEM 类型文件", L"GEM"},
        {L"中文字符", L"中文字"},
        {L"GI", L"GI"},
        {L"", L""},
        {withPair, withPair.substr(0, 4)},
        {L"😀😀😀😀", L"😀😀😀"},
    };
    for (const auto& c : cases) {
        ExportRun run;
        run.form.texts[ControlId::Combo1] = c.combo1;
        run.Run();
        EXPECT_EQ(run.ExportedFiles(), std::vector<std::wstring>{PageFile(1, c.extension)})
            << testing::PrintToString(c.combo1);
    }
}

TEST(RunBatchExport, EachPageTakesItsNameFromTheTextsAsTheyAreThen) {
    // The user's edits arrive while a call waits for CorelDRAW.
    ExportRun run;
    run.Range(1, 3);
    run.session.onCall = [&](const DrawCall& c) {
        if (c.name != "FileExport") return;
        run.form.texts[ControlId::Text2] = L"第" + trevolo::DecimalText(run.session.Count("FileExport"));
        run.form.texts[ControlId::Combo1] = L"JPG 类型文件";
    };
    run.Run();
    const std::vector<std::wstring> want{PageFile(1), L"C:\\第1\\输出页码2.JPG", L"C:\\第2\\输出页码3.JPG"};
    EXPECT_EQ(run.ExportedFiles(), want);
}

TEST(RunBatchExport, ASinglePageUsesTheNameFormedBeforeItsSteps) {
    ExportRun run;
    run.session.onCall = [&](const DrawCall& c) {
        if (c.name == "SelectAllObjects") run.form.texts[ControlId::Combo1] = L"BMP 类型文件";
    };
    run.Run();
    EXPECT_EQ(run.ExportedFiles(), std::vector<std::wstring>{PageFile(1)});
}

}  // namespace
