// The launch and traction control page's own rules: the sections offered and shown by the two enables, the units
// that follow the speed source and the servos, the filter's begin or end, and the after-start and traction maps as
// the image holds them.
#include <gtest/gtest.h>

#include "mapeditor/tab.h"
#include "pages/mapsheets.h"
#include "person.h"

namespace {

class TrackingPage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        SetPage(PAGE_TRACKING);
        set({{4625, 1}, {4797, 1}});
    }
    Image& image() { return w.images.image; }
    void set(std::initializer_list<std::pair<int, int>> settings)
    {
        for (auto [address, value] : settings) image()[std::size_t(address)] = std::uint8_t(value);
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    TTab* editor(int id) { return MapEditor(w, id); }
    int section() { return editor(20)->current; }
};

}  // namespace

TEST_F(TrackingPage, TheEnablesDecideWhichSectionsAreOfferedAndShown)
{
    const struct
    {
        int launch, traction, chosen;  // the section chosen before the image is shown
        int section;                   // the section then shown
    } cases[] = {{1, 1, 0, 0}, {1, 1, 1, 1}, {1, 1, 2, 2}, {0, 1, 0, 2}, {0, 1, 1, 2}, {1, 0, 2, 0}, {1, 0, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "launch " << c.launch << ", traction " << c.traction << ", chosen "
                                        << c.chosen);
        editor(20)->SelectSheet(c.chosen);
        set({{4625, c.launch}, {4797, c.traction}});
        EXPECT_EQ(section(), c.section);
        EXPECT_EQ(editor(20)->sheets[0].hidden, c.launch == 0);
        EXPECT_EQ(editor(20)->sheets[1].hidden, c.launch == 0);
        EXPECT_EQ(editor(20)->sheets[2].hidden, c.traction == 0);
        EXPECT_EQ(Shown(w, "GroupBoxAccLimiters"), c.section == 0);
        EXPECT_EQ(Shown(w, "GroupBoxStartServoEx"), c.section == 0);
        EXPECT_EQ(editor(21)->Visible(), c.section == 1);
        EXPECT_EQ(editor(22)->Visible(), c.section == 1);
        EXPECT_EQ(editor(23)->Visible(), c.section == 2);
        EXPECT_EQ(Shown(w, "GroupBoxTrackLimits"), c.section == 2);
        EXPECT_EQ(Shown(w, "CheckBoxLaunchEnable"), c.section != 1);
        EXPECT_EQ(Shown(w, "LabelMonSlip"), c.section != 1);
        EXPECT_EQ(Shown(w, "EditTrackInhibit"), c.launch != 0 && c.section != 1);
    }
    // Both off: only the two enable boxes.
    set({{4625, 0}, {4797, 0}});
    EXPECT_FALSE(editor(20)->Visible());
    EXPECT_TRUE(Shown(w, "CheckBoxLaunchEnable"));
    EXPECT_TRUE(Shown(w, "CheckBoxTrackEnable"));
    EXPECT_FALSE(Shown(w, "GroupBoxStartLimiters"));
    EXPECT_FALSE(Shown(w, "LabelMonSpeedFront"));
    EXPECT_FALSE(Shown(w, "EditTrackInhibit"));
    // Enabling traction alone goes to its section.
    Tick(w, "CheckBoxTrackEnable", true);
    EXPECT_EQ(image()[4797], 1);
    EXPECT_EQ(section(), 2);
    EXPECT_TRUE(editor(23)->Visible());
    EXPECT_EQ(commits, 1);
}

TEST_F(TrackingPage, TheSpeedSourceSetsTheUnitsOfTheMinimumSpeedAndTheAccelerationMaps)
{
    set({{4632, 30}, {4631, 0}});
    EXPECT_EQ(Control<TLabel>(w, "LabelAccSpeedMin")->Caption(), "RPM min");
    EXPECT_EQ(Control<TEdit>(w, "EditAccSpeedMin")->Text(), "3 000");
    Click(w, "RadioGroupSpeedSource", 1);
    EXPECT_EQ(image()[4631], 1);
    EXPECT_EQ(image()[4632], 30);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(Control<TLabel>(w, "LabelAccSpeedMin")->Caption(), "Speed min [km/h]");
    EXPECT_EQ(Control<TUpDown>(w, "UpDownAccSpeedMin")->Max(), 250);
    EXPECT_EQ(Control<TEdit>(w, "EditAccSpeedMin")->Text(), "30");
    const TTab* maps = editor(24);
    EXPECT_EQ(maps->sheets[0].data.unit, "km/h/s");
    EXPECT_DOUBLE_EQ(maps->sheets[0].data.scale, 1.0);
    EXPECT_EQ(maps->sheets[2].data.unit, "°/km/h/s");
    EXPECT_DOUBLE_EQ(maps->sheets[2].data.scale, 0.01);
    Click(w, "RadioGroupSpeedSource", 0);
    EXPECT_EQ(maps->sheets[0].data.unit, "rpm/s");
    EXPECT_DOUBLE_EQ(maps->sheets[0].data.scale, 100.0);
    EXPECT_DOUBLE_EQ(maps->sheets[2].data.scale, 0.1);
    EXPECT_EQ(Control<TUpDown>(w, "UpDownAccSpeedMin")->Max(), 25000);
}

