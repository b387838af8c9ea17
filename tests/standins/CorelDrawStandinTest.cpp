// The stand-in CorelDRAW server as Trevolo meets it: a separate process found
// by its class, called by name through IDispatch, and its journal read back.
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "StandinControl.h"
#include "coreldraw.h"
#include "win/UniqueHandle.h"

using Microsoft::WRL::ComPtr;
using namespace standin;

namespace {

VARIANT Long(LONG n) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}
VARIANT Real(double d) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_R8;
    V_R8(&v) = d;
    return v;
}
VARIANT Bool(bool b) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
VARIANT Text(const wchar_t* s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(s);
    return v;
}
VARIANT LongRef(LONG* p) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BYREF | VT_I4;
    V_I4REF(&v) = p;
    return v;
}

std::wstring Hex(HRESULT hr) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"0x%08X", unsigned(hr));
    return buf;
}

// One journal line in a form a table can hold: call, HRESULT, [result], arguments.
std::wstring Show(const JournalEntry& e) {
    std::wstring s = e.call + L" " + Hex(e.hr) + L" [" + e.result + L"]";
    for (const JournalArg& a : e.args) s += L" " + VarTypeText(a.vt) + L":" + a.value;
    return s;
}

std::vector<std::wstring> ShowJournal() {
    std::vector<std::wstring> lines;
    for (const JournalEntry& e : ReadJournal()) lines.push_back(Show(e));
    return lines;
}

// The journal's own encoding, in this process: variants that hold or point
// at others, and texts holding the journal's separators.
TEST(Journal, DescribesOddArgumentsAndEscapesSeparatorsInTexts) {
    VARIANT five = Long(5);
    VARIANT nested;
    VariantInit(&nested);
    V_VT(&nested) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&nested) = &five;
    VARIANT byValue;  // not a valid variant: its pointer must not be read
    VariantInit(&byValue);
    V_VT(&byValue) = VT_VARIANT;
    V_BYREF(&byValue) = reinterpret_cast<void*>(1);
    const VARIANT nullRef = LongRef(nullptr);
    struct Row {
        const char* label;
        const VARIANT* argument;
        const wchar_t* value;
    } rows[] = {
        {"variant by reference", &nested, L"VT_I4:5"},
        {"variant by value", &byValue, L"?"},
        {"null reference", &nullRef, L"null"},
    };
    for (const Row& row : rows) EXPECT_EQ(DescribeArgument(*row.argument).value, row.value) << row.label;

    JournalEntry entry;
    entry.processId = 42;
    entry.call = L"FileExport";
    entry.hr = DISP_E_EXCEPTION;
    entry.result = L"a\tb\\c\r\nd";
    entry.args = {{VT_BSTR, L"C:\\输出\t页\n"}, {VT_BYREF | VT_VARIANT, L"VT_I4:5"}};
    const std::string line = FormatJournalLine(entry);
    EXPECT_EQ(line, "42\tFileExport\t0x80020009\ta\\tb\\\\c\\r\\nd\tVT_BSTR:C:\\\\输出\\t页\\n\t"
                    "VT_BYREF|VT_VARIANT:VT_I4:5");
    auto back = ParseJournalLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->processId, 42u);
    EXPECT_EQ(Show(*back), Show(entry));
}

struct Answer {
    HRESULT hr = E_FAIL;
    VARIANT result;
    EXCEPINFO exception{};
    UINT argError = UINT(-1);
    Answer() { VariantInit(&result); }
    ~Answer() {
        VariantClear(&result);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    Answer(const Answer&) = delete;
    Answer& operator=(const Answer&) = delete;
};

// Three pages: one inch square on page 1, two rectangles spanning 1000000 x
// 500000 on page 2, nothing on page 3.
DrawingFile ThreePages() {
    DrawingFile file;
    file.pages.resize(3);
    file.pages[0].objects = {{0, 0, 254000, 254000, {255, 0, 0}}};
    file.pages[1].objects = {{100000, 200000, 400000, 100000, {0, 0, 255}},
                             {700000, 300000, 400000, 400000, {0, 128, 0}}};
    return file;
}

bool IsRpcFailure(HRESULT hr) {
    for (HRESULT rpc : {RPC_E_DISCONNECTED, RPC_E_SERVER_DIED, RPC_E_SERVER_DIED_DNE, CO_E_OBJNOTCONNECTED,
                        HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), HRESULT_FROM_WIN32(RPC_S_CALL_FAILED),
                        HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE)})
        if (hr == rpc) return true;
    return false;
}

