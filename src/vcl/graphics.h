#pragma once
// Drawing of the window framework: canvas, bitmap, pen, brush and font, over QPainter on QImage (or on a widget
// while it paints). The canvas keeps the pixel rules of the old framework, which the owner-drawn controls and their
// pixel tests rely on:
//  - rectangles, ellipses and fills cover left..right-1 and top..bottom-1 (right and bottom edges exclusive);
//  - LineTo and Polyline leave out the end pixel of a one-pixel line;
//  - nothing is antialiased, text included;
//  - text has an opaque background in the brush colour unless the brush is clear;
//  - pens wider than one pixel have round caps and joins;
//  - colours are 0x00BBGGRR, system colours come from a fixed palette (ColorToRgb);
//  - fonts are sized in points at a fixed 96 pixels per inch, whatever the screen says.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "vcl/core.h"

class QColor;
class QFont;
class QImage;
class QPaintDevice;
class QPainter;

struct TPoint
{
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Edges left and top inclusive, right and bottom exclusive.
struct TRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Dashed and dotted pens draw their pattern on one-pixel lines (18 on, 6 off; 3 on, 3 off), starting afresh with
// every line; wider pens draw them solid.
enum TPenStyle { psSolid, psClear, psDash, psDot };
enum TBrushStyle { bsSolid, bsClear };

// Font style bits.
inline constexpr unsigned fsBold = 1;
inline constexpr unsigned fsItalic = 2;
inline constexpr unsigned fsUnderline = 4;

class TBitmap;

struct TPen
{
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    // A pattern brush: the bitmap repeats from the canvas origin; Color is then unused. Not owned.
    const TBitmap* Bitmap = nullptr;
};

struct TFont
{
    std::string Name = "DejaVu Sans";
    int Size = 8;  // points; 0 or less is taken as 1
    unsigned Style = 0;
    TColor Color = clWindowText;
    int Orientation = 0;  // tenths of a degree counter-clockwise; 900 writes upward
    int Stretch = 100;    // width in percent of the normal face; below 100 picks a condensed face where there is one
};

// A pixel as a 32-bit scan line holds it (0xFFRRGGBB) and back.
[[nodiscard]] inline std::uint32_t ScanLinePixel(TColor color)
{
    const TColor rgb = ColorToRgb(color);
    return 0xFF000000u | ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}
[[nodiscard]] constexpr TColor PixelColor(std::uint32_t pixel)
{
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

class TCanvas final
{
public:
    // Draws on the device (not owned), which must outlive the canvas or be released first.
    explicit TCanvas(QPaintDevice* device = nullptr);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    [[nodiscard]] TPoint PenPos() const { return m_penPos; }
    void Polyline(std::span<const TPoint> points);
    // Filled with the brush, outlined with the pen, closed.
    void Polygon(std::span<const TPoint> points);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    // The brush only, no outline.
    void FillRect(const TRect& r);
    void Ellipse(int left, int top, int right, int bottom);
    // Corners rounded by ellipses of width w and height h, as the old framework takes them.
    void RoundRect(int left, int top, int right, int bottom, int w, int h);

    // Text anchored at its top-left corner (the top of the font's cell), in the font's colour and orientation.
    void TextOut(int x, int y, std::string_view text);
    [[nodiscard]] int TextWidth(std::string_view text);
    [[nodiscard]] int TextHeight(std::string_view text);  // height of the font's cell

    // Pictures, opaque.
    void Draw(int x, int y, const TBitmap& bitmap);
    // The part `source` of the bitmap, its top-left corner at (x, y).
    void DrawPart(int x, int y, const TBitmap& bitmap, const TRect& source);
    void StretchDraw(const TRect& r, const TBitmap& bitmap);

    // Pixels of an image canvas; nothing (black) on a widget.
    [[nodiscard]] TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Drawing stays inside the rectangle until ResetClip.
    void SetClipRect(const TRect& r);
    void ResetClip();

    // Ends the drawing session; the next drawing call begins a new one. Needed before the device is resized,
    // copied or shown elsewhere.
    void Release();
    // Draws on another device from now on (null: none).
    void SetDevice(QPaintDevice* device);
    [[nodiscard]] QPaintDevice* Device() const { return m_device; }

private:
    QPainter* painter();
    void applyPen(QPainter& p);
    void applyBrush(QPainter& p);
    const QFont& font();
    void line(int x0, int y0, int x1, int y1, bool withEnd);
    void wideLine(QPainter& p, const QColor& colour, int x0, int y0, int x1, int y1);
    QImage* image() const;
    struct LaidOutText;
    LaidOutText& laidOut(std::string_view text);

    QPaintDevice* m_device;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QFont> m_font;
    TFont m_fontMade;  // the TFont m_font was made from
    // Texts already measured and laid out in the current font: a table of a few hundred numbers is drawn again
    // and again, and shaping each text anew was most of a redraw.
    struct TextCache;
    std::unique_ptr<TextCache> m_texts;
    TPoint m_penPos;
    bool m_clipped = false;
    TRect m_clip;
};

// A 32-bit picture in memory (QImage Format_RGB32) with its canvas. Copies are deep.
class TBitmap final
{
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage& image);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;
    [[nodiscard]] bool Empty() const;
    // A new size; the old pixels are dropped and the bitmap is filled white.
    void SetSize(int width, int height);
    [[nodiscard]] TCanvas& Canvas() { return *m_canvas; }

    // Row y as 0xFFRRGGBB words (ScanLinePixel); null outside the bitmap.
    [[nodiscard]] std::uint32_t* ScanLine(int y);
    [[nodiscard]] TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // The inclusive rectangle left..right, top..bottom as a new bitmap (clipped to this one).
    [[nodiscard]] TBitmap CopyInclusive(int left, int top, int right, int bottom) const;
    void Assign(const QImage& image);
    [[nodiscard]] const QImage& Image() const;
    [[nodiscard]] bool SaveToFile(const std::string& path) const;  // by the name's extension (png)
    // A picture file (BMP, JPEG, PNG, by its contents); false, leaving the bitmap as it was, when it cannot be read.
    [[nodiscard]] bool LoadFromFile(const std::string& path);

private:
    std::unique_ptr<QImage> m_image;
    std::unique_ptr<TCanvas> m_canvas;
};

// One of the program's own pictures (GetBitmapResource) copied into `target`; false when there is none.
bool LoadBitmapResource(TBitmap& target, std::string_view name);
