#include "DrawApplication.h"

namespace trevolo {

HRESULT DrawApplication::NewScript(Microsoft::WRL::ComPtr<IDispatch>& script) {
    if (!app_) {
        // CorelDRAW is an executable server; a failed creation leaves nothing
        // behind, so the next operation tries again.
        HRESULT hr = CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_IDrawApplication,
                                      reinterpret_cast<void**>(app_.ReleaseAndGetAddressOf()));
        if (FAILED(hr)) {
            app_.Reset();
            return hr;
        }
    }
    script.Reset();
    return app_->CorelScript(script.ReleaseAndGetAddressOf());
}

}  // namespace trevolo
