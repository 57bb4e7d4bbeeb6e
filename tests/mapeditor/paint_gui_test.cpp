// The map editor's drawing helpers, buttons and scroll bar, rendered offscreen and probed away from any text.
#include <gtest/gtest.h>

#include "mapeditor/drawing.h"
#include "mapeditor/tabbutton.h"

namespace {

constexpr TColor kGround = 0x123456;
constexpr TColor kFace = 0xF0F0F0;
constexpr TColor kShadow = 0x808080;
constexpr TColor kLight = 0xFFFFFF;

TBitmap ground(int w = 60, int h = 40)
{
    TBitmap b(w, h);
    b.Canvas().Brush.Color = kGround;
    b.Canvas().FillRect({0, 0, w, h});
    return b;
}

}  // namespace

TEST(Drawing, BevelsRaisedAndPressed)
{
    struct Case
    {
        const char* name;
        bool pressed, doubled;
        TColor topLeft, bottomRight, innerBottomRight, innerTopLeft;
    };
    const Case cases[] = {
        {"raised", false, false, kLight, kShadow, kFace, kFace},
        {"pressed", true, false, kShadow, kLight, kFace, kFace},
        {"raised_doubled", false, true, kLight, kShadow, kShadow, kFace},
        {"pressed_doubled", true, true, kShadow, kLight, kFace, kShadow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b = ground();
        (c.doubled ? DrawBevel2 : DrawBevel)(b.Canvas(), 5, 5, 20, 10, c.pressed, kFace, kShadow, kLight);
        EXPECT_EQ(b.Pixel(5, 10), c.topLeft);       // left edge
        EXPECT_EQ(b.Pixel(15, 5), c.topLeft);       // top edge
        EXPECT_EQ(b.Pixel(25, 10), c.bottomRight);  // right edge at x + w
        EXPECT_EQ(b.Pixel(15, 15), c.bottomRight);  // bottom edge at y + h
        EXPECT_EQ(b.Pixel(24, 10), c.innerBottomRight);
        EXPECT_EQ(b.Pixel(15, 6), c.innerTopLeft);
        EXPECT_EQ(b.Pixel(15, 10), kFace);
        EXPECT_EQ(b.Pixel(26, 10), kGround);
        EXPECT_EQ(b.Pixel(15, 16), kGround);
    }
}

TEST(Drawing, CornerMarksGoOnlyIntoTheNamedCorners)
{
    TBitmap b = ground();
    DrawCornerMarks(b.Canvas(), 10, 10, 40, 10, 1 | 8, 0x0000FF);  // legs of 10 in a 40 x 10 box
    EXPECT_EQ(b.Pixel(10, 10), 0x0000FFu);                         // top-left
    EXPECT_EQ(b.Pixel(49, 19), 0x0000FFu);                         // bottom-right
    EXPECT_EQ(b.Pixel(47, 11), kGround);                           // top-right, not asked
    EXPECT_EQ(b.Pixel(12, 18), kGround);                           // bottom-left, not asked
    EXPECT_EQ(b.Pixel(30, 15), kGround);                           // the middle stays
}

TEST(Drawing, DotFillIsACheckerboardClippedToTheBitmap)
{
    TBitmap b = ground(20, 10);
    DotFill(b, 2, 2, 6, 3, 0x00FF00);
    EXPECT_EQ(b.Pixel(2, 2), 0x00FF00u);
    EXPECT_EQ(b.Pixel(3, 2), kGround);
    EXPECT_EQ(b.Pixel(2, 3), kGround);  // one later on the second row
    EXPECT_EQ(b.Pixel(3, 3), 0x00FF00u);
    EXPECT_EQ(b.Pixel(8, 2), kGround);       // right of the box
    EXPECT_EQ(b.Pixel(2, 5), kGround);       // below it
    DotFill(b, -5, -5, 100, 100, 0x0000FF);  // partly outside: clipped, no write past the pixels
    EXPECT_EQ(b.Pixel(0, 0), 0x0000FFu);     // row 5 of the box starts one later: -4, -2, 0, ...
    EXPECT_EQ(b.Pixel(1, 0), kGround);
}

TEST(Drawing, TileBitmapWrapsItsOffsets)
{
    TBitmap tile(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) tile.SetPixel(x, y, x == 0 && y == 0 ? 0x0000FF : 0xFFFFFF);
    TBitmap b = ground();
    TileBitmap(b.Canvas(), tile, 10, 10, 30, 20, 1, 2);
    // Shifted left by 1 and up by 2: the red corner of each tile lands at x = 13, 17, ... and y = 12, 16.
    EXPECT_EQ(b.Pixel(13, 12), 0x0000FFu);
    EXPECT_EQ(b.Pixel(17, 16), 0x0000FFu);
    EXPECT_EQ(b.Pixel(12, 12), 0xFFFFFFu);
    EXPECT_EQ(b.Pixel(9, 12), kGround);
    EXPECT_EQ(b.Pixel(30, 12), kGround);
}

TEST(Drawing, RingHasAShadowOfHalfBrightness)
{
    EXPECT_EQ(HalfBright(0x44F444), 0x227A22u);
    TBitmap b = ground();
    DrawRing(b.Canvas(), 10, 5, 30, 20, 0x44F444);
    EXPECT_EQ(b.Pixel(25, 6), 0x44F444u);  // top of the ring
    EXPECT_EQ(b.Pixel(25, 15), kGround);   // no fill
}

TEST(TabButton, DisabledButtonsAreDrawnOnlyWithTheirStyle)
{
    TBitmap normal(10, 10), off(10, 10);
    normal.Canvas().Brush.Color = 0x00FF00;
    normal.Canvas().FillRect({0, 0, 10, 10});
    off.Canvas().Brush.Color = 0x0000FF;
    off.Canvas().FillRect({0, 0, 10, 10});
    CTabButton button;
    button.rect = {5, 5, 29, 29};
    button.picture = &normal;
    button.disabledPicture = &off;
    button.face = kFace;
    TBitmap b = ground();
    button.Paint(b.Canvas());
    EXPECT_EQ(b.Pixel(10, 10), kGround);  // disabled, not drawn
    button.style = kButtonDrawnDisabled;
    button.Paint(b.Canvas());
    EXPECT_EQ(b.Pixel(8, 8), 0x0000FFu);  // its disabled picture at (left + 1, top + 1)
    button.state = kButtonEnabled;
    button.down = true;
    button.Paint(b.Canvas());
    EXPECT_EQ(b.Pixel(6, 6), kShadow);    // pressed: the shadow's second line inside
    EXPECT_EQ(b.Pixel(7, 7), 0x00FF00u);  // the picture one pixel further while down
}

TEST(TabButton, PlusAndMinusAreStrokes)
{
    struct Case
    {
        const char* name;
        int state;
        bool down;
        TColor ink;
    };
    const Case cases[] = {{"enabled", kButtonEnabled, false, clBlack},
                          {"inactive", kButtonEnabled | kButtonInactive, false, 0xC0C0C0},
                          {"down", kButtonEnabled, true, clWhite},
                          {"disabled", 0, false, kShadow}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTabButton button;
        button.style = kButtonDrawnDisabled;
        button.state = c.state;
        button.down = c.down;
        button.caption = "+";
        button.rect = {10, 10, 30, 30};
        TBitmap b = ground();
        button.Paint(b.Canvas());
        EXPECT_EQ(b.Pixel(20, 20), c.ink);  // where the strokes cross
        EXPECT_EQ(b.Pixel(20, 14), c.ink);  // the vertical stroke of "+"
        EXPECT_EQ(b.Pixel(13, 13), kFace);
    }
}

TEST(ScrollBarPaint, DrawnOnlyWhenThereIsSomethingToScroll)
{
    CTabScrollBar bar;
    bar.visible = true;
    bar.rect = {0, 0, 150, 15};
    bar.total = 10;
    bar.page = 10;
    TBitmap b = ground(160, 20);
    bar.Paint(b.Canvas());
    EXPECT_EQ(b.Pixel(75, 7), kGround);
    bar.page = 9;
    bar.Paint(b.Canvas());
    EXPECT_EQ(b.Pixel(0, 0), kLight);  // the first arrow's raised edge
    EXPECT_NE(b.Pixel(140, 7), kGround);
}
