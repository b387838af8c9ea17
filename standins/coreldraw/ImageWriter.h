// The raster files FileExport writes: BMP, PCX, Targa and TIFF, uncompressed
// except PCX (whose format requires its run-length coding), each in the
// colour mode asked for or the nearest one the format holds: only TIFF holds
// CMYK, which the others store as RGB, and Targa, without 1-bit pixels, stores
// black and white as 8-bit grey. Other filters get a small text file that
// records the export's parameters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "Raster.h"

namespace standin {

enum class ImageFormat { Bmp, Pcx, Tga, Tiff };

// CorelDRAW's ImageType codes as Trevolo numbers them.
enum class ColourMode {
    BlackWhite = 1,  // 1 bit
    Colours16 = 2,   // 4-bit index into the 16 standard VGA colours
    Greyscale = 3,   // 8 bits
    Paletted = 4,    // 8-bit index into a 6x6x6 colour cube and 40 greys
    Rgb = 5,         // 24 bits
    Cmyk = 6,        // 32 bits
};

std::optional<ImageFormat> FormatForFilter(std::int32_t filterId);
std::optional<ColourMode> ModeForImageType(std::int32_t imageType);

// Exports beyond these fail instead of exhausting memory or the disk of the
// 32-bit server: a side of at most 20000 pixels and at most 100 million
// pixels in all (400 MB as CMYK).
inline constexpr std::int32_t kMaxSide = 20000;
inline constexpr std::int64_t kMaxPixels = 100'000'000;
// Resolutions are whole dots per inch; PCX keeps them in 16 bits.
inline constexpr std::int32_t kMaxDpi = 65535;

// What a file is to hold: its pixel size, resolution and colour mode.
struct ImageShape {
    std::int32_t width = 0, height = 0;
    std::int32_t xDpi = 0, yDpi = 0;
    ColourMode mode = ColourMode::Rgb;
};

// Empty when the shape can be written, else why not.
std::string CheckImageShape(const ImageShape& shape);

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const void* data, std::size_t size) = 0;
};

// False when the shape fails CheckImageShape or the sink refuses bytes.
bool WriteImage(ImageFormat format, const ImageShape& shape, RowSource& rows, ByteSink& sink);

struct ExportParameters {
    std::int32_t filterId = 0, page = 0;
    std::int32_t width = 0, height = 0, xResolution = 0, yResolution = 0;
    std::int32_t imageType = 0, antiAliasing = 0;
    bool selectionOnly = false;
};

// The stand-in's file for filters it does not render: a first line naming
// it, then one "Name=value" line per parameter.
bool WriteParameterFile(const ExportParameters& parameters, ByteSink& sink);

}  // namespace standin
