// The sensor maps' own rules, by the image alone: the temperature map shown as resistances and stored back, the
// pressure maps' warning colour, the temperature columns of the sensors switched on, the lambda points in both
// notations and the atmospheric pressure map folded away while it serves the hunting.
#include <gtest/gtest.h>

#include "mapeditor/tab.h"
#include "pagefixture.h"
#include "pages/sensormaps.h"
#include "pages/sensorspage.h"
#include "settings/helpers.h"

namespace {

class SensorMaps : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        w.pageHooks.message = [](int index) { return "m" + std::to_string(index); };
        SetPage(PAGE_SENSORS);
        show();
    }
    Image& image() { return w.images.image; }
    void show()
    {
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    TTab& editor(int id) { return *w.mapEditors[std::size_t(id)]; }
    CSheet& sheet(int id) { return editor(id).sheets[0]; }
};

}  // namespace

// Shown as resistance (2.2 kOhm pull-up at 5 V), a cell stores back the voltage of the resistance typed; a raised
// resistance whose voltage rounds down to the old one still moves the voltage up by one millivolt, so the edit is
// not lost. A resistance that stays as shown leaves its word, however the voltage would round.
TEST_F(SensorMaps, TemperatureCellsShownAsResistanceStoreTheirVoltage)
{
    image()[4055] = image()[4056] = 0;
    struct Case
    {
        int millivolts;
        std::int32_t shownOhms;
        std::int32_t typedOhms;  // 0: left as shown
        int stored;
    };
    // Falling voltages, as the image's repair keeps them, before and after.
    const Case cases[] = {
        {5000, 20'000'000, 0, 5000},          // an open input
        {4999, 10'997'800, 0, 4999},
        {4000, 8800, 1'000'000, 4989},
        {3000, 3300, 3301, 3001},             // 3301 Ohm is still 3000 mV: one more
        {2500, 2200, 2199, 2499},             // a lowered one falls by the rounding
        {2000, 1466, 0, 2000},                // 1466 Ohm would store 1999 mV
        {1000, 550, 500, 925},
        {500, 244, 0, 500},
        {0, 0, 1, 2},                         // 1 Ohm is 2 mV
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) setImageWord(image(), 1044 + int(k), std::uint16_t(cases[k].millivolts));
    show();
    auto* view = Control<TRadioGroup>(w, "RadioGroupTempView");
    view->SetItemIndex(1);
    EXPECT_EQ(sheet(kTemperatureEditorId).data.name, "R");
    EXPECT_EQ(commits, 1);
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        EXPECT_EQ(sheet(kTemperatureEditorId).value(0, int(k)), c.shownOhms) << k;
        if (c.typedOhms != 0) sheet(kTemperatureEditorId).value(0, int(k)) = c.typedOhms;
    }
    StoreSensorsPage(w);
    for (std::size_t k = 0; k < std::size(cases); ++k) EXPECT_EQ(imageWord(image(), 1044 + int(k)), cases[k].stored) << k;
    // Back to voltages: the millivolts as stored.
    view->SetItemIndex(0);
    EXPECT_EQ(sheet(kTemperatureEditorId).data.name, "U");
    for (std::size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(sheet(kTemperatureEditorId).value(0, int(k)), cases[k].stored) << k;
}

// A pressure sensor whose two voltages are equal cannot tell pressures apart: its voltages turn red.
TEST_F(SensorMaps, PressureVoltagesTurnRedWhileBothAreEqual)
{
    constexpr TColor kRed = 0x0000FF, kUsual = 0xA0E0C0;
    struct Case
    {
        int editor, firstWord;  // the row 0 voltage; row 1's is two words on
        int row0, row1;
        TColor colour;
    };
    const Case cases[] = {
        {kApEditorId, 1069, 400, 4600, kUsual}, {kApEditorId, 1069, 2500, 2500, kRed},
        {kApEditorId, 1069, 0, 0, kRed},        {kApEditorId, 1069, 400, 4600, kUsual},
        {kIapEditorId, 1073, 300, 300, kRed},   {kIapEditorId, 1073, 300, 301, kUsual},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.editor << ": " << c.row0 << ", " << c.row1);
        setImageWord(image(), c.firstWord, std::uint16_t(c.row0));
        setImageWord(image(), c.firstWord + 2, std::uint16_t(c.row1));
        show();
        EXPECT_EQ(sheet(c.editor).data.colour, c.colour);
    }
}

