#include "ImageWriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace standin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The 16 colours of the standard VGA palette, in Windows order.
constexpr std::array<Colour, 16> kVga16 = {{
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

constexpr int kCubeLevels = 6;  // 0, 51, ..., 255 per channel: 216 entries
constexpr int kCubeSize = kCubeLevels * kCubeLevels * kCubeLevels;

// Grey entries of the 8-bit palette after the cube, between its grey levels.
std::uint8_t ExtraGrey(int i) { return static_cast<std::uint8_t>((i + 1) * 255 / 41); }

std::vector<Colour> PaletteOf(ColourMode mode) {
    std::vector<Colour> p;
    switch (mode) {
        case ColourMode::BlackWhite:
            p = {{0, 0, 0}, {255, 255, 255}};
            break;
        case ColourMode::Colours16:
            p.assign(kVga16.begin(), kVga16.end());
            break;
        case ColourMode::Greyscale:
            for (int i = 0; i < 256; ++i) p.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
            break;
        case ColourMode::Paletted:
            for (int i = 0; i < kCubeSize; ++i)
                p.push_back({std::uint8_t(i / 36 * 51), std::uint8_t(i / 6 % 6 * 51), std::uint8_t(i % 6 * 51)});
            for (int i = 0; i < 256 - kCubeSize; ++i) p.push_back({ExtraGrey(i), ExtraGrey(i), ExtraGrey(i)});
            break;
        case ColourMode::Rgb:
        case ColourMode::Cmyk:
            break;
    }
    return p;
}

std::uint8_t Luma(const std::uint8_t* px) {
    return static_cast<std::uint8_t>((299 * px[0] + 587 * px[1] + 114 * px[2] + 500) / 1000);
}

int Distance(const std::uint8_t* px, const Colour& c) {
    int dr = px[0] - c.red, dg = px[1] - c.green, db = px[2] - c.blue;
    return dr * dr + dg * dg + db * db;
}

std::uint8_t NearestVga(const std::uint8_t* px) {
    int best = 0;
    for (int i = 1; i < 16; ++i)
        if (Distance(px, kVga16[i]) < Distance(px, kVga16[best])) best = i;
    return static_cast<std::uint8_t>(best);
}

std::uint8_t CubeLevel(std::uint8_t v) { return static_cast<std::uint8_t>((v + 25) / 51); }

std::uint8_t NearestPaletted(const std::uint8_t* px) {
    int cube = CubeLevel(px[0]) * 36 + CubeLevel(px[1]) * 6 + CubeLevel(px[2]);
    if (px[0] != px[1] || px[1] != px[2]) return static_cast<std::uint8_t>(cube);
    int best = cube, bestDiff = std::abs(CubeLevel(px[0]) * 51 - px[0]);
    for (int i = 0; i < 256 - kCubeSize; ++i) {
        int diff = std::abs(ExtraGrey(i) - px[0]);
        if (diff < bestDiff) best = kCubeSize + i, bestDiff = diff;
    }
    return static_cast<std::uint8_t>(best);
}

// One pixel's samples in `mode`: an index or grey level, RGB or CMYK.
void Samples(ColourMode mode, const std::uint8_t* px, std::uint8_t* out) {
    switch (mode) {
        case ColourMode::BlackWhite:
            out[0] = Luma(px) >= 128 ? 1 : 0;
            break;
        case ColourMode::Colours16:
            out[0] = NearestVga(px);
            break;
        case ColourMode::Greyscale:
            out[0] = Luma(px);
            break;
        case ColourMode::Paletted:
            out[0] = NearestPaletted(px);
            break;
        case ColourMode::Rgb:
            std::copy(px, px + 3, out);
            break;
        case ColourMode::Cmyk: {
            int k = 255 - std::max({px[0], px[1], px[2]});
            for (int i = 0; i < 3; ++i)
                out[i] = k == 255 ? 0 : static_cast<std::uint8_t>(((255 - px[i] - k) * 255 + (255 - k) / 2) / (255 - k));
            out[3] = static_cast<std::uint8_t>(k);
            break;
        }
    }
}

// The mode a format writes for `asked`.
ColourMode StoredMode(ImageFormat format, ColourMode asked) {
    return format != ImageFormat::Tiff && asked == ColourMode::Cmyk ? ColourMode::Rgb : asked;
}

int SamplesPerPixel(ColourMode mode) {
    return mode == ColourMode::Rgb ? 3 : mode == ColourMode::Cmyk ? 4 : 1;
}

int BitsPerSample(ColourMode mode) {
    return mode == ColourMode::BlackWhite ? 1 : mode == ColourMode::Colours16 ? 4 : 8;
}

// Renders row y and converts it to `mode`'s samples, one pixel after another.
class SampleRows {
public:
    SampleRows(RowSource& rows, std::int32_t width, ColourMode mode)
        : rows_(rows), mode_(mode), rgb_(std::size_t(width) * 3), samples_(std::size_t(width) * SamplesPerPixel(mode)) {}
    const Bytes& Row(std::int32_t y) {
        rows_.Row(y, rgb_.data());
        const int spp = SamplesPerPixel(mode_);
        for (std::size_t i = 0, n = rgb_.size() / 3; i < n; ++i) Samples(mode_, &rgb_[3 * i], &samples_[spp * i]);
        return samples_;
    }

private:
    RowSource& rows_;
    ColourMode mode_;
    Bytes rgb_, samples_;
};

// Samples of `bits` (1, 4 or 8) each, most significant first, into `out`.
void Pack(const Bytes& samples, int bits, std::uint8_t* out) {
    if (bits == 8) {
        std::copy(samples.begin(), samples.end(), out);
        return;
    }
    const int perByte = 8 / bits;
    std::fill(out, out + (samples.size() + perByte - 1) / perByte, 0);
    for (std::size_t i = 0; i < samples.size(); ++i)
        out[i / perByte] |= static_cast<std::uint8_t>(samples[i] << (8 - bits * (1 + i % perByte)));
}

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

bool Send(ByteSink& sink, const Bytes& b) { return b.empty() || sink.Write(b.data(), b.size()); }

bool WriteBmp(const ImageShape& shape, RowSource& rows, ByteSink& sink) {
    const ColourMode mode = StoredMode(ImageFormat::Bmp, shape.mode);
    const int bits = BitsPerSample(mode) * SamplesPerPixel(mode);
    const auto palette = PaletteOf(mode);
    const std::uint32_t rowBytes = (std::uint32_t(shape.width) * bits + 31) / 32 * 4;
    const std::uint32_t dataOffset = 14 + 40 + 4 * std::uint32_t(palette.size());
    const std::uint32_t dataSize = rowBytes * std::uint32_t(shape.height);
    auto perMetre = [](std::int32_t dpi) { return std::uint32_t((std::int64_t(dpi) * 10000 + 127) / 254); };

    Bytes h;
    h.push_back('B');
    h.push_back('M');
    Put32(h, dataOffset + dataSize);
    Put32(h, 0);
    Put32(h, dataOffset);
    Put32(h, 40);
    Put32(h, std::uint32_t(shape.width));
    Put32(h, std::uint32_t(shape.height));  // positive: rows run bottom-up
    Put16(h, 1);
    Put16(h, std::uint32_t(bits));
    Put32(h, 0);  // BI_RGB
    Put32(h, dataSize);
    Put32(h, perMetre(shape.xDpi));
    Put32(h, perMetre(shape.yDpi));
    Put32(h, std::uint32_t(palette.size()));
    Put32(h, 0);
    for (const Colour& c : palette) {
        h.push_back(c.blue);
        h.push_back(c.green);
        h.push_back(c.red);
        h.push_back(0);
    }
    if (!Send(sink, h)) return false;

    SampleRows source(rows, shape.width, mode);
    Bytes line(rowBytes);
    for (std::int32_t y = shape.height - 1; y >= 0; --y) {
        const Bytes& s = source.Row(y);
        std::fill(line.begin(), line.end(), 0);
        if (mode == ColourMode::Rgb) {
            for (std::size_t i = 0; i < s.size(); i += 3) {
                line[i] = s[i + 2];
                line[i + 1] = s[i + 1];
                line[i + 2] = s[i];
            }
        } else {
            Pack(s, bits, line.data());
        }
        if (!Send(sink, line)) return false;
    }
    return true;
}

// PCX run-length coding of one plane's line: runs of up to 63 equal bytes;
// a single byte with both top bits set must be written as a run too.
void PcxEncode(const std::uint8_t* data, std::size_t n, Bytes& out) {
    for (std::size_t i = 0; i < n;) {
        std::size_t run = 1;
        while (i + run < n && run < 63 && data[i + run] == data[i]) ++run;
        if (run > 1 || data[i] >= 0xC0) out.push_back(std::uint8_t(0xC0 | run));
        out.push_back(data[i]);
        i += run;
    }
}

bool WritePcx(const ImageShape& shape, RowSource& rows, ByteSink& sink) {
    const ColourMode mode = StoredMode(ImageFormat::Pcx, shape.mode);
    // 16 colours as four 1-bit planes (EGA style), RGB as three 8-bit planes.
    const int planes = mode == ColourMode::Colours16 ? 4 : mode == ColourMode::Rgb ? 3 : 1;
    const int bits = mode == ColourMode::BlackWhite || mode == ColourMode::Colours16 ? 1 : 8;
    std::uint32_t bytesPerLine = (std::uint32_t(shape.width) * bits + 7) / 8;
    bytesPerLine += bytesPerLine % 2;  // lines are an even number of bytes
    const auto palette = PaletteOf(mode);

    Bytes h;
    h.push_back(10);  // ZSoft
    h.push_back(5);   // version 3.0 and later
    h.push_back(1);   // run-length coded
    h.push_back(std::uint8_t(bits));
    Put16(h, 0);
    Put16(h, 0);
    Put16(h, std::uint32_t(shape.width - 1));
    Put16(h, std::uint32_t(shape.height - 1));
    Put16(h, std::uint32_t(shape.xDpi));
    Put16(h, std::uint32_t(shape.yDpi));
    for (int i = 0; i < 16; ++i) {
        Colour c = palette.size() <= 16 && i < int(palette.size()) ? palette[i] : Colour{};
        h.push_back(c.red);
        h.push_back(c.green);
        h.push_back(c.blue);
    }
    h.push_back(0);
    h.push_back(std::uint8_t(planes));
    Put16(h, bytesPerLine);
    Put16(h, mode == ColourMode::Greyscale ? 2 : 1);
    Put16(h, 0);
    Put16(h, 0);
    h.resize(128, 0);
    if (!Send(sink, h)) return false;

    SampleRows source(rows, shape.width, mode);
    Bytes plane(bytesPerLine), out;
    for (std::int32_t y = 0; y < shape.height; ++y) {
        const Bytes& s = source.Row(y);
        out.clear();
        for (int p = 0; p < planes; ++p) {
            std::fill(plane.begin(), plane.end(), 0);
            if (mode == ColourMode::Colours16) {
                for (std::int32_t x = 0; x < shape.width; ++x)
                    if (s[x] >> p & 1) plane[x / 8] |= std::uint8_t(0x80 >> (x % 8));
            } else if (mode == ColourMode::Rgb) {
                for (std::int32_t x = 0; x < shape.width; ++x) plane[x] = s[3 * x + p];
            } else {
                Pack(s, bits, plane.data());
            }
            PcxEncode(plane.data(), plane.size(), out);
        }
        if (!Send(sink, out)) return false;
    }
    if (palette.size() == 256) {
        Bytes tail{0x0C};
        for (const Colour& c : palette) {
            tail.push_back(c.red);
            tail.push_back(c.green);
            tail.push_back(c.blue);
        }
        if (!Send(sink, tail)) return false;
    }
    return true;
}

bool WriteTga(const ImageShape& shape, RowSource& rows, ByteSink& sink) {
    const ColourMode mode = StoredMode(ImageFormat::Tga, shape.mode);
    const bool mapped = mode == ColourMode::Colours16 || mode == ColourMode::Paletted;
    const bool grey = mode == ColourMode::BlackWhite || mode == ColourMode::Greyscale;
    const auto palette = mapped ? PaletteOf(mode) : std::vector<Colour>{};

    Bytes h;
    h.push_back(0);                                 // no image id
    h.push_back(mapped ? 1 : 0);                    // colour map present
    h.push_back(mapped ? 1 : grey ? 3 : 2);         // uncompressed mapped, true-colour or grey
    Put16(h, 0);                                    // first map entry
    Put16(h, std::uint32_t(palette.size()));
    h.push_back(mapped ? 24 : 0);                   // bits per map entry
    Put16(h, 0);
    Put16(h, 0);
    Put16(h, std::uint32_t(shape.width));
    Put16(h, std::uint32_t(shape.height));
    h.push_back(mode == ColourMode::Rgb ? 24 : 8);
    h.push_back(0x20);                              // first row is the top row
    for (const Colour& c : palette) {
        h.push_back(c.blue);
        h.push_back(c.green);
        h.push_back(c.red);
    }
    if (!Send(sink, h)) return false;

    SampleRows source(rows, shape.width, mode);
    Bytes line;
    for (std::int32_t y = 0; y < shape.height; ++y) {
        line = source.Row(y);
        if (mode == ColourMode::Rgb) {
            for (std::size_t i = 0; i < line.size(); i += 3) std::swap(line[i], line[i + 2]);
        } else if (mode == ColourMode::BlackWhite) {
            for (auto& v : line) v = v ? 255 : 0;
        }
        if (!Send(sink, line)) return false;
    }
    return true;
}

bool WriteTiff(const ImageShape& shape, RowSource& rows, ByteSink& sink) {
    const ColourMode mode = shape.mode;  // TIFF holds every mode
    const int spp = SamplesPerPixel(mode), bps = BitsPerSample(mode);
    const bool mapped = mode == ColourMode::Colours16 || mode == ColourMode::Paletted;
    const std::uint32_t rowBytes = (std::uint32_t(shape.width) * spp * bps + 7) / 8;
    const std::uint32_t dataSize = rowBytes * std::uint32_t(shape.height);
    const std::uint32_t ifdOffset = 8 + dataSize + dataSize % 2;

    struct Entry {
        std::uint16_t tag, type;
        std::uint32_t count, value;
    };
    enum : std::uint16_t { kShort = 3, kLong = 4, kRational = 5 };
    const std::uint16_t photometric = mode == ColourMode::Rgb ? 2 : mapped ? 3 : mode == ColourMode::Cmyk ? 5 : 1;
    std::vector<Entry> entries = {
        {256, kLong, 1, std::uint32_t(shape.width)},
        {257, kLong, 1, std::uint32_t(shape.height)},
        {258, kShort, std::uint32_t(spp), std::uint32_t(bps)},  // an offset when it does not fit inline
        {259, kShort, 1, 1},                                    // no compression
        {262, kShort, 1, photometric},
        {273, kLong, 1, 8},                                     // one strip, right after the header
        {277, kShort, 1, std::uint32_t(spp)},
        {278, kLong, 1, std::uint32_t(shape.height)},
        {279, kLong, 1, dataSize},
        {282, kRational, 1, 0},
        {283, kRational, 1, 0},
        {284, kShort, 1, 1},  // chunky
        {296, kShort, 1, 2},  // inch
    };
    if (mapped) entries.push_back({320, kShort, 3u << bps, 0});
    if (mode == ColourMode::Cmyk) entries.push_back({332, kShort, 1, 1});  // CMYK inks

    // Values too big for an entry follow the directory.
    Bytes extra;
    std::uint32_t extraOffset = ifdOffset + 2 + 12 * std::uint32_t(entries.size()) + 4;
    for (Entry& e : entries) {
        if (e.tag == 258 && spp > 2) {
            e.value = extraOffset + std::uint32_t(extra.size());
            for (int i = 0; i < spp; ++i) Put16(extra, std::uint32_t(bps));
        } else if (e.type == kRational) {
            e.value = extraOffset + std::uint32_t(extra.size());
            Put32(extra, std::uint32_t(e.tag == 282 ? shape.xDpi : shape.yDpi));
            Put32(extra, 1);
        } else if (e.tag == 320) {
            e.value = extraOffset + std::uint32_t(extra.size());
            const auto palette = PaletteOf(mode);
            for (auto channel : {&Colour::red, &Colour::green, &Colour::blue})
                for (const Colour& c : palette) Put16(extra, c.*channel * 257u);
        }
    }

    Bytes h{'I', 'I', 42, 0};
    Put32(h, ifdOffset);
    if (!Send(sink, h)) return false;
    SampleRows source(rows, shape.width, mode);
    Bytes line(rowBytes);
    for (std::int32_t y = 0; y < shape.height; ++y) {
        Pack(source.Row(y), bps, line.data());
        if (!Send(sink, line)) return false;
    }
    Bytes ifd;
    if (dataSize % 2) ifd.push_back(0);  // the directory starts on a word boundary
    Put16(ifd, std::uint32_t(entries.size()));
    for (const Entry& e : entries) {
        Put16(ifd, e.tag);
        Put16(ifd, e.type);
        Put32(ifd, e.count);
        if (e.type == kShort && e.count == 1) {
            Put16(ifd, e.value);
            Put16(ifd, 0);
        } else {
            Put32(ifd, e.value);
        }
    }
    Put32(ifd, 0);  // no next directory
    ifd.insert(ifd.end(), extra.begin(), extra.end());
    return Send(sink, ifd);
}

}  // namespace

std::optional<ImageFormat> FormatForFilter(std::int32_t filterId) {
    switch (filterId) {
        case 769: return ImageFormat::Bmp;
        case 770: return ImageFormat::Pcx;
        case 771: return ImageFormat::Tga;
        case 772: return ImageFormat::Tiff;
        default: return std::nullopt;
    }
}

std::optional<ColourMode> ModeForImageType(std::int32_t imageType) {
    if (imageType < 1 || imageType > 6) return std::nullopt;
    return static_cast<ColourMode>(imageType);
}

std::string CheckImageShape(const ImageShape& shape) {
    if (shape.width < 1 || shape.height < 1) return "width and height must be at least 1 pixel";
    if (shape.width > kMaxSide || shape.height > kMaxSide)
        return "width and height must be at most " + std::to_string(kMaxSide) + " pixels";
    if (std::int64_t{shape.width} * shape.height > kMaxPixels)
        return "more than " + std::to_string(kMaxPixels) + " pixels";
    if (shape.xDpi < 1 || shape.yDpi < 1 || shape.xDpi > kMaxDpi || shape.yDpi > kMaxDpi)
        return "resolution must be 1 to " + std::to_string(kMaxDpi) + " dpi";
    return {};
}

bool WriteImage(ImageFormat format, const ImageShape& shape, RowSource& rows, ByteSink& sink) {
    if (!CheckImageShape(shape).empty()) return false;
    switch (format) {
        case ImageFormat::Bmp: return WriteBmp(shape, rows, sink);
        case ImageFormat::Pcx: return WritePcx(shape, rows, sink);
        case ImageFormat::Tga: return WriteTga(shape, rows, sink);
        case ImageFormat::Tiff: return WriteTiff(shape, rows, sink);
    }
    return false;
}

bool WriteParameterFile(const ExportParameters& p, ByteSink& sink) {
    std::string text = "CorelDRAW stand-in export\r\n";
    auto line = [&](const char* name, std::int32_t value) {
        text += name;
        text += '=';
        text += std::to_string(value);
        text += "\r\n";
    };
    line("FilterId", p.filterId);
    line("Page", p.page);
    line("Width", p.width);
    line("Height", p.height);
    line("XResolution", p.xResolution);
    line("YResolution", p.yResolution);
    line("ImageType", p.imageType);
    line("AntiAliasing", p.antiAliasing);
    line("SelectionOnly", p.selectionOnly ? 1 : 0);
    return sink.Write(text.data(), text.size());
}

}  // namespace standin
