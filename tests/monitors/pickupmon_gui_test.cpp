// The pickup monitor window and its painter, offscreen: what the picture shows (probed in the back buffer), and
// the window driven with the pointer, the wheel, the keyboard and its buttons, as the main timer would poll and
// redraw it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <initializer_list>
#include <memory>

#include "monitors/pickupmon.h"

namespace {

// The standard picture: 800 x 600 client, margin 20, position 0 at 8 %: x(p) = 80 + p * 800 / 240.
constexpr int kX0 = 80;
int X(double p)
{
    return kX0 + static_cast<int>(p * 800.0 / 240.0);
}

constexpr std::uint32_t kIn1 = kPointInput1, kIn2 = kPointInput2, kIgn1 = 0x10, kIgn3 = 0x40;

class PickupWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        mon = std::make_unique<CMonPickup>();
        mon->OpenWindow();
        win = mon->window.get();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(win->Widget()));
        ASSERT_EQ(win->ClientWidth(), 800);
        ASSERT_EQ(win->ClientHeight(), 600);
        // One reference period of 180 degrees as the angle analysis leaves it.
        SetPoints({{-60, 0},
                   {0, 1 | kIn1},           // input 1 rises at the reference edge
                   {24, 1},                 // and falls
                   {60, 1 | kIn2},          // input 2 rises
                   {80, 1},                 // and falls
                   {150, 1 | kIgn1},        // ignition 1 fires
                   {152, 1},
                   {180, 2 | kIn1},         // the next reference edge
                   {0, kPointAtZero},
                   {180, kPointAtSpan}});
        mon->span = 180;
        mon->xMin = -30;
        mon->xMax = 210;
        mon->rpm = 3000;
    }
    void SetPoints(std::initializer_list<PickupPoint> points)
    {
        mon->pointCount = 0;
        for (const PickupPoint& p : points) mon->points[static_cast<std::size_t>(mon->pointCount++)] = p;
    }
    // One main-timer tick of the monitor: poll, and redraw when asked.
    void Tick()
    {
        mon->Poll();
        if (mon->redraw) mon->Redraw();
    }
    void Paint()
    {
        mon->redraw = 1;
        Tick();
    }
    [[nodiscard]] TColor At(int x, int y) const { return win->backBuffer->Pixel(x, y); }
    [[nodiscard]] int CountIn(int left, int top, int right, int bottom, TColor color) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += At(x, y) == color;
        return n;
    }
    QWidget* Picture() const { return win->picture->Widget(); }
    void Wheel(int x, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(x, 100);
        QWheelEvent e(at, Picture()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(Picture(), &e);
    }

    std::unique_ptr<CMonPickup> mon;
    TFormMon* win = nullptr;
};

}  // namespace

TEST(PickupChoosers, IndexAndColour)
{
    struct Case
    {
        int index;
        TColor color;
    };
    // Colours are 0x00BBGGRR.
    for (const Case& c : {Case{0, 0x000000}, Case{1, 0x000080}, Case{5, 0x800080}, Case{7, 0x808080},
                          Case{9, 0x0000FF}, Case{13, 0xFF00FF}, Case{14, 0xFFFF00}, Case{15, 0xFFFFFF}}) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(ChooserIndexToColor(c.index), c.color);
        EXPECT_EQ(ColorToChooserIndex(c.color), c.index);
    }
    EXPECT_EQ(ChooserIndexToColor(-1), clBlack);
    EXPECT_EQ(ChooserIndexToColor(16), clBlack);
    EXPECT_EQ(ColorToChooserIndex(0x123456), -1);
    EXPECT_EQ(ColorToChooserIndex(clBtnFace), -1);
    EXPECT_EQ(ChooserItemText(15), "White ");
}

