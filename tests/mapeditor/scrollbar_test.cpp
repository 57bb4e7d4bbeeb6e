// The map editor's scroll bar: geometry, presses and the repeat of a held part.
#include <gtest/gtest.h>

#include "mapeditor/tabbutton.h"

namespace {

// A horizontal bar 15 pixels high with a 270-pixel track between its arrows.
CTabScrollBar bar(int total, int page)
{
    CTabScrollBar b;
    b.horizontal = true;
    b.visible = true;
    b.rect = {0, 0, 300, 15};
    b.total = total;
    b.page = page;
    return b;
}

}  // namespace

TEST(ScrollBar, Geometry)
{
    CTabScrollBar b = bar(16, 15);
    EXPECT_EQ(b.Thickness(), 15);
    EXPECT_EQ(b.TrackLength(), 270);
    EXPECT_EQ(b.ThumbLength(), 270 * 15 / 16);
    b.position = 1;
    EXPECT_EQ(b.ThumbOffset(), 270 - 270 * 15 / 16);
    CTabScrollBar tiny = bar(1000, 1);
    EXPECT_EQ(tiny.ThumbLength(), 10);  // never shorter than 10 pixels
}

TEST(ScrollBar, TrackPressMovesAPageLessOneWithinTheEnd)
{
    CTabScrollBar b = bar(10, 9);
    b.mouseX = 280;  // on the track after the thumb
    b.mouseY = 7;
    EXPECT_EQ(b.HitTest(), 1);
    EXPECT_EQ(b.hover, kBarTrackAfter);
    EXPECT_EQ(b.Press(), 6);
    EXPECT_EQ(b.position, 1);  // +8, held at total - page
    EXPECT_EQ(b.Release(), 5);
    b.mouseX = 5;  // first arrow
    b.HitTest();
    EXPECT_EQ(b.Press(), 6);
    EXPECT_EQ(b.position, 0);
    EXPECT_EQ(b.Press(), 5);  // already at the start
}

TEST(ScrollBar, HeldTrackRepeatsFromTheThirdTickUntilTheThumbReachesThePointer)
{
    CTabScrollBar b = bar(100, 10);
    b.mouseX = 200;
    b.mouseY = 7;
    b.HitTest();
    ASSERT_EQ(b.hover, kBarTrackAfter);
    ASSERT_EQ(b.Press(), 6);
    EXPECT_EQ(b.position, 9);
    EXPECT_EQ(b.RepeatTick(), 0);
    EXPECT_EQ(b.RepeatTick(), 0);
    EXPECT_EQ(b.RepeatTick(), 2);  // the third tick
    EXPECT_EQ(b.position, 18);
    int ticks = 0;
    while (b.RepeatTick() == 2 && ticks < 100) ++ticks;
    EXPECT_LT(ticks, 100);
    EXPECT_EQ(b.pressed, 0);
    EXPECT_EQ(b.hover, kBarThumb);  // stopped where the thumb reached the pointer
}

TEST(ScrollBar, ThumbDragFollowsThePointer)
{
    CTabScrollBar b = bar(100, 10);
    b.mouseX = 20;
    b.mouseY = 7;
    b.HitTest();
    ASSERT_EQ(b.hover, kBarThumb);
    EXPECT_EQ(b.Press(), 5);
    EXPECT_TRUE(b.thumbDrag);
    b.mouseX = 20 + 27;  // a tenth of the track
    EXPECT_EQ(b.HitTest(), 2);
    EXPECT_EQ(b.position, 10);
    b.mouseX = 2000;
    b.HitTest();
    EXPECT_EQ(b.position, 90);
    EXPECT_EQ(b.Release(), 5);
    EXPECT_FALSE(b.thumbDrag);
}
