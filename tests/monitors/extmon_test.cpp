// The external monitor's window rules as tables: the rectangle pulled onto a monitor, and the size rule in
// read-only and edit mode.
#include "monitors/extmon.h"

#include <gtest/gtest.h>

TEST(FitRect, OntoTheMonitorItSticksOutOfLeast)
{
    const std::vector<TRect> two{{0, 0, 1280, 1024}, {1280, 0, 3200, 1080}};
    struct Case
    {
        const char* name;
        TRect in, out;
    };
    const Case cases[] = {
        {"inside_unchanged", {100, 100, 500, 400}, {100, 100, 500, 400}},
        {"off_the_right_edge", {1000, 100, 1400, 400}, {880, 100, 1280, 400}},
        {"mostly_on_the_second", {1200, 100, 1600, 400}, {1280, 100, 1680, 400}},
        {"above_and_left", {-50, -30, 350, 270}, {0, 0, 400, 300}},
        {"larger_than_the_monitor", {-100, -100, 1500, 1200}, {0, 0, 1280, 1024}},
        {"far_below", {100, 5000, 500, 5300}, {100, 724, 500, 1024}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRect r = c.in;
        FitRectToMonitor(r, two);
        EXPECT_EQ(r, c.out);
    }
    // A tie goes to the first monitor.
    TRect r{1180, 100, 1380, 200};
    FitRectToMonitor(r, two);
    EXPECT_EQ(r, (TRect{1080, 100, 1280, 200}));
}

TEST(ResizeRule, ReadOnlyKeepsTheSetsShapeEditKeepsItsWidgets)
{
    ResizeState s;
    s.designWidth = 400;
    s.designHeight = 200;
    s.clientWidth = 400;
    s.clientHeight = 216;
    s.lastFreeWidth = 400;
    s.lastFreeHeight = 216;
    struct Case
    {
        const char* name;
        int mode;
        int width, height;
        bool allowed;
        int outWidth, outHeight;
    };
    const Case cases[] = {
        {"wider_makes_taller", kModeReadOnly, 600, 216, true, 600, 316},
        {"taller_makes_wider", kModeReadOnly, 400, 416, true, 800, 416},
        {"not_wider_than_the_maximum", kModeReadOnly, 2000, 216, true, 1280, 656},
        {"not_below_the_minimum", kModeReadOnly, 50, 216, true, 200, 116},
        {"nothing_changed", kModeReadOnly, 400, 216, false, 400, 216},
        {"edit_free_inside_the_limits", kModeEdit, 500, 300, true, 500, 300},
        {"edit_not_smaller_than_the_widgets", kModeEdit, 250, 150, true, 300, 216},
        {"edit_pressing_a_limit_alone_refused", kModeEdit, 250, 216, false, 250, 216},
        {"back_to_the_design_size", kModeResizing, 400, 216, true, 400, 216},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResizeState state = s;
        state.mode = c.mode;
        state.extentWidth = 300;
        state.extentHeight = 200;
        int w = c.width, h = c.height;
        EXPECT_EQ(ExternalMonitorResize(state, w, h), c.allowed);
        if (c.allowed) {
            EXPECT_EQ(w, c.outWidth);
            EXPECT_EQ(h, c.outHeight);
        }
    }
}
