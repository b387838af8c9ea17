// The output folder's file-system side on Windows.
#pragma once

#include "ExportOperations.h"

namespace trevolo {

class Win32FolderSystem final : public FolderSystem {
public:
    bool Exists(const std::wstring& path) override;
    bool CreateFolder(const std::wstring& path) override;
};

}  // namespace trevolo
