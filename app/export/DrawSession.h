// The DrawSession slot: CorelDRAW's script object, held while one operation
// runs. Open fills the slot with a fresh script object (creating the
// application object first if nothing has yet), Close empties it. Every call
// reports whether it worked; a failure never escapes as anything else.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace trevolo {

// FileExport's Width and Height: whole numbers in fixed-size mode, unrounded
// doubles in actual-size mode (the server rounds them to its declared type).
using ExportDimension = std::variant<std::int32_t, double>;

struct FileExportArgs {
    std::wstring FileName;
    std::int32_t FilterId = 0;
    ExportDimension Width = std::int32_t{0};
    ExportDimension Height = std::int32_t{0};
    std::int32_t XResolution = 0;
    std::int32_t YResolution = 0;
    std::int32_t ImageType = 0;
    std::int32_t AntiAliasing = 0;
    bool Overwrite = false;
    bool SelectionOnly = false;
};

class DrawSession {
public:
    virtual ~DrawSession() = default;

    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual bool IsDocument(bool& documentOpen) = 0;
    virtual bool FileNew() = 0;
    virtual bool SetDocVisible(bool show) = 0;
    virtual bool SetVisible(bool visible) = 0;
    virtual bool ZoomToPage() = 0;
    virtual bool GetPageCount(std::int32_t& count) = 0;
    virtual bool SetCurrentPage(std::int32_t page) = 0;
    virtual bool SelectAllObjects() = 0;
    // Both stay as they were when the call fails.
    virtual bool GetSize(std::int32_t& xSize, std::int32_t& ySize) = 0;
    virtual bool FileExport(const FileExportArgs& args) = 0;
};

}  // namespace trevolo
