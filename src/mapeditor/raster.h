#pragma once
// Drawing straight into a bitmap's pixels, for the graph views: a redraw of a full sheet draws thousands of small
// segments, markers and triangles, and the canvas's cost per call would be most of the redraw. The rules are the
// canvas's: rectangles cover left..right-1 and top..bottom-1, a one-pixel line leaves out its end pixel, nothing is
// antialiased. Everything is clipped to the rectangle given at construction (and to the bitmap).
#include <cstdint>

#include "vcl/graphics.h"

class PixelTarget final
{
public:
    PixelTarget(TBitmap& bitmap, const TRect& clip);

    [[nodiscard]] bool Empty() const { return m_clip.left >= m_clip.right || m_clip.top >= m_clip.bottom; }
    void FillRect(int left, int top, int right, int bottom, TColor colour);
    // One pixel wide, from (x0, y0) up to but without (x1, y1) unless withEnd.
    void Line(int x0, int y0, int x1, int y1, TColor colour, bool withEnd = false);
    // A wide pen's stroke (width 2 or 3), both ends included, as the old framework's round-capped wide pens.
    void WideLine(int x0, int y0, int x1, int y1, TColor colour, int width);
    // The outline of the box left..right-1, top..bottom-1 with its corner pixels cut (rounded by one pixel);
    // filled inside with `fill` unless fill is clNone.
    void RoundedBox(int left, int top, int right, int bottom, TColor pen, TColor fill);
    // Pixels whose centres lie inside the triangle (edges shared by two triangles are filled once).
    void FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, TColor colour);

    static constexpr TColor clNone = 0x1FFFFFFF;

private:
    void span(int y, int x0, int x1, std::uint32_t pixel);  // x0..x1-1
    void plot(int x, int y, std::uint32_t pixel);

    std::uint32_t* m_bits = nullptr;  // row 0 of the bitmap
    std::ptrdiff_t m_stride = 0;      // words from one row to the next
    TRect m_clip;
};
