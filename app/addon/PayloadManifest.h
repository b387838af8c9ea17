// The files carried inside Trevolo.exe, each a resource of type "CUSTOM".
// One table serves both the resource script (Payloads.rc, which embeds the
// built file under its number) and the code (the target of each payload).
// The built files are made from payloads/ and standins/ into one folder of
// the build tree.
#pragma once

// number, built file, folder the target lies in, target tail
#define TREVOLO_PAYLOADS(X)                                                               \
    X(101, "cdrmenu.cfg",   Workspace,      "\\cdrmenu.cfg")                              \
    X(102, "Sccomp91.dll",  CorelInstall,   "\\Programs\\Sccomp91.dll")                   \
    X(103, "Sccres91.dll",  CorelInstall,   "\\Programs\\Sccres91.dll")                   \
    X(104, "Scint91.dll",   CorelInstall,   "\\Programs\\Scint91.dll")                    \
    X(105, "autobar.csb",   CorelInstall,   "\\Draw\\Scripts\\Scripts\\autobar.csb")      \
    X(106, "ABOUT.CSC",     CorelInstall,   "\\Draw\\Scripts\\Scripts\\ABOUT.CSC")        \
    X(107, "autoexp.csb",   CorelInstall,   "\\Draw\\Scripts\\Scripts\\autoexp.csb")      \
    X(108, "Classface.dll", ExecutableFolder, "\\Classface.dll")                          \
    X(109, "coreldraw.tlb", CorelInstall,   "\\Programs\\Coreldrw.tlb")

#ifndef RC_INVOKED

#include <cstdint>

namespace trevolo {

// Where a payload's target tail is appended.
enum class PayloadFolder {
    Workspace,         // WorkspaceFolder, from "LastWorkspaceUsed"
    CorelInstall,      // CorelInstallFolder, from "Destination"
    ExecutableFolder,  // the folder of the running executable
};

struct PayloadFile {
    std::int16_t number;
    const char* builtFile;
    PayloadFolder folder;
    const wchar_t* targetTail;
};

#define TREVOLO_PAYLOAD_ENTRY(number, file, folder, tail) {number, file, PayloadFolder::folder, L"" tail},
inline constexpr PayloadFile kPayloads[] = {TREVOLO_PAYLOADS(TREVOLO_PAYLOAD_ENTRY)};
#undef TREVOLO_PAYLOAD_ENTRY

}  // namespace trevolo

#endif
