#include "Int16.h"

#include <gtest/gtest.h>

#include <cmath>

using trevolo::ParseInt16;
using trevolo::RoundToInt16;

TEST(RoundToInt16, HalvesGoToTheEvenNeighbour) {
    struct Case { double in; int out; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {590.5, 590}, {1181.0, 1181}, {32767.4, 32767}, {-32768.5, -32768},
    };
    for (const auto& c : cases) {
        auto got = RoundToInt16(c.in);
        ASSERT_TRUE(got.has_value()) << c.in;
        EXPECT_EQ(*got, c.out) << c.in;
    }
}

TEST(RoundToInt16, OutOfRangeOrNotANumberFails) {
    for (double v : {32767.5, -32769.0, 1e300, std::nan("")}) EXPECT_FALSE(RoundToInt16(v).has_value()) << v;
}

TEST(ParseInt16, ReadsTheWholeTextInTheUsersLocale) {
    struct Case { const wchar_t* text; wchar_t sep; std::optional<int> want; } cases[] = {
        {L"12", L'.', 12},     {L"  7 ", L'.', 7},    {L"2.5", L'.', 2},     {L"3.5", L'.', 4},
        {L"3,5", L',', 4},     {L"3,5", L'.', {}},    {L"-0", L'.', 0},      {L"40000", L'.', {}},
        {L"4000", L'.', 4000}, {L"", L'.', {}},       {L"   ", L'.', {}},    {L"abc", L'.', {}},
        {L"12a", L'.', {}},    {L".", L'.', {}},      {L".5", L'.', 0},      {L"-32768", L'.', -32768},
        {L"32767.5", L'.', {}}, {L"1 2", L'.', {}},
    };
    for (const auto& c : cases) {
        auto got = ParseInt16(c.text, c.sep);
        ASSERT_EQ(got.has_value(), c.want.has_value()) << "text '" << testing::PrintToString(std::wstring(c.text)) << "'";
        if (got) {
            EXPECT_EQ(*got, *c.want);
        }
    }
}
