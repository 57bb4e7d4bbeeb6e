// The bike page: its fields with their scales and signs as the edge cases name them, the pickup names of the pulse
// count, the model, display and CAN lists, and the notes area byte by byte.
#include "pages/bikepage.h"

#include <gtest/gtest.h>

#include "os/lngtext.h"
#include "pagefixture.h"
#include "settings/notes.h"
#include "vcl/dialogs.h"

namespace {

class BikePage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        ASSERT_TRUE(w.pageBuildProblems.empty()) << testing::PrintToString(w.pageBuildProblems);
        SetPage(PAGE_BIKE);
    }
    Image& image() { return w.images.image; }
    void show() { ShowImageOnPages(w, 0); }
    void type(std::string_view edit, std::string_view text)
    {
        auto* control = Control<TEdit>(w, edit);
        control->SetText(text);
        vcl::Fire(control->OnExit, static_cast<TObject*>(control));
    }
};

struct FieldCase
{
    const char* name;
    int address;
    std::uint8_t stored;
    const char* edit;
    const char* shown;
};

// Image value and the text a person reads, both ways.
const FieldCase kFieldCases[] = {
    {"ignition limiter in hundreds", 2660, 105, "EditIgnLimiter", "10 500"},
    {"injection limiter", 2661, 120, "EditJetLimiter", "12 000"},
    {"retard limiter rpm", 2662, 90, "EditRetardLimiterRpm", "9 000"},
    {"retard per 100 rpm is negative", 2663, 25, "EditRetardLimiterAdv", "-25"},
    {"retard at its limit", 2663, 250, "EditRetardLimiterAdv", "-250"},
    {"dwell in microseconds", 2664, 30, "EditBuzeni", "3 000"},
    {"dynamic dwell", 2665, 12, "EditDwellDyn", "12"},
    {"warning light", 2667, 105, "EditFan1", "105"},
    {"pulses per revolution", 2668, 2, "EditRpmPulsu", "2"},
    {"rpm correction around 100", 2669, 100, "EditRpmKorekce", "0"},
    {"rpm correction down", 2669, 40, "EditRpmKorekce", "-60"},
    {"intake port rpm", 2670, 80, "EditIntakePortRpm", "8 000"},
    {"intake port hysteresis may be 0", 5027, 0, "EditIntakePortHysteresis", "0"},
};

}  // namespace

TEST_F(BikePage, FieldsShowAndStoreWithTheirScaleAndSign)
{
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(c.name);
        image()[std::size_t(c.address)] = c.stored;
        show();
        EXPECT_EQ(Control<TEdit>(w, c.edit)->Text(), c.shown);
        image()[std::size_t(c.address)] = std::uint8_t(c.stored ^ 0x55);
        type(c.edit, c.shown);
        EXPECT_EQ(image()[std::size_t(c.address)], c.stored);
    }
}