// The temperature map has a column per sensor switched on; with only one, that sensor's column and words.
TEST_F(SensorMaps, TemperatureColumnsFollowTheSensorsSwitchedOn)
{
    for (int r = 0; r < 9; ++r) {
        setImageWord(image(), 1044 + r, std::uint16_t(4000 - 100 * r));  // coolant
        setImageWord(image(), 1053 + r, std::uint16_t(3000 - 100 * r));  // inlet air
    }
    struct Case
    {
        bool coolant, air;
        int columns;
        int firstPoint;     // 0: coolant, 1: inlet air
        int firstValue;     // row 0 of the first column
        bool shown;
    };
    const Case cases[] = {
        {true, true, 2, 0, 4000, true},
        {true, false, 1, 0, 4000, true},
        {false, true, 1, 1, 3000, true},
        {false, false, 2, 0, 4000, false},
        {true, true, 2, 0, 4000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "coolant " << c.coolant << ", air " << c.air);
        image()[4055] = c.coolant ? 0 : 1;
        image()[4056] = c.air ? 0 : 1;
        show();
        const CSheet& s = sheet(kTemperatureEditorId);
        EXPECT_EQ(s.x.count, c.columns);
        EXPECT_EQ(editor(kTemperatureEditorId).layout.visibleColumns, c.columns);
        EXPECT_EQ(s.x.points[0], c.firstPoint);
        EXPECT_EQ(s.value(0, 0), c.firstValue);
        if (c.columns == 2) {
            EXPECT_EQ(s.value(1, 0), 3000);
        }
        EXPECT_EQ(editor(kTemperatureEditorId).Visible(), c.shown);
        EXPECT_EQ(Control<TControl>(w, "RadioGroupTempView")->Visible(), c.shown);
        // A store with nothing typed leaves both sensors' words.
        StoreSensorsPage(w);
        EXPECT_EQ(imageWord(image(), 1044), 4000);
        EXPECT_EQ(imageWord(image(), 1053), 3000);
    }
}

// The image keeps the lambda points as air-fuel ratio x 10; in lambda notation they show as lambda x 100 (14.7 is
// 1.00), and a point stores back only when it was changed.
TEST_F(SensorMaps, LambdaPointsInBothNotations)
{
    struct Case
    {
        bool lambdaNotation;
        int stored;
        double scale;
        int shown;
        int typed;  // -1: left as shown
        int storedAfter;
    };
    const Case cases[] = {
        {false, 147, 0.1, 147, -1, 147},  {true, 147, 0.01, 100, -1, 147},
        {true, 140, 0.01, 95, 100, 147},  {true, 148, 0.01, 101, -1, 148},  // 101 would store 148 anyway
        {true, 149, 0.01, 101, -1, 149},                                    // kept though 101 stores 148
        {false, 140, 0.1, 140, 147, 147}, {true, 250, 0.01, 170, -1, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lambdaNotation << ": " << c.stored);
        image()[5029] = c.lambdaNotation ? 1 : 0;
        image()[4061] = std::uint8_t(c.stored);
        show();
        CSheet& s = sheet(kLambdaSensorEditorId);
        EXPECT_DOUBLE_EQ(s.y.scale, c.scale);
        EXPECT_EQ(s.y.label, c.lambdaNotation ? "Lambda" : "AFR");
        EXPECT_EQ(s.y.points[0], c.shown);
        if (c.typed >= 0) s.y.points[0] = c.typed;
        StoreSensorsPage(w);
        EXPECT_EQ(image()[4061], c.storedAfter);
    }
}

// The atmospheric pressure sensor's input serves the hunting of an intake-pressure synchronisation: its map folds
// to its title, cannot be edited, and the label says why.
TEST_F(SensorMaps, PressureMapFoldsWhileItServesTheHunting)
{
    struct Case
    {
        int huntingSource, synchro2;
        bool folded;
    };
    const Case cases[] = {{1, 5, true}, {1, 6, true}, {1, 4, false}, {1, 7, false}, {0, 5, false}, {2, 6, false},
                          {1, 6, true}, {0, 6, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.huntingSource << ", " << c.synchro2);
        image()[2730] = std::uint8_t(c.huntingSource);
        image()[2682] = std::uint8_t(c.synchro2);
        show();
        EXPECT_EQ(editor(kApEditorId).Enabled(), !c.folded);
        EXPECT_EQ(editor(kApEditorId).Height(), c.folded ? 20 : 180);
        EXPECT_EQ(Control<TControl>(w, "LabelNavolenoSyncIap")->Visible(), c.folded);
    }
}
