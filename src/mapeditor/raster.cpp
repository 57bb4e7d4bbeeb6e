#include "mapeditor/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// Coordinates far outside any bitmap are cut before they reach integer arithmetic.
constexpr double kFar = 1e6;

// The smallest integer not below v, for coordinates; far or non-finite ones are cut to the range first.
int ceilPixel(double v)
{
    if (!(v > -kFar)) return static_cast<int>(-kFar);
    if (!(v < kFar)) return static_cast<int>(kFar);
    const int i = static_cast<int>(v);
    return i + (v > i ? 1 : 0);
}

}  // namespace

PixelTarget::PixelTarget(TBitmap& bitmap, const TRect& clip)
{
    m_clip = {std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, bitmap.Width()),
              std::min(clip.bottom, bitmap.Height())};
    // The rows are asked for once: the bitmap's own row access checks its sharing on every call.
    m_bits = bitmap.ScanLine(0);
    if (!m_bits) {
        m_clip = {};
        return;
    }
    m_stride = bitmap.Height() > 1 ? bitmap.ScanLine(1) - m_bits : bitmap.Width();
}

void PixelTarget::span(int y, int x0, int x1, std::uint32_t pixel)
{
    if (y < m_clip.top || y >= m_clip.bottom) return;
    x0 = std::max(x0, m_clip.left);
    x1 = std::min(x1, m_clip.right);
    if (x0 >= x1) return;
    std::uint32_t* row = m_bits + y * m_stride;
    std::fill(row + x0, row + x1, pixel);
}

void PixelTarget::plot(int x, int y, std::uint32_t pixel)
{
    if (x < m_clip.left || x >= m_clip.right || y < m_clip.top || y >= m_clip.bottom) return;
    m_bits[y * m_stride + x] = pixel;
}

void PixelTarget::FillRect(int left, int top, int right, int bottom, TColor colour)
{
    const std::uint32_t pixel = ScanLinePixel(colour);
    top = std::max(top, m_clip.top);
    bottom = std::min(bottom, m_clip.bottom);
    for (int y = top; y < bottom; ++y) span(y, left, right, pixel);
}

