// The script object CorelScript hands out: a plain IDispatch whose methods
// are the operations of IDrawAutomate, found by name and called with
// automation arguments, over the server's one drawing.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "com/ComObject.h"

namespace standin {

class ScriptObject final : public com::ComObject<ScriptObject, IDispatch> {
public:
    // No type information: the object is reached late-bound only.
    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
    // Method names without regard to case; parameters cannot be named.
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) noexcept override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) noexcept override;

private:
    ~ScriptObject() override = default;
};

}  // namespace standin