bool FileExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

std::string FileBytes(const wchar_t* path) {
    std::string bytes;
    win::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char buf[4096];
    DWORD read = 0;
    while (file && ReadFile(file.get(), buf, sizeof buf, &read, nullptr) && read > 0) bytes.append(buf, read);
    return bytes;
}

class Standin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override {
        script_.Reset();
        app_.Reset();
        // The next test must not meet this one's server.
        EXPECT_TRUE(WaitForServerExit());
        CoUninitialize();
    }

    // A fresh server process over `file`, and a script object of it. Callers
    // assert that it did not fail: without a script object every call crashes.
    void Start(const DrawingFile& file) {
        ASSERT_TRUE(PrepareServer(file));
        ASSERT_HRESULT_SUCCEEDED(
            CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app_)));
        ASSERT_HRESULT_SUCCEEDED(app_->CorelScript(&script_));
        ASSERT_TRUE(script_);
    }

    // Calls `name` with `args` in call order (they are freed afterwards).
    void Call(Answer& answer, const wchar_t* name, const std::vector<VARIANT>& args = {}, bool named = false) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID id = DISPID_UNKNOWN, namedId = 0;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        answer.hr = script_->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
        if (SUCCEEDED(answer.hr)) {
            DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), named ? &namedId : nullptr,
                              UINT(reversed.size()), named ? 1u : 0u};
            answer.hr = script_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                        &params, &answer.result, &answer.exception, &answer.argError);
        }
        for (VARIANT& v : reversed) VariantClear(&v);
    }
    HRESULT Call(const wchar_t* name, const std::vector<VARIANT>& args = {}) {
        Answer answer;
        Call(answer, name, args);
        return answer.hr;
    }

    ComPtr<IDrawApplication> app_;
    ComPtr<IDispatch> script_;
};

TEST_F(Standin, AnswersEveryCallByNameAndJournalsItAsSent) {
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages()));
    LONG x = 0, y = 0;
    struct Row {
        const wchar_t* name;
        std::vector<VARIANT> args;
        VARTYPE resultType;
        LONG resultValue;
    } rows[] = {
        {L"IsDocument", {}, VT_BOOL, VARIANT_TRUE},
        {L"SetDocVisible", {Bool(true)}, VT_EMPTY, 0},
        {L"SetVisible", {Bool(false)}, VT_EMPTY, 0},
        {L"ZoomToPage", {}, VT_EMPTY, 0},
        {L"getpagecount", {}, VT_I4, 3},
        {L"SetCurrentPage", {Long(2)}, VT_EMPTY, 0},
        {L"SELECTALLOBJECTS", {}, VT_EMPTY, 0},
        {L"GetSize", {LongRef(&x), LongRef(&y)}, VT_EMPTY, 0},
        {L"FileExport",
         {Text(L"C:\\批量输出\\\\输出页码2.TIF"), Long(772), Real(118.1), Real(59.05), Long(300), Long(300), Long(6),
          Long(1), Bool(true), Bool(false)},
         VT_EMPTY, 0},
        {L"FileNew", {}, VT_EMPTY, 0},
        {L"GetPageCount", {}, VT_I4, 1},
    };
    CreateDirectoryW(L"C:\\批量输出", nullptr);
    DeleteFileW(L"C:\\批量输出\\输出页码2.TIF");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Answer answer;
        Call(answer, row.name, row.args);
        EXPECT_EQ(answer.hr, S_OK) << Hex(answer.hr);
        EXPECT_EQ(V_VT(&answer.result), row.resultType);
        if (row.resultType == VT_BOOL) {
            EXPECT_EQ(V_BOOL(&answer.result), row.resultValue);
        } else if (row.resultType == VT_I4) {
            EXPECT_EQ(V_I4(&answer.result), row.resultValue);
        }
    }
    EXPECT_EQ(x, 1000000);
    EXPECT_EQ(y, 500000);
    EXPECT_EQ(FileBytes(L"C:\\批量输出\\输出页码2.TIF").substr(0, 4), std::string("II*\0", 4));

    const std::vector<std::wstring> expected = {
        L"CorelScript 0x00000000 []",
        L"IsDocument 0x00000000 [-1]",
        L"SetDocVisible 0x00000000 [] VT_BOOL:-1",
        L"SetVisible 0x00000000 [] VT_BOOL:0",
        L"ZoomToPage 0x00000000 []",
        L"GetPageCount 0x00000000 [3]",
        L"SetCurrentPage 0x00000000 [2] VT_I4:2",
        L"SelectAllObjects 0x00000000 [2]",
        L"GetSize 0x00000000 [1000000 500000] VT_BYREF|VT_I4:0 VT_BYREF|VT_I4:0",
        L"FileExport 0x00000000 [118x59] VT_BSTR:C:\\批量输出\\\\输出页码2.TIF VT_I4:772 VT_R8:118.1 VT_R8:59.05 "
        L"VT_I4:300 VT_I4:300 VT_I4:6 VT_I4:1 VT_BOOL:-1 VT_BOOL:0",
        L"FileNew 0x00000000 []",
        L"GetPageCount 0x00000000 [1]",
    };
    EXPECT_EQ(ShowJournal(), expected);
    // Answered by another process, the same one throughout.
    auto journal = ReadJournal();
    ASSERT_FALSE(journal.empty());
    EXPECT_NE(journal[0].processId, GetCurrentProcessId());
    for (const JournalEntry& e : journal) EXPECT_EQ(e.processId, journal[0].processId) << e.call;
}

