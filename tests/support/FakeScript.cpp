#include "FakeScript.h"

#include <atomic>

#include "com/ComObject.h"

namespace fake {
namespace {

std::atomic<long> g_live{0};

struct Operation {
    const wchar_t* name;
    std::vector<VARTYPE> params;  // declared types
};

const Operation kOperations[] = {
    {L"IsDocument", {}},
    {L"FileNew", {}},
    {L"SetDocVisible", {VT_BOOL}},
    {L"SetVisible", {VT_BOOL}},
    {L"ZoomToPage", {}},
    {L"GetPageCount", {}},
    {L"SetCurrentPage", {VT_I4}},
    {L"SelectAllObjects", {}},
    {L"GetSize", {VT_BYREF | VT_I4, VT_BYREF | VT_I4}},
    {L"FileExport", {VT_BSTR, VT_I4, VT_I4, VT_I4, VT_I4, VT_I4, VT_I4, VT_I4, VT_BOOL, VT_BOOL}},
};
constexpr DISPID kFirstDispid = 1;

std::wstring TextOf(const VARIANT& v) {
    VARIANT text;
    VariantInit(&text);
    std::wstring out;
    if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&v), VARIANT_NOUSEROVERRIDE | VARIANT_ALPHABOOL, VT_BSTR)))
        out.assign(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return out;
}

class FakeScript final : public com::ComObject<FakeScript, IDispatch> {
public:
    explicit FakeScript(Drawing& drawing) : drawing_(drawing) { ++g_live; }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (DISPID i = 0; i < DISPID(std::size(kOperations)); ++i)
            if (lstrcmpiW(names[0], kOperations[i].name) == 0) {
                ids[0] = kFirstDispid + i;
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT* argError) override {
        const DISPID index = id - kFirstDispid;
        if (index < 0 || index >= DISPID(std::size(kOperations))) return DISP_E_MEMBERNOTFOUND;
        const Operation& op = kOperations[index];
        if (!params || params->cArgs != op.params.size()) return DISP_E_BADPARAMCOUNT;

        Drawing& d = drawing_;
        ++d.counts[op.name];
        RecordedCall call{op.name, {}, d.currentPage};

        // Coerce each argument to its declared type, last argument first in rgvarg.
        std::vector<VARIANT> args(op.params.size());
        for (auto& a : args) VariantInit(&a);
        struct Clear {
            std::vector<VARIANT>& v;
            ~Clear() {
                for (auto& a : v) VariantClear(&a);
            }
        } clear{args};
        for (UINT i = 0; i < op.params.size(); ++i) {
            VARIANT& received = params->rgvarg[params->cArgs - 1 - i];
            if (d.record) {
                VARIANT plain;
                VariantInit(&plain);
                VariantCopyInd(&plain, &received);
                call.args.push_back({received.vt, TextOf(plain)});
                VariantClear(&plain);
            }
            if (op.params[i] & VT_BYREF) {
                if (received.vt != op.params[i]) {
                    if (argError) *argError = params->cArgs - 1 - i;
                    return DISP_E_TYPEMISMATCH;
                }
                args[i] = received;  // borrowed: VariantClear leaves by-reference data alone
                continue;
            }
            if (FAILED(VariantChangeType(&args[i], &received, 0, op.params[i]))) {
                if (argError) *argError = params->cArgs - 1 - i;
                return DISP_E_TYPEMISMATCH;
            }
        }
        if (d.record) d.calls.push_back(call);

        if (d.failing.count(op.name)) return E_FAIL;
        auto onPage = d.failingOnPage.find(d.currentPage);
        if (onPage != d.failingOnPage.end() && onPage->second.count(op.name)) return E_FAIL;

        if (result) VariantInit(result);
        const std::wstring name = op.name;
        if (name == L"IsDocument") {
            if (result) {
                result->vt = VT_BOOL;
                result->boolVal = d.documentOpen ? VARIANT_TRUE : VARIANT_FALSE;
            }
        } else if (name == L"FileNew") {
            d.documentOpen = true;
            d.pageCount = 1;
            d.currentPage = 1;
        } else if (name == L"GetPageCount") {
            if (result) {
                result->vt = VT_I4;
                result->lVal = d.pageCount;
            }
        } else if (name == L"SetCurrentPage") {
            d.currentPage = args[0].lVal;
        } else if (name == L"GetSize") {
            *args[0].plVal = d.xSize;
            *args[1].plVal = d.ySize;
        }
        return S_OK;
    }

private:
    ~FakeScript() override { --g_live; }
    Drawing& drawing_;
};

}  // namespace

HRESULT FakeScriptSource::NewScript(Microsoft::WRL::ComPtr<IDispatch>& script) {
    script.Reset();
    if (FAILED(createResult)) return createResult;
    ++scriptsCreated;
    com::Adopt<IDispatch>(script, new FakeScript(drawing));
    return S_OK;
}

long FakeScriptSource::LiveScripts() {
    return g_live;
}

}  // namespace fake