void PixelTarget::Line(int x0, int y0, int x1, int y1, TColor colour, bool withEnd)
{
    const std::uint32_t pixel = ScanLinePixel(colour);
    if (y0 == y1) {
        if (x0 == x1) {
            if (withEnd) plot(x0, y0, pixel);
            return;
        }
        const int step = x1 > x0 ? 1 : -1;
        const int last = withEnd ? x1 : x1 - step;
        span(y0, std::min(x0, last), std::max(x0, last) + 1, pixel);
        return;
    }
    // A line wholly outside the clip on one side draws nothing; skipping it keeps long far-away lines cheap.
    if ((x0 < m_clip.left && x1 < m_clip.left) || (x0 >= m_clip.right && x1 >= m_clip.right) ||
        (y0 < m_clip.top && y1 < m_clip.top) || (y0 >= m_clip.bottom && y1 >= m_clip.bottom))
        return;
    // A line that runs far outside (a value at the end of its range on a tiny plot) is first cut to the clip, so
    // that the walk below stays short.
    constexpr int kSlack = 4096;
    if (std::min({x0, x1}) < m_clip.left - kSlack || std::max({x0, x1}) > m_clip.right + kSlack ||
        std::min({y0, y1}) < m_clip.top - kSlack || std::max({y0, y1}) > m_clip.bottom + kSlack) {
        double t0 = 0, t1 = 1;
        const double fx = x0, fy = y0, ddx = double(x1) - x0, ddy = double(y1) - y0;
        auto cut = [&](double p, double q) {
            if (p == 0) return q >= 0;
            const double t = q / p;
            if (p < 0) t0 = std::max(t0, t);
            else t1 = std::min(t1, t);
            return t0 <= t1;
        };
        if (!cut(-ddx, fx - (m_clip.left - 1)) || !cut(ddx, (m_clip.right + 1) - fx) ||
            !cut(-ddy, fy - (m_clip.top - 1)) || !cut(ddy, (m_clip.bottom + 1) - fy))
            return;
        x1 = static_cast<int>(std::lround(fx + t1 * ddx));
        y1 = static_cast<int>(std::lround(fy + t1 * ddy));
        x0 = static_cast<int>(std::lround(fx + t0 * ddx));
        y0 = static_cast<int>(std::lround(fy + t0 * ddy));
        withEnd = true;
    }
    const long dx = std::labs(long{x1} - x0), dy = -std::labs(long{y1} - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    long err = dx + dy;
    int x = x0, y = y0;
    for (long guard = dx - dy + 1; guard > 0; --guard) {
        if (x == x1 && y == y1) {
            if (withEnd) plot(x, y, pixel);
            return;
        }
        plot(x, y, pixel);
        const long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void PixelTarget::WideLine(int x0, int y0, int x1, int y1, TColor colour, int width)
{
    if (width <= 1) {
        Line(x0, y0, x1, y1, colour, true);
        return;
    }
    // Parallel one-pixel lines across the minor direction, centred on the given one.
    const bool flat = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const int from = -(width - 1) / 2, to = width / 2;
    for (int k = from; k <= to; ++k) {
        if (flat)
            Line(x0, y0 + k, x1, y1 + k, colour, true);
        else
            Line(x0 + k, y0, x1 + k, y1, colour, true);
    }
}

void PixelTarget::RoundedBox(int left, int top, int right, int bottom, TColor pen, TColor fill)
{
    if (right - left < 3 || bottom - top < 3) {
        FillRect(left, top, right, bottom, pen);
        return;
    }
    if (fill != clNone) FillRect(left + 1, top + 1, right - 1, bottom - 1, fill);
    const std::uint32_t p = ScanLinePixel(pen);
    span(top, left + 1, right - 1, p);
    span(bottom - 1, left + 1, right - 1, p);
    for (int y = top + 1; y < bottom - 1; ++y) {
        plot(left, y, p);
        plot(right - 1, y, p);
    }
}

void PixelTarget::FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, TColor colour)
{
    // Sorted by y: (ax, ay) top, (bx, by) middle, (cx, cy) bottom.
    double ax = x0, ay = y0, bx = x1, by = y1, cx = x2, cy = y2;
    if (by < ay) std::swap(ax, bx), std::swap(ay, by);
    if (cy < ay) std::swap(ax, cx), std::swap(ay, cy);
    if (cy < by) std::swap(bx, cx), std::swap(by, cy);
    if (!(cy - ay > 0) || !(cy - ay < 2 * kFar)) return;  // flat, or not finite
    // Rows whose centre y + 0.5 lies in [ay, cy).
    const int yStart = std::max(ceilPixel(ay - 0.5), m_clip.top);
    const int yEnd = std::min(ceilPixel(cy - 0.5), m_clip.bottom);
    if (yStart >= yEnd) return;
    if (std::max(ax, std::max(bx, cx)) < m_clip.left || std::min(ax, std::min(bx, cx)) >= m_clip.right) return;
    const std::uint32_t pixel = ScanLinePixel(colour);
    const double longSlope = (cx - ax) / (cy - ay);
    // The rows above the middle corner run between the long edge and the upper short edge, the rows below between
    // the long edge and the lower one. Each row's ends come straight from the edge's end points (no stepping from row to row), in the same
    // arithmetic for every triangle: two triangles that share an edge split its pixels between them without a gap.
    auto rows = [&](int from, int to, double shortX0, double shortY0, double shortSlope) {
        std::uint32_t* row = m_bits + from * m_stride;
        for (int y = from; y < to; ++y, row += m_stride) {
            const double yc = y + 0.5;
            const double xLong = ax + (yc - ay) * longSlope;
            const double xShort = shortX0 + (yc - shortY0) * shortSlope;
            // Pixels whose centre x + 0.5 lies in [left, right).
            int l = ceilPixel((xLong < xShort ? xLong : xShort) - 0.5);
            int r = ceilPixel((xLong < xShort ? xShort : xLong) - 0.5);
            if (l < m_clip.left) l = m_clip.left;
            if (r > m_clip.right) r = m_clip.right;
            for (int x = l; x < r; ++x) row[x] = pixel;
        }
    };
    const int yMiddle = std::clamp(ceilPixel(by - 0.5), yStart, yEnd);
    if (by > ay) rows(yStart, yMiddle, ax, ay, (bx - ax) / (by - ay));
    if (cy > by) rows(yMiddle, yEnd, bx, by, (cx - bx) / (cy - by));
}
