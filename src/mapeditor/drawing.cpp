#include "mapeditor/drawing.h"

#include <algorithm>

namespace {

void strip(TCanvas& c, int x, int y, int w, int h, TColor colour)
{
    c.Brush.Style = bsSolid;
    c.Brush.Bitmap = nullptr;
    c.Brush.Color = colour;
    c.FillRect({x, y, x + w, y + h});
}

}  // namespace

void DrawBevel(TCanvas& c, int x, int y, int w, int h, bool pressed, TColor face, TColor shadow, TColor light)
{
    if (w < 0 || h < 0) return;
    strip(c, x, y, w + 1, h + 1, face);
    const TColor topLeft = pressed ? shadow : light;
    const TColor bottomRight = pressed ? light : shadow;
    strip(c, x, y, w + 1, 1, topLeft);
    strip(c, x, y, 1, h + 1, topLeft);
    strip(c, x, y + h, w + 1, 1, bottomRight);
    strip(c, x + w, y, 1, h + 1, bottomRight);
}

void DrawBevel2(TCanvas& c, int x, int y, int w, int h, bool pressed, TColor face, TColor shadow, TColor light)
{
    DrawBevel(c, x, y, w, h, pressed, face, shadow, light);
    if (w < 2 || h < 2) return;
    if (pressed) {
        strip(c, x + 1, y + 1, w - 1, 1, shadow);
        strip(c, x + 1, y + 1, 1, h - 1, shadow);
    } else {
        strip(c, x + 1, y + h - 1, w - 1, 1, shadow);
        strip(c, x + w - 1, y + 1, 1, h - 1, shadow);
    }
}

void FillBox(TCanvas& c, int x, int y, int w, int h, TColor colour)
{
    strip(c, x, y, w, h, colour);
}

void DrawCornerMarks(TCanvas& c, int x, int y, int w, int h, int corners, TColor colour)
{
    const int s = std::min(w, h);
    if (s <= 0 || corners == 0) return;
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Pen.Color = colour;
    c.Brush.Style = bsSolid;
    c.Brush.Bitmap = nullptr;
    c.Brush.Color = colour;
    const int r = x + w - 1, b = y + h - 1;
    if (corners & 1) {
        const TPoint t[] = {{x, y}, {x + s - 1, y}, {x, y + s - 1}};
        c.Polygon(t);
    }
    if (corners & 2) {
        const TPoint t[] = {{r, y}, {r, y + s - 1}, {r - s + 1, y}};
        c.Polygon(t);
    }
    if (corners & 4) {
        const TPoint t[] = {{x, b}, {x, b - s + 1}, {x + s - 1, b}};
        c.Polygon(t);
    }
    if (corners & 8) {
        const TPoint t[] = {{r, b}, {r - s + 1, b}, {r, b - s + 1}};
        c.Polygon(t);
    }
}

const TBitmap& MakeHatchBrush(TColor colour1, TColor colour2)
{
    static TBitmap hatch(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) hatch.SetPixel(x, y, (x + y) % 2 ? colour2 : colour1);
    return hatch;
}

void FillHatched(TCanvas& c, int x, int y, int w, int h)
{
    static const TBitmap& hatch = MakeHatchBrush(0xF0F0F0, clWhite);
    c.Brush.Style = bsSolid;
    c.Brush.Bitmap = &hatch;
    c.FillRect({x, y, x + w, y + h});
    c.Brush.Bitmap = nullptr;
}

TColor HalfBright(TColor colour)
{
    const TColor rgb = ColorToRgb(colour);
    return (rgb >> 1) & 0x7F7F7F;
}

void DrawRing(TCanvas& c, int x, int y, int w, int h, TColor colour)
{
    c.Brush.Style = bsClear;
    c.Pen.Style = psSolid;
    c.Pen.Width = 3;
    c.Pen.Color = HalfBright(colour);
    c.Ellipse(x + 4, y + 3, x + w, y + h - 1);
    c.Pen.Color = colour;
    c.Ellipse(x + 2, y + 2, x + w - 2, y + h - 2);
    c.Pen.Width = 1;
    c.Brush.Style = bsSolid;
}

void TileBitmap(TCanvas& c, const TBitmap& bitmap, int left, int top, int right, int bottom, int offsetX, int offsetY)
{
    const int bw = bitmap.Width(), bh = bitmap.Height();
    if (bw <= 0 || bh <= 0 || right <= left || bottom <= top) return;
    const int sx = ((offsetX % bw) + bw) % bw, sy = ((offsetY % bh) + bh) % bh;
    for (int y = top - sy; y < bottom; y += bh)
        for (int x = left - sx; x < right; x += bw) {
            const TRect part{std::max(left, x) - x, std::max(top, y) - y, std::min(right, x + bw) - x,
                             std::min(bottom, y + bh) - y};
            c.DrawPart(x + part.left, y + part.top, bitmap, part);
        }
}

void DotFill(TBitmap& bitmap, int x, int y, int w, int h, TColor colour)
{
    const std::uint32_t pixel = ScanLinePixel(colour);
    const int x1 = std::min(x + w, bitmap.Width()), y1 = std::min(y + h, bitmap.Height());
    for (int row = std::max(y, 0); row < y1; ++row) {
        std::uint32_t* line = bitmap.ScanLine(row);
        int start = x + ((row - y) % 2);
        if (start < 0) start += ((-start + 1) / 2) * 2;
        for (int px = start; px < x1; px += 2) line[px] = pixel;
    }
}

void RecolorBitmap(TBitmap* bitmap, TColor oldColour, TColor newColour)
{
    if (!bitmap) return;
    const std::uint32_t from = ScanLinePixel(oldColour), to = ScanLinePixel(newColour);
    for (int y = 0; y < bitmap->Height(); ++y) {
        std::uint32_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < bitmap->Width(); ++x)
            if ((row[x] | 0xFF000000u) == from) row[x] = to;
    }
}
