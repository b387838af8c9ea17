#include "ScriptObject.h"

#include <string>

#include "Server.h"
#include "win/Ansi.h"
#include "win/UniqueHandle.h"

namespace standin {
namespace {

constexpr VARTYPE kLongRef = VT_BYREF | VT_I4;

// IDrawAutomate: dispatch identifiers and declared parameter types, in call order.
struct Operation {
    DISPID id;
    const wchar_t* name;
    UINT count;
    VARTYPE params[10];
};
enum : DISPID {
    kIsDocument = 1, kFileNew, kSetDocVisible, kSetVisible, kZoomToPage, kGetPageCount,
    kSetCurrentPage, kSelectAllObjects, kGetSize, kFileExport,
};
constexpr Operation kOperations[] = {
    {kIsDocument, L"IsDocument", 0, {}},
    {kFileNew, L"FileNew", 0, {}},
    {kSetDocVisible, L"SetDocVisible", 1, {VT_BOOL}},
    {kSetVisible, L"SetVisible", 1, {VT_BOOL}},
    {kZoomToPage, L"ZoomToPage", 0, {}},
    {kGetPageCount, L"GetPageCount", 0, {}},
    {kSetCurrentPage, L"SetCurrentPage", 1, {VT_I4}},
    {kSelectAllObjects, L"SelectAllObjects", 0, {}},
    {kGetSize, L"GetSize", 2, {kLongRef, kLongRef}},
    {kFileExport, L"FileExport", 10, {VT_BSTR, VT_I4, VT_I4, VT_I4, VT_I4, VT_I4, VT_I4, VT_I4, VT_BOOL, VT_BOOL}},
};

const Operation* Find(DISPID id) {
    for (const Operation& op : kOperations)
        if (op.id == id) return &op;
    return nullptr;
}

const Operation* Find(const wchar_t* name) {
    for (const Operation& op : kOperations)
        if (CompareStringOrdinal(op.name, -1, name, -1, TRUE) == CSTR_EQUAL) return &op;
    return nullptr;
}

// Arguments converted to their declared types, in call order. By-reference
// ones share the caller's storage.
class Arguments {
public:
    Arguments() {
        for (VARIANT& v : values_) VariantInit(&v);
    }
    ~Arguments() {
        for (VARIANT& v : values_) VariantClear(&v);
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    VARIANT& operator[](UINT i) { return values_[i]; }
    bool Bool(UINT i) const { return V_BOOL(&values_[i]) != VARIANT_FALSE; }
    std::int32_t Long(UINT i) const { return V_I4(&values_[i]); }
    LONG& Ref(UINT i) const { return *V_I4REF(&values_[i]); }
    std::wstring Text(UINT i) const {
        BSTR s = V_BSTR(&values_[i]);
        return s ? std::wstring(s, SysStringLen(s)) : std::wstring();
    }

private:
    VARIANT values_[10];
};

HRESULT Raise(EXCEPINFO* exception, HRESULT scode, const std::wstring& description) {
    if (exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = SysAllocString(L"CorelDRAW");
        exception->bstrDescription = SysAllocString(description.c_str());
        exception->scode = scode;
    }
    return DISP_E_EXCEPTION;
}

class FileSink final : public ByteSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool Write(const void* data, std::size_t size) override {
        DWORD written = 0;
        return WriteFile(file_.get(), data, DWORD(size), &written, nullptr) && written == size;
    }

private:
    win::UniqueFile file_;
};

// The export's file; one that a failed export has created is removed again.
class FileTarget final : public ExportTarget {
public:
    explicit FileTarget(std::wstring path) : path_(std::move(path)) {}
    std::unique_ptr<ByteSink> Create(bool overwrite, std::string& error) override {
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, overwrite ? CREATE_ALWAYS : CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error_ = GetLastError();
            error = error_ == ERROR_FILE_EXISTS || error_ == ERROR_ALREADY_EXISTS
                        ? "the file exists and Overwrite is false"
                        : "the file cannot be created (Windows error " + std::to_string(error_) + ")";
            return nullptr;
        }
        created_ = true;
        return std::make_unique<FileSink>(file);
    }
    // The scode of a failed export.
    HRESULT Discard() const {
        if (created_) DeleteFileW(path_.c_str());
        return error_ ? HRESULT_FROM_WIN32(error_) : E_FAIL;
    }

private:
    std::wstring path_;
    DWORD error_ = 0;
    bool created_ = false;
};

std::string Ascii(const wchar_t* name) {
    return std::string(name, name + wcslen(name));
}

HRESULT Perform(const Operation& op, Arguments& a, VARIANT* result, EXCEPINFO* exception, std::wstring& text) {
    DrawServer& drawing = Server::Get().Drawing();
    if (const FailRule* rule = drawing.FailureFor(Ascii(op.name))) {
        text = L"injected failure";
        return rule->hresult ? HRESULT(*rule->hresult) : Raise(exception, E_FAIL, text);
    }
    Outcome out;
    HRESULT scode = E_FAIL;
    switch (op.id) {
        case kIsDocument:
            out = Outcome::Done(drawing.IsDocument() ? "-1" : "0");
            if (result) {
                V_VT(result) = VT_BOOL;
                V_BOOL(result) = drawing.IsDocument() ? VARIANT_TRUE : VARIANT_FALSE;
            }
            break;
        case kFileNew: out = drawing.FileNew(); break;
        case kSetDocVisible: out = drawing.SetDocVisible(a.Bool(0)); break;
        case kSetVisible: out = drawing.SetVisible(a.Bool(0)); break;
        case kZoomToPage: out = drawing.ZoomToPage(); break;
        case kGetPageCount: {
            std::int32_t count = 0;
            out = drawing.GetPageCount(count);
            if (out.ok && result) {
                V_VT(result) = VT_I4;
                V_I4(result) = count;
            }
            break;
        }
        case kSetCurrentPage: out = drawing.SetCurrentPage(a.Long(0)); break;
        case kSelectAllObjects: out = drawing.SelectAllObjects(); break;
        case kGetSize: {
            std::int32_t x = a.Ref(0), y = a.Ref(1);
            out = drawing.GetSize(x, y);
            if (out.ok) {
                a.Ref(0) = x;
                a.Ref(1) = y;
            }
            break;
        }
        case kFileExport: {
            FileTarget target(a.Text(0));
            ExportRequest r;
            r.filterId = a.Long(1);
            r.width = a.Long(2);
            r.height = a.Long(3);
            r.xResolution = a.Long(4);
            r.yResolution = a.Long(5);
            r.imageType = a.Long(6);
            r.antiAliasing = a.Long(7);
            r.overwrite = a.Bool(8);
            r.selectionOnly = a.Bool(9);
            out = drawing.FileExport(r, target);
            if (!out.ok) scode = target.Discard();
            break;
        }
    }
    text = win::FromUtf8(out.text);
    return out.ok ? S_OK : Raise(exception, scode, text);
}

HRESULT Dispatch(const Operation* op, WORD flags, const DISPPARAMS& params, VARIANT* result, EXCEPINFO* exception,
                 UINT* argError, std::wstring& text) {
    if (!op || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs) return DISP_E_NONAMEDARGS;
    if (params.cArgs != op->count) return DISP_E_BADPARAMCOUNT;
    Arguments a;
    for (UINT i = 0; i < op->count; ++i) {
        const UINT at = params.cArgs - 1 - i;  // DISPPARAMS holds the last argument first
        VARIANT& given = params.rgvarg[at];
        HRESULT hr;
        if (op->params[i] == kLongRef) {
            // Out parameters are not converted: only a long by reference can take the answer.
            hr = V_VT(&given) == kLongRef && V_I4REF(&given) ? S_OK : DISP_E_TYPEMISMATCH;
            if (SUCCEEDED(hr)) a[i] = given;
        } else {
            hr = VariantChangeType(&a[i], &given, 0, op->params[i]);
        }
        if (FAILED(hr)) {
            if (argError) *argError = at;
            text = L"argument " + std::to_wstring(i + 1) + L" cannot become " + VarTypeText(op->params[i]);
            return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
        }
    }
    return Perform(*op, a, result, exception, text);
}

}  // namespace

STDMETHODIMP ScriptObject::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ScriptObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP ScriptObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    return Guarded([&] {
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        const Operation* op = count && names[0] ? Find(names[0]) : nullptr;
        if (op) ids[0] = op->id;
        if (op && count == 1) return S_OK;
        JournalEntry entry;
        entry.call = L"GetIDsOfNames";
        entry.hr = DISP_E_UNKNOWNNAME;
        for (UINT i = 0; i < count; ++i) entry.args.push_back({VT_BSTR, names[i] ? names[i] : L""});
        AppendToJournal(entry);
        return DISP_E_UNKNOWNNAME;
    });
}

STDMETHODIMP ScriptObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argError) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    if (result) VariantInit(result);
    return Guarded([&] {
        const Operation* op = Find(id);
        JournalEntry entry;
        entry.call = op ? op->name : L"#" + std::to_wstring(id);
        for (UINT i = params->cArgs; i-- > 0;) entry.args.push_back(DescribeArgument(params->rgvarg[i]));
        Server& server = Server::Get();
        server.Admit(entry);
        entry.hr = Dispatch(op, flags, *params, result, exception, argError, entry.result);
        server.Answered(entry);
        return entry.hr;
    });
}

}  // namespace standin