TEST_F(Standin, WholeNumberParametersRoundHalvesToTheEvenNeighbour) {
    DrawingFile file = ThreePages();
    file.pages.resize(4);
    ASSERT_NO_FATAL_FAILURE(Start(file));
    EXPECT_EQ(Call(L"SetCurrentPage", {Real(2.5)}), S_OK);
    EXPECT_EQ(Call(L"SetCurrentPage", {Real(3.5)}), S_OK);
    EXPECT_EQ(Call(L"SetCurrentPage", {Text(L"1")}), S_OK);
    CreateDirectoryW(kStandinFolder, nullptr);
    const wchar_t path[] = L"C:\\standin\\rounded.bmp";
    DeleteFileW(path);
    EXPECT_EQ(Call(L"FileExport", {Text(path), Long(769), Real(2.5), Real(3.5), Long(96), Long(96), Long(5), Long(1),
                                   Bool(true), Bool(false)}),
              S_OK);
    const std::vector<std::wstring> expected = {
        L"CorelScript 0x00000000 []",
        L"SetCurrentPage 0x00000000 [2] VT_R8:2.5",
        L"SetCurrentPage 0x00000000 [4] VT_R8:3.5",
        L"SetCurrentPage 0x00000000 [1] VT_BSTR:1",
        L"FileExport 0x00000000 [2x4] VT_BSTR:C:\\standin\\rounded.bmp VT_I4:769 VT_R8:2.5 VT_R8:3.5 VT_I4:96 "
        L"VT_I4:96 VT_I4:5 VT_I4:1 VT_BOOL:-1 VT_BOOL:0",
    };
    EXPECT_EQ(ShowJournal(), expected);
    // The bitmap's own header: 2 pixels wide, 4 high.
    std::string bmp = FileBytes(path);
    ASSERT_GE(bmp.size(), 26u);
    EXPECT_EQ(*reinterpret_cast<const LONG*>(bmp.data() + 18), 2);
    EXPECT_EQ(*reinterpret_cast<const LONG*>(bmp.data() + 22), 4);
}