TEST_F(BikePage, PulseCountNamesThePickupsAndHidesTheCorrection)
{
    const struct
    {
        std::uint8_t stored;
        const char* shown;
        bool correction;
    } cases[] = {{0xFF, "CKPS", false}, {0xFE, "CMPS", false}, {0, "0", true}, {12, "12", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        image()[2668] = c.stored;
        show();
        EXPECT_EQ(Control<TEdit>(w, "EditRpmPulsu")->Text(), c.shown);
        EXPECT_EQ(Control<TUpDown>(w, "UpDownRpmKorekce")->Visible(), c.correction);
        EXPECT_EQ(Control<TLabel>(w, "LabelRpmKorekce")->Visible(), c.correction);
        // A store keeps the pickup the edit names.
        vcl::Fire(Control<TEdit>(w, "EditRpmPulsu")->OnExit, static_cast<TObject*>(Control<TEdit>(w, "EditRpmPulsu")));
        EXPECT_EQ(image()[2668], c.stored);
    }
    // One step down from 0 is the crank pickup.
    image()[2668] = 0;
    show();
    Control<TUpDown>(w, "UpDownRpmPulsu")->Step(-1);
    CommitChangeNow(w);
    EXPECT_EQ(image()[2668], 0xFF);
    EXPECT_EQ(Control<TEdit>(w, "EditRpmPulsu")->Text(), "CKPS");
}

TEST_F(BikePage, CanSpeedAndSpecialSettingLook)
{
    image()[2678] = 0;
    show();
    EXPECT_TRUE(Control<TRadioButton>(w, "RadioButtonCAN250")->Checked());
    EXPECT_FALSE(Control<TRadioButton>(w, "RadioButtonCAN500")->Checked());
    Control<TRadioButton>(w, "RadioButtonCAN500")->SetChecked(true);
    EXPECT_EQ(image()[2678], 1);
    EXPECT_EQ(commits, 1);
    image()[2678] = 7;
    show();
    EXPECT_TRUE(Control<TRadioButton>(w, "RadioButtonCAN500")->Checked());

    image()[2501] = 1;
    show();
    EXPECT_EQ(Control<TCheckBox>(w, "CheckBoxBikeSecial")->Color(), clRed);
    // While the special setting is on the list shows the separator, and the model byte stays.
    auto* bikes = Control<TComboBox>(w, "ComboBoxBike");
    EXPECT_EQ(bikes->ItemTag(bikes->ItemIndex()), 0xFFFF);
    image()[2500] = 17;
    CommitChangeNow(w);
    EXPECT_EQ(image()[2500], 17);
    image()[2501] = 0;
    show();
    EXPECT_EQ(Control<TCheckBox>(w, "CheckBoxBikeSecial")->Color(), clBtnFace);
    EXPECT_EQ(bikes->ItemTag(bikes->ItemIndex()), 17);
}

TEST_F(BikePage, IntakePortsHideWhenTheServosOrTheIdleTakeThePort)
{
    const struct
    {
        std::uint8_t b4418, b4411, idleMode;
        bool shown;
    } cases[] = {{0, 1, 2, true}, {1, 1, 0, false}, {0, 0, 2, false}, {0, 0, 3, false}, {0, 0, 1, true}};
    for (const auto& c : cases) {
        image()[4418] = c.b4418;
        image()[4411] = c.b4411;
        image()[4559] = c.idleMode;
        show();
        EXPECT_EQ(Control<TGroupBox>(w, "GroupBoxIntakePort")->Visible(), c.shown)
            << int(c.b4418) << " " << int(c.b4411) << " " << int(c.idleMode);
    }
}

TEST_F(BikePage, ListsHoldTheirItemsAndTags)
{
    auto* bikes = Control<TComboBox>(w, "ComboBoxBike");
    ASSERT_EQ(bikes->ItemCount(), 70);
    EXPECT_EQ(bikes->ItemText(0), "Aprilia RSV MILLE                98-");
    EXPECT_EQ(bikes->ItemTag(1), 43);
    EXPECT_EQ(bikes->ItemText(32), "One lobe short dwell");
    EXPECT_EQ(bikes->ItemTag(32), 33);
    EXPECT_EQ(bikes->ItemText(68), "Yamaha YP 400");
    EXPECT_EQ(bikes->ItemTag(68), 59);
    EXPECT_EQ(bikes->ItemText(69), "-------------");
    EXPECT_EQ(bikes->ItemTag(69), 0xFFFF);
    // Every model number once.
    std::vector<int> tags;
    for (int i = 0; i < 69; ++i) tags.push_back(bikes->ItemTag(i));
    std::sort(tags.begin(), tags.end());
    for (int i = 0; i < 69; ++i) EXPECT_EQ(tags[std::size_t(i)], i);
    // The two trilingual items follow the language; German has no text of its own and shows English.
    SetLanguageIndex(LNG_CZECH);
    RefreshPageCaptions(w);
    EXPECT_EQ(bikes->ItemText(32), "Jednopalec krátké buzení");
    SetLanguageIndex(LNG_GERMAN);
    RefreshPageCaptions(w);
    EXPECT_EQ(bikes->ItemText(33), "One lobe long dwell");
    SetLanguageIndex(LNG_ENGLISH);

    auto* display = Control<TComboBox>(w, "ComboBoxDisplay");
    ASSERT_EQ(display->ItemCount(), 17);
    EXPECT_EQ(display->ItemText(2), "Honda I");
    EXPECT_EQ(display->ItemTag(2), 13);
    EXPECT_EQ(display->ItemText(16), "HD J-1850");
    EXPECT_EQ(display->ItemTag(16), 16);
    image()[2676] = 15;
    show();
    EXPECT_EQ(display->Text(), "Suzuki GSX-R 2017");

    auto* can = Control<TComboBox>(w, "ComboBoxCanType");
    ASSERT_EQ(can->ItemCount(), 12);
    image()[2677] = 11;
    show();
    EXPECT_EQ(can->Text(), "Aprilia Dorsoduro IAW7");
}

TEST_F(BikePage, AModelWithoutAnItemIsReportedOnceAndLeavesTheList)
{
    vcl::ScopedDialogScript dialogs;
    w.pageHooks.message = [](int index) { return "message " + std::to_string(index); };
    auto* bikes = Control<TComboBox>(w, "ComboBoxBike");
    image()[2500] = 11;
    ShowImageOnPages(w, 1);
    const int shown = bikes->ItemIndex();
    image()[2500] = 69;
    ShowImageOnPages(w, 1);
    show();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "message 43");
    EXPECT_EQ(bikes->ItemIndex(), shown);
}

