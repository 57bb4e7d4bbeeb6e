// The pickup monitor against the simulated unit: the button of the main window opens it, the live requests then
// ask for samples, the unit's sample blocks reach the picture over crank angle, and Pause stops both the requests
// and the picture.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "monitors/pickupmon.h"
#include "unitlinktest.h"
#include "unitsim/pickupsignal.h"

namespace {

// The simulated unit says four reference periods in 720 degrees: one every 180 degrees, a cylinder each.
constexpr int kCycleDivisor = 4;

unitsim::PickupSignal engineAt(int rpm)
{
    return {.rpm = rpm, .cycleDivisor = kCycleDivisor, .periods = 6, .lobeDegrees = 20, .camDegrees = 60};
}

// The request byte that asks the unit for samples, in the last live request the unit saw (-1: none yet).
int lastSampleRequest(const unitsim::UnitSim& sim)
{
    const std::vector<unitsim::Request> requests = sim.requests();
    for (auto r = requests.rbegin(); r != requests.rend(); ++r)
        if (r->command == 0x30 && r->data.size() > 105) return r->data[105];
    return -1;
}

int liveRequestCount(const unitsim::UnitSim& sim)
{
    const std::vector<unitsim::Request> requests = sim.requests();
    return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                          [](const unitsim::Request& r) { return r.command == 0x30; }));
}

// Leaves a picture of a window for a person to look at (build/screenshots/<fileName>); not under ThreadSanitizer,
// whose sight Qt's pooled image threads escape.
void saveWindowScreenshot(TForm& window, const std::string& fileName)
{
#if !defined(__SANITIZE_THREAD__)
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(window.Widget()->grab().save(QString::fromStdString((dir / fileName).string())));
#else
    (void)window;
    (void)fileName;
#endif
}

}  // namespace

TEST_F(UnitLinkTest, PickupMonitorDrawsTheUnitsSamples)
{
    sim->setPickupSamples(unitsim::PickupSamples(engineAt(3000)), 1);
    ASSERT_TRUE(runUntil([&] { return form->connectionState == 2; }));
    EXPECT_EQ(lastSampleRequest(*sim), 0);  // nobody looks at samples yet

    form->Show();
    QTest::mouseClick(form->ButtonMonPu->Widget(), Qt::LeftButton);
    ASSERT_NE(form->pickupMonitor, nullptr);
    CMonPickup& mon = *form->pickupMonitor;
    ASSERT_TRUE(mon.IsVisible());
    EXPECT_EQ(mon.window->Caption(), "PickUp monitor");

    // The unit sends a block after a live answer; the next analysis places it over crank angle.
    ASSERT_TRUE(runUntil([&] { return mon.pointCount > 10 && mon.rpm > 0; }));
    EXPECT_EQ(lastSampleRequest(*sim), 1);
    EXPECT_EQ(mon.window->displayMode, kPickupModeAngle);
    EXPECT_EQ(mon.span, 180);
    EXPECT_EQ(mon.xMin, -30);
    EXPECT_EQ(mon.xMax, 210);
    EXPECT_NEAR(mon.rpm, 3000, 3);
    // Every reference edge lies on a whole period, the crank lobe 20 degrees after it; an ignition fires 32
    // degrees before each top dead centre.
    bool sawEdgeAtZero = false, sawIgnition = false;
    for (int i = 0; i < mon.pointCount; ++i) {
        const PickupPoint& p = mon.points[static_cast<std::size_t>(i)];
        if (p.flags & kPointClosing) continue;
        if (std::abs(p.position) < 0.5 && (p.flags & kPointInput1)) sawEdgeAtZero = true;
        if ((p.flags & kPointIgnitions) && std::abs(p.position - 148) < 0.5) sawIgnition = true;
    }
    EXPECT_TRUE(sawEdgeAtZero);
    EXPECT_TRUE(sawIgnition);
    // The picture is painted: the crank curve is white (high) right after the reference edge.
    ASSERT_TRUE(runUntil([&] { return mon.window->backBuffer != nullptr; }));
    mon.redraw = 1;
    ASSERT_TRUE(runUntil([&] { return mon.redraw == 0; }));
    const int x10 = mon.window->origin + static_cast<int>(10 * 800.0 / 240.0);
    EXPECT_EQ(mon.window->backBuffer->Pixel(x10, 200), clWhite);

    // A faster engine: the next block shows its speed.
    sim->setPickupSamples(unitsim::PickupSamples(engineAt(6000)), 1);
    ASSERT_TRUE(runUntil([&] { return std::abs(mon.rpm - 6000) < 6; }));

    // Paused: the requests stop asking and the picture stands still, even when the unit still sends a block.
    QTest::mouseClick(mon.window->ButtonPause->Widget(), Qt::LeftButton);
    EXPECT_EQ(mon.window->ButtonPause->Caption(), "Continue");
    const int requestsBefore = liveRequestCount(*sim);
    ASSERT_TRUE(runUntil([&] { return liveRequestCount(*sim) > requestsBefore + 1; }));
    EXPECT_EQ(lastSampleRequest(*sim), 0);
    sim->setPickupSamples(unitsim::PickupSamples(engineAt(4000)), 1);
    const int ticks = form->tickCounter;
    ASSERT_TRUE(runUntil([&] { return form->tickCounter > ticks + 40; }));
    EXPECT_NEAR(mon.rpm, 6000, 6);
    QTest::mouseClick(mon.window->ButtonPause->Widget(), Qt::LeftButton);
    ASSERT_TRUE(runUntil([&] { return std::abs(mon.rpm - 4000) < 4; }));

    // A dimension from the crank pickup's rise to the firing of output 3, drawn with the left button.
    auto xOf = [&](double position) { return mon.window->origin + static_cast<int>(position * 800.0 / 240.0); };
    QWidget* picture = mon.window->picture->Widget();
    QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, QPoint(xOf(0) + 2, 225));
    QTest::mouseMove(picture, QPoint(xOf(148) - 3, 440));
    ASSERT_TRUE(runUntil([&] { return mon.redraw == 0 && mon.window->buttonsLatched != 0; }));
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, QPoint(xOf(148) - 3, 440));
    ASSERT_TRUE(runUntil([&] { return mon.dimensionCount == 1; }));
    EXPECT_NEAR(mon.dimensions[0].positionB - mon.dimensions[0].positionA, 148, 0.5);

    // A picture for a person to look at.
    saveWindowScreenshot(*mon.window, "pickup_monitor.png");

    // The button again hides the window where it stands, and the unit is no longer asked.
    QTest::mouseClick(form->ButtonMonPu->Widget(), Qt::LeftButton);
    EXPECT_FALSE(mon.IsVisible());
    const int requestsHidden = liveRequestCount(*sim);
    ASSERT_TRUE(runUntil([&] { return liveRequestCount(*sim) > requestsHidden + 1; }));
    EXPECT_EQ(lastSampleRequest(*sim), 0);
    QTest::mouseClick(form->ButtonMonPu->Widget(), Qt::LeftButton);
    EXPECT_TRUE(mon.IsVisible());
    EXPECT_TRUE(dialogs.Messages().empty());
}