TEST(PickupDimensionLabel, DegreesOrMilliseconds)
{
    struct Case
    {
        PickupDimension d;
        bool angle;
        const char* text;
    };
    const Case cases[] = {
        {{0, 180, 0, kIn1, kIn1}, true, "180.0 "},
        // From an input edge up to the reference mark: how far the edge lies before it.
        {{24, 180, 0, 0, kPointAtSpan}, true, "-156.0"},
        {{-30, 0, 0, kIn1, kPointAtZero}, true, "-30.0"},
        {{0, 180, 0, kPointAtZero, kPointAtSpan}, true, "180.0 "},
        {{-1.25, 2.5, 0, kIn2, kIn2}, false, "3.8ms"},
        {{-1.25, 0.5, 0, kIn2, kPointAtZero}, false, "-1.8ms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PickupDimensionText(c.d, c.angle), c.text);
    }
}

TEST_F(PickupWindow, OpensWithItsDefaults)
{
    EXPECT_EQ(win->Caption(), "PickUp monitor");
    EXPECT_TRUE(mon->IsVisible());
    EXPECT_TRUE(mon->WantsSamples());
    EXPECT_EQ(win->displayMode, kPickupModeAngle);
    const int defaults[] = {15, 9, 12, 11, 5, 13, 15, 7, 14};
    for (int i = 0; i < kPickupColorCount; ++i) {
        EXPECT_EQ(win->colorChoosers[static_cast<std::size_t>(i)]->ItemIndex(), defaults[i]) << i;
        EXPECT_EQ(win->colorChoosers[static_cast<std::size_t>(i)]->ItemCount(), 16);
    }
    EXPECT_EQ(win->ButtonPause->Caption(), "Pause");
    EXPECT_EQ(win->ButtonClearDim->Caption(), "Clear dim");
}

TEST_F(PickupWindow, NoPointsDrawNothing)
{
    mon->pointCount = 0;
    Paint();
    ASSERT_TRUE(win->backBuffer);
    EXPECT_EQ(CountIn(0, 0, 800, 600, clBlack), 800 * 600);
}

TEST_F(PickupWindow, PaintsInputsEdgesIgnitionAndFrame)
{
    Paint();
    ASSERT_TRUE(win->backBuffer);
    // Input 1 (white): high from the rise at 0 to the fall at 24, low after it; cut at the left margin.
    EXPECT_EQ(At((X(0) + X(24)) / 2, 200), clWhite);
    EXPECT_EQ(At((X(0) + X(24)) / 2, 250), clBlack);
    EXPECT_EQ(At(X(100), 250), clWhite);
    EXPECT_EQ(At(20, 250), clWhite);
    EXPECT_EQ(At(17, 250), clBlack);
    // Edges: input 1 rises red and falls blue, input 2 rises purple and falls fuchsia.
    EXPECT_EQ(At(X(0), 225), clRed);
    EXPECT_EQ(At(X(24), 225), clBlue);
    EXPECT_EQ(At(X(60), 325), 0x800080u);
    EXPECT_EQ(At(X(80), 325), clFuchsia);
    // Input 2 (yellow) high between its edges.
    EXPECT_EQ(At((X(60) + X(80)) / 2, 300), clYellow);
    // The ignition arrow and its angle, and a grid line after the firing.
    EXPECT_EQ(At(X(150), 50), clWhite);
    EXPECT_GT(CountIn(X(150) + 10, 10, X(150) + 90, 24, clWhite), 20);
    EXPECT_EQ(At(X(152), 150), clGray);
    // Grid at a change of an input, above the curves.
    EXPECT_EQ(At(X(24), 190), clGray);
    // The reference period's frame, from position 0 to the span, 80 above the bottom.
    EXPECT_EQ(At(X(90), 0), clGray);
    EXPECT_EQ(At(X(90), 519), clGray);
    EXPECT_EQ(At(X(0), 450), clGray);
    // The speed on black, the legend beside the choosers.
    EXPECT_EQ(CountIn(1, 1, 140, 15, clRed), 0);
    EXPECT_GT(CountIn(1, 1, 140, 15, clWhite), 30);
    const TComboBox* a1 = win->colorChoosers[kColorCurve1];
    EXPECT_GT(CountIn(a1->Left() + a1->Width() + 10, a1->Top() + 3, a1->Left() + a1->Width() + 70, a1->Top() + 17,
                      clWhite),
              10);
}

TEST_F(PickupWindow, OutputsOneAndThreeAtOnceGetTwoLabels)
{
    SetPoints({{0, 1 | kIn1}, {100, 1 | kIgn1 | kIgn3}, {102, 1}, {0, kPointAtZero}, {180, kPointAtSpan}});
    Paint();
    const int x = X(100) + 10;
    EXPECT_GT(CountIn(x, 10, x + 80, 23, clWhite), 10);  // CH1 at y 10
    EXPECT_EQ(CountIn(x, 25, x + 80, 38, clWhite), 0);   // no CH2
    EXPECT_GT(CountIn(x, 40, x + 80, 53, clWhite), 10);  // CH3 at y 40
}

TEST_F(PickupWindow, OutsideTheMarginsNoMarks)
{
    // Positions beyond both margins: no arrow, edge or grid line there.
    SetPoints({{-40, 1}, {-35, 1 | kIn1 | kIgn1}, {-33, 1}, {0, kPointAtZero}, {180, kPointAtSpan}});
    Paint();
    EXPECT_EQ(CountIn(0, 20, 20, 101, clWhite), 0);
    EXPECT_EQ(CountIn(0, 180, 20, 371, clRed), 0);
    EXPECT_EQ(CountIn(0, 100, 20, 371, clGray), 0);
}

TEST_F(PickupWindow, TimeModeShowsNoSynchroOnRed)
{
    win->displayMode = kPickupModeTime;
    Tick();  // the new mode drops the old points
    EXPECT_EQ(mon->pointCount, 0);
    SetPoints({{-1.0, 0}, {0, kIn2}, {0.5, 0}});
    mon->xMin = 0;
    mon->xMax = 4;
    Paint();
    EXPECT_GT(CountIn(1, 1, 160, 15, clRed), 100);
    // 200 pixels a millisecond: input 2 high from 0 to 0.5 ms.
    EXPECT_EQ(At(kX0 + 50, 300), clYellow);
    EXPECT_EQ(At(kX0 + 50, 350), clBlack);
    EXPECT_EQ(At(kX0 - 30, 350), clYellow);
}

TEST_F(PickupWindow, InvisibleColourChosenWithTheKeyboard)
{
    Paint();
    const int x = (X(0) + X(24)) / 2;
    ASSERT_EQ(At(x, 200), clWhite);
    TComboBox* box = win->colorChoosers[kColorCurve1];
    QApplication::setActiveWindow(win->Widget());
    box->SetFocus();
    QTest::keyClick(box->Widget(), Qt::Key_Home);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(win->colors[kColorCurve1], clBlack);
    Paint();
    EXPECT_EQ(At(x, 200), clBlack);
    EXPECT_EQ(At(X(0), 225), clRed);  // the edges keep their colours
}

TEST_F(PickupWindow, DimensionMeasuredWithTheLeftButton)
{
    Paint();
    // Press on input 1's row at its rise, drag to the next reference edge, release.
    QTest::mousePress(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(0) + 2, 225));
    QTest::mouseMove(Picture(), QPoint(X(180) + 10, 225));
    Tick();
    EXPECT_EQ(mon->dimensionCount, 0);
    EXPECT_EQ(At(X(90), 225), clAqua);  // shown while the button is held
    QTest::mouseRelease(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(180) + 10, 225));
    Tick();
    ASSERT_EQ(mon->dimensionCount, 1);
    EXPECT_EQ(mon->dimensions[0].positionA, 0);
    EXPECT_EQ(mon->dimensions[0].positionB, 180);
    EXPECT_EQ(mon->dimensions[0].y, 225);
    EXPECT_EQ(At(X(90), 225), clAqua);

    // From the reference mark's row: the fall of input 1 before the mark reads negative.
    QTest::mousePress(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(180), 450));
    QTest::mouseMove(Picture(), QPoint(X(24) + 3, 440));
    QTest::mouseRelease(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(24) + 3, 440));
    Tick();
    ASSERT_EQ(mon->dimensionCount, 2);
    EXPECT_EQ(PickupDimensionText(mon->dimensions[1], true), "-156.0");

    // Clear dim drops them all at once.
    QTest::mouseClick(win->ButtonClearDim->Widget(), Qt::LeftButton);
    EXPECT_EQ(mon->dimensionCount, 0);
    EXPECT_EQ(At(X(90), 225), clBlack);
}

