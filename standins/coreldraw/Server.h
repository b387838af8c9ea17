// What one server process holds: the drawing it serves, its window and the
// type information of IDrawApplication. Every COM call of the process runs on
// its one STA thread, so none of this is locked.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <memory>
#include <new>
#include <string_view>

#include "DocumentWindow.h"
#include "DrawServer.h"
#include "Journal.h"

namespace standin {

// What a call that kills the server journals as its result: the client sees
// the call fail because the server went away.
inline constexpr HRESULT kServerExits = HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);

// The body of a COM method, whose exceptions must not reach COM.
template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

class Server {
public:
    static Server& Get();

    // Reads the drawing file; a malformed one is journaled and leaves no drawing open.
    void Load();
    // Lets go of the type information while COM is still initialised, which
    // the destructor of this process-wide object, run after main, is not.
    void ReleaseTypeInfo();

    DrawServer& Drawing() { return *drawing_; }
    // The dispatch and the vtable sides of IDrawApplication; null when the
    // type library could not be loaded from the executable.
    ITypeInfo* ApplicationDispatchInfo() const { return dispatchInfo_.Get(); }
    ITypeInfo* ApplicationInterfaceInfo() const { return interfaceInfo_.Get(); }

    // Counts a call and, when the drawing says the server goes away now,
    // journals it and ends the process as a crash would.
    void Admit(JournalEntry entry);
    // Journals an answered call and shows its effect in the window.
    void Answered(const JournalEntry& entry);

private:
    Server() = default;
    void LoadTypeInfo();

    std::unique_ptr<DrawServer> drawing_;
    DocumentWindow window_;
    Microsoft::WRL::ComPtr<ITypeInfo> dispatchInfo_, interfaceInfo_;
};

}  // namespace standin
