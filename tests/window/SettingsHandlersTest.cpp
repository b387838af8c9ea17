// The size reading of "1：1 原样" over a fake session: which calls it makes,
// where it stops, and what it leaves in the settings.
#include "SettingsHandlers.h"

#include <gtest/gtest.h>

#include "FakeDrawSession.h"

using trevolo::ChooseExportSize;
using trevolo::ExportSettings;
using trevolo::SizeReadingFailure;

namespace {

std::vector<std::string> Names(std::initializer_list<const char*> names) {
    return {names.begin(), names.end()};
}

}  // namespace

TEST(ActualSizeReading, MeasuresTheSelectionAndClosesTheSession) {
    fake::FakeDrawSession session;
    session.size = {1000000, 500000};
    ExportSettings settings;
    EXPECT_EQ(ChooseExportSize(0, session, settings), SizeReadingFailure::None);
    EXPECT_EQ(session.CallNames(), Names({"Open", "SelectAllObjects", "GetSize", "Close"}));
    EXPECT_FALSE(session.IsOpen());
    EXPECT_EQ(settings.ExportWidth, 1181);
    EXPECT_EQ(settings.ExportHeight, 590);  // 590.5 to the even neighbour
}

TEST(ActualSizeReading, ProductsThatDoNotFitStopTheReading) {
    struct Case {
        const char* label;
        std::int32_t x, y;
        int width, height;
        SizeReadingFailure failure;
    } cases[] = {
        {"largest width that fits", 27745554, 1000, 32767, 1, SizeReadingFailure::None},
        {"width rounds up to 32768", 27745555, 1000, 500, 500, SizeReadingFailure::WidthTooLarge},
        {"only the height too large", 1000000, 27745555, 1181, 500, SizeReadingFailure::HeightTooLarge},
        {"negative sizes", -1000000, -500000, -1181, -590, SizeReadingFailure::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fake::FakeDrawSession session;
        session.size = {c.x, c.y};
        ExportSettings settings;
        EXPECT_EQ(ChooseExportSize(0, session, settings), c.failure);
        EXPECT_EQ(settings.ExportWidth, c.width);
        EXPECT_EQ(settings.ExportHeight, c.height);
        EXPECT_FALSE(session.IsOpen());
    }
}

TEST(ActualSizeReading, AFailedCallStopsBeforeClosingAndKeepsTheScriptObject) {
    struct Case {
        const char* failing;
        std::vector<std::string> calls;
        SizeReadingFailure failure;
    } cases[] = {
        {"SelectAllObjects", Names({"Open", "SelectAllObjects"}), SizeReadingFailure::NoSelection},
        {"GetSize", Names({"Open", "SelectAllObjects", "GetSize"}), SizeReadingFailure::NoSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        fake::FakeDrawSession session;
        session.Fail(c.failing);
        ExportSettings settings;
        EXPECT_EQ(ChooseExportSize(0, session, settings), c.failure);
        EXPECT_EQ(session.CallNames(), c.calls);
        EXPECT_TRUE(session.IsOpen());
        EXPECT_EQ(settings.ExportWidth, 500);
        EXPECT_EQ(settings.ExportHeight, 500);
    }

    fake::FakeDrawSession unreachable;
    unreachable.reachable = false;
    ExportSettings settings;
    EXPECT_EQ(ChooseExportSize(0, unreachable, settings), SizeReadingFailure::Unreachable);
    EXPECT_EQ(unreachable.CallNames(), Names({"Open"}));
}

TEST(ActualSizeReading, EveryFailureHasAMessage) {
    for (auto failure : {SizeReadingFailure::Unreachable, SizeReadingFailure::NoSelection, SizeReadingFailure::NoSize,
                         SizeReadingFailure::WidthTooLarge, SizeReadingFailure::HeightTooLarge})
        EXPECT_FALSE(trevolo::SizeReadingMessage(failure).empty()) << static_cast<int>(failure);
}