TEST_F(PickupWindow, EleventhDimensionOnlyWhileHeld)
{
    for (int k = 0; k < kMaxDimensions; ++k) mon->dimensions[static_cast<std::size_t>(k)] = {0, 24, 470, kIn1, 0};
    mon->dimensionCount = kMaxDimensions;
    Paint();
    QTest::mousePress(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(0), 225));
    QTest::mouseMove(Picture(), QPoint(X(180), 450));
    Tick();
    EXPECT_EQ(At(X(90), 450), clAqua);
    QTest::mouseRelease(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(180), 450));
    Tick();
    EXPECT_EQ(mon->dimensionCount, kMaxDimensions);
    EXPECT_EQ(At(X(90), 450), clBlack);
}

TEST_F(PickupWindow, RightButtonAbandonsOrDeletes)
{
    Paint();
    // The right button while measuring abandons the measurement.
    QTest::mousePress(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(0), 225));
    QTest::mouseMove(Picture(), QPoint(X(180), 430));
    QTest::mousePress(Picture(), Qt::RightButton, Qt::NoModifier, QPoint(X(180), 430));
    Tick();
    EXPECT_EQ(At(X(90), 430), clBlack);
    QTest::mouseRelease(Picture(), Qt::RightButton, Qt::NoModifier, QPoint(X(180), 430));
    QTest::mouseRelease(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(180), 430));
    Tick();
    EXPECT_EQ(mon->dimensionCount, 0);

    // The right button on a dimension's value deletes that one; the others move up.
    mon->dimensions[0] = {0, 180, 430, kIn1, kIn1};
    mon->dimensions[1] = {24, 180, 480, 0, kIn1};
    mon->dimensionCount = 2;
    Paint();
    QTest::mousePress(Picture(), Qt::RightButton, Qt::NoModifier, QPoint(X(90), 420));
    Tick();
    ASSERT_EQ(mon->dimensionCount, 1);
    EXPECT_EQ(mon->dimensions[0].y, 480);
    QTest::mouseRelease(Picture(), Qt::RightButton, Qt::NoModifier, QPoint(X(90), 420));
}

