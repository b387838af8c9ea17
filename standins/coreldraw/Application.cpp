#include "Application.h"

#include <wrl/client.h>

#include <new>

#include "ScriptObject.h"
#include "Server.h"

namespace standin {

STDMETHODIMP Application::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = Server::Get().ApplicationDispatchInfo() ? 1 : 0;
    return S_OK;
}

STDMETHODIMP Application::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = Server::Get().ApplicationDispatchInfo();
    if (index != 0 || !*info) {
        *info = nullptr;
        return DISP_E_BADINDEX;
    }
    (*info)->AddRef();
    return S_OK;
}

STDMETHODIMP Application::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = Server::Get().ApplicationInterfaceInfo();
    return info ? DispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
}

STDMETHODIMP Application::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* exception, UINT* argError) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = Server::Get().ApplicationInterfaceInfo();
    if (!info) return E_NOTIMPL;
    return DispInvoke(static_cast<IDrawApplication*>(this), info, id, flags, params, result, exception, argError);
}

STDMETHODIMP Application::CorelScript(IDispatch** script) noexcept {
    if (!script) return E_POINTER;
    *script = nullptr;
    return Guarded([&] {
        JournalEntry entry;
        entry.call = L"CorelScript";
        Server& server = Server::Get();
        server.Admit(entry);
        Microsoft::WRL::ComPtr<ScriptObject> object;
        if (const FailRule* rule = server.Drawing().FailureFor("CorelScript")) {
            entry.hr = rule->hresult ? HRESULT(*rule->hresult) : E_FAIL;
            entry.result = L"injected failure";
        } else if (auto* created = new (std::nothrow) ScriptObject()) {
            com::Adopt(object, created);
        } else {
            entry.hr = E_OUTOFMEMORY;
        }
        server.Answered(entry);
        // Only now, as journaling can still throw and must not leak the object.
        *script = object.Detach();
        return entry.hr;
    });
}

}  // namespace standin
