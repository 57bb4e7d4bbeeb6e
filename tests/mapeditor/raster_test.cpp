// Drawing straight into a bitmap's pixels: the canvas's rules for lines and boxes, and triangles that share an
// edge covering every pixel between them once, wherever they come from.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "mapeditor/graph3d.h"
#include "mapeditor/raster.h"

namespace {

constexpr TColor kGround = 0x123456;

TBitmap ground(int w = 40, int h = 30)
{
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, kGround);
    return b;
}

}  // namespace

TEST(Raster, LinesAndBoxesKeepTheCanvasRules)
{
    TBitmap b = ground();
    PixelTarget px(b, {0, 0, 40, 30});
    px.Line(2, 2, 10, 2, clRed);  // the end pixel is left out
    EXPECT_EQ(b.Pixel(2, 2), clRed);
    EXPECT_EQ(b.Pixel(9, 2), clRed);
    EXPECT_EQ(b.Pixel(10, 2), kGround);
    px.Line(2, 5, 8, 11, clBlue, true);  // a diagonal with its end
    for (int k = 0; k <= 6; ++k) EXPECT_EQ(b.Pixel(2 + k, 5 + k), clBlue) << k;
    px.FillRect(20, 20, 24, 23, clLime);  // right and bottom edges exclusive
    EXPECT_EQ(b.Pixel(23, 22), clLime);
    EXPECT_EQ(b.Pixel(24, 22), kGround);
    EXPECT_EQ(b.Pixel(23, 23), kGround);
    px.RoundedBox(30, 20, 37, 27, clBlack, clWhite);  // the corner pixels are cut
    EXPECT_EQ(b.Pixel(30, 20), kGround);
    EXPECT_EQ(b.Pixel(31, 20), clBlack);
    EXPECT_EQ(b.Pixel(33, 23), clWhite);
    // Clipped: nothing outside the rectangle, whatever the coordinates (far ones included).
    TBitmap c = ground();
    PixelTarget clipped(c, {10, 10, 20, 20});
    clipped.Line(-2000000, 15, 2000000, 15, clRed);
    clipped.FillTriangle(-1e9, -1e9, 1e9, 5, 5, 1e9, clRed);
    clipped.FillTriangle(NAN, 0, 5, 5, 0, 5, clRed);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            if (x < 10 || x >= 20 || y < 10 || y >= 20) {
                ASSERT_EQ(c.Pixel(x, y), kGround) << x << "," << y;
            }
        }
    EXPECT_EQ(c.Pixel(15, 15), clRed);
}

TEST(Raster, TrianglesSharingAnEdgeLeaveNoGapAndNoOverlap)
{
    // A fan of triangles with corners on whole pixels (as the 3-D view rounds them), each refined into 64 as the
    // view refines its coloured triangles, so that many edges pass exactly through pixel centres: every pixel whose
    // centre lies inside the polygon is filled exactly once (each piece drawn alone, counted and wiped).
    constexpr int w = 320, h = 240, n = 24;
    const double cx = 161, cy = 119;
    std::vector<std::array<double, 2>> ring;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265358979 * i / n + 0.1;
        const double r = 100;
        ring.push_back({std::round(cx + r * std::cos(a)), std::round(cy + 0.9 * r * std::sin(a))});
    }
    std::vector<int> hits(w * h, 0);
    TBitmap b = ground(w, h);
    for (int i = 0; i < n; ++i) {
        const auto& p = ring[std::size_t(i)];
        const auto& q = ring[std::size_t((i + 1) % n)];
        FillRampTriangle({p[0], p[1], 0}, {q[0], q[1], 40}, {cx, cy, 20}, 3,
                         [&](const RampPoint& a, const RampPoint& c, const RampPoint& d, TColor) {
                             // Drawn alone, counted and wiped over its bounding box.
                             const int x0 = std::max(0, int(std::min({a.x, c.x, d.x})) - 1);
                             const int x1 = std::min(w, int(std::max({a.x, c.x, d.x})) + 2);
                             const int y0 = std::max(0, int(std::min({a.y, c.y, d.y})) - 1);
                             const int y1 = std::min(h, int(std::max({a.y, c.y, d.y})) + 2);
                             PixelTarget px(b, {0, 0, w, h});
                             px.FillTriangle(a.x, a.y, c.x, c.y, d.x, d.y, clRed);
                             for (int y = y0; y < y1; ++y)
                                 for (int x = x0; x < x1; ++x) hits[std::size_t(y * w + x)] += b.Pixel(x, y) == clRed;
                             px.FillRect(x0, y0, x1, y1, kGround);
                         });
    }
    auto inside = [&](double x, double y) {  // strictly inside: on the same side of every side as the centre
        for (int i = 0; i < n; ++i) {
            const auto& p = ring[std::size_t(i)];
            const auto& q = ring[std::size_t((i + 1) % n)];
            const auto& o = std::array<double, 2>{cx, cy};
            const double side = (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0]);
            const double centre = (q[0] - p[0]) * (o[1] - p[1]) - (q[1] - p[1]) * (o[0] - p[0]);
            if (side * centre < 1e-9) return false;  // a centre on the outline may go either way
        }
        return true;
    };
    int covered = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int count = hits[std::size_t(y * w + x)];
            ASSERT_LE(count, 1) << x << "," << y;
            if (inside(x + 0.5, y + 0.5)) {
                ASSERT_EQ(count, 1) << x << "," << y;
                ++covered;
            }
        }
    EXPECT_GT(covered, 25000);  // about pi x 100 x 90
}
