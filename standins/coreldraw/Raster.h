// Turns a part of a page into pixels, one row at a time, so that a large
// export needs no buffer for the whole image.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Drawing.h"

namespace standin {

// A region of a page in drawing units; right and bottom are exclusive.
struct Box {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    std::int64_t Width() const { return right - left; }
    std::int64_t Height() const { return bottom - top; }
};

// The smallest box around all the rectangles; none when there are none.
std::optional<Box> BoundsOf(const std::vector<Rectangle>& objects);

class RowSource {
public:
    virtual ~RowSource() = default;
    // Writes 3 bytes (red, green, blue) per pixel of row y, 0 being the top row.
    virtual void Row(std::int32_t y, std::uint8_t* rgb) = 0;
};

// `region` stretched over width x height pixels, white where no object is. A
// pixel takes the colour of the topmost rectangle that holds its centre.
class PageRaster final : public RowSource {
public:
    // region must have a positive width and height.
    PageRaster(const Page& page, const Box& region, std::int32_t width, std::int32_t height);
    void Row(std::int32_t y, std::uint8_t* rgb) override;

private:
    struct Span {
        std::int32_t x0, x1, y0, y1;  // pixel ranges, ends exclusive
        Colour colour;
    };
    std::int32_t width_;
    std::vector<Span> spans_;
};

}  // namespace standin
