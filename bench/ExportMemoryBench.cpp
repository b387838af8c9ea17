// Memory of the process before and after a 2,000-page export against the
// in-process script object: every script object, BSTR and variant must be
// given back, so the two figures differ by noise only.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "BenchForm.h"
#include "FakeScript.h"

namespace {

// Committed bytes (Wine leaves PrivateUsage at 0; PagefileUsage is the same figure).
unsigned long long CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        fake::FakeScriptSource source;
        source.drawing.record = false;
        source.drawing.xSize = 100000;
        source.drawing.ySize = 50000;
        trevolo::DispatchDrawSession session(source);
        bench::BenchForm form;
        bench::ExistingFolder folder;
        trevolo::ExportSettings settings;
        settings.StartPage = 1;
        settings.EndPage = 2000;

        trevolo::RunBatchExport(session, form, settings, folder);  // warm-up: heaps and caches settle
        const unsigned long long before = CommittedBytes();
        for (int run = 0; run < 5; ++run) trevolo::RunBatchExport(session, form, settings, folder);
        const unsigned long long after = CommittedBytes();
        std::printf("committed before %llu KiB, after 5 more runs of 2000 pages %llu KiB, growth %lld KiB; "
                    "script objects alive: %ld\n",
                    before / 1024, after / 1024, static_cast<long long>(after / 1024) - static_cast<long long>(before / 1024),
                    fake::FakeScriptSource::LiveScripts());
    }
    CoUninitialize();
    return 0;
}
