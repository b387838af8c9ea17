// What the stand-in CorelDRAW does with each script call, over its one
// drawing. Arguments arrive already converted to the declared types; the
// automation layer above deals with names, variants and the journal.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Drawing.h"
#include "ImageWriter.h"

namespace standin {

// A call's answer: the text the journal shows as its result, or why it failed.
struct Outcome {
    bool ok = true;
    std::string text;
    static Outcome Done(std::string text = {}) { return {true, std::move(text)}; }
    static Outcome Failed(std::string why) { return {false, std::move(why)}; }
};

struct ExportRequest {
    std::int32_t filterId = 0, width = 0, height = 0, xResolution = 0, yResolution = 0;
    std::int32_t imageType = 0, antiAliasing = 0;
    bool overwrite = false, selectionOnly = false;
};

// Creates the export's file once the request has been found sound.
class ExportTarget {
public:
    virtual ~ExportTarget() = default;
    // Null, with `error` filled, when the file cannot be created (or exists
    // and must not be replaced).
    virtual std::unique_ptr<ByteSink> Create(bool overwrite, std::string& error) = 0;
};

class DrawServer {
public:
    explicit DrawServer(DrawingFile file);

    // The injected failure that applies to `call` now, if any.
    const FailRule* FailureFor(std::string_view call) const;
    // Counts one call; false when the server is to die instead of answering.
    bool AdmitCall();

    bool IsDocument() const { return document_.has_value(); }
    Outcome FileNew();
    Outcome SetDocVisible(bool show);
    Outcome SetVisible(bool visible);
    // The window always shows the whole page; this only needs a drawing.
    Outcome ZoomToPage();
    Outcome GetPageCount(std::int32_t& count) const;
    // A page the drawing lacks fails and leaves the current page as it was.
    Outcome SetCurrentPage(std::int32_t page);
    Outcome SelectAllObjects();
    // Fails when nothing is selected; the sizes are then left alone.
    Outcome GetSize(std::int32_t& xSize, std::int32_t& ySize) const;
    Outcome FileExport(const ExportRequest& request, ExportTarget& target);

    bool Visible() const { return visible_; }
    bool DocumentVisible() const { return document_ && document_->visible; }
    // The current page; null when no drawing is open.
    const Page* CurrentPage() const;
    // UTF-8, "CorelDRAW 9 - 图形1" while the drawing 图形1 is open.
    std::string Title() const;

private:
    struct Document {
        std::string name;
        std::vector<Page> pages;  // never empty
        std::size_t current = 0;  // index into pages
        bool selected = false;    // all objects of the current page are selected
        bool visible = false;
    };
    void Open(std::vector<Page> pages);

    DrawingFile setup_;
    std::optional<Document> document_;
    int documentsOpened_ = 0;
    std::int32_t calls_ = 0;
    bool visible_ = false;
};

}  // namespace standin
