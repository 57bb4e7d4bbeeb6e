// The canvas's pixel rules, probed on an offscreen bitmap: one table row per rule.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "vcl/graphics.h"

namespace {

constexpr TColor kGround = 0x808080;  // what the probes see where nothing was drawn
constexpr TColor kInk = clBlack;
constexpr TColor kFill = 0x00FFFF;  // yellow

struct Probe
{
    int x, y;
    TColor colour;
};

struct PixelCase
{
    std::string name;
    std::function<void(TCanvas&)> draw;
    std::vector<Probe> probes;
};

TBitmap groundBitmap(int w = 40, int h = 32)
{
    TBitmap bitmap(w, h);
    TCanvas& c = bitmap.Canvas();
    c.Brush.Color = kGround;
    c.FillRect({0, 0, w, h});
    c.Pen.Color = kInk;
    c.Brush.Color = kFill;
    return bitmap;
}

// Any pixel that is neither the ground nor one of the drawn colours was blended: antialiasing.
bool onlyColours(const TBitmap& bitmap, std::initializer_list<TColor> allowed)
{
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            if (c != kGround && std::find(allowed.begin(), allowed.end(), c) == allowed.end()) return false;
        }
    return true;
}

const std::vector<PixelCase>& pixelCases()
{
    static const std::vector<PixelCase> cases = {
        {"rectangle_excludes_right_and_bottom",
         [](TCanvas& c) { c.Rectangle(2, 2, 8, 6); },
         {{2, 2, kInk}, {7, 2, kInk}, {7, 5, kInk}, {2, 5, kInk}, {4, 3, kFill}, {8, 3, kGround}, {4, 6, kGround}}},
        {"fill_rect_excludes_right_and_bottom",
         [](TCanvas& c) {
             c.FillRect({2, 2, 8, 6});
         },
         {{2, 2, kFill}, {7, 5, kFill}, {8, 5, kGround}, {7, 6, kGround}, {1, 2, kGround}}},
        {"clear_brush_rectangle_is_an_outline",
         [](TCanvas& c) {
             c.Brush.Style = bsClear;
             c.Rectangle(2, 2, 8, 6);
         },
         {{2, 2, kInk}, {4, 3, kGround}}},
        {"clear_pen_rectangle_is_a_fill",
         [](TCanvas& c) {
             c.Pen.Style = psClear;
             c.Rectangle(2, 2, 8, 6);
         },
         {{2, 2, kFill}, {7, 5, kFill}, {8, 5, kGround}}},
        {"line_to_leaves_out_its_end_horizontal",
         [](TCanvas& c) {
             c.MoveTo(1, 1);
             c.LineTo(6, 1);
         },
         {{1, 1, kInk}, {5, 1, kInk}, {6, 1, kGround}}},
        {"line_to_leaves_out_its_end_leftward",
         [](TCanvas& c) {
             c.MoveTo(9, 3);
             c.LineTo(4, 3);
         },
         {{9, 3, kInk}, {5, 3, kInk}, {4, 3, kGround}}},
        {"line_to_leaves_out_its_end_upward",
         [](TCanvas& c) {
             c.MoveTo(3, 9);
             c.LineTo(3, 2);
         },
         {{3, 9, kInk}, {3, 3, kInk}, {3, 2, kGround}}},
        {"line_to_leaves_out_its_end_diagonal",
         [](TCanvas& c) {
             c.MoveTo(1, 1);
             c.LineTo(6, 6);
         },
         {{1, 1, kInk}, {3, 3, kInk}, {5, 5, kInk}, {6, 6, kGround}}},
        {"line_to_of_zero_length_draws_nothing",
         [](TCanvas& c) {
             c.MoveTo(4, 4);
             c.LineTo(4, 4);
         },
         {{4, 4, kGround}}},
        {"polyline_draws_its_corners_but_not_its_last_point",
         [](TCanvas& c) {
             const TPoint pts[] = {{1, 1}, {6, 1}, {6, 5}};
             c.Polyline(pts);
         },
         {{1, 1, kInk}, {6, 1, kInk}, {6, 4, kInk}, {6, 5, kGround}}},
        {"polygon_is_filled_and_closed",
         [](TCanvas& c) {
             const TPoint pts[] = {{2, 2}, {12, 2}, {2, 12}};
             c.Polygon(pts);
         },
         {{2, 2, kInk}, {11, 2, kInk}, {2, 11, kInk}, {4, 4, kFill}, {12, 12, kGround}}},
        {"ellipse_fits_its_box_exclusive",
         [](TCanvas& c) { c.Ellipse(2, 2, 13, 11); },
         {{2, 6, kInk},
          {12, 6, kInk},
          {13, 6, kGround},
          {7, 2, kInk},
          {7, 10, kInk},
          {7, 11, kGround},
          {7, 6, kFill},
          {2, 2, kGround}}},
        {"round_rect_keeps_corners_out",
         [](TCanvas& c) { c.RoundRect(2, 2, 20, 14, 8, 8); },
         {{2, 2, kGround},
          {19, 13, kGround},
          {10, 2, kInk},
          {10, 13, kInk},
          {2, 8, kInk},
          {19, 8, kInk},
          {10, 8, kFill},
          {20, 8, kGround}}},
        {"wide_pen_has_round_caps",
         [](TCanvas& c) {
             c.Pen.Width = 5;
             c.MoveTo(10, 10);
             c.LineTo(20, 10);
         },
         {{8, 10, kInk}, {10, 8, kInk}, {15, 12, kInk}, {8, 8, kGround}, {15, 13, kGround}}},
        {"colours_are_bbggrr",
         [](TCanvas& c) {
             c.Brush.Color = 0x0000FF;
             c.FillRect({0, 0, 4, 4});
             c.Brush.Color = clBtnFace;
             c.FillRect({4, 0, 8, 4});
         },
         {{1, 1, 0x0000FF}, {5, 1, 0xF0F0F0}}},
        {"clip_rect_keeps_drawing_inside",
         [](TCanvas& c) {
             c.SetClipRect({4, 4, 8, 8});
             c.FillRect({0, 0, 20, 20});
             c.ResetClip();
         },
         {{4, 4, kFill}, {7, 7, kFill}, {3, 4, kGround}, {8, 7, kGround}}},
        {"dotted_pen_three_on_three_off",
         [](TCanvas& c) {
             c.Pen.Style = psDot;
             c.MoveTo(0, 3);
             c.LineTo(20, 3);
         },
         {{0, 3, kInk}, {2, 3, kInk}, {3, 3, kGround}, {5, 3, kGround}, {6, 3, kInk}, {20, 3, kGround}}},
        {"dashed_rectangle_outline",
         [](TCanvas& c) {
             c.Pen.Style = psDash;
             c.Brush.Style = bsClear;
             c.Rectangle(0, 0, 39, 30);
         },
         {{0, 0, kInk}, {17, 0, kInk}, {18, 0, kGround}, {23, 0, kGround}, {24, 0, kInk}, {10, 10, kGround}}},
    };
    return cases;
}

}  // namespace

