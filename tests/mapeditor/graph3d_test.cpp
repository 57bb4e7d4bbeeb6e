// The 3-D view's arithmetic: the rotation at the preset views, the projection of a known control, the angles'
// wrap, the height ramp, the refinement of coloured triangles and which points get a value label.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "mapeditor/graph3d.h"

namespace {

void expectRows(const Rows3D& rows, const Rows3D& want)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(rows[i][j], want[i][j], 1e-4) << "row " << i << " entry " << j;
}

}  // namespace

TEST(Graph3D, PresetViewsTurnTheUnitRows)
{
    struct Case
    {
        const char* name;
        std::array<int, 3> angles;
        Rows3D rows;
    };
    // Worked out by hand from the three rotations (5-degree steps) and the division by each row's magnitude sum.
    const Case cases[] = {
        {"TOP", {-18, 0, 0}, {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}}},
        {"ISO1", {-5, 4, 0}, {{{0.7332, 0, 0.2668}, {0.0998, 0.6259, -0.2743}, {-0.1957, 0.2668, 0.5376}}}},
        {"ISO2", {-5, 24, 0}, {{{-0.3660, 0, 0.6340}, {0.2467, 0.6109, 0.1424}, {-0.4726, 0.2545, -0.2729}}}},
        {"no turn", {0, 0, 0}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"quarter about Z", {0, 0, 18}, {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectRows(RotatedRows(c.angles), c.rows);
    }
}

TEST(Graph3D, ProjectionOfAKnownControl)
{
    // 500 x 300, margins 10 / 27 / 36 / 27, scale space 140: the surface area is 303 x 217, origin x 160.
    const Projection3D top = MakeProjection({-18, 0, 0}, 500, 300, 10, 27, 36, 27, 140, 100, 50, 20);
    ASSERT_TRUE(top.valid);
    EXPECT_EQ(top.width, 303);
    EXPECT_EQ(top.height, 217);
    EXPECT_NEAR(top.aspect, 303.0 / 217 * 0.95, 1e-12);
    EXPECT_EQ(top.originX, 160);
    EXPECT_EQ(top.xOffset, 0);
    EXPECT_EQ(top.originY, 300 - 27 - 10 - 217);  // row 1 is (0, 0, -1)
    double sx = 0, sy = 0, depth = 0;
    top.Project(100, 0, 0, sx, sy, depth);  // the end of X: the whole height wide, times the aspect
    EXPECT_NEAR(sx, 160 + 217 * top.aspect, 1e-9);
    EXPECT_NEAR(sy, 46, 1e-9);
    top.Project(0, 50, 20, sx, sy, depth);  // from above, height does not show; Y runs down the screen
    EXPECT_NEAR(sx, 160, 1e-9);
    EXPECT_NEAR(sy, 46 + 217, 1e-9);
    EXPECT_NEAR(depth, 0, 1e-12);

    const Projection3D iso1 = MakeProjection({-5, 4, 0}, 500, 300, 10, 27, 36, 27, 140, 100, 50, 20);
    EXPECT_EQ(iso1.xOffset, 0);         // row 0 has no negative entry
    EXPECT_EQ(iso1.originY, 203);       // trunc(263 - 217 * 0.2743)
    iso1.Project(0, 50, 0, sx, sy, depth);  // the top of the data axis: straight up by 217 * 0.6259
    EXPECT_NEAR(sx, 160, 1e-9);
    EXPECT_NEAR(sy, 203 - 217 * 0.6259, 0.05);
    EXPECT_NEAR(depth, 0, 1e-12);  // depth never depends on height

    // An aspect that comes out near 1 is exactly 1.
    const Projection3D square = MakeProjection({-5, 24, 0}, 229 + 197, 300, 10, 27, 36, 27, 140, 1, 1, 1);
    EXPECT_EQ(square.aspect, 1.0);
    // No room, no projection: a control shrunk to a few pixels.
    EXPECT_FALSE(MakeProjection({-5, 24, 0}, 8, 8, 10, 27, 36, 27, 140, 100, 50, 20).valid);
    // A span of zero is taken as one unit.
    const Projection3D flat = MakeProjection({-18, 0, 0}, 500, 300, 10, 27, 36, 27, 140, 0, 0, 0);
    ASSERT_TRUE(flat.valid);
    EXPECT_TRUE(std::isfinite(flat.draw[0][0]) && std::isfinite(flat.draw[1][2]));
}

TEST(Graph3D, AnglesWrapByWholeTurns)
{
    EXPECT_EQ(WrapAngle(36), 36);
    EXPECT_EQ(WrapAngle(37), -35);
    EXPECT_EQ(WrapAngle(-35), -35);
    EXPECT_EQ(WrapAngle(-36), 36);
    EXPECT_EQ(WrapAngle(24 + 72), 24);  // a drag of 720 pixels turns once round
}

TEST(Graph3D, HeightRampStopsAndSteps)
{
    const auto& ramp = HeightRamp();
    struct Case
    {
        int entry;
        TColor colour;  // 0x00BBGGRR
    };
    const Case cases[] = {{0, 0x550000},  {5, 0xAA0000},  {10, 0xFF0000}, {20, 0xFFFF00}, {30, 0x00FF00},
                          {38, 0x00FFFF}, {50, 0x00CCCC}, {61, 0x0000FF}, {62, 0x0000FF}};
    for (const Case& c : cases) EXPECT_EQ(ramp[static_cast<std::size_t>(c.entry)], c.colour) << c.entry;
    // Indexes outside the ramp take its end colours.
    EXPECT_EQ(RampColour(-7), ramp[0]);
    EXPECT_EQ(RampColour(500), ramp[62]);
    EXPECT_EQ(RampColour(9.6), ramp[10]);  // rounded to the nearest entry
    // A colour range of zero does not divide by zero.
    EXPECT_TRUE(std::isfinite(RampIndex(5, 3, 3)));
}

TEST(Graph3D, RampTrianglesSplitWhileTheirColoursDiffer)
{
    struct Case
    {
        std::array<double, 3> indexes;
        int depth;
        int fills;
    };
    const Case cases[] = {
        {{0, 40, 20}, 0, 1},   {{0, 40, 20}, 1, 4},   {{0, 40, 20}, 2, 16}, {{0, 40, 20}, 3, 64},
        {{0, 0.5, 0.9}, 3, 1},  // less than a whole entry apart: one colour at any depth
        {{0, 1.5, 1.5}, 3, 4},  // one split; the halves are less than an entry apart
    };
    for (const Case& c : cases) {
        int fills = 0;
        FillRampTriangle({0, 0, c.indexes[0]}, {64, 0, c.indexes[1]}, {0, 64, c.indexes[2]}, c.depth,
                         [&](const RampPoint&, const RampPoint&, const RampPoint&, TColor) { ++fills; });
        EXPECT_EQ(fills, c.fills) << c.indexes[0] << "," << c.indexes[1] << "," << c.indexes[2] << " depth " << c.depth;
    }
}

TEST(Graph3D, LabelledPoints)
{
    // 3 x 3 values: a peak in the middle, a ridge along X in the top row.
    const std::int32_t grid[3][3] = {{1, 9, 1}, {2, 5, 2}, {1, 1, 1}};
    auto value = [&](int c, int r) { return grid[r][c]; };
    auto query = [](int mode, int column, int row) {
        LabelQuery q;
        q.mode = mode;
        q.column = column;
        q.row = row;
        q.columns = q.rows = 3;
        return q;
    };
    EXPECT_FALSE(IsLabelledPoint(query(0, 1, 1), value));
    EXPECT_FALSE(IsLabelledPoint(query(1, 1, 1), value));
    LabelQuery op = query(1, 2, 2);
    op.operatingPoint = true;
    EXPECT_TRUE(IsLabelledPoint(op, value));
    EXPECT_TRUE(IsLabelledPoint(query(3, 2, 2), value));
    EXPECT_FALSE(IsLabelledPoint(query(3, -1, 1), value));  // an added edge never
    EXPECT_FALSE(IsLabelledPoint(query(3, 1, 3), value));
    // Mode 2: (1, 0) is above all its neighbours; (1, 1) is a maximum along X (2 < 5 > 2) but not along Y (9 > 5).
    EXPECT_TRUE(IsLabelledPoint(query(2, 1, 0), value));
    EXPECT_FALSE(IsLabelledPoint(query(2, 1, 1), value));
    EXPECT_TRUE(IsLabelledPoint(query(2, 0, 0), value));  // a local minimum: 1 < 9 and 1 < 2
    LabelQuery corner = query(2, 1, 1);
    corner.mark = kMarkCommitted | kMarkCorner;
    corner.selected = 40;
    EXPECT_TRUE(IsLabelledPoint(corner, value));
    LabelQuery many = query(2, 1, 1);
    many.mark = kMarkCommitted;
    many.selected = 5;
    EXPECT_FALSE(IsLabelledPoint(many, value));  // five or more selected: only the corners
    many.selected = 4;
    EXPECT_TRUE(IsLabelledPoint(many, value));
    // Along a collapsed axis only the shown index counts, and it has no neighbours there.
    LabelQuery collapsed = query(2, 1, 1);
    collapsed.shownRow = 1;
    EXPECT_TRUE(IsLabelledPoint(collapsed, value));  // 5 > 2 on both sides along X
    collapsed.row = 0;
    EXPECT_FALSE(IsLabelledPoint(collapsed, value));
}