TEST_F(Standin, GetSizeFillsTwoIntegersByReferenceOrLeavesThemAlone) {
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages()));
    LONG x = 7, y = 9;
    EXPECT_EQ(Call(L"GetSize", {LongRef(&x), LongRef(&y)}), DISP_E_EXCEPTION);  // nothing selected yet
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);
    EXPECT_EQ(Call(L"SelectAllObjects"), S_OK);
    EXPECT_EQ(Call(L"GetSize", {LongRef(&x), LongRef(&y)}), S_OK);
    EXPECT_EQ(x, 254000);
    EXPECT_EQ(y, 254000);
    // After a page change the selection is gone again.
    EXPECT_EQ(Call(L"SetCurrentPage", {Long(3)}), S_OK);
    EXPECT_EQ(Call(L"SelectAllObjects"), S_OK);  // page 3 is empty
    EXPECT_EQ(Call(L"GetSize", {LongRef(&x), LongRef(&y)}), DISP_E_EXCEPTION);
    EXPECT_EQ(x, 254000);
}

TEST_F(Standin, RefusesCallsItCannotTake) {
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages()));
    LONG x = 0;
    auto exportTif = [](LONG width, LONG imageType) {
        return std::vector<VARIANT>{Text(L"C:\\x.tif"), Long(772), Long(width), Long(10), Long(300), Long(300),
                                    Long(imageType), Long(1), Bool(true), Bool(false)};
    };
    struct Row {
        const wchar_t* label;
        const wchar_t* name;
        std::vector<VARIANT> args;
        bool named;
        HRESULT hr;
        UINT argError;  // of conversion failures: index into DISPPARAMS, last argument first
    } rows[] = {
        {L"unknown name", L"FileSave", {}, false, DISP_E_UNKNOWNNAME, 0},
        {L"too few", L"SetCurrentPage", {}, false, DISP_E_BADPARAMCOUNT, 0},
        {L"too many", L"ZoomToPage", {Long(1)}, false, DISP_E_BADPARAMCOUNT, 0},
        {L"not a number", L"SetCurrentPage", {Text(L"abc")}, false, DISP_E_TYPEMISMATCH, 0},
        {L"too big", L"SetCurrentPage", {Real(3e9)}, false, DISP_E_OVERFLOW, 0},
        {L"third of ten", L"FileExport",
         {Text(L"C:\\x.tif"), Long(772), Text(L"wide"), Long(1), Long(1), Long(1), Long(1), Long(1), Bool(true),
          Bool(false)},
         false, DISP_E_TYPEMISMATCH, 7},
        {L"out parameter by value", L"GetSize", {Long(0), LongRef(&x)}, false, DISP_E_TYPEMISMATCH, 1},
        {L"named argument", L"SetCurrentPage", {Long(1)}, true, DISP_E_NONAMEDARGS, 0},
        {L"page the drawing lacks", L"SetCurrentPage", {Long(4)}, false, DISP_E_EXCEPTION, 0},
        {L"no such image type", L"FileExport", exportTif(10, 7), false, DISP_E_EXCEPTION, 0},
        {L"absurd size", L"FileExport", exportTif(100000, 5), false, DISP_E_EXCEPTION, 0},
        {L"zero size", L"FileExport", exportTif(0, 5), false, DISP_E_EXCEPTION, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Answer answer;
        Call(answer, row.name, row.args, row.named);
        EXPECT_EQ(answer.hr, row.hr) << Hex(answer.hr);
        if (row.hr == DISP_E_TYPEMISMATCH || row.hr == DISP_E_OVERFLOW) {
            EXPECT_EQ(answer.argError, row.argError);
        } else if (row.hr == DISP_E_EXCEPTION) {
            EXPECT_EQ(answer.exception.scode, E_FAIL) << Hex(answer.exception.scode);
            EXPECT_TRUE(answer.exception.bstrDescription && *answer.exception.bstrDescription);
        }
    }
    EXPECT_FALSE(FileExists(L"C:\\x.tif"));
    // The server is still there and the current page unchanged.
    Answer answer;
    Call(answer, L"SelectAllObjects");
    EXPECT_EQ(answer.hr, S_OK);
    auto journal = ReadJournal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().result, L"1");
}

