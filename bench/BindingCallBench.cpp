// Cost of one call through the binding against a bare IDispatch::Invoke with
// a known DISPID, both on the same script object of the out-of-process
// stand-in server. The binding should add nothing measurable (target <= 1.05).
#include <cstdio>

#include "BenchTimer.h"
#include "DrawApplication.h"
#include "StandinControl.h"

int main() {
    standin::PrepareServer({});
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int rc = 1;
    {
        trevolo::DrawApplication app;
        trevolo::DispatchDrawSession session(app);
        Microsoft::WRL::ComPtr<IDispatch> raw;
        DISPID zoom = 0;
        LPOLESTR name = const_cast<LPOLESTR>(L"ZoomToPage");
        if (!session.Open() || FAILED(app.NewScript(raw)) ||
            FAILED(raw->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &zoom))) {
            std::fprintf(stderr, "stand-in server not reachable (register it with /regserver)\n");
        } else {
            auto viaBinding = [&] { session.ZoomToPage(); };
            auto bareInvoke = [&] {
                DISPPARAMS none{nullptr, nullptr, 0, 0};
                raw->Invoke(zoom, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr,
                            nullptr);
            };
            auto t = bench::MedianPerCall({viaBinding, bareInvoke}, 1000, 1);
            std::printf("binding call   %8.1f us\n", t[0] * 1e6);
            std::printf("bare Invoke    %8.1f us\n", t[1] * 1e6);
            std::printf("ratio binding/bare: %.3f (target <= 1.05)\n", t[0] / t[1]);
            rc = 0;
        }
    }
    CoUninitialize();
    return rc;
}
