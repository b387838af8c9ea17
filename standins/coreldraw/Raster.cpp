#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace standin {
namespace {

// First pixel whose centre lies at or beyond `edge` (drawing units from the
// region's start), clamped to [0, pixels].
std::int32_t PixelAt(std::int64_t edge, std::int64_t span, std::int32_t pixels) {
    double p = std::ceil(static_cast<double>(edge) * pixels / static_cast<double>(span) - 0.5);
    return static_cast<std::int32_t>(std::clamp(p, 0.0, static_cast<double>(pixels)));
}

}  // namespace

std::optional<Box> BoundsOf(const std::vector<Rectangle>& objects) {
    if (objects.empty()) return std::nullopt;
    Box box{objects[0].left, objects[0].top, objects[0].left, objects[0].top};
    for (const Rectangle& r : objects) {
        box.left = std::min<std::int64_t>(box.left, r.left);
        box.top = std::min<std::int64_t>(box.top, r.top);
        box.right = std::max<std::int64_t>(box.right, std::int64_t{r.left} + r.width);
        box.bottom = std::max<std::int64_t>(box.bottom, std::int64_t{r.top} + r.height);
    }
    return box;
}

PageRaster::PageRaster(const Page& page, const Box& region, std::int32_t width, std::int32_t height)
    : width_(width) {
    for (const Rectangle& r : page.objects) {
        Span s;
        s.x0 = PixelAt(r.left - region.left, region.Width(), width);
        s.x1 = PixelAt(std::int64_t{r.left} + r.width - region.left, region.Width(), width);
        s.y0 = PixelAt(r.top - region.top, region.Height(), height);
        s.y1 = PixelAt(std::int64_t{r.top} + r.height - region.top, region.Height(), height);
        s.colour = r.colour;
        if (s.x0 < s.x1 && s.y0 < s.y1) spans_.push_back(s);
    }
}

void PageRaster::Row(std::int32_t y, std::uint8_t* rgb) {
    std::memset(rgb, 0xFF, static_cast<std::size_t>(width_) * 3);
    for (const Span& s : spans_) {
        if (y < s.y0 || y >= s.y1) continue;
        for (std::int32_t x = s.x0; x < s.x1; ++x) {
            rgb[3 * x] = s.colour.red;
            rgb[3 * x + 1] = s.colour.green;
            rgb[3 * x + 2] = s.colour.blue;
        }
    }
}

}  // namespace standin