TEST_F(Standin, FaultsComeFromTheDrawingFile) {
    struct Step {
        const wchar_t* name;
        std::vector<VARIANT> args;
        HRESULT hr;
        LONG result;  // of GetPageCount and IsDocument
    };
    struct Row {
        const char* label;
        DrawingFile file;
        std::vector<Step> steps;
    };
    DrawingFile failing = ThreePages();
    failing.failures = {{"selectallobjects", std::nullopt, std::nullopt}, {"FileExport", 2, 0x80070005u}};
    DrawingFile bigCount = ThreePages();
    bigCount.reportedPageCount = 70000;
    DrawingFile empty;
    empty.documentOpen = false;
    CreateDirectoryW(kStandinFolder, nullptr);
    // Each step needs its own copy: a call frees its arguments.
    auto exportPcx = [] {
        return std::vector<VARIANT>{Text(L"C:\\standin\\fault.pcx"), Long(770), Long(8), Long(8), Long(300),
                                    Long(300), Long(5), Long(1), Bool(true), Bool(false)};
    };
    Row rows[] = {
        {"named failures, always and on a page",
         failing,
         {{L"SelectAllObjects", {}, DISP_E_EXCEPTION, 0},
          {L"FileExport", exportPcx(), S_OK, 0},
          {L"SetCurrentPage", {Long(2)}, S_OK, 0},
          {L"FileExport", exportPcx(), E_ACCESSDENIED, 0},
          {L"SetCurrentPage", {Long(3)}, S_OK, 0},
          {L"FileExport", exportPcx(), S_OK, 0}}},
        {"page count outside 16 bits", bigCount, {{L"GetPageCount", {}, S_OK, 70000}}},
        {"no drawing open",
         empty,
         {{L"IsDocument", {}, S_OK, VARIANT_FALSE},
          {L"GetPageCount", {}, DISP_E_EXCEPTION, 0},
          {L"SelectAllObjects", {}, DISP_E_EXCEPTION, 0},
          {L"SetVisible", {Bool(true)}, S_OK, 0},
          {L"FileNew", {}, S_OK, 0},
          {L"IsDocument", {}, S_OK, VARIANT_TRUE},
          {L"GetPageCount", {}, S_OK, 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_NO_FATAL_FAILURE(Start(row.file));
        for (const Step& step : row.steps) {
            SCOPED_TRACE(step.name);
            Answer answer;
            Call(answer, step.name, step.args);
            EXPECT_EQ(answer.hr, step.hr) << Hex(answer.hr);
            if (V_VT(&answer.result) == VT_I4) {
                EXPECT_EQ(V_I4(&answer.result), step.result);
            } else if (V_VT(&answer.result) == VT_BOOL) {
                EXPECT_EQ(V_BOOL(&answer.result), step.result);
            }
        }
        script_.Reset();
        app_.Reset();
        EXPECT_TRUE(WaitForServerExit());
    }
}

TEST_F(Standin, AfterItsLastCallTheServerIsGoneForGood) {
    DrawingFile file = ThreePages();
    file.exitAfterCalls = 2;  // CorelScript and IsDocument
    ASSERT_NO_FATAL_FAILURE(Start(file));
    EXPECT_EQ(Call(L"IsDocument"), S_OK);
    HRESULT dying = Call(L"GetPageCount");
    EXPECT_TRUE(IsRpcFailure(dying)) << Hex(dying);
    EXPECT_TRUE(WaitForServerExit());
    for (const wchar_t* name : {L"GetPageCount", L"ZoomToPage"}) {
        HRESULT hr = Call(name);
        EXPECT_TRUE(IsRpcFailure(hr)) << Hex(hr);
    }
    ComPtr<IDispatch> another;
    HRESULT hr = app_->CorelScript(&another);
    EXPECT_TRUE(IsRpcFailure(hr)) << Hex(hr);
    const std::vector<std::wstring> expected = {
        L"CorelScript 0x00000000 []",
        L"IsDocument 0x00000000 [-1]",
        L"GetPageCount 0x800706BE [the server exits]",
    };
    EXPECT_EQ(ShowJournal(), expected);
}

TEST_F(Standin, FileExportReplacesAFileOnlyWhenOverwriteIsTrue) {
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages()));
    CreateDirectoryW(kStandinFolder, nullptr);
    const wchar_t path[] = L"C:\\standin\\kept.tga";
    {
        win::UniqueFile file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "keep", 4, &written, nullptr));
    }
    Answer refused;
    Call(refused, L"FileExport",
         {Text(path), Long(771), Long(4), Long(4), Long(300), Long(300), Long(5), Long(1), Bool(false), Bool(false)});
    EXPECT_EQ(refused.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(refused.exception.scode, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)) << Hex(refused.exception.scode);
    EXPECT_EQ(FileBytes(path), "keep");
    EXPECT_EQ(Call(L"FileExport", {Text(path), Long(771), Long(4), Long(4), Long(300), Long(300), Long(5), Long(1),
                                   Bool(true), Bool(false)}),
              S_OK);
    EXPECT_EQ(FileBytes(path).size(), 18u + 4 * 4 * 3);  // Targa header and 16 RGB pixels
}

