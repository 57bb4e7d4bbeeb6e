// The widget group driven by pointer and keys as the external monitor drives it: hits, selection, moving,
// resizing, focus order; the buttons' press rules; the texts of value and label widgets.
#include "monitors/widgets.h"

#include <gtest/gtest.h>

#include "monitors/indicator.h"
#include "os/lngtext.h"
#include "vcl/customcontrol.h"

namespace {

// A layout group of 400 x 300 in edit mode, driven as the monitor's picture drives it.
class Layout : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetMonitorVariables();
        SetLanguageIndex(LNG_ENGLISH);
        group.Width = 400;
        group.Height = 300;
        group.edit = 1;
        group.hover = 1;
    }
    template <class T = CMyValue>
    T* add(int left, int top, int width, int height, int id = 1010)
    {
        auto w = std::make_unique<T>();
        w->Left = left;
        w->Top = top;
        w->Width = width;
        w->Height = height;
        w->id = id;
        w->s = GetDef(id);
        return group.Insert(std::move(w));
    }
    void move(int x, int y)
    {
        group.shiftDown = shift;
        group.ctrlDown = ctrl;
        group.pointerX = x;
        group.pointerY = y;
        group.PointerMove();
    }
    void press(int x, int y, int kind = kClickLeft)
    {
        move(x, y);
        group.clickKind = kind;
        group.Press();
    }
    void release(int x, int y)
    {
        move(x, y);
        group.Release();
    }
    void drag(int x0, int y0, int x1, int y1)
    {
        press(x0, y0);
        move(x1, y1);
        release(x1, y1);
    }
    void key(int vk)
    {
        group.shiftDown = shift;
        group.ctrlDown = ctrl;
        group.Key(vk);
    }
    CMyGroup group;
    int shift = 0, ctrl = 0;
};

}  // namespace

TEST_F(Layout, ClickOnOverlapHitsTheWidgetDrawnOnTop)
{
    CMyValue* below = add(10, 10, 100, 40);
    CMyValue* above = add(50, 20, 100, 40);
    press(60, 30);
    release(60, 30);
    EXPECT_EQ(group.focused, above);
    EXPECT_TRUE(above->selected);
    EXPECT_FALSE(below->selected);
}

TEST_F(Layout, SelectionWithAndWithoutCtrlAndMovingItTogether)
{
    CMyValue* a = add(10, 10, 50, 30);
    CMyValue* b = add(100, 10, 50, 30);
    CMyValue* c = add(200, 10, 50, 30);
    drag(20, 20, 20, 20);
    EXPECT_EQ(group.selectedCount, 1);
    ctrl = 1;
    drag(110, 20, 110, 20);
    ctrl = 0;
    EXPECT_TRUE(a->selected && b->selected && !c->selected);
    // Dragging one of the selected moves them all and keeps the selection.
    drag(20, 20, 30, 25);
    EXPECT_EQ(a->Left, 20);
    EXPECT_EQ(b->Left, 110);
    EXPECT_EQ(b->Top, 15);
    EXPECT_EQ(group.selectedCount, 2);
    // A click on an unselected widget leaves only it selected.
    drag(210, 20, 210, 20);
    EXPECT_TRUE(!a->selected && !b->selected && c->selected);
}

TEST_F(Layout, MovingAgainstTheEdgeStopsAllTogether)
{
    CMyValue* a = add(5, 10, 50, 30);
    CMyValue* b = add(60, 50, 50, 30);
    ctrl = 1;
    drag(10, 15, 10, 15);
    drag(70, 60, 70, 60);
    ctrl = 0;
    drag(70, 60, 40, 55);
    EXPECT_EQ(a->Left, 0);
    EXPECT_EQ(b->Left, 55) << "the distance between them is kept";
    EXPECT_EQ(a->Top, 5);
    // The keys move the selection too, and stop at the same edge.
    key(VK_LEFT);
    EXPECT_EQ(a->Left, 0);
    key(VK_DOWN);
    EXPECT_EQ(b->Top, 46);
}