TEST(Canvas, PixelRules)
{
    for (const PixelCase& c : pixelCases()) {
        SCOPED_TRACE(c.name);
        TBitmap bitmap = groundBitmap();
        c.draw(bitmap.Canvas());
        for (const Probe& p : c.probes) EXPECT_EQ(bitmap.Pixel(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
        EXPECT_TRUE(onlyColours(bitmap, {kInk, kFill, 0x0000FF, 0xF0F0F0})) << "blended pixels: antialiasing";
    }
}

TEST(Canvas, TextBackgroundIsTheSolidBrushOrNothing)
{
    TBitmap bitmap = groundBitmap(80, 40);
    TCanvas& c = bitmap.Canvas();
    c.Font.Color = kInk;
    const int w = c.TextWidth("1"), h = c.TextHeight("1");
    ASSERT_GT(w, 2);
    ASSERT_GT(h, 6);
    c.TextOut(2, 2, "1");  // the top-left and bottom-right pixels of a "1" cell are ground, not glyph
    EXPECT_EQ(bitmap.Pixel(2, 2), kFill);
    EXPECT_EQ(bitmap.Pixel(2 + w - 1, 2 + h - 1), kFill);
    EXPECT_EQ(bitmap.Pixel(2 + w, 2), kGround);
    c.Brush.Style = bsClear;
    c.TextOut(40, 2, "1");
    EXPECT_EQ(bitmap.Pixel(40, 2), kGround);
    EXPECT_EQ(bitmap.Pixel(40 + w - 1, 2 + h - 1), kGround);
    EXPECT_TRUE(onlyColours(bitmap, {kInk, kFill})) << "text is not antialiased";
}

TEST(Canvas, RotatedTextRunsUpwardFromItsAnchor)
{
    TBitmap bitmap = groundBitmap(40, 80);
    TCanvas& c = bitmap.Canvas();
    c.Font.Orientation = 900;
    const int w = c.TextWidth("WWW"), h = c.TextHeight("WWW");
    c.TextOut(10, 60, "WWW");
    // The cell lies to the right of x and above y: x..x+h, y-w..y.
    EXPECT_EQ(bitmap.Pixel(10 + 1, 60 - 2), kFill);
    EXPECT_EQ(bitmap.Pixel(10 + h - 2, 60 - w + 2), kFill);
    EXPECT_EQ(bitmap.Pixel(10 + 1, 60 + 2), kGround);
    EXPECT_EQ(bitmap.Pixel(10 - 2, 60 - 2), kGround);
}

TEST(Canvas, FontSizesArePointsAt96Dpi)
{
    TBitmap bitmap(10, 10);
    TCanvas& c = bitmap.Canvas();
    c.Font.Size = 8;
    const int small = c.TextHeight("X");
    c.Font.Size = 16;
    const int big = c.TextHeight("X");
    EXPECT_GE(small, 11);  // an 8-point em is 11 pixels at 96 dpi; the cell is a little taller
    EXPECT_LE(small, 15);
    EXPECT_NEAR(big, 2 * small, 3);
    c.Font.Style = fsBold;
    EXPECT_GT(c.TextWidth("MMMM"), 0);
}

TEST(Canvas, PatternBrushRepeatsFromTheOrigin)
{
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.SetPixel(x, y, (x + y) % 2 ? clWhite : clBlack);
    TBitmap bitmap = groundBitmap();
    bitmap.Canvas().Brush.Bitmap = &pattern;
    bitmap.Canvas().FillRect({3, 3, 20, 20});
    for (auto [x, y] : {std::pair{3, 3}, {4, 3}, {10, 11}, {19, 19}})
        EXPECT_EQ(bitmap.Pixel(x, y), (x + y) % 2 ? clWhite : clBlack) << x << "," << y;
    EXPECT_EQ(bitmap.Pixel(20, 20), kGround);
}

TEST(Canvas, ScanLinesAndDrawingSeeTheSamePixels)
{
    TBitmap bitmap = groundBitmap(16, 8);
    bitmap.Canvas().FillRect({0, 0, 4, 4});
    std::uint32_t* row = bitmap.ScanLine(1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(PixelColor(row[2]), kFill);
    row[10] = ScanLinePixel(0x0000FF);
    EXPECT_EQ(bitmap.Pixel(10, 1), 0x0000FFu);
    bitmap.Canvas().Pen.Color = clWhite;
    bitmap.Canvas().MoveTo(0, 1);
    bitmap.Canvas().LineTo(16, 1);
    EXPECT_EQ(PixelColor(bitmap.ScanLine(1)[10]), clWhite);
    EXPECT_EQ(bitmap.ScanLine(8), nullptr);
    EXPECT_EQ(bitmap.ScanLine(-1), nullptr);
}

TEST(Canvas, PicturesAreDrawnOpaqueAndCopiedInclusive)
{
    TBitmap picture(4, 3);
    picture.Canvas().Brush.Color = 0x0000FF;
    picture.Canvas().FillRect({0, 0, 4, 3});
    TBitmap bitmap = groundBitmap();
    bitmap.Canvas().Draw(5, 6, picture);
    EXPECT_EQ(bitmap.Pixel(5, 6), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(8, 8), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(9, 8), kGround);
    bitmap.Canvas().DrawPart(20, 20, picture, {1, 1, 3, 2});
    EXPECT_EQ(bitmap.Pixel(21, 20), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(22, 20), kGround);

    const TBitmap part = bitmap.CopyInclusive(5, 6, 8, 8);
    EXPECT_EQ(part.Width(), 4);
    EXPECT_EQ(part.Height(), 3);
    EXPECT_EQ(part.Pixel(3, 2), 0x0000FFu);
    EXPECT_TRUE(bitmap.CopyInclusive(50, 50, 60, 60).Empty());
    // A copy is its own: drawing on the original leaves it alone.
    bitmap.Canvas().FillRect({0, 0, 40, 32});
    EXPECT_EQ(part.Pixel(0, 0), 0x0000FFu);
}

TEST(Canvas, ProgramPicturesLoad)
{
    TBitmap bitmap;
    ASSERT_TRUE(LoadBitmapResource(bitmap, "BTTAB"));
    EXPECT_GT(bitmap.Width(), 0);
    EXPECT_FALSE(LoadBitmapResource(bitmap, "NO_SUCH_PICTURE"));
}
