#include "DrawServer.h"

#include <limits>

namespace standin {
namespace {

const char kNoDocument[] = "no drawing is open";
const char kNothingSelected[] = "nothing is selected";

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

DrawServer::DrawServer(DrawingFile file) : setup_(std::move(file)) {
    std::vector<Page> pages = std::move(setup_.pages);
    setup_.pages.clear();
    if (setup_.documentOpen) Open(std::move(pages));
}

void DrawServer::Open(std::vector<Page> pages) {
    if (pages.empty()) pages.emplace_back();
    Document doc;
    doc.name = u8"图形" + std::to_string(++documentsOpened_);
    doc.pages = std::move(pages);
    document_ = std::move(doc);
}

const FailRule* DrawServer::FailureFor(std::string_view call) const {
    for (const FailRule& rule : setup_.failures) {
        if (!SameName(rule.call, call)) continue;
        if (!rule.page) return &rule;
        if (document_ && std::int64_t(document_->current) + 1 == *rule.page) return &rule;
    }
    return nullptr;
}

bool DrawServer::AdmitCall() {
    if (setup_.exitAfterCalls && calls_ >= *setup_.exitAfterCalls) return false;
    ++calls_;
    return true;
}

Outcome DrawServer::FileNew() {
    Open({});
    return Outcome::Done();
}

Outcome DrawServer::SetDocVisible(bool show) {
    if (!document_) return Outcome::Failed(kNoDocument);
    document_->visible = show;
    return Outcome::Done();
}

Outcome DrawServer::SetVisible(bool visible) {
    visible_ = visible;
    return Outcome::Done();
}

Outcome DrawServer::ZoomToPage() {
    return document_ ? Outcome::Done() : Outcome::Failed(kNoDocument);
}

Outcome DrawServer::GetPageCount(std::int32_t& count) const {
    if (!document_) return Outcome::Failed(kNoDocument);
    count = setup_.reportedPageCount ? *setup_.reportedPageCount : std::int32_t(document_->pages.size());
    return Outcome::Done(std::to_string(count));
}

Outcome DrawServer::SetCurrentPage(std::int32_t page) {
    if (!document_) return Outcome::Failed(kNoDocument);
    if (page < 1 || std::size_t(page) > document_->pages.size())
        return Outcome::Failed("the drawing has no page " + std::to_string(page) + " (pages 1 to " +
                               std::to_string(document_->pages.size()) + ")");
    document_->current = std::size_t(page) - 1;
    document_->selected = false;
    return Outcome::Done(std::to_string(page));
}

Outcome DrawServer::SelectAllObjects() {
    if (!document_) return Outcome::Failed(kNoDocument);
    document_->selected = true;
    return Outcome::Done(std::to_string(CurrentPage()->objects.size()));
}

Outcome DrawServer::GetSize(std::int32_t& xSize, std::int32_t& ySize) const {
    if (!document_) return Outcome::Failed(kNoDocument);
    auto bounds = document_->selected ? BoundsOf(CurrentPage()->objects) : std::nullopt;
    if (!bounds) return Outcome::Failed(kNothingSelected);
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (bounds->Width() > kMax || bounds->Height() > kMax)
        return Outcome::Failed("the selection is too large for 32-bit sizes");
    xSize = std::int32_t(bounds->Width());
    ySize = std::int32_t(bounds->Height());
    return Outcome::Done(std::to_string(xSize) + " " + std::to_string(ySize));
}

Outcome DrawServer::FileExport(const ExportRequest& r, ExportTarget& target) {
    if (!document_) return Outcome::Failed(kNoDocument);
    auto mode = ModeForImageType(r.imageType);
    if (!mode) return Outcome::Failed("ImageType must be 1 to 6");
    ImageShape shape{r.width, r.height, r.xResolution, r.yResolution, *mode};
    if (std::string why = CheckImageShape(shape); !why.empty()) return Outcome::Failed(why);
    const Page& page = *CurrentPage();
    auto objects = BoundsOf(page.objects);
    if (r.selectionOnly && (!document_->selected || !objects)) return Outcome::Failed(kNothingSelected);

    // Like CorelDRAW, the export covers the objects, not the paper; an empty
    // page (or one of zero-size objects) gives the page itself.
    Box region{0, 0, page.width, page.height};
    if (objects && objects->Width() > 0 && objects->Height() > 0) region = *objects;

    std::string error;
    std::unique_ptr<ByteSink> sink = target.Create(r.overwrite, error);
    if (!sink) return Outcome::Failed(error);
    bool written;
    if (auto format = FormatForFilter(r.filterId)) {
        PageRaster raster(page, region, r.width, r.height);
        written = WriteImage(*format, shape, raster, *sink);
    } else {
        ExportParameters p{r.filterId, std::int32_t(document_->current + 1), r.width, r.height, r.xResolution,
                           r.yResolution, r.imageType, r.antiAliasing, r.selectionOnly};
        written = WriteParameterFile(p, *sink);
    }
    if (!written) return Outcome::Failed("writing the file failed");
    return Outcome::Done(std::to_string(r.width) + "x" + std::to_string(r.height));
}

const Page* DrawServer::CurrentPage() const {
    return document_ ? &document_->pages[document_->current] : nullptr;
}

std::string DrawServer::Title() const {
    return document_ ? "CorelDRAW 9 - " + document_->name : "CorelDRAW 9";
}

}  // namespace standin