// ---------------------------------------------------------------- notes

namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out(151, 0);
    std::size_t i = 0;
    for (int v : values) out[i++] = std::uint8_t(v);
    return out;
}

std::vector<std::string> readBack(const std::vector<std::uint8_t>& area)
{
    Image image{};
    std::copy(area.begin(), area.end(), image.begin() + 2509);
    std::vector<std::string> lines;
    for (const NotesLine& line : notesLinesOfImage(image)) lines.push_back(notesLineToUtf8(line));
    return lines;
}

}  // namespace

TEST(BikeNotes, AreaBytesAndReadBack)
{
    const std::string x150(150, 'x');
    struct Case
    {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::uint8_t> area;  // empty: not compared byte by byte
        std::vector<std::string> back;
    };
    const Case cases[] = {
        {"no lines", {}, bytes({}), {}},
        {"line and trailing empty line", {"ab", ""}, bytes({0x61, 0x62, 0, 0}), {"ab"}},
        {"empty line between", {"ab", "", "c"}, bytes({0x61, 0x62, 0, 0, 0x63, 0}), {"ab", "", "c"}},
        {"Windows-1250 letters stay 8-bit", {"Žluť"}, bytes({0x8E, 0x6C, 0x75, 0x9D, 0}), {"Žluť"}},
        {"a letter without an 8-bit form", {"aΩ"}, bytes({1, 0x61, 0, 0xA9, 0x03, 0, 0}), {"aΩ"}},
        {"150 characters fill the area", {x150}, {}, {x150}},
        {"a longer line is cut and stays terminated", {x150 + "yz"}, {}, {x150}},
        {"lines past the end are dropped", {x150, "more"}, {}, {x150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> area = PackNotes(c.lines);
        ASSERT_EQ(area.size(), 151u);
        if (!c.area.empty()) {
            EXPECT_EQ(area, c.area);
        }
        EXPECT_EQ(area.back(), 0);
        EXPECT_EQ(readBack(area), c.back);
    }
}

TEST(BikeNotes, WideLinesAreCutToWholeCharactersOrDropped)
{
    // 146 8-bit characters leave 4 bytes: too few for a wide line, which is dropped.
    EXPECT_EQ(readBack(PackNotes({std::string(146, 'a'), "Ω"})), std::vector<std::string>{std::string(146, 'a')});
    // 100 characters leave 50 bytes: the marker and 24 units, the last being the terminator.
    std::string omegas;
    for (int i = 0; i < 40; ++i) omegas += "Ω";
    const std::vector<std::uint8_t> area = PackNotes({std::string(100, 'a'), omegas});
    EXPECT_EQ(area[101], 1);
    std::string expected;
    for (int i = 0; i < 23; ++i) expected += "Ω";
    EXPECT_EQ(readBack(area), (std::vector<std::string>{std::string(100, 'a'), expected}));
}

TEST_F(BikePage, TheMemoKeepsTheNotesAndLeavingItCommits)
{
    auto* memo = Control<TMemo>(w, "Memo1");
    memo->SetLines({"Tuned 2024", "Dyno: 182 hp", "Ωmega"});
    vcl::Fire(memo->OnExit, static_cast<TObject*>(memo));
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(image()[2509], 'T');
    image()[2509] = 'R';
    show();
    EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"Runed 2024", "Dyno: 182 hp", "Ωmega"}));
    // The memo takes no more than the area holds.
    memo->SetLines({std::string(200, 'q')});
    EXPECT_EQ(memo->Lines().front().size(), std::size_t(kNotesMaxCharacters));
}
