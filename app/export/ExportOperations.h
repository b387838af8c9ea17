// The operations behind the window's buttons that talk to CorelDRAW or the
// file system. They run against abstract parts, so the same code drives the
// real window, binding and disk, and the fakes of the tests.
#pragma once

#include <string>

#include "DrawSession.h"
#include "ExportSettings.h"
#include "FormControls.h"

namespace trevolo {

// Existence test and one-level folder creation, as the output folder needs them.
class FolderSystem {
public:
    virtual ~FolderSystem() = default;
    // A folder or a file counts; hidden and system entries do not. A trailing
    // backslash names the folder itself. False also when the test itself fails.
    virtual bool Exists(const std::wstring& path) = 0;
    // One level only: missing parents are not created.
    virtual bool CreateFolder(const std::wstring& path) = 0;
};

// "C:\" followed directly by the text of Text2.
std::wstring OutputFolder(const FormControls& form);

// Command2: create the output folder when nothing exists there.
void MakeOutputFolder(const FormControls& form, FolderSystem& folders);

// Command1: read the page count and set the page range to the whole drawing.
void ReadPageCount(DrawSession& session, FormControls& form, ExportSettings& settings);

// Command3: export StartPage to EndPage, one file per page.
void RunBatchExport(DrawSession& session, const FormControls& form, const ExportSettings& settings,
                    FolderSystem& folders);

}  // namespace trevolo
