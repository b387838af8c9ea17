// CorelDRAW's application object: IDrawApplication, dual, whose dispatch side
// runs on the type information of the type library built into the server.
#pragma once

#include <windows.h>

#include "com/ComObject.h"
#include "coreldraw.h"

namespace standin {

class Application final : public com::ComObject<Application, IDrawApplication> {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) noexcept override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) noexcept override;

    // A new script object over the server's drawing for every call.
    STDMETHODIMP CorelScript(IDispatch** script) noexcept override;

private:
    friend class com::ClassFactory<Application>;
    Application() = default;
    ~Application() override = default;
};

}  // namespace standin