TEST_F(PickupWindow, WheelZoomsAroundThePointer)
{
    Paint();
    ASSERT_EQ(win->origin, kX0);
    Wheel(400, 120);
    EXPECT_EQ(win->zoom, 2.0);
    EXPECT_EQ(win->origin, 400 - (400 - kX0) * 2);  // the position under the pointer stays put
    Tick();
    // Painted at twice the scale: input 2's edges at 60 and 80 degrees.
    EXPECT_EQ(win->origin, -240);
    EXPECT_EQ(At(-240 + 400, 325), 0x800080u);
    EXPECT_EQ(At(-240 + 533, 325), clFuchsia);
    // Ctrl alone does not zoom; Ctrl with Shift does.
    Wheel(400, 120, Qt::ControlModifier);
    EXPECT_EQ(win->zoom, 2.0);
    Wheel(400, 120, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(win->zoom, 4.0);
    for (int i = 0; i < 12; ++i) Wheel(400, 120);
    EXPECT_EQ(win->zoom, 1024.0);
    for (int i = 0; i < 12; ++i) Wheel(400, -120);
    EXPECT_EQ(win->zoom, 1.0);
    // Panned at zoom 1.0, the origin returns to its place at the next redraw.
    QTest::mousePress(Picture(), Qt::MiddleButton, Qt::NoModifier, QPoint(300, 100));
    QTest::mouseMove(Picture(), QPoint(350, 100));
    QTest::mouseRelease(Picture(), Qt::MiddleButton, Qt::NoModifier, QPoint(350, 100));
    Tick();
    EXPECT_EQ(win->origin, kX0);
    // Panned when zoomed in, it stays.
    Wheel(400, 120);
    const int origin = win->origin;
    QTest::mousePress(Picture(), Qt::MiddleButton, Qt::NoModifier, QPoint(300, 100));
    QTest::mouseMove(Picture(), QPoint(350, 100));
    QTest::mouseRelease(Picture(), Qt::MiddleButton, Qt::NoModifier, QPoint(350, 100));
    Tick();
    EXPECT_EQ(win->origin, origin + 50);
}

TEST_F(PickupWindow, AFocusedChooserKeepsThePictureStill)
{
    Paint();
    QApplication::setActiveWindow(win->Widget());
    ASSERT_TRUE(win->colorChoosers[kColorGrid]->SetFocus());
    Wheel(400, 120);
    EXPECT_EQ(win->zoom, 1.0);
    // A press on the picture only takes the focus away, to the Pause button; then the wheel zooms again.
    QTest::mousePress(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(0), 225));
    EXPECT_EQ(win->buttonsLatched, 0u);
    EXPECT_TRUE(win->ButtonPause->Focused());
    QTest::mouseRelease(Picture(), Qt::LeftButton, Qt::NoModifier, QPoint(X(0), 225));
    Wheel(400, 120);
    EXPECT_EQ(win->zoom, 2.0);
}

