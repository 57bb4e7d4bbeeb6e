// The widgets painted on an offscreen bitmap and probed pixel by pixel: bars, alarm faces, the stub before live
// data, fitted texts, selection marks and the repaint of only what changed.
#include <gtest/gtest.h>

#include "monitors/indicator.h"
#include "monitors/widgets.h"
#include "os/lngtext.h"

namespace {

constexpr TColor kGround = 0x808080;

class Paint : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetMonitorVariables();
        SetLanguageIndex(LNG_ENGLISH);
        bitmap.Canvas().Brush.Color = kGround;
        bitmap.Canvas().FillRect({0, 0, 300, 200});
    }
    void TearDown() override { ResetMonitorVariables(); }
    template <class T>
    T& make(int left, int top, int width, int height, int id)
    {
        widget = std::make_unique<T>();
        widget->Left = left;
        widget->Top = top;
        widget->Width = width;
        widget->Height = height;
        widget->id = id;
        widget->s = GetDef(id);
        widget->canvas = &bitmap.Canvas();
        return static_cast<T&>(*widget);
    }
    // Pixels of one colour along a row, from x0 on.
    [[nodiscard]] int run(int x0, int y, TColor colour) const
    {
        int n = 0;
        while (bitmap.Pixel(x0 + n, y) == colour) ++n;
        return n;
    }
    TBitmap bitmap{300, 200};
    std::unique_ptr<CMyComponent> widget;
};

}  // namespace

TEST_F(Paint, HorizontalBarFillsItsShareOfTheRange)
{
    SetMonitorValuesArrived();
    GetDef(1020)->value = 50;  // TPS 0..100
    auto& bar = make<CMyIndicator>(10, 10, 80, 20, 1020);
    bar.Paint();
    EXPECT_EQ(bitmap.Pixel(10, 10), clBlack) << "face outline";
    EXPECT_EQ(run(11, 20, clRed), 39);
    EXPECT_EQ(bitmap.Pixel(50, 20), clWhite);
    EXPECT_EQ(bitmap.Pixel(91, 20), kGround);
}

TEST_F(Paint, AlarmFacesMarkTheValueWithALine)
{
    SetMonitorValuesArrived();
    CLngStr* rpm = GetDef(1010);
    rpm->max = 10000;
    rpm->value = 5000;
    for (const auto& [flags, face] : {std::pair{0x41, clFuchsia}, std::pair{0xC1, clRed}}) {
        SCOPED_TRACE(flags);
        rpm->flags = flags;
        auto& bar = make<CMyIndicator>(10, 10, 80, 20, 1010);
        bar.Paint();
        EXPECT_EQ(bitmap.Pixel(20, 20), face);
        EXPECT_EQ(bitmap.Pixel(11 + 39, 20), clBlack) << "the value as a line";
        EXPECT_EQ(bitmap.Pixel(30, 20), face) << "no filled bar";
    }
}

TEST_F(Paint, BeforeLiveDataABarShowsAStubAndAValuePlaceholdersInRed)
{
    auto& bar = make<CMyIndicator>(10, 10, 20, 60, 1020);
    bar.Style = kStyleVertical;
    bar.Paint();
    EXPECT_EQ(bitmap.Pixel(20, 68), clRed);
    EXPECT_EQ(bitmap.Pixel(20, 67), clRed);
    EXPECT_EQ(bitmap.Pixel(20, 66), clWhite);

    auto& value = make<CMyValue>(100, 10, 120, 35, 1010);
    value.Paint();
    bool red = false;
    for (int x = 100; x < 220; ++x)
        for (int y = 10; y < 45; ++y) red = red || bitmap.Pixel(x, y) == clRed;
    EXPECT_TRUE(red) << "xxxxx in red";
}

TEST_F(Paint, NoRangeNothingDrawnAndTinyDialsEnd)
{
    CLngStr* row = GetDef(9020);  // a group row: min = max = 0
    auto& none = make<CMyIndicator>(10, 10, 80, 20, row->id);
    none.selected = 1;
    none.Paint();
    EXPECT_EQ(run(0, 15, kGround), 300) << "not even the selection marks";
    for (int style : {kStyleHorizontal, kStyleVertical, kStyleDial}) {
        auto& tiny = make<CMyIndicator>(10, 10, 1, 1, 1010);
        tiny.Style = style;
        tiny.scale = 0.1f;
        tiny.Paint();  // must end, and draw nothing outside itself
        EXPECT_EQ(bitmap.Pixel(100, 100), kGround);
    }
}