struct FoundWindow {
    DWORD processId;
    std::wstring title;
    bool visible;
};

BOOL CALLBACK CollectCorelWindow(HWND hwnd, LPARAM found) {
    wchar_t title[256] = L"";
    GetWindowTextW(hwnd, title, 256);
    if (std::wstring(title).rfind(L"CorelDRAW", 0) != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    reinterpret_cast<std::vector<FoundWindow>*>(found)->push_back({pid, title, IsWindowVisible(hwnd) != FALSE});
    return TRUE;
}

std::vector<FoundWindow> CorelWindows() {
    std::vector<FoundWindow> found;
    EnumWindows(CollectCorelWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(Standin, SetVisibleShowsAWindowTitledCorelDRAW) {
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages()));
    EXPECT_TRUE(CorelWindows().empty());
    EXPECT_EQ(Call(L"SetDocVisible", {Bool(true)}), S_OK);
    EXPECT_EQ(Call(L"SetVisible", {Bool(true)}), S_OK);
    auto windows = CorelWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, L"CorelDRAW 9 - 图形1");
    EXPECT_TRUE(windows[0].visible);
    EXPECT_EQ(windows[0].processId, ReadJournal().at(0).processId);
    EXPECT_TRUE(FindWindowW(nullptr, L"CorelDRAW 9 - 图形1"));
    EXPECT_EQ(Call(L"FileNew"), S_OK);
    EXPECT_TRUE(FindWindowW(nullptr, L"CorelDRAW 9 - 图形2"));
    EXPECT_EQ(Call(L"SetVisible", {Bool(false)}), S_OK);
    windows = CorelWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_FALSE(windows[0].visible);
    // Closed by its user, the window only hides, and the script can show it again.
    EXPECT_EQ(Call(L"SetVisible", {Bool(true)}), S_OK);
    HWND window = FindWindowW(nullptr, L"CorelDRAW 9 - 图形2");
    ASSERT_TRUE(window);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Call(L"SetVisible", {Bool(true)}), S_OK);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Standin, EachClientGetsAFreshServerThatEndsWithItsLastRelease) {
    ASSERT_NO_FATAL_FAILURE(Start(ThreePages()));
    EXPECT_EQ(Call(L"SetCurrentPage", {Long(3)}), S_OK);
    ComPtr<IDrawApplication> second;
    ComPtr<IDispatch> secondScript;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&second)));
    ASSERT_HRESULT_SUCCEEDED(second->CorelScript(&secondScript));
    auto journal = ReadJournal();
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[2].call, L"CorelScript");
    EXPECT_NE(journal[2].processId, journal[0].processId);
    secondScript.Reset();
    second.Reset();
    // Another script object, asked for late-bound this time, sees the same
    // drawing: page 3, which is empty, is still current.
    LPOLESTR name = const_cast<LPOLESTR>(L"CorelScript");
    DISPID id = DISPID_UNKNOWN;
    ASSERT_HRESULT_SUCCEEDED(app_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS none{};
    Answer answer;
    ASSERT_HRESULT_SUCCEEDED(app_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                          &none, &answer.result, nullptr, nullptr));
    ASSERT_EQ(V_VT(&answer.result), VT_DISPATCH);
    script_ = V_DISPATCH(&answer.result);
    EXPECT_EQ(Call(L"SelectAllObjects"), S_OK);
    EXPECT_EQ(ReadJournal().back().result, L"0");
}