TEST_F(PickupWindow, PauseAndShowingAgain)
{
    QTest::mouseClick(win->ButtonPause->Widget(), Qt::LeftButton);
    EXPECT_EQ(win->paused, 1);
    EXPECT_EQ(win->ButtonPause->Caption(), "Continue");
    EXPECT_FALSE(mon->WantsSamples());
    QTest::mouseClick(win->ButtonPause->Widget(), Qt::LeftButton);
    EXPECT_TRUE(mon->WantsSamples());
    EXPECT_EQ(win->ButtonPause->Caption(), "Pause");
    // Hidden, it asks for nothing; shown again, a pause ends, and it stands where it stood.
    QTest::mouseClick(win->ButtonPause->Widget(), Qt::LeftButton);
    win->SetLeft(120);
    win->SetTop(90);
    mon->Toggle();
    EXPECT_FALSE(mon->IsVisible());
    EXPECT_FALSE(mon->WantsSamples());
    mon->Toggle();
    EXPECT_TRUE(mon->WantsSamples());
    EXPECT_EQ(win->ButtonPause->Caption(), "Pause");
    EXPECT_EQ(win->Left(), 120);
    EXPECT_EQ(win->Top(), 90);
}

TEST_F(PickupWindow, ResizingMovesTheControlsWithTheBottomEdge)
{
    Paint();
    EXPECT_EQ(win->ButtonPause->Top(), 565);
    EXPECT_EQ(win->colorChoosers[kColorCurve1]->Top(), 535);
    win->SetWidth(700);
    win->SetHeight(500);
    Tick();  // the resize asked for a redraw
    EXPECT_EQ(win->bufferWidth, 700);
    EXPECT_EQ(win->bufferHeight, 500);
    EXPECT_EQ(win->ButtonPause->Top(), 465);
    EXPECT_EQ(win->ButtonClearDim->Top(), 435);
    EXPECT_EQ(win->colorChoosers[kColorCurve1]->Top(), 435);
    EXPECT_EQ(win->colorChoosers[kColorFall1]->Top(), 475);
    EXPECT_EQ(win->colorChoosers[kColorDimensions]->Top(), 475);
    EXPECT_EQ(win->origin, (700 - 40) * 8 / 100 + 20);
    EXPECT_EQ(win->picture->Width(), 700);
    // Never below 300 x 200.
    win->SetWidth(100);
    win->SetHeight(50);
    EXPECT_EQ(win->Width(), 300);
    EXPECT_EQ(win->Height(), 200);
}
