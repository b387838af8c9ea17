// DrawSession over a real script object: every operation is a call by name
// through IDispatch, with automation arguments.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <array>

#include "DrawSession.h"

namespace trevolo {

// Where a session gets its script object from: CorelDRAW's application
// object in the program, an in-process fake in tests.
class ScriptSource {
public:
    virtual ~ScriptSource() = default;
    virtual HRESULT NewScript(Microsoft::WRL::ComPtr<IDispatch>& script) = 0;
};

class DispatchDrawSession final : public DrawSession {
public:
    explicit DispatchDrawSession(ScriptSource& source) : source_(source) {}

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return script_ != nullptr; }

    bool IsDocument(bool& documentOpen) override;
    bool FileNew() override;
    bool SetDocVisible(bool show) override;
    bool SetVisible(bool visible) override;
    bool ZoomToPage() override;
    bool GetPageCount(std::int32_t& count) override;
    bool SetCurrentPage(std::int32_t page) override;
    bool SelectAllObjects() override;
    bool GetSize(std::int32_t& xSize, std::int32_t& ySize) override;
    bool FileExport(const FileExportArgs& args) override;

    // The HRESULT of the last operation, for messages to the user.
    HRESULT LastResult() const { return last_; }

private:
    enum Operation : int {
        kIsDocument, kFileNew, kSetDocVisible, kSetVisible, kZoomToPage, kGetPageCount,
        kSetCurrentPage, kSelectAllObjects, kGetSize, kFileExport, kOperationCount
    };
    // args in call order; Invoke wants them reversed, which this does.
    HRESULT Call(Operation op, VARIANT* args, UINT count, VARIANT* result);

    ScriptSource& source_;
    Microsoft::WRL::ComPtr<IDispatch> script_;
    // DISPIDs are stable for one script object's lifetime; resolved on first use.
    std::array<DISPID, kOperationCount> dispids_{};
    std::array<bool, kOperationCount> resolved_{};
    HRESULT last_ = S_OK;
};

}  // namespace trevolo