TEST_F(Standin, TheServerEndsWhenItsClientDies) {
    ASSERT_TRUE(PrepareServer(ThreePages()));
    EXPECT_EXIT(
        {
            ComPtr<IDrawApplication> app;
            ComPtr<IDispatch> script;
            bool connected =
                SUCCEEDED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app))) &&
                SUCCEEDED(app->CorelScript(&script));
            ExitProcess(connected ? 7 : 1);  // without releasing anything
        },
        ::testing::ExitedWithCode(7), "");
    ASSERT_EQ(ReadJournal().size(), 1u);
    EXPECT_TRUE(WaitForServerExit());
}

TEST_F(Standin, AMalformedDrawingFileIsJournaledAndLeavesNoDrawingOpen) {
    ASSERT_TRUE(PrepareServer({}));
    {
        win::UniqueFile file(CreateFileW(kDrawingPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "page\nrect 1 2 3\n", 16, &written, nullptr));
    }
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app_)));
    ASSERT_HRESULT_SUCCEEDED(app_->CorelScript(&script_));
    Answer answer;
    Call(answer, L"IsDocument");
    EXPECT_EQ(V_BOOL(&answer.result), VARIANT_FALSE);
    const std::vector<std::wstring> expected = {
        L"LoadDrawing 0x80070057 [line 2: unknown directive or wrong number of words]",
        L"CorelScript 0x00000000 []",
        L"IsDocument 0x00000000 [0]",
    };
    EXPECT_EQ(ShowJournal(), expected);
}

bool ClassKeyExists(const wchar_t* path) {
    win::UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::wstring ClassKeyDefault(const wchar_t* path) {
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CLASSES_ROOT, path, nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// The server as the harness left it in C:\bin, with `arguments`; its exit code.
DWORD RunServer(const wchar_t* arguments) {
    std::wstring command = std::wstring(L"C:\\bin\\CorelDrawStandin.exe ") + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return DWORD(-1);
    win::UniqueKernelHandle thread(process.hThread), handle(process.hProcess);
    WaitForSingleObject(handle.get(), INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(handle.get(), &code);
    return code;
}

TEST_F(Standin, UnregisteringRemovesExactlyWhatRegisteringWrites) {
    const wchar_t* const ours[] = {
        L"CLSID\\{F51A0100-8D23-11D2-89E7-0000861EBBD6}",
        L"CorelDRAW.Application.9",
        L"TypeLib\\{F51A0001-8D23-11D2-89E7-0000861EBBD6}",
        L"Interface\\{F51A0000-8D23-11D2-89E7-0000861EBBD6}",
    };
    for (const wchar_t* key : ours) EXPECT_TRUE(ClassKeyExists(key)) << key;  // the fixture registered them
    EXPECT_EQ(RunServer(L"/unregserver"), 0u);
    for (const wchar_t* key : ours) EXPECT_FALSE(ClassKeyExists(key)) << key;
    EXPECT_TRUE(ClassKeyExists(L"CLSID"));
    EXPECT_TRUE(ClassKeyExists(L"Interface\\{00020400-0000-0000-C000-000000000046}"));  // IDispatch

    EXPECT_EQ(RunServer(L"-RegServer"), 0u);
    for (const wchar_t* key : ours) EXPECT_TRUE(ClassKeyExists(key)) << key;
    EXPECT_EQ(ClassKeyDefault(L"CLSID\\{F51A0100-8D23-11D2-89E7-0000861EBBD6}\\LocalServer32"),
              L"C:\\bin\\CorelDrawStandin.exe");
    EXPECT_EQ(ClassKeyDefault(L"CorelDRAW.Application.9\\CLSID"), L"{F51A0100-8D23-11D2-89E7-0000861EBBD6}");
    ComPtr<ITypeLib> library;
    EXPECT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_CorelDRAW, 9, 0, LOCALE_NEUTRAL, &library));
}

}  // namespace
