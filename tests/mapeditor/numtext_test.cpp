#include "mapeditor/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(NumberText, ScalesSignsAndGrouping)
{
    struct Case
    {
        std::int32_t raw;
        double scale;
        const char* text;
    };
    const Case cases[] = {
        {1500, 0.1, "150"},
        {12345, 1, "12 345"},
        {-123, 1, "-123"},
        {-123456, 1, "-123 456"},
        {5, 0.05, "0.25"},
        {40, 0.05, "2"},
        {123456, 0.1, "12 345.6"},
        {-123456, 0.1, "-12 345.6"},
        {999, 1, "999"},
        {1000, 1, "1 000"},
        {-1000, 1, "-1 000"},
        {-5, 0.1, "-0.5"},
        {1, 0.001, "0.001"},
        {15, 0.5, "7.5"},
        {0, 0.01, "0"},
        {300, 100, "30 000"},
        {std::numeric_limits<std::int32_t>::max(), 1, "2 147 483 647"},
        {std::numeric_limits<std::int32_t>::min(), 1, "-2 147 483 648"},
        {-1, 0.0001, "-0.0001"},
        {7, 0, "0"},  // no division by a zero scale
        {7, std::numeric_limits<double>::quiet_NaN(), "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.raw << " @ " << c.scale);
        EXPECT_EQ(NumberText(c.raw, c.scale), c.text);
    }
    EXPECT_EQ(NumberText(1000, 1, "rpm", true), "1 000 rpm");
    EXPECT_EQ(NumberText(1000, 1, "rpm", false), "1 000");
    EXPECT_EQ(NumberText(5, 1, "", true), "5");
}

TEST(NumberText, DecimalsOfScale)
{
    struct Case
    {
        double scale;
        int decimals;
    };
    for (const Case c : {Case{0.5, 1}, Case{0.1, 1}, Case{0.05, 2}, Case{0.01, 2}, Case{0.001, 3}, Case{1, 0},
                         Case{100, 0}, Case{0, 0}, Case{-0.1, 1}, Case{1e-300, 20}}) {
        SCOPED_TRACE(c.scale);
        EXPECT_EQ(scaleDecimals(c.scale), c.decimals);
    }
}

TEST(AxisLabelText, OneRowPerStepThreshold)
{
    struct Case
    {
        double step, value;
        const char* text;
    };
    const Case cases[] = {
        {0.0005, 0.0025, "2.50m"}, {0.005, 0.012, "12m"}, {0.05, 0.25, "0.25"}, {0.5, 2.5, "2.5"},
        {5, 1500, "1500"},         {2000, 12000, "12k"},  {2e6, 4e6, "4M"},     {5, -0.2, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AxisLabelText(c.step, c.value), c.text);
    }
}

TEST(RoundToRaw, HalfAwayFromZeroAfterDivision)
{
    struct Case
    {
        double value, scale;
        std::optional<std::int32_t> raw;
    };
    const Case cases[] = {
        {1.5, 0.1, 15},
        {-1.5, 0.1, -15},
        {0.05, 0.1, 1},
        {-0.05, 0.1, -1},
        {2.4, 1, 2},
        {2.5, 1, 3},
        {-2.5, 1, -3},
        {0.25, 0.05, 5},
        {150, 0.1, 1500},
        {12345, 1, 12345},
        {0.04, 0.1, 0},
        {-0.04, 0.1, 0},
        {3e9, 1, std::nullopt},
        {-3e9, 1, std::nullopt},
        {1, 0, std::nullopt},
        {std::numeric_limits<double>::infinity(), 1, std::nullopt},
        {2147483647, 1, 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " @ " << c.scale);
        EXPECT_EQ(roundToRaw(c.value, c.scale), c.raw);
    }
}

TEST(InterpolateBilinear, ClampsAndRounds)
{
    struct Case
    {
        const char* name;
        double x, y, x0, y0, x1, y1, z00, z01, z10, z11;
        std::int32_t result;
    };
    const Case cases[] = {
        {"centre", 5, 5, 0, 0, 10, 10, 0, 100, 50, 150, 75},
        {"left of x0 takes the x0 edge", -5, 5, 0, 0, 10, 10, 0, 100, 50, 150, 50},
        {"beyond both takes z11", 20, 30, 0, 0, 10, 10, 0, 100, 50, 150, 150},
        {"x1 = x0 weighs both columns half", 3, 0, 3, 0, 3, 10, 10, 0, 20, 0, 15},
        {"-2.5 rounds to -3", 5, 0, 0, 0, 10, 0, -5, -5, 0, 0, -3},
        {"2.5 rounds to 3", 5, 0, 0, 0, 10, 0, 5, 5, 0, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(InterpolateBilinear(c.x, c.y, c.x0, c.y0, c.x1, c.y1, c.z00, c.z01, c.z10, c.z11), c.result);
    }
}

TEST(InterpolateRect, MatchesHandComputedPlanes)
{
    constexpr int kStride = 50;
    struct Case
    {
        const char* name;
        std::vector<std::int32_t> xPoints, yPoints;  // empty: by index
        int c1, r1;                                  // rectangle from (0, 0)
        std::vector<std::vector<std::int32_t>> expected;
    };
    const Case cases[] = {
        // Corners 0, 30, 60, 90 by index: value = 30 g + 60 h.
        {"by index", {}, {}, 3, 2, {{0, 10, 20, 30}, {30, 40, 50, 60}, {60, 70, 80, 90}}},
        // Corners 0, 100, 200, 300 at X 0 10 40 100, Y 0 30 40: value = 100 g + 200 h.
        {"by points",
         {0, 10, 40, 100},
         {0, 30, 40},
         3,
         2,
         {{0, 10, 40, 100}, {150, 160, 190, 250}, {200, 210, 240, 300}}},
        // 0 to 1 over three columns: 1/3 and 2/3 round to 0 and 1.
        {"thirds", {}, {}, 3, 0, {{0, 0, 1, 1}}},
        // 0 to -3 over two columns: -1.5 rounds away from zero.
        {"negative half", {}, {}, 2, 0, {{0, -2, -3}}},
        // Equal end points: both sides weigh half.
        {"zero span of points", {7, 8, 7}, {}, 2, 1, {{0, 2, 4}, {4, 6, 8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int32_t> grid(kStride * 30, 999);
        auto at = [&](int col, int row) -> std::int32_t& { return grid[row * kStride + col]; };
        at(0, 0) = c.expected[0][0];
        at(c.c1, 0) = c.expected[0][c.c1];
        at(0, c.r1) = c.expected[c.r1][0];
        at(c.c1, c.r1) = c.expected[c.r1][c.c1];
        InterpolateRect(grid, kStride, c.xPoints, c.yPoints, 0, 0, c.c1, c.r1);
        for (int r = 0; r <= c.r1; ++r)
            for (int col = 0; col <= c.c1; ++col) {
                SCOPED_TRACE(testing::Message() << "cell " << col << "," << r);
                EXPECT_EQ(at(col, r), c.expected[r][col]);
            }
        EXPECT_EQ(at(c.c1 + 1, 0), 999);  // nothing outside the rectangle
    }
}

TEST(InterpolateRect, RefusesRectanglesOutsideItsStorage)
{
    std::vector<std::int32_t> grid(50 * 30, 5);
    const std::vector<std::int32_t> before = grid;
    const std::vector<std::int32_t> shortPoints{0, 1};
    struct Case
    {
        const char* name;
        int c0, r0, c1, r1;
    };
    for (const Case c : {Case{"negative", -1, 0, 2, 2}, Case{"reversed", 3, 0, 1, 2},
                         Case{"past the stride", 0, 0, 50, 1}, Case{"past the grid", 0, 0, 2, 30}}) {
        SCOPED_TRACE(c.name);
        InterpolateRect(grid, 50, {}, {}, c.c0, c.r0, c.c1, c.r1);
        EXPECT_EQ(grid, before);
    }
    InterpolateRect(grid, 50, shortPoints, {}, 0, 0, 3, 1);  // points shorter than the rectangle
    EXPECT_EQ(grid, before);
}
