#include "DispatchDrawSession.h"

#include <utility>

namespace trevolo {
namespace {

// Names of IDrawAutomate, indexed by DispatchDrawSession::Operation.
constexpr const wchar_t* kOperationNames[] = {
    L"IsDocument", L"FileNew", L"SetDocVisible", L"SetVisible", L"ZoomToPage", L"GetPageCount",
    L"SetCurrentPage", L"SelectAllObjects", L"GetSize", L"FileExport",
};

// FileExport's ten.
constexpr UINT kMostArguments = 10;

// Automation arguments owned for the length of one call.
template <UINT N>
struct Arguments {
    VARIANT v[N];
    Arguments() {
        for (auto& a : v) VariantInit(&a);
    }
    ~Arguments() {
        for (auto& a : v) VariantClear(&a);
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
};

void SetBool(VARIANT& v, bool b) {
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
}
void SetLong(VARIANT& v, std::int32_t n) {
    v.vt = VT_I4;
    v.lVal = n;
}
void SetDimension(VARIANT& v, const ExportDimension& d) {
    if (const double* real = std::get_if<double>(&d)) {
        v.vt = VT_R8;
        v.dblVal = *real;
    } else {
        SetLong(v, std::get<std::int32_t>(d));
    }
}
bool SetText(VARIANT& v, const std::wstring& text) {
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!v.bstrVal) return false;
    v.vt = VT_BSTR;
    return true;
}

// Result of a call, converted to the type the caller reads.
struct Result {
    VARIANT v;
    Result() { VariantInit(&v); }
    ~Result() { VariantClear(&v); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    HRESULT As(VARTYPE type, VARIANT& out) {
        VariantInit(&out);
        return VariantChangeType(&out, &v, 0, type);
    }
};

}  // namespace

bool DispatchDrawSession::Open() {
    Microsoft::WRL::ComPtr<IDispatch> fresh;
    last_ = source_.NewScript(fresh);
    if (FAILED(last_) || !fresh) {
        if (SUCCEEDED(last_)) last_ = E_POINTER;
        return false;  // the slot keeps what it held
    }
    script_ = std::move(fresh);
    resolved_.fill(false);
    return true;
}

void DispatchDrawSession::Close() {
    script_.Reset();
    resolved_.fill(false);
}

HRESULT DispatchDrawSession::Call(Operation op, VARIANT* args, UINT count, VARIANT* result) {
    if (!script_) return last_ = E_POINTER;
    if (count > kMostArguments) return last_ = E_INVALIDARG;
    if (!resolved_[op]) {
        LPOLESTR name = const_cast<LPOLESTR>(kOperationNames[op]);
        HRESULT hr = script_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispids_[op]);
        if (FAILED(hr)) return last_ = hr;
        resolved_[op] = true;
    }

    // DISPPARAMS holds the arguments last first.
    VARIANT reversed[kMostArguments];
    for (UINT i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
    DISPPARAMS params{count ? reversed : nullptr, nullptr, count, 0};

    // No EXCEPINFO: callers only tell success from failure, and having one
    // carried back across processes costs about a tenth of a call.
    WORD flags = result ? DISPATCH_METHOD | DISPATCH_PROPERTYGET : DISPATCH_METHOD;
    return last_ = script_->Invoke(dispids_[op], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                                   nullptr);
}

bool DispatchDrawSession::IsDocument(bool& documentOpen) {
    Result result;
    if (FAILED(Call(kIsDocument, nullptr, 0, &result.v))) return false;
    VARIANT b;
    if (FAILED(last_ = result.As(VT_BOOL, b))) return false;
    documentOpen = b.boolVal != VARIANT_FALSE;
    return true;
}

bool DispatchDrawSession::FileNew() {
    return SUCCEEDED(Call(kFileNew, nullptr, 0, nullptr));
}

bool DispatchDrawSession::SetDocVisible(bool show) {
    Arguments<1> a;
    SetBool(a.v[0], show);
    return SUCCEEDED(Call(kSetDocVisible, a.v, 1, nullptr));
}

bool DispatchDrawSession::SetVisible(bool visible) {
    Arguments<1> a;
    SetBool(a.v[0], visible);
    return SUCCEEDED(Call(kSetVisible, a.v, 1, nullptr));
}

bool DispatchDrawSession::ZoomToPage() {
    return SUCCEEDED(Call(kZoomToPage, nullptr, 0, nullptr));
}

bool DispatchDrawSession::GetPageCount(std::int32_t& count) {
    Result result;
    if (FAILED(Call(kGetPageCount, nullptr, 0, &result.v))) return false;
    VARIANT n;
    if (FAILED(last_ = result.As(VT_I4, n))) return false;
    count = n.lVal;
    return true;
}

bool DispatchDrawSession::SetCurrentPage(std::int32_t page) {
    Arguments<1> a;
    SetLong(a.v[0], page);
    return SUCCEEDED(Call(kSetCurrentPage, a.v, 1, nullptr));
}

bool DispatchDrawSession::SelectAllObjects() {
    return SUCCEEDED(Call(kSelectAllObjects, nullptr, 0, nullptr));
}

bool DispatchDrawSession::GetSize(std::int32_t& xSize, std::int32_t& ySize) {
    // The server writes through the references; the caller's values change
    // only when the call worked.
    LONG x = xSize, y = ySize;
    VARIANT a[2];
    a[0].vt = VT_BYREF | VT_I4;
    a[0].plVal = &x;
    a[1].vt = VT_BYREF | VT_I4;
    a[1].plVal = &y;
    if (FAILED(Call(kGetSize, a, 2, nullptr))) return false;
    xSize = x;
    ySize = y;
    return true;
}

bool DispatchDrawSession::FileExport(const FileExportArgs& args) {
    Arguments<10> a;
    if (!SetText(a.v[0], args.FileName)) {
        last_ = E_OUTOFMEMORY;
        return false;
    }
    SetLong(a.v[1], args.FilterId);
    SetDimension(a.v[2], args.Width);
    SetDimension(a.v[3], args.Height);
    SetLong(a.v[4], args.XResolution);
    SetLong(a.v[5], args.YResolution);
    SetLong(a.v[6], args.ImageType);
    SetLong(a.v[7], args.AntiAliasing);
    SetBool(a.v[8], args.Overwrite);
    SetBool(a.v[9], args.SelectionOnly);
    return SUCCEEDED(Call(kFileExport, a.v, 10, nullptr));
}

}  // namespace trevolo
