// The batch export against the out-of-process stand-in server: cost per page
// divided by the cost of the bare calls a page needs (SetCurrentPage,
// SelectAllObjects, GetSize and FileExport in actual-size mode; SetCurrentPage
// and FileExport in fixed-size mode), made by a raw Invoke loop in the same
// run. A run also makes calls of its own (CorelScript and the preparation
// calls), so the cost per page is the difference between a run of 2N pages
// and one of N pages, divided by N. Target: at most 1.05.
#include <cstdio>

#include "BenchForm.h"
#include "BenchTimer.h"
#include "DrawApplication.h"
#include "StandinControl.h"

namespace {

constexpr int kPages = 16;  // N

// Arguments built once, as an ideal caller with nothing else to do would.
struct BareCalls {
    Microsoft::WRL::ComPtr<IDispatch> script;
    DISPID setPage = 0, selectAll = 0, getSize = 0, fileExport = 0;

    bool Resolve() {
        const wchar_t* names[] = {L"SetCurrentPage", L"SelectAllObjects", L"GetSize", L"FileExport"};
        DISPID* ids[] = {&setPage, &selectAll, &getSize, &fileExport};
        for (int i = 0; i < 4; ++i) {
            LPOLESTR name = const_cast<LPOLESTR>(names[i]);
            if (FAILED(script->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, ids[i]))) return false;
        }
        return true;
    }
    void Invoke(DISPID id, VARIANT* args, UINT count) {
        DISPPARAMS params{args, nullptr, count, 0};
        script->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    void Pages(bool actualSize) {
        for (LONG page = 1; page <= kPages; ++page) {
            VARIANT p;
            p.vt = VT_I4;
            p.lVal = page;
            Invoke(setPage, &p, 1);
            LONG x = 0, y = 0;
            if (actualSize) {
                Invoke(selectAll, nullptr, 0);
                VARIANT size[2];
                size[0].vt = size[1].vt = VT_BYREF | VT_I4;
                size[0].plVal = &y;  // reversed: YSize first
                size[1].plVal = &x;
                Invoke(getSize, size, 2);
            }
            wchar_t name[64];
            swprintf(name, 64, L"C:\\bench\\\\输出页码%ld.GIF", page);  // the names the export gives
            VARIANT a[10];
            a[9].vt = VT_BSTR;
            a[9].bstrVal = SysAllocString(name);
            a[8].vt = VT_I4, a[8].lVal = 773;
            if (actualSize) {
                a[7].vt = VT_R8, a[7].dblVal = x * 0.001181;
                a[6].vt = VT_R8, a[6].dblVal = y * 0.001181;
            } else {
                a[7].vt = VT_I4, a[7].lVal = 640;
                a[6].vt = VT_I4, a[6].lVal = 480;
            }
            a[5].vt = a[4].vt = a[3].vt = a[2].vt = VT_I4;
            a[5].lVal = a[4].lVal = 300;
            a[3].lVal = 6;
            a[2].lVal = 1;
            a[1].vt = a[0].vt = VT_BOOL;
            a[1].boolVal = VARIANT_TRUE;
            a[0].boolVal = VARIANT_FALSE;
            Invoke(fileExport, a, 10);
            SysFreeString(a[9].bstrVal);
        }
    }
};

}  // namespace

int main() {
    standin::DrawingFile drawing;
    drawing.pages.resize(2 * kPages);
    for (auto& page : drawing.pages) page.objects.push_back({0, 0, 100000, 50000, {0, 0, 255}});
    standin::PrepareServer(drawing);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int rc = 1;
    {
        trevolo::DrawApplication app;
        trevolo::DispatchDrawSession session(app);
        BareCalls bare;
        if (FAILED(app.NewScript(bare.script)) || !bare.Resolve()) {
            std::fprintf(stderr, "stand-in server not reachable (register it with /regserver)\n");
        } else {
            CreateDirectoryW(L"C:\\bench", nullptr);
            bench::ExistingFolder folder;
            bench::BenchForm form;
            form.texts[trevolo::ControlId::Text2] = L"bench\\";
            trevolo::ExportSettings settings;
            settings.ExportFilter = 773;
            settings.StartPage = 1;
            trevolo::ExportSettings twice = settings;
            settings.EndPage = kPages;
            twice.EndPage = 2 * kPages;

            for (bool actualSize : {true, false}) {
                form.texts[trevolo::ControlId::Combo3] = actualSize ? L"1：1 原样" : L"640x480(VGA)";
                form.combo3Index = actualSize ? 0 : 1;
                settings.ExportWidth = twice.ExportWidth = 640;
                settings.ExportHeight = twice.ExportHeight = 480;
                auto t = bench::MedianPerCall(
                    {[&] { trevolo::RunBatchExport(session, form, settings, folder); },
                     [&] { trevolo::RunBatchExport(session, form, twice, folder); },
                     [&] { bare.Pages(actualSize); }},
                    25, 1);
                const double perPage = (t[1] - t[0]) / kPages, barePerPage = t[2] / kPages;
                std::printf("%s mode: export %.2f ms/page, bare calls %.2f ms/page, ratio %.3f (target <= 1.05)\n",
                            actualSize ? "actual-size" : "fixed-size", perPage * 1e3, barePerPage * 1e3,
                            perPage / barePerPage);
            }
            rc = 0;
        }
    }
    CoUninitialize();
    return rc;
}
