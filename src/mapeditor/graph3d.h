#pragma once
// The arithmetic of the 3-D graph view, apart from the control so that it can be checked on its own: the rotation
// and projection, the height ramp, the refinement of a coloured surface triangle and which points carry a value
// label.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "mapeditor/sel.h"
#include "mapeditor/tabgraph.h"
#include "vcl/core.h"

inline constexpr int kRampBands = 61;    // colour index 0..61 over the colour range
inline constexpr int kRampEntries = 63;  // entries 61 and 62 are the top colour
inline constexpr int kAngleLow = -35, kAngleHigh = 36;  // rotations in 5-degree steps

using Rows3D = std::array<std::array<double, 3>, 3>;

// The unit rows turned about X, then Y, then Z by the angles (5-degree units), each divided by the sum of its
// entries' magnitudes.
[[nodiscard]] Rows3D RotatedRows(const std::array<int, 3>& angles);

// The projection of a control of width x height with the graph margins, the colour scale's space and the shown
// spans of the view's X axis, the data and the view's Y axis (raw units; a span of zero counts as 1). Not valid
// when the surface area has no room.
[[nodiscard]] Projection3D MakeProjection(const std::array<int, 3>& angles, int width, int height, int left, int right,
                                          int top, int bottom, int scaleSpace, double xSpan, double dataSpan,
                                          double ySpan);

// An angle brought into -35..36 by whole turns (72 steps).
[[nodiscard]] int WrapAngle(int angle);

// The 63 colours of the height ramp (0x00BBGGRR), linear between the stops.
[[nodiscard]] const std::array<TColor, kRampEntries>& HeightRamp();

// A ramp colour index from a value in the colour range low..high (a range of zero counts as 1).
[[nodiscard]] inline double RampIndex(double value, double low, double high)
{
    const double span = high > low ? high - low : 1.0;
    return (value - low) / span * kRampBands;
}

// The ramp entry for a colour index: rounded to the nearest entry and kept inside the ramp.
[[nodiscard]] inline TColor RampColour(double index)
{
    if (!std::isfinite(index)) index = 0;
    const double r = std::clamp(std::floor(index + 0.5), 0.0, double(kRampEntries - 1));
    return HeightRamp()[static_cast<std::size_t>(r)];
}

struct RampPoint
{
    double x = 0, y = 0;  // screen
    double index = 0;     // ramp colour index
};

// Fills the triangle in the ramp colour of its mean index; while depth allows and the indexes of its corners
// differ by whole entries, in four halved triangles instead, each refined the same way. `fill` gets the three
// corners and the colour of every triangle drawn.
template <typename Fill>
void FillRampTriangle(const RampPoint& a, const RampPoint& b, const RampPoint& c, int depth, Fill&& fill)
{
    const bool split = depth >= 1 && (std::trunc(a.index - b.index) != 0 || std::trunc(b.index - c.index) != 0);
    if (!split) {
        fill(a, b, c, RampColour((a.index + b.index + c.index) / 3));
        return;
    }
    auto mid = [](const RampPoint& p, const RampPoint& q) {
        return RampPoint{(p.x + q.x) / 2, (p.y + q.y) / 2, (p.index + q.index) / 2};
    };
    const RampPoint ab = mid(a, b), ac = mid(a, c), bc = mid(b, c);
    FillRampTriangle(a, ab, ac, depth - 1, fill);
    FillRampTriangle(b, ab, bc, depth - 1, fill);
    FillRampTriangle(c, ac, bc, depth - 1, fill);
    FillRampTriangle(ab, bc, ac, depth - 1, fill);
}

// One point of the surface asked whether it carries a value label.
struct LabelQuery
{
    int mode = 0;          // 0 none, 1 the operating point, 2 points of interest, 3 all
    int column = 0;        // -1 or columns on the added edges
    int row = 0;           // -1 or rows on the added edges
    int columns = 1, rows = 1;
    int shownColumn = -1;  // the one index of a collapsed axis (-1: not collapsed)
    int shownRow = -1;
    std::uint16_t mark = 0;
    int selected = 0;  // selection count
    bool operatingPoint = false;
};

// value(column, row) gives the grid value of a point.
template <typename Value>
[[nodiscard]] bool IsLabelledPoint(const LabelQuery& q, Value&& value)
{
    if (q.mode <= 0) return false;
    if (q.mode == 1) return q.operatingPoint;
    if (q.column < 0 || q.row < 0 || q.column >= q.columns || q.row >= q.rows) return false;
    if (q.shownColumn >= 0 && q.column != q.shownColumn) return false;
    if (q.shownRow >= 0 && q.row != q.shownRow) return false;
    if (q.mode >= 3) return true;
    if (q.operatingPoint || (q.mark & kMarkCorner)) return true;
    if ((q.mark & (kMarkCommitted | kMarkPicked)) && q.selected < 5) return true;
    const std::int32_t v = value(q.column, q.row);
    bool below = true, above = true;
    auto neighbour = [&](int c, int r) {
        const std::int32_t n = value(c, r);
        below = below && v < n;
        above = above && v > n;
    };
    if (q.shownColumn < 0) {
        if (q.column > 0) neighbour(q.column - 1, q.row);
        if (q.column + 1 < q.columns) neighbour(q.column + 1, q.row);
    }
    if (q.shownRow < 0) {
        if (q.row > 0) neighbour(q.column, q.row - 1);
        if (q.row + 1 < q.rows) neighbour(q.column, q.row + 1);
    }
    return below || above;
}
