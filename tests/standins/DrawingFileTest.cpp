// The drawing file is written by tests (through the control library) and by
// hand; the server must read back exactly what was written and name the
// line of anything it cannot read.
#include "Drawing.h"

#include <gtest/gtest.h>

using namespace standin;

namespace {

TEST(DrawingFile, ReadsBackWhatItWrites) {
    DrawingFile file;
    file.documentOpen = false;
    file.reportedPageCount = 70000;
    file.exitAfterCalls = 0;
    file.failures = {{"SelectAllObjects", std::nullopt, std::nullopt}, {"FileExport", 2, 0x80070005u}};
    Page first;
    first.objects = {{-100, 0, 1000000, 500000, {255, 0, 16}}, {2147483000, 5, 647, 0, {0, 0, 0}}};
    Page second;
    second.width = 1;
    second.height = 2;
    file.pages = {first, second};

    DrawingFile back;
    std::string error;
    ASSERT_TRUE(ParseDrawingFile(FormatDrawingFile(file), back, error)) << error;
    EXPECT_FALSE(back.documentOpen);
    EXPECT_EQ(back.reportedPageCount, 70000);
    EXPECT_EQ(back.exitAfterCalls, 0);
    ASSERT_EQ(back.failures.size(), 2u);
    EXPECT_EQ(back.failures[0].call, "SelectAllObjects");
    EXPECT_FALSE(back.failures[0].page || back.failures[0].hresult);
    EXPECT_EQ(back.failures[1].page, 2);
    EXPECT_EQ(back.failures[1].hresult, 0x80070005u);
    ASSERT_EQ(back.pages.size(), 2u);
    ASSERT_EQ(back.pages[0].objects.size(), 2u);
    const Rectangle& r = back.pages[0].objects[0];
    EXPECT_EQ(r.left, -100);
    EXPECT_EQ(r.width, 1000000);
    EXPECT_EQ(r.height, 500000);
    EXPECT_TRUE(r.colour == (Colour{255, 0, 16}));
    EXPECT_EQ(back.pages[0].objects[1].left, 2147483000);
    EXPECT_EQ(back.pages[1].width, 1);
    EXPECT_EQ(back.pages[1].height, 2);
    EXPECT_TRUE(back.pages[1].objects.empty());
}

TEST(DrawingFile, CommentsBlankLinesAndWindowsLineEndsAreIgnored) {
    DrawingFile file;
    std::string error;
    ASSERT_TRUE(ParseDrawingFile("\xEF\xBB\xBF# two pages\r\n\r\npage # A4\r\n  rect 1 2 3 4 #00ff00 # green\r\n"
                                 "page 10 20\r\n#rect 0 0 1 1 #000000",
                                 file, error))
        << error;
    ASSERT_EQ(file.pages.size(), 2u);
    EXPECT_EQ(file.pages[0].width, 2100000);
    ASSERT_EQ(file.pages[0].objects.size(), 1u);
    EXPECT_TRUE(file.pages[0].objects[0].colour == (Colour{0, 255, 0}));
    EXPECT_EQ(file.pages[1].height, 20);
}

TEST(DrawingFile, MalformedLinesAreNamedAndNothingIsTaken) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"rect 0 0 1 1 #000000", "line 1: rect before the first page"},
        {"page\nrect 0 0 -1 1 #000000", "line 2: rect width and height must not be negative"},
        {"page\nrect 2147483647 0 1 1 #000000", "line 2: rect reaches beyond the 32-bit coordinate range"},
        {"page\n\nrect 0 0 1 1 red", "line 3: colour must be #RRGGBB"},
        {"page\nrect 0 0 1 #000000", "line 2: unknown directive or wrong number of words"},
        {"page 0 10", "line 1: page width and height must be positive 32-bit numbers"},
        {"pagecount 4294967296", "line 1: page count is not a 32-bit number"},
        {"exitafter -1", "line 1: call count is not a number of 0 or more"},
        {"fail GetSize page x", "line 1: page is not a 32-bit number"},
        {"fail GetSize hresult 80004005", "line 1: hresult is not 0x followed by hex digits"},
        {"fail GetSize page 1 page 2", "line 1: expected: fail <call> [page <n>] [hresult 0x<hex>]"},
        {"Page", "line 1: unknown directive or wrong number of words"},
    };
    for (const Case& c : cases) {
        DrawingFile file;
        file.reportedPageCount = 5;
        std::string error;
        EXPECT_FALSE(ParseDrawingFile(c.text, file, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(file.reportedPageCount, 5) << c.text;
    }
}

}  // namespace
