// CorelDRAW's application object: one reference for the whole process,
// created by the first operation that needs it and kept until the program
// ends. A reference whose server has gone away is never renewed.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include "DispatchDrawSession.h"
#include "coreldraw.h"

namespace trevolo {

class DrawApplication final : public ScriptSource {
public:
    HRESULT NewScript(Microsoft::WRL::ComPtr<IDispatch>& script) override;

private:
    Microsoft::WRL::ComPtr<IDrawApplication> app_;
};

}  // namespace trevolo