TEST_F(TrackingPage, ServoThresholdsInPercentOrMillivolts)
{
    set({{4730, 1}, {4729, 0}, {4415, 1}, {4414, 0}, {4732, 80}, {4731, 100}});
    EXPECT_EQ(Control<TUpDown>(w, "UpDownStartServoInLevel")->Max(), 100);
    EXPECT_EQ(Control<TEdit>(w, "EditStartServoInLevel")->Text(), "80");
    EXPECT_TRUE(Control<TLabel>(w, "LabelStartServoInLevel")->Caption().ends_with(" [%]"));
    EXPECT_EQ(Control<TUpDown>(w, "UpDownStartServoExLevel")->Max(), 5000);
    EXPECT_EQ(Control<TEdit>(w, "EditStartServoExLevel")->Text(), "2 000");
    EXPECT_TRUE(Control<TLabel>(w, "LabelStartServoExLevel")->Caption().ends_with(" [mV]"));
    EXPECT_TRUE(Control<TControl>(w, "EditStartServoInFuel")->Enabled());
    EXPECT_FALSE(Control<TControl>(w, "EditStartServoExLevel")->Enabled());
    Type(w, "EditStartServoExLevel", "1500");
    EXPECT_EQ(image()[4731], 75);
}

TEST_F(TrackingPage, TheFilterTakesItsBeginOrEnd)
{
    set({{4728, 0}});
    EXPECT_TRUE(Control<TRadioButton>(w, "RadioButtonFilterBegin")->Checked());
    set({{4728, 5}});
    EXPECT_TRUE(Control<TRadioButton>(w, "RadioButtonFilterEnd")->Checked());
    EXPECT_EQ(commits, 0);
    Control<TRadioButton>(w, "RadioButtonFilterBegin")->SetChecked(true);
    EXPECT_EQ(image()[4728], 0);
    Control<TRadioButton>(w, "RadioButtonFilterEnd")->SetChecked(true);
    EXPECT_EQ(image()[4728], 1);
    EXPECT_EQ(commits, 2);
}

TEST_F(TrackingPage, AdvanceLimitsAreStoredAroundAHundred)
{
    set({{4627, 40}, {4798, 160}});
    EXPECT_EQ(Control<TEdit>(w, "EditStartMinAdv")->Text(), "-60");
    Type(w, "EditStartMinAdv", "60");
    EXPECT_EQ(image()[4627], 160);
    editor(20)->SelectSheet(2);
    ShowImageOnPages(w, 0);
    EXPECT_EQ(Control<TEdit>(w, "EditTrackMinAdv")->Text(), "60");
    Type(w, "EditTrackMinAdv", "0");
    EXPECT_EQ(image()[4798], 100);
    Type(w, "EditTrackMinRpm", "2500");
    EXPECT_EQ(image()[4799], 25);
    Type(w, "EditTrackInhibit", "2500");
    EXPECT_EQ(image()[4922], 250);
}

TEST_F(TrackingPage, AfterStartCurvesKeepTheirPointCountsWithinTheMap)
{
    set({{4735, 0}, {4736, 20}});
    EXPECT_EQ(image()[4735], 1);
    EXPECT_EQ(image()[4736], 15);
    EXPECT_EQ(editor(21)->sheets[0].x.count, 1);
    EXPECT_EQ(editor(22)->sheets[0].x.count, 15);
    // One more time point in use is stored with the curve.
    set({{4735, 4}});
    for (int j = 0; j < 15; ++j) image()[std::size_t(4737 + j)] = std::uint8_t(10 * (j + 1));
    ShowImageOnPages(w, 1);
    editor(21)->sheets[0].x.count = 5;
    StoreCurrentPage(w);
    EXPECT_EQ(image()[4735], 5);
    // 250 raw points of the time axis are 5 seconds.
    EXPECT_DOUBLE_EQ(editor(21)->sheets[0].x.max * editor(21)->sheets[0].x.scale, 5.0);
}

TEST_F(TrackingPage, RetardIsNegativeInTheMapsAndPositiveInTheImage)
{
    image()[4752] = 20;
    image()[4812 + 10 * 2 + 3] = 50;
    setImageWord(image(), 1126 + 5, 100);
    ShowImageOnPages(w, 1);
    EXPECT_EQ(editor(21)->sheets[0].value(0, 0), -20);
    EXPECT_EQ(editor(23)->sheets[0].value(3, 2), -50);
    EXPECT_EQ(editor(23)->sheets[0].y.points[5], 100);
    editor(21)->sheets[0].value(1, 0) = -35;
    editor(23)->sheets[0].value(0, 5) = -7;
    StoreCurrentPage(w);
    EXPECT_EQ(image()[4753], 35);
    EXPECT_EQ(image()[4812 + 50], 7);
    EXPECT_EQ(image()[4752], 20);
}