TEST_F(Layout, RubberBandSelectsWhatLiesWhollyInside)
{
    CMyValue* inside = add(20, 20, 30, 20);
    CMyValue* across = add(90, 20, 40, 20);
    drag(10, 10, 100, 60);
    EXPECT_TRUE(inside->selected);
    EXPECT_FALSE(across->selected);
    EXPECT_EQ(group.focused, inside);
    EXPECT_EQ(group.rubberBand, 0);
}

TEST_F(Layout, ResizeByTheLeftHandle)
{
    auto* bar = add<CMyIndicator>(100, 100, 100, 40);
    drag(150, 120, 150, 120);  // focus and select
    ASSERT_EQ(group.focused, bar);
    move(101, 120);
    EXPECT_EQ(bar->handle, 7);
    EXPECT_EQ(group.wantedCursor, kCursorSizeWE);
    drag(101, 120, 131, 120);
    EXPECT_EQ(bar->Left, 130);
    EXPECT_EQ(bar->Width, 70);
    drag(131, 120, 400, 120);  // never below the smallest width
    EXPECT_EQ(bar->Width, bar->minw);
    EXPECT_EQ(bar->Left, 200 - bar->minw);
}

TEST_F(Layout, ProportionalResize)
{
    struct Case
    {
        const char* name;
        int dx, dy, width, height;
    };
    const Case cases[] = {
        {"wider_only_is_cut_back", 40, 0, 80, 32},
        {"both_in_proportion", 40, 16, 120, 48},
        {"taller_only_is_cut_back", 0, 16, 80, 32},
        {"not_below_the_minimum", -100, -100, 10, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        group.FreeAll();
        CMyValue* v = add(10, 10, 80, 32);
        v->ow = 80;
        v->oh = 32;
        v->minw = 10;
        v->minh = 4;
        v->startLeft = 10;
        v->startTop = 10;
        v->startWidth = 80;
        v->startHeight = 32;
        group.ResizeByHandle(*v, 4, c.dx, c.dy);
        EXPECT_EQ(v->Width, c.width);
        EXPECT_EQ(v->Height, c.height);
    }
    // Shift+Right asks for one more in both; the proportion keeps only the width.
    group.FreeAll();
    CMyValue* v = add(10, 10, 80, 32);
    v->ow = 80;
    v->oh = 32;
    drag(50, 25, 50, 25);
    shift = 1;
    key(VK_RIGHT);
    EXPECT_EQ(v->Width, 81);
    EXPECT_EQ(v->Height, 32);
}

TEST_F(Layout, TabAlternatesBetweenTheTwoTopmostWidgets)
{
    CMyValue* a = add(0, 0, 10, 10);
    CMyValue* b = add(20, 0, 10, 10);
    CMyValue* c = add(40, 0, 10, 10);
    group.focused = b;
    key(VK_TAB);
    EXPECT_EQ(group.focused, c);
    key(VK_TAB);
    EXPECT_EQ(group.focused, b);
    key(VK_TAB);
    EXPECT_EQ(group.focused, c);
    EXPECT_FALSE(a->selected);
    EXPECT_EQ(group.selectedCount, 1);
}

TEST_F(Layout, FocusingAnIndicatorKeepsItsLabelAndValueAbove)
{
    auto* indicator = add<CMyIndicator>(0, 0, 80, 32, 1020);
    auto* label = add<CMyLabel>(0, 0, 40, 20, 1020);
    auto* value = add(0, 0, 40, 20, 1020);
    auto* other = add(100, 0, 40, 20, 1010);
    group.Focus(indicator);
    EXPECT_EQ(group.IndexOf(other), 0);
    EXPECT_LT(group.IndexOf(indicator), group.IndexOf(label));
    EXPECT_LT(group.IndexOf(indicator), group.IndexOf(value));
}

TEST_F(Layout, HandlesOnCornersAndOnEdgesOnlyWhenFree)
{
    struct Probe
    {
        int x, y, free, proportional;
    };
    // A widget at (100, 100) 60 x 40.
    const Probe probes[] = {
        {100, 100, 8, 8}, {160, 100, 2, 2}, {160, 140, 4, 4}, {100, 140, 6, 6}, {130, 101, 1, 0},
        {130, 139, 5, 0}, {101, 120, 7, 0}, {159, 120, 3, 0}, {130, 120, 0, 0},
    };
    for (int nprable : {1, 0}) {
        group.FreeAll();
        auto* w = add<CMyIndicator>(100, 100, 60, 40);
        w->nprable = nprable;
        group.Focus(w);
        for (const Probe& p : probes) {
            SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y) + " nprable " + std::to_string(nprable));
            move(p.x, p.y);
            EXPECT_EQ(w->handle, nprable ? p.free : p.proportional);
        }
    }
}

