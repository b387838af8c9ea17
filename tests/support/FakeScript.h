// An in-process stand-in for CorelDRAW's script object: a real IDispatch that
// answers the ten operations by name, coerces arguments as the server does
// (VariantChangeType) and records what it received. Fast enough for tens of
// thousands of pages, which the out-of-process server is not.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "DispatchDrawSession.h"

namespace fake {

struct RecordedArg {
    VARTYPE vt = VT_EMPTY;  // as received, VT_BYREF included
    std::wstring value;     // the value as text (by-reference values dereferenced)
};

struct RecordedCall {
    std::wstring name;
    std::vector<RecordedArg> args;  // in call order
    long currentPage = 0;
};

// Shared by every script object one source hands out, like the drawing of a
// running CorelDRAW.
struct Drawing {
    bool documentOpen = true;
    long pageCount = 1;
    long currentPage = 1;
    long xSize = 0, ySize = 0;                // what GetSize reports
    std::set<std::wstring> failing;           // calls that fail on every page
    std::map<long, std::set<std::wstring>> failingOnPage;
    bool record = true;                       // off for long runs: counts only
    std::vector<RecordedCall> calls;
    std::map<std::wstring, long> counts;
};

class FakeScriptSource final : public trevolo::ScriptSource {
public:
    HRESULT NewScript(Microsoft::WRL::ComPtr<IDispatch>& script) override;

    Drawing drawing;
    HRESULT createResult = S_OK;  // a failure here stands for "CorelDRAW not reachable"
    long scriptsCreated = 0;
    static long LiveScripts();    // script objects not yet released
};

}  // namespace fake