TEST_F(Paint, DialFaceNeedleAndLabels)
{
    SetMonitorValuesArrived();
    CLngStr* rpm = GetDef(1010);
    rpm->max = 10000;
    rpm->value = 10000;
    auto& dial = make<CMyIndicator>(10, 10, 180, 160, 1010);
    dial.Style = kStyleDial;
    dial.Paint();
    (void)bitmap.SaveToFile(std::string(SCREENSHOT_DIR) + "/monitor_dial_rpm.png");
    EXPECT_EQ(bitmap.Pixel(100, 13), clBlack) << "top of the face";
    EXPECT_EQ(bitmap.Pixel(100, 40), clWhite) << "inside the face";
    // At the maximum the needle points to the lower right.
    int red = 0;
    for (int x = 110; x < 160; ++x)
        for (int y = 95; y < 140; ++y) red += bitmap.Pixel(x, y) == clRed;
    EXPECT_GT(red, 20);
}

TEST_F(Paint, FittedTextFollowsHeightAndScale)
{
    TCanvas& c = bitmap.Canvas();
    const int one = FittedFontSize(c, 35, 1.0f);
    const int two = FittedFontSize(c, 35, 2.0f);
    EXPECT_NEAR(two, 2 * one, 1);
    c.Font.Size = one;
    EXPECT_NEAR(c.TextHeight("Q"), 35, 5);
    c.Font.Size = 8;
    EXPECT_EQ(FittedFontSize(c, 1, 0.1f), 1) << "never below one point";
}

TEST_F(Paint, SelectionMarks)
{
    struct Case
    {
        const char* name;
        bool focused;
        bool proportional;
        TColor handle;
    };
    for (const Case& k :
         {Case{"selected_white_handles", false, true, clWhite}, Case{"focused_black_handles", true, true, clBlack},
          Case{"free_edges_too", true, false, clBlack}}) {
        SCOPED_TRACE(k.name);
        SetUp();
        CMyGroup group;
        group.Width = 300;
        group.Height = 200;
        group.canvas = &bitmap.Canvas();
        auto label = std::make_unique<CMyLabel>();
        label->Left = 50;
        label->Top = 50;
        label->Width = 100;
        label->Height = 40;
        label->nprable = k.proportional ? 0 : 1;
        CMyLabel* raw = group.Insert(std::move(label));
        raw->selected = 1;
        if (k.focused) group.focused = raw;
        raw->Paint();
        EXPECT_EQ(bitmap.Pixel(50, 50), clBlack) << "handle outline";
        EXPECT_EQ(bitmap.Pixel(52, 52), k.handle) << "corner handle";
        EXPECT_EQ(bitmap.Pixel(148, 88), k.handle) << "corner handle";
        EXPECT_EQ(bitmap.Pixel(99, 52), k.proportional ? kGround : k.handle) << "edge handle";
    }
}

TEST_F(Paint, OnlyWhatChangedIsRepainted)
{
    CMyGroup group;
    group.Width = 300;
    group.Height = 200;
    group.Color = clBtnFace;
    group.SetCanvas(&bitmap.Canvas());
    for (int i = 0; i < 2; ++i) {
        auto value = std::make_unique<CMyValue>();
        value->Left = 20 + 120 * i;
        value->Top = 20;
        value->Width = 100;
        value->Height = 35;
        group.Insert(std::move(value));
    }
    group.Paint();
    bitmap.SetPixel(200, 150, clLime);  // a mark only a full repaint removes
    bitmap.SetPixel(30, 22, clLime);    // a mark inside the first widget
    group.Item(0)->MarkDirty(kDirtySelf);
    group.PaintDirty();
    EXPECT_NE(bitmap.Pixel(30, 22), clLime);
    EXPECT_EQ(bitmap.Pixel(200, 150), clLime);
    group.MarkDirty(kDirtySelf);  // the root group itself repaints whole
    EXPECT_EQ(group.dirty, kDirtyAll);
    group.PaintDirty();
    EXPECT_EQ(bitmap.Pixel(200, 150), 0xF0F0F0u);
}
