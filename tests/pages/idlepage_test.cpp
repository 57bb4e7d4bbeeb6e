// The idle page: its fields with their scales, the actuator table's form and factor by idle mode, the default
// tables a new mode writes, the FID warning, the idle advance switch, the live regulation marks and its two map
// editors as a person edits them.
#include "pages/idlepage.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <set>

#include "mapedit.h"
#include "os/lngtext.h"
#include "pagefixture.h"

namespace {

class IdlePage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        ASSERT_TRUE(w.pageBuildProblems.empty()) << testing::PrintToString(w.pageBuildProblems);
        SetPage(PAGE_IDLE);
        Image& image = w.images.image;
        image[4559] = 1;  // intake servo, in volts
        image[4415] = 0;
        image[4560] = 20;
        image[4562] = 10;
        image[4563] = 5;
        image[4564] = 12;
        image[4565] = 1;
        image[4566] = 7;
        image[4567] = 30;
        image[4568] = 15;
        image[4569] = 40;
        image[4570] = 3;
        image[2683] = 30;  // the trigger wheel's lobes, which bound the idle lobe
        setImageWord(image, 1123, 250);
        for (int i = 0; i < 9; ++i) {
            image[std::size_t(4571 + i)] = std::uint8_t(30 - i);  // 1500 .. 1100 rpm
            setImageWord(image, 1105 + i, std::uint16_t(3600 - 100 * i));
            setImageWord(image, 1114 + i, std::uint16_t(4000 - 100 * i));
        }
        // As after a read: the repair leaves nothing for the first commit to change elsewhere.
        w.repairState = NormalizeSettingsImage(image);
        show();
    }
    void show() { ShowImageOnPages(w, 1); }
    TTab& editor(int id) { return *w.mapEditors[std::size_t(id)]; }
    std::set<int> changedBytes(const Image& before) const
    {
        std::set<int> changed;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (before[std::size_t(i)] != w.images.image[std::size_t(i)]) changed.insert(i);
        return changed;
    }
    void type(std::string_view edit, std::string_view text)
    {
        auto* control = Control<TEdit>(w, edit);
        control->SetText(text);
        vcl::Fire(control->OnExit, static_cast<TObject*>(control));
    }
    bool shown(std::string_view name) { return Control<TControl>(w, name)->Visible(); }
    void chooseMode(int mode)
    {
        auto* group = Control<TRadioGroup>(w, "RadioGroupIdleMode");
        for (int i = 0; i < group->ItemCount(); ++i)
            if (group->ItemTag(i) == mode) group->SetItemIndex(i);  // fires the click as a person's choice does
    }
};

}  // namespace

