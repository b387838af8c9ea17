#include "ExportOperations.h"

namespace trevolo {

std::wstring OutputFolder(const FormControls& form) {
    return L"C:\\" + form.Text(ControlId::Text2);
}

void MakeOutputFolder(const FormControls& form, FolderSystem& folders) {
    // The test and the creation each take Text2 as it is at that moment. A
    // test that fails reads as "nothing there", so the creation is still tried.
    if (!folders.Exists(OutputFolder(form))) folders.CreateFolder(OutputFolder(form));
}

}  // namespace trevolo
