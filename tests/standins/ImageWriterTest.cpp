// The stand-in's exports, read back by ImageMagick's identify: size,
// resolution, colour class and depth, and four probe pixels that show the
// row order, the channel order and the colour reduction of each mode.
#include "ImageWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using namespace standin;

namespace {

class FileSink final : public ByteSink {
public:
    explicit FileSink(const fs::path& path) : out_(path, std::ios::binary) {}
    bool Write(const void* data, std::size_t size) override {
        out_.write(static_cast<const char*>(data), std::streamsize(size));
        return bool(out_);
    }

private:
    std::ofstream out_;
};

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// "gray(81)" and "srgb(81,81,81)" alike become "81,81,81"; CMYK stays as is.
std::string Rgb(std::string pixel) {
    auto open = pixel.find('('), close = pixel.find(')');
    if (open == std::string::npos || close == std::string::npos || pixel.rfind("cmyk", 0) == 0) return pixel;
    std::string inner = pixel.substr(open + 1, close - open - 1);
    return pixel.rfind("gray", 0) == 0 ? inner + "," + inner + "," + inner : inner;
}

struct Probe {
    const char* topLeft;  // the colours of the four quarters, as identify reads them
    const char* topRight;
    const char* bottomLeft;
    const char* bottomRight;
};

// 13 x 7 pixels, odd on purpose, so row padding and packing show: an orange
// red, a dull yellow, black and the white of the paper.
Page TestPage() {
    Page page;
    page.width = 13;
    page.height = 7;
    page.objects = {{0, 0, 6, 3, {250, 10, 5}}, {6, 0, 7, 3, {240, 240, 20}}, {0, 3, 6, 4, {0, 0, 0}}};
    return page;
}

class ImageWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/standin-images-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

struct Expected {
    const char* classAndSpace;  // identify's %r
    int depth;                  // bits per sample (per plane for PCX)
    int colormapEntries;        // 0: no colour map
};

struct FormatCase {
    ImageFormat format;
    const char* extension;
    bool holdsResolution;
    Expected modes[6];  // ImageType 1 to 6
};

const FormatCase kFormats[] = {
    {ImageFormat::Bmp, "bmp", true,
     {{"PseudoClass Gray", 1, 2}, {"PseudoClass sRGB", 4, 16}, {"PseudoClass Gray", 8, 256},
      {"PseudoClass sRGB", 8, 256}, {"DirectClass sRGB", 8, 0}, {"DirectClass sRGB", 8, 0}}},
    {ImageFormat::Pcx, "pcx", true,
     {{"PseudoClass Gray", 1, 2}, {"PseudoClass sRGB", 1, 16}, {"PseudoClass Gray", 8, 256},
      {"PseudoClass sRGB", 8, 256}, {"DirectClass sRGB", 8, 0}, {"DirectClass sRGB", 8, 0}}},
    {ImageFormat::Tga, "tga", false,
     {{"DirectClass Gray", 8, 0}, {"PseudoClass sRGB", 8, 16}, {"DirectClass Gray", 8, 0},
      {"PseudoClass sRGB", 8, 256}, {"DirectClass sRGB", 8, 0}, {"DirectClass sRGB", 8, 0}}},
    {ImageFormat::Tiff, "tif", true,
     {{"DirectClass Gray", 1, 0}, {"PseudoClass sRGB", 4, 16}, {"DirectClass Gray", 8, 0},
      {"PseudoClass sRGB", 8, 256}, {"DirectClass sRGB", 8, 0}, {"DirectClass CMYK", 8, 0}}},
};

const Probe kRgbProbes[6] = {
    {"0,0,0", "255,255,255", "0,0,0", "255,255,255"},                 // threshold at mid grey
    {"255,0,0", "255,255,0", "0,0,0", "255,255,255"},                 // nearest VGA colour
    {"81,81,81", "215,215,215", "0,0,0", "255,255,255"},              // luma
    {"255,0,0", "255,255,0", "0,0,0", "255,255,255"},                 // nearest cube colour
    {"250,10,5", "240,240,20", "0,0,0", "255,255,255"},               // exact
    {"250,10,5", "240,240,20", "0,0,0", "255,255,255"},               // CMYK stored as RGB
};
const Probe kCmykProbes = {"cmyk(0,245,250,5)", "cmyk(0,0,234,15)", "cmyk(0,0,0,255)", "cmyk(0,0,0,0)"};
// ImageMagick ignores the black-and-white palette of a 1-bit PCX and reads a
// set bit as black; the file keeps the format's own rule (set bit = white).
const Probe kPcxBlackWhiteAsImageMagickReadsIt = {"255,255,255", "0,0,0", "255,255,255", "0,0,0"};

TEST_F(ImageWriterTest, EachFormatHoldsEachColourModeAtTheRightSizeAndResolution) {
    const Page page = TestPage();
    for (const FormatCase& f : kFormats) {
        for (int type = 1; type <= 6; ++type) {
            const std::string label = std::string(f.extension) + " ImageType " + std::to_string(type);
            SCOPED_TRACE(label);
            const fs::path file = dir_ / ("page" + std::to_string(type) + "." + f.extension);
            {
                FileSink sink(file);
                PageRaster raster(page, Box{0, 0, 13, 7}, 13, 7);
                ASSERT_TRUE(WriteImage(f.format, {13, 7, 300, 150, ColourMode(type)}, raster, sink));
            }
            std::istringstream facts(Shell("identify -format '%w %h %x %y %U|%r|%z|%[pixel:p{1,1}] "
                                         "%[pixel:p{11,1}] %[pixel:p{1,5}] %[pixel:p{11,5}]' '" +
                                         file.string() + "' 2>&1"));
            int width = 0, height = 0;
            double xRes = 0, yRes = 0;
            std::string units, classAndSpace, depth, tl, tr, bl, br;
            facts >> width >> height >> xRes >> yRes;
            std::getline(facts >> std::ws, units, '|');
            std::getline(facts, classAndSpace, '|');
            std::getline(facts, depth, '|');
            facts >> tl >> tr >> bl >> br;
            EXPECT_EQ(width, 13);
            EXPECT_EQ(height, 7);
            if (f.holdsResolution) {
                const double perInch = units == "PixelsPerCentimeter" ? 2.54 : 1.0;
                EXPECT_NE(units, "Undefined");
                EXPECT_EQ(std::lround(xRes * perInch), 300);
                EXPECT_EQ(std::lround(yRes * perInch), 150);
            } else {
                EXPECT_EQ(units, "Undefined");
            }
            const Expected& want = f.modes[type - 1];
            // identify pads %r with a space
            EXPECT_EQ(classAndSpace.substr(0, classAndSpace.find_last_not_of(' ') + 1), want.classAndSpace);
            EXPECT_EQ(depth, std::to_string(want.depth));

            std::string verbose = Shell("identify -verbose '" + file.string() + "' 2>&1");
            auto at = verbose.find("Colormap entries: ");
            int entries = at == std::string::npos ? 0 : std::atoi(verbose.c_str() + at + 18);
            EXPECT_EQ(entries, want.colormapEntries);

            const Probe& probe = f.format == ImageFormat::Tiff && type == 6 ? kCmykProbes
                                 : f.format == ImageFormat::Pcx && type == 1 ? kPcxBlackWhiteAsImageMagickReadsIt
                                                                             : kRgbProbes[type - 1];
            EXPECT_EQ(Rgb(tl), probe.topLeft);
            EXPECT_EQ(Rgb(tr), probe.topRight);
            EXPECT_EQ(Rgb(bl), probe.bottomLeft);
            EXPECT_EQ(Rgb(br), probe.bottomRight);
        }
    }
}

// A region far from the origin, stretched unevenly: pixel centres decide.
TEST_F(ImageWriterTest, TheRegionIsStretchedOverThePixels) {
    Page page;
    page.objects = {{1000000, 2000000, 500000, 500000, {0, 0, 255}}, {1500000, 2000000, 500000, 1000000, {0, 255, 0}}};
    const fs::path file = dir_ / "region.bmp";
    {
        FileSink sink(file);
        PageRaster raster(page, Box{1000000, 2000000, 2000000, 3000000}, 40, 10);
        ASSERT_TRUE(WriteImage(ImageFormat::Bmp, {40, 10, 96, 96, ColourMode::Rgb}, raster, sink));
    }
    EXPECT_EQ(Shell("identify -format '%[pixel:p{19,4}] %[pixel:p{20,9}] %[pixel:p{19,5}]' '" + file.string() + "'"),
              "srgb(0,0,255) srgb(0,255,0) srgb(255,255,255)");
}

TEST_F(ImageWriterTest, SizesAndResolutionsOutsideTheLimitsWriteNothing) {
    struct Case {
        ImageShape shape;
        bool ok;
    } cases[] = {
        {{1, 1, 1, 1, ColourMode::Rgb}, true},
        {{kMaxSide, 5000, 300, 300, ColourMode::BlackWhite}, true},
        {{0, 10, 300, 300, ColourMode::Rgb}, false},
        {{10, 0, 300, 300, ColourMode::Rgb}, false},
        {{-5, 10, 300, 300, ColourMode::Rgb}, false},
        {{kMaxSide + 1, 10, 300, 300, ColourMode::Rgb}, false},
        {{10, 2000000000, 300, 300, ColourMode::Rgb}, false},
        {{kMaxSide, kMaxSide, 300, 300, ColourMode::Rgb}, false},  // 400 million pixels
        {{10, 10, 0, 300, ColourMode::Rgb}, false},
        {{10, 10, 300, kMaxDpi + 1, ColourMode::Rgb}, false},
    };
    Page page;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.shape.width) + "x" + std::to_string(c.shape.height) + " at " +
                     std::to_string(c.shape.xDpi) + "x" + std::to_string(c.shape.yDpi));
        EXPECT_EQ(CheckImageShape(c.shape).empty(), c.ok);
        if (c.ok) continue;
        struct CountingSink final : ByteSink {
            std::size_t bytes = 0;
            bool Write(const void*, std::size_t size) override {
                bytes += size;
                return true;
            }
        } sink;
        PageRaster raster(page, Box{0, 0, 100, 100}, 1, 1);
        for (ImageFormat format : {ImageFormat::Bmp, ImageFormat::Pcx, ImageFormat::Tga, ImageFormat::Tiff})
            EXPECT_FALSE(WriteImage(format, c.shape, raster, sink));
        EXPECT_EQ(sink.bytes, 0u);
    }
}

TEST_F(ImageWriterTest, OtherFiltersGetAFileThatRecordsTheParameters) {
    EXPECT_FALSE(FormatForFilter(773).has_value());
    const fs::path file = dir_ / "page.gif";
    {
        FileSink sink(file);
        ASSERT_TRUE(WriteParameterFile({773, 3, 118, 59, 300, 200, 6, 1, true}, sink));
    }
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text,
              "CorelDRAW stand-in export\r\nFilterId=773\r\nPage=3\r\nWidth=118\r\nHeight=59\r\n"
              "XResolution=300\r\nYResolution=200\r\nImageType=6\r\nAntiAliasing=1\r\nSelectionOnly=1\r\n");
}

}  // namespace