TEST_F(IdlePage, FieldsShowTheirScaleAndAnEditReachesOnlyItsByte)
{
    const struct
    {
        const char* edit;
        int mode;  // one that shows the field
        bool word;
        int address;
        const char* shown;
        const char* typed;
        int stored;
    } cases[] = {
        {"EditIdleTpsMez", 1, false, 4560, "20", "25", 25},
        {"EditIdleStepPerioda", 2, false, 4562, "10", "12", 12},
        {"EditIdleHyster", 2, false, 4563, "50", "80", 8},  // rpm in tens, below the band
        {"EditIdleControlBand", 1, false, 4564, "120", "205", 20},
        {"EditIdleAdvNaRpm", 1, false, 4566, "7", "9", 9},
        {"EditIdleAdvNaCas", 1, false, 4567, "30", "0", 0},
        {"EditIdleMaxAdv", 1, false, 4568, "15", "20", 20},
        {"EditIdleRegulation", 4, false, 4569, "40", "42", 42},
        {"EditIdleLobe", 4, false, 4570, "3", "58", 58},
        {"EditIdleStart", 2, true, 1123, "250", "300", 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        w.images.image[4559] = std::uint8_t(c.mode);
        // Tables that every mode's form holds inside its limits.
        for (int i = 0; i < 18; ++i) setImageWord(w.images.image, 1105 + i, 50);
        show();
        ASSERT_TRUE(shown(c.edit));
        EXPECT_EQ(Control<TEdit>(w, c.edit)->Text(), c.shown);
        const Image before = w.images.image;
        const int commitsBefore = commits;
        type(c.edit, c.typed);
        const int value = c.word ? imageWord(w.images.image, c.address) : w.images.image[std::size_t(c.address)];
        EXPECT_EQ(value, c.stored);
        const std::set<int> expected =
            c.word ? std::set<int>{2 * c.address, 2 * c.address + 1} : std::set<int>{c.address};
        std::set<int> changed = changedBytes(before);
        for (int b : changed) EXPECT_TRUE(expected.count(b) == 1) << b;  // a word's high byte may stay
        EXPECT_FALSE(changed.empty());
        EXPECT_EQ(commits, commitsBefore + 1);
    }
    // The two check boxes, clicked.
    for (const auto& [box, address] : {std::pair{"CheckBoxIdleAdvOn", 4565}, std::pair{"CheckBoxIdleSmerReg", 4561}}) {
        SCOPED_TRACE(box);
        const Image before = w.images.image;
        auto* check = Control<TCheckBox>(w, box);
        check->SetChecked(!check->Checked());
        EXPECT_EQ(changedBytes(before), std::set<int>{address});
        EXPECT_EQ(w.images.image[std::size_t(address)], check->Checked() ? 1 : 0);
    }
}

TEST_F(IdlePage, AnOddStepPeriodShowsRoundedUpAndTheLastByteStaysInRange)
{
    for (const auto& [stored, after] : {std::pair{7, 8}, std::pair{8, 8}, std::pair{255, 254}}) {
        w.images.image[4562] = std::uint8_t(stored);
        show();
        EXPECT_EQ(w.images.image[4562], after) << stored;
    }
}

TEST_F(IdlePage, MapEditorsHoldTheirAxesStepsAndLimits)
{
    TTab& actuator = editor(2);
    TTab& rpm = editor(19);
    ASSERT_EQ(actuator.sheetCount, 2);
    ASSERT_EQ(rpm.sheetCount, 1);
    EXPECT_EQ(actuator.Top(), 600 * 37 / 100);
    EXPECT_EQ(actuator.Width(), 460);
    EXPECT_EQ(rpm.Left(), 470);
    EXPECT_EQ(rpm.Width(), 390);
    EXPECT_EQ(actuator.Height(), 288);
    for (TTab* tab : {&actuator, &rpm}) {
        EXPECT_EQ(tab->layout.visibleColumns, 5);
        EXPECT_EQ(tab->layout.visibleRows, 9);
        for (int s = 0; s < tab->sheetCount; ++s) {
            const CSheet& sheet = tab->sheets[std::size_t(s)];
            EXPECT_EQ(sheet.y.name, "TW");
            EXPECT_EQ(sheet.y.count, 9);
            EXPECT_EQ(sheet.y.editable, 0);
            EXPECT_EQ(sheet.y.points[0], -10);
            EXPECT_EQ(sheet.y.points[8], 110);
            EXPECT_EQ(sheet.x.collapsed, 1);
            EXPECT_EQ(sheet.data.showUnit, 1);
            EXPECT_EQ(sheet.titleFontSize, 9);
        }
    }
    const CSheet& desired = rpm.sheets[0];
    EXPECT_EQ(desired.data.max, 240);
    EXPECT_DOUBLE_EQ(desired.data.scale, 50.0);
    EXPECT_DOUBLE_EQ(desired.data.steps[0][0], 200);
    EXPECT_EQ(desired.value(0, 0), 30);  // 1500 rpm, the byte itself
    // The desired RPM typed in rpm lands as its byte.
    const Image before = w.images.image;
    TypeIntoCell(rpm, 0, 2, "1250");
    EXPECT_EQ(changedBytes(before), std::set<int>{4573});
    EXPECT_EQ(w.images.image[4573], 25);
}

// The actuator table by mode: its form, its factor both ways, and the sheets offered.
TEST_F(IdlePage, ActuatorTableFollowsTheIdleMode)
{
    struct Case
    {
        const char* name;
        int mode, percent;
        std::string_view title, unit;
        int max;
        double scale;
        bool startSheet;
        int word, shown;  // word 1105 and the sheet value it shows
        const char* typed;
        int stored;  // word 1105 after the typed value
    };
    const Case cases[] = {
        {"servo volts", 1, 0, "Start position of intake servo", "V", 1000, 0.005, true, 2400, 480, "3.6", 3600},
        {"servo percent", 1, 1, "Start position of intake servo", "%", 100, 1.0, true, 40, 40, "36", 36},
        {"desired rpm", 2, 0, "Desired RPM", "", 1200, 10.0, false, 800, 80, "900", 900},
        {"tp min steps", 3, 0, "TP min [in steps of servo]", "", 30000, 1.0, true, 17, 17, "12", 12},
        {"fid position", 4, 0, "Min. position", "%", 100, 1.0, true, 60, 60, "55", 55},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.images.image[4559] = std::uint8_t(c.mode);
        w.images.image[4415] = std::uint8_t(c.percent);
        for (int i = 0; i < 18; ++i) setImageWord(w.images.image, 1105 + i, std::uint16_t(c.word));
        w.repairState = NormalizeSettingsImage(w.images.image);  // as after a read of such an image
        show();
        TTab& actuator = editor(2);
        ASSERT_TRUE(actuator.Visible());
        const CSheet& sheet = actuator.sheets[0];
        EXPECT_EQ(sheet.title, c.title);
        EXPECT_EQ(sheet.data.unit, c.unit);
        EXPECT_EQ(sheet.data.max, c.max);
        EXPECT_DOUBLE_EQ(sheet.data.scale, c.scale);
        EXPECT_EQ(actuator.sheets[1].hidden == 0, c.startSheet);
        EXPECT_EQ(sheet.value(0, 0), c.shown);
        const Image before = w.images.image;
        TypeIntoCell(actuator, 0, 0, c.typed);
        EXPECT_EQ(imageWord(w.images.image, 1105), c.stored);
        std::set<int> expected;
        for (int b : {2210, 2211})
            if (before[std::size_t(b)] != w.images.image[std::size_t(b)]) expected.insert(b);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(changedBytes(before), expected);
    }
    w.images.image[4559] = 0;
    show();
    EXPECT_FALSE(editor(2).Visible());
}

TEST_F(IdlePage, ANewModeWritesItsDefaultTablesInTheSameCommit)
{
    const struct
    {
        int mode, percent;
        std::array<int, 2> first, last;  // words 1105 and 1113; words 1114 and 1122 likewise unless untouched
        bool start;
    } cases[] = {
        {1, 1, {36, 24}, {36, 24}, true}, {1, 0, {3600, 2400}, {3600, 2400}, true}, {2, 0, {1000, 200}, {0, 0}, false},
        {3, 0, {10, 2}, {10, 2}, true},   {4, 0, {100, 20}, {100, 20}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.percent);
        w.images.image[4559] = 0;
        w.images.image[4415] = std::uint8_t(c.percent);
        for (int i = 0; i < 18; ++i) setImageWord(w.images.image, 1105 + i, 7);
        show();
        const int commitsBefore = commits;
        chooseMode(c.mode);
        EXPECT_EQ(w.images.image[4559], c.mode);
        EXPECT_EQ(imageWord(w.images.image, 1105), c.first[0]);
        EXPECT_EQ(imageWord(w.images.image, 1113), c.first[1]);
        EXPECT_EQ(imageWord(w.images.image, 1114), c.start ? c.last[0] : 7);
        EXPECT_EQ(imageWord(w.images.image, 1122), c.start ? c.last[1] : 7);
        EXPECT_EQ(commits, commitsBefore + 1);
        // The table shows what was written.
        EXPECT_EQ(editor(2).sheets[0].value(0, 8) * (c.mode == 1 && c.percent == 0 ? 5
                                                     : c.mode == 2                 ? 10
                                                                                   : 1),
                  c.first[1]);
    }
}

TEST_F(IdlePage, LayoutFollowsModeAndAdvanceSwitch)
{
    struct Case
    {
        int mode, advance, fidOutput;
        bool fidWarning, smer, period, start, regulation, tpsRange, hyster;
        std::string_view hysterCaption, smerCaption;
    };
    const Case cases[] = {
        {0, 0, 0, false, false, false, false, false, false, false, "Hysteresis [rpm]", ""},
        {1, 0, 0, false, true, false, false, false, false, false, "Hysteresis [rpm]", "Min-Max (Minimum check)"},
        {2, 0, 0, false, true, true, true, false, true, true, "Hysteresis [rpm]", "Inverze direction of regulation"},
        {3, 1, 0, false, true, true, false, false, true, false, "Hysteresis [rpm]", ""},
        {4, 0, 0, true, false, false, false, true, true, true, "Desired RPM", ""},
        {4, 0, 14, false, false, false, false, true, true, true, "Desired RPM", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 100 + c.advance * 10 + c.fidOutput);
        w.images.image[4559] = std::uint8_t(c.mode);
        w.images.image[4565] = std::uint8_t(c.advance);
        w.images.image[4446] = std::uint8_t(c.fidOutput);
        show();
        EXPECT_EQ(shown("LabelFIDwarning"), c.fidWarning);
        EXPECT_EQ(shown("CheckBoxIdleSmerReg"), c.smer);
        if (!c.smerCaption.empty()) {
            EXPECT_EQ(Control<TCheckBox>(w, "CheckBoxIdleSmerReg")->Caption(), c.smerCaption);
        }
        EXPECT_EQ(shown("EditIdleStepPerioda"), c.period);
        EXPECT_EQ(shown("EditIdleStart"), c.start);
        EXPECT_EQ(shown("EditIdleRegulation"), c.regulation);
        EXPECT_EQ(shown("LabelIdleLobe"), c.regulation);
        EXPECT_EQ(shown("EditIdleTpsMez"), c.tpsRange);
        EXPECT_EQ(shown("UpDownIdleControlBand"), c.tpsRange);
        EXPECT_EQ(shown("EditIdleHyster"), c.hyster);
        EXPECT_EQ(Control<TLabel>(w, "LabelIdleHyster")->Caption(), c.hysterCaption);
        for (const char* name : {"EditIdleAdvNaRpm", "LabelIdleMaxAdv", "UpDownIdleAdvNaCas", "LabelCorAdvIdle"})
            EXPECT_EQ(shown(name), c.advance != 0) << name;
        EXPECT_EQ(editor(19).Visible(), c.advance != 0);
        EXPECT_FALSE(shown("EditIdleStepPuls"));
        EXPECT_FALSE(shown("LabelIdleModeErr"));
        EXPECT_TRUE(shown("GroupBoxIdleAdv"));
    }
}

TEST_F(IdlePage, LiveRegulationFlagsMarkTheirFields)
{
    for (const auto& [range, band] : {std::pair{true, false}, std::pair{false, true}, std::pair{false, false}}) {
        w.liveValues.idleTpsRange = range;
        w.liveValues.idleControlBand = band;
        TickCurrentPage(w);
        EXPECT_EQ(Control<TEdit>(w, "EditIdleTpsMez")->Color(), range ? clLime : clWindow);
        EXPECT_EQ(Control<TLabel>(w, "LabelIdleTpsMez")->Color(), range ? clLime : clBtnFace);
        EXPECT_EQ(Control<TEdit>(w, "EditIdleControlBand")->Color(), band ? clLime : clWindow);
        EXPECT_EQ(Control<TLabel>(w, "LabelIdleControlBand")->Color(), band ? clLime : clBtnFace);
    }
}

TEST_F(IdlePage, CaptionsInEveryLanguage)
{
    const struct
    {
        int language;
        const char* group;
        const char* fid;
        const char* hyster;
        const char* tab;
        const char* corrections;
    } cases[] = {
        {LNG_ENGLISH, "Idle control", "FID valve", "Hysteresis [rpm]", "Idle", "Corrections"},
        {LNG_GERMAN, "Freilaufregulation", "FID Ventil", "Hysteresis [rpm]", "Freilauf", "Korrektionen"},
        {LNG_CZECH, "Regulace volnoběhu", "FID ventil", "Hystereze [rpm]", "Volnoběh", "Korekce"},
    };
    w.images.image[4559] = 2;
    show();
    for (const auto& c : cases) {
        SetLanguageIndex(c.language);
        RefreshPageCaptions(w);
        auto* group = Control<TRadioGroup>(w, "RadioGroupIdleMode");
        EXPECT_EQ(group->Caption(), c.group);
        ASSERT_EQ(group->ItemCount(), 5);
        EXPECT_EQ(group->Item(4), c.fid);
        EXPECT_EQ(GetRadioTag(group), 2);  // the mode stays chosen
        EXPECT_EQ(Control<TLabel>(w, "LabelIdleHyster")->Caption(), c.hyster);
        EXPECT_EQ(Control<TTabSheet>(w, "TabSheet_Idle")->Caption(), c.tab);
        EXPECT_EQ(Control<TTabSheet>(w, "TabSheet_Korekce")->Caption(), c.corrections);
        EXPECT_EQ(Control<TLabel>(w, "LabelIdleLobe")->Caption(), "Idle lobe");  // English in every language
    }
    SetLanguageIndex(LNG_ENGLISH);
    RefreshPageCaptions(w);
}

// Pictures of the page for a person to look at (build/screenshots/idle_<mode>.png).
TEST_F(IdlePage, Screenshots)
{
    ShowWindow();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    for (int mode : {1, 2, 4}) {
        SCOPED_TRACE(mode);
        chooseMode(mode);  // with the mode's own tables
        TickEditors(w, 3);
        QApplication::processEvents();
        const std::string name = "idle_" + std::to_string(mode) + ".png";
        EXPECT_TRUE(w.Widget()->grab().save(QString::fromStdString((dir / name).string())));
        const std::vector<std::string> faults = LayoutFaults(*w.tabSheets[PAGE_IDLE]);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
        // Every sheet title is whole in its editor's row of tabs.
        for (int id : {2, 19}) {
            const TTab& editor = *w.mapEditors[std::size_t(id)];
            int right = 2;
            for (int s = 0; s < editor.sheetCount; ++s)
                if (!editor.sheets[std::size_t(s)].hidden) right += editor.sheets[std::size_t(s)].tabWidth + 1;
            EXPECT_LE(right + 2, editor.Width()) << "editor " << id;
        }
    }
}