TEST(Buttons, ToggleAndPushFollowThePointer)
{
    CMyGroup bar;
    bar.Width = 200;
    bar.Height = 16;
    bar.hover = 1;
    auto* toggle = bar.Insert(std::make_unique<CMyButt>());
    toggle->mode = kButtToggle;
    toggle->Width = 40;
    toggle->Height = 16;
    auto* push = bar.Insert(std::make_unique<CMyButt>());
    push->mode = kButtPush;
    push->Left = 50;
    push->Width = 40;
    push->Height = 16;
    const auto at = [&](int x) {
        bar.pointerX = x;
        bar.pointerY = 8;
        bar.PointerMove();
    };
    const auto press = [&](int x) {
        at(x);
        bar.clickKind = kClickLeft;
        bar.Press();
    };
    press(10);
    at(10);
    bar.Release();
    EXPECT_EQ(toggle->latched, 1);
    EXPECT_EQ(toggle->Down, 1);
    press(10);
    EXPECT_EQ(toggle->Down, 0);
    at(150);  // leaving restores the committed state
    EXPECT_EQ(toggle->Down, 1);
    bar.Release();
    EXPECT_EQ(toggle->latched, 1);

    press(60);
    EXPECT_EQ(push->Down, 1);
    at(150);
    EXPECT_EQ(push->Down, 1) << "leaving does not release a push button";
    at(60);
    bar.Release();
    EXPECT_EQ(push->Down, 0);
}

TEST(WidgetTexts, ValueAndLabelTexts)
{
    ResetMonitorVariables();
    SetLanguageIndex(LNG_ENGLISH);
    CLngStr row = *GetDef(1010);
    EXPECT_EQ(ValueText(row, false), "xxxxx");
    row.value = 850;
    EXPECT_EQ(ValueText(row, true), "  850");
    CLngStr tps = *GetDef(1020);
    EXPECT_EQ(ValueText(tps, false), "xxx.x");
    tps.value = 5.25;
    EXPECT_EQ(ValueText(tps, true), "  5.2");
    CLngStr group = *GetDef(1000);
    EXPECT_EQ(ValueText(group, false), "xxxx") << "no width: four places";
    CLngStr ckps = *GetDef(3010);
    EXPECT_EQ(ValueText(ckps, true), "no signal");
    ckps.value = 1;
    SetLanguageIndex(LNG_GERMAN);
    EXPECT_EQ(ValueText(ckps, false), "läuft");
    ckps.displayKind = kMonShowYesNo;
    SetLanguageIndex(LNG_CZECH);
    EXPECT_EQ(ValueText(ckps, true), "ANO");
    ckps.displayKind = 2;
    EXPECT_EQ(ValueText(ckps, true), " ");

    SetLanguageIndex(LNG_ENGLISH);
    EXPECT_EQ(LabelText(*GetDef(1110), true), "TW [°C]");
    EXPECT_EQ(LabelText(*GetDef(1110), false), "TW");
    EXPECT_EQ(LabelText(*GetDef(59010), true), "VAL1 ");
    EXPECT_EQ(LabelText(*GetDef(4711), true), "?ID not found?");
    EXPECT_EQ(LabelText(*GetDef(9010), true, LNG_CZECH), "Vstřik. čas A [ms]");

    CMyText text;
    text.SetStr("");
    EXPECT_EQ(text.Str(), " ");
}

TEST(WidgetTexts, BlendFadesTowardWhite)
{
    EXPECT_EQ(BlendColor(clBlack, clWhite), 0xBFBFBFu);
    EXPECT_EQ(BlendColor(clRed, clWhite), 0xBFBFFFu);
}
