// The synchronisation page: a new synchronisation 1 type brings its special-condition defaults, the odd
// conversions of its fields, the lobe limits, which controls show and may be changed, and the hunting source that
// switches the AP sensor off.
#include <gtest/gtest.h>

#include "pages/syncpage.h"
#include "person.h"

namespace {

using Settings = std::initializer_list<std::pair<int, int>>;

class SyncPage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        image()[2501] = 1;  // the special setting, without which nothing here may be changed
        SetPage(PAGE_SYNCHRO);
        ShowImageOnPages(w, 1);
    }
    Image& image() { return w.images.image; }
    void set(Settings settings)
    {
        for (auto [address, value] : settings) image()[std::size_t(address)] = std::uint8_t(value);
        ShowImageOnPages(w, 1);
    }
    void chooseSynchro1(int tag)
    {
        Choose(w, "ComboBoxSynchro1", FindComboTag(Control<TComboBox>(w, "ComboBoxSynchro1"), tag));
    }
};

}  // namespace

TEST_F(SyncPage, ANewSynchro1TypeBringsItsConditionsAndCommitsOnce)
{
    struct Case
    {
        const char* name;
        Settings before;
        int tag;
        Settings after;  // bytes after the change
        int conditionsShown;
    };
    const Case cases[] = {
        {"type 2 writes its four conditions", {{2733, 1}, {2683, 36}}, 2,
         {{2681, 2}, {2732, 1}, {2731, 0}, {2733, 4}, {2734, 1}, {2735, 2}, {2745, 5}, {2742, 1}, {2752, 3}}, 4},
        {"the special setting keeps the conditions", {{2733, 3}, {2735, 6}, {2745, 7}}, 10,
         {{2681, 10}, {2733, 3}, {2735, 6}, {2745, 7}}, 3},
        {"one lobe sets the lobe count", {{2683, 36}, {2733, 2}}, 5, {{2681, 5}, {2683, 1}, {2733, 0}}, 0},
        {"models 48, 49 and 67 keep the special setting", {{2500, 48}, {2731, 1}}, 0, {{2681, 10}, {2731, 0}, {2733, 1}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        image().fill(0);
        image()[2501] = 1;
        set(c.before);
        commits = 0;
        chooseSynchro1(c.tag);
        EXPECT_EQ(commits, 1);
        for (auto [address, value] : c.after) EXPECT_EQ(image()[std::size_t(address)], value) << address;
        EXPECT_EQ(Position(w, "UpDownSyn1SpPocPodm"), c.conditionsShown);
        EXPECT_EQ(Position(w, "UpDownSyn1SpFaze11"), -image()[2745]);
    }
}

TEST_F(SyncPage, AClickWaitingForItsCommitIsKeptWhenTheTypeChanges)
{
    set({{2691, 50}});
    Control<TUpDown>(w, "UpDownSynchroMaxRpm")->Step(+1);
    ASSERT_EQ(commits, 0);
    chooseSynchro1(2);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(image()[2691], 51);
    EXPECT_EQ(image()[2733], 4);
}

TEST_F(SyncPage, FieldsShowAndStoreWithTheirConversions)
{
    struct Case
    {
        int address;
        int value;
        const char* upDown;
        int shown;
        int stored;  // what the image holds after the show and a store
    };
    const Case cases[] = {
        {2745, 3, "UpDownSyn1SpFaze11", -3, 3},   {2754, 9, "UpDownSyn1SpFaze52", -9, 9},
        {2690, 4, "UpDownPredaniHodnot", 5, 4},   {2721, 0, "UpDownKyvaniFaze1", 1, 0},
        {2734, 57, "UpDownSyn1SpFazeOut", 58, 57}, {2691, 55, "UpDownSynchroMaxRpm", 5500, 55},
        {2728, 250, "UpDownKyvaniMinRpm", 25000, 250}, {2680, 0, "UpDownPocKanOut", 1, 1},
        {2680, 7, "UpDownPocKanOut", 4, 4},       {2735, 6, "UpDownSyn1SpKoef11", 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upDown);
        set({{2683, 36}, {std::size_t(c.address), c.value}});
        EXPECT_EQ(Position(w, c.upDown), c.shown);
        StoreCurrentPage(w);
        EXPECT_EQ(image()[std::size_t(c.address)], c.stored);
    }
}

TEST_F(SyncPage, LobeUpDownsReachAsFarAsTheShownImageAllows)
{
    set({{2683, 36}, {2682, 4}});
    EXPECT_EQ(Control<TUpDown>(w, "UpDownTop1")->Max(), 36);
    EXPECT_EQ(Control<TUpDown>(w, "UpDownPalec4Zac")->Max(), 36);
    set({{2682, 0}});
    EXPECT_EQ(Control<TUpDown>(w, "UpDownTop1")->Max(), 72);
    // An image with more lobes than the one shown before keeps its lobe of value acquisition.
    set({{2683, 20}, {2690, 3}});
    set({{2683, 40}, {2690, 35}});
    EXPECT_EQ(Position(w, "UpDownPredaniHodnot"), 36);
    StoreCurrentPage(w);
    EXPECT_EQ(image()[2690], 35);
}

TEST_F(SyncPage, ControlsShowAndEnableByTheChosenSynchronisation)
{
    struct Case
    {
        const char* name;
        Settings settings;
        std::vector<const char*> shown, hidden;
        bool settingsEnabled, specialEnabled;
        const char* huntingCaption;
    };
    const Case cases[] = {
        {"one cylinder, no second synchronisation, special setting off",
         {{2501, 0}, {2680, 1}, {2695, 0}, {2681, 0}, {2682, 4}, {2733, 2}},
         {"EditTop1", "LabelTop1", "CheckBoxPalec1EndH2", "EditVynechPalcu", "EditPocPalcu", "EditSyn1SpKoef22",
          "LabelSyn1SpN2"},
         {"EditTop2", "EditPalec1Zac", "CheckBoxPalec1ZacP2", "LabelSnimac2", "GroupBoxKyvani", "EditSyn1SpKoef31",
          "LabelSyn1SpN3"},
         false, false, "Hunting"},
        {"three cylinders, maximum/start version, one lobe, hunting",
         {{2501, 1}, {2680, 3}, {2695, 1}, {2681, 5}, {2682, 2}, {2733, 0}},
         {"EditTop3", "EditPalec3Zac", "CheckBoxPalec3ZacH2", "CheckBoxPalec1ZacP2", "CheckBoxPalec3EndP2",
          "LabelSnimac2", "GroupBoxKyvani", "LabelPredchoziOtacka", "EditKyvaniFaze3", "CheckBoxKyvaniOtackaF3"},
         {"EditTop4", "EditPalec4Zac", "EditVynechPalcu", "EditPosunPalcu", "EditPocPalcu", "RadioGroupKyvSrc",
          "EditSyn1SpKoef11", "LabelSyn1SpK11"},
         true, false, "Hunting"},
        {"special synchronisation, hunting by the intake pressure of one cylinder",
         {{2501, 1}, {2680, 4}, {2695, 0}, {2681, 10}, {2682, 6}, {2733, 5}},
         {"EditTop4", "GroupBoxKyvani", "RadioGroupKyvSrc", "EditSyn1SpFaze52", "LabelSyn1SpN5"},
         {"EditPalec1Zac", "LabelPredchoziOtacka", "EditKyvaniFaze2"},
         true, true, "IAP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set(c.settings);
        for (const char* name : c.shown) EXPECT_TRUE(Shown(w, name)) << name;
        for (const char* name : c.hidden) EXPECT_FALSE(Shown(w, name)) << name;
        EXPECT_EQ(Control<TComboBox>(w, "ComboBoxSynchro1")->Enabled(), c.settingsEnabled);
        EXPECT_EQ(Control<TCheckBox>(w, "CheckBoxZamenaPickup")->Enabled(), c.settingsEnabled);
        EXPECT_TRUE(Control<TLabel>(w, "LabelSyncInfo1")->Enabled());
        EXPECT_EQ(Control<TGroupBox>(w, "GroupBoxSynchroSpecial")->Enabled(), c.specialEnabled);
        EXPECT_EQ(Control<TGroupBox>(w, "GroupBoxKyvani")->Caption(), c.huntingCaption);
    }
}

TEST_F(SyncPage, WithTheCamTheMinimumRpmStaysOnThePageOutOfTheHiddenHuntingGroup)
{
    auto* group = Control<TGroupBox>(w, "GroupBoxKyvani");
    auto* edit = Control<TEdit>(w, "EditKyvaniMinRpm");
    auto* upDown = Control<TUpDown>(w, "UpDownKyvaniMinRpm");
    set({{2682, 2}});
    const int left = edit->Left(), top = edit->Top(), upDownLeft = upDown->Left();
    set({{2682, 1}});
    EXPECT_FALSE(group->Visible());
    EXPECT_TRUE(edit->HasParent(*w.tabSheets[PAGE_SYNCHRO]));
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(edit->Left(), group->Left() + left);
    EXPECT_EQ(edit->Top(), group->Top() + top);
    EXPECT_EQ(upDown->Left(), group->Left() + upDownLeft);
    EXPECT_TRUE(Control<TLabel>(w, "LabelKyvaniPocOtacek")->HasParent(*w.tabSheets[PAGE_SYNCHRO]));
    set({{2682, 4}});
    EXPECT_TRUE(edit->HasParent(*group));
    EXPECT_EQ(edit->Left(), left);
    EXPECT_EQ(upDown->Left(), upDownLeft);
}

TEST_F(SyncPage, HuntingByAtmosphericPressureSwitchesTheApSensorOff)
{
    set({{2682, 5}, {2730, 0}, {4053, 0}});
    Click(w, "RadioGroupKyvSrc", 1);
    EXPECT_EQ(image()[2730], 1);
    EXPECT_EQ(image()[4053], 1);
    // Back to the intake pressure: the AP sensor stays off; storing AP again does nothing more.
    image()[4053] = 0;
    Click(w, "RadioGroupKyvSrc", 0);
    EXPECT_EQ(image()[4053], 0);
    Click(w, "RadioGroupKyvSrc", 1);
    image()[4053] = 0;
    Tick(w, "CheckBoxKazdy2Vstrik", true);
    EXPECT_EQ(image()[2692], 1);
    EXPECT_EQ(image()[4053], 0);
}
