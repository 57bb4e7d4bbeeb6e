// The synchronisation, inputs, sensors and N2O pages' bound fields in the started main window, walked from each
// page's own binding table: every field shows the image's value with its scale and sign, a change made as a person
// makes it (a number typed and the edit left, a box ticked, a radio item or a list item clicked) reaches exactly
// that field in one undo step, and undo puts the image back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../pages/mapedit.h"
#include "mapeditor/tab.h"
#include "pages/pagemodule.h"
#include "startedform.h"
#include "vcl/deciedit.h"
#include "vcl/formlayout.h"

namespace {

using Settings = std::vector<std::pair<int, int>>;

// One bound field. Up-downs: the text its edit shows for `stored`, the text typed, what the field then holds.
// Check boxes: shown "1" when ticked; the box is clicked once. Radio groups and lists: shown is the selected index,
// typed the index clicked. No typed text: the control is only looked at (a change there has its own test).
struct FieldCase
{
    const char* control;
    int address;  // byte address, or word index
    bool word;
    int stored;
    const char* shown;
    const char* typed;
    int storedAfter;
    Settings setup = {};  // bytes that make the control shown and changeable
    std::set<int> derived = {};  // bytes the unit's rules work out from the field (they may change with it)
};

class PageFieldsTest : public StartedFormTest
{
protected:
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, page);
    }
    std::set<int> changedBytes(const Image& before) const
    {
        std::set<int> changed;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (before[std::size_t(i)] != form->images.image[std::size_t(i)]) changed.insert(i);
        return changed;
    }
    int get(const FieldCase& c) const
    {
        return c.word ? imageWord(form->images.image, c.address) : form->images.image[std::size_t(c.address)];
    }
    void put(const FieldCase& c, int value)
    {
        if (c.word)
            setImageWord(form->images.image, c.address, std::uint16_t(value));
        else
            form->images.image[std::size_t(c.address)] = std::uint8_t(value);
    }
    std::set<int> bytesOf(const FieldCase& c) const
    {
        return c.word ? std::set<int>{2 * c.address, 2 * c.address + 1} : std::set<int>{c.address};
    }

    // The edit that shows an up-down's position: its buddy, or a decimal up-down's paired edit.
    static TEdit* editOf(TUpDown* upDown)
    {
        if (upDown->Associate()) return upDown->Associate();
        auto* deci = dynamic_cast<TDeciUpDown*>(upDown);
        return deci ? deci->PairedEdit : nullptr;
    }
    std::string shown(TControl* control)
    {
        if (auto* upDown = dynamic_cast<TUpDown*>(control)) return editOf(upDown)->Text();
        if (auto* box = dynamic_cast<TCheckBox*>(control)) return box->Checked() ? "1" : "0";
        if (auto* group = dynamic_cast<TRadioGroup*>(control)) return std::to_string(group->ItemIndex());
        if (auto* list = dynamic_cast<TComboBox*>(control)) return std::to_string(list->ItemIndex());
        return "?";
    }
    // What a person does to the control.
    void change(TControl* control, const std::string& typed)
    {
        if (auto* upDown = dynamic_cast<TUpDown*>(control)) {
            TEdit* edit = editOf(upDown);
            ASSERT_TRUE(edit->Visible() && edit->Enabled()) << edit->Name();
            edit->SetText(typed);
            vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
        } else if (auto* box = dynamic_cast<TCheckBox*>(control)) {
            ASSERT_TRUE(box->Visible() && box->Enabled());
            box->SetChecked(!box->Checked());
        } else if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
            ASSERT_TRUE(group->Visible() && group->Enabled());
            group->SetItemIndex(std::stoi(typed));
        } else if (auto* list = dynamic_cast<TComboBox*>(control)) {
            ASSERT_TRUE(list->Visible() && list->Enabled());
            list->SetItemIndex(std::stoi(typed));
            vcl::Fire(list->OnChange, static_cast<TObject*>(list));
        }
    }

    void walk(int page, const std::vector<FieldCase>& cases, const Settings& setup)
    {
        open(page);
        const Image start = form->images.image;
        std::map<std::string, const FieldCase*, std::less<>> byName;
        for (const FieldCase& c : cases) byName[c.control] = &c;
        // Every bound control of the page has its case; the page's own fields (not in the table) follow.
        std::vector<const FieldCase*> order;
        std::set<std::string, std::less<>> walked;
        for (const FieldBinding& row : form->pageModules[std::size_t(page)]->bindings) {
            const auto it = byName.find(row.control);
            if (it == byName.end()) {
                ADD_FAILURE() << "no case for the bound control " << row.control;
                continue;
            }
            EXPECT_EQ(it->second->address, row.address) << row.control;
            order.push_back(it->second);
            walked.insert(std::string(row.control));
        }
        for (const FieldCase& c : cases)
            if (!walked.contains(c.control)) order.push_back(&c);

        for (const FieldCase* c : order) {
            SCOPED_TRACE(c->control);
            form->images.image = start;
            for (auto [address, value] : setup) form->images.image[std::size_t(address)] = std::uint8_t(value);
            for (auto [address, value] : c->setup) form->images.image[std::size_t(address)] = std::uint8_t(value);
            put(*c, c->stored);
            ShowImageOnPages(*form, 1);
            // The settings as the page and the image repair keep them (derived bytes worked out): the baseline.
            RefreshPages(*form);
            form->ResetUndo();
            TControl* control = FindControl<TControl>(*form, c->control);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(shown(control), c->shown);

            if (!c->typed) continue;
            const Image before = form->images.image;
            change(control, c->typed);
            EXPECT_EQ(get(*c), c->storedAfter);
            std::set<int> field;
            for (int b : bytesOf(*c))
                if (before[std::size_t(b)] != form->images.image[std::size_t(b)]) field.insert(b);
            EXPECT_FALSE(field.empty());
            for (int b : changedBytes(before))
                if (!field.contains(b) && !c->derived.contains(b))
                    ADD_FAILURE() << "byte " << b << " changed too: " << int(before[std::size_t(b)]) << " -> "
                                  << int(form->images.image[std::size_t(b)]);

            ASSERT_TRUE(form->undoRing.CanUndo());
            form->SpeedButtonZpetClick(nullptr);
            EXPECT_EQ(changedBytes(before), std::set<int>());
            EXPECT_FALSE(form->undoRing.CanUndo());
            EXPECT_EQ(shown(control), c->shown);
        }
    }
};

}  // namespace

TEST_F(PageFieldsTest, SynchronisationFields)
{
    // The special setting on, four cylinders, hunting with three sections, the special synchronisation with five
    // conditions: nearly every field shown and changeable. The lobe counts shown depend on the version.
    const Settings setup = {{2501, 1}, {2680, 4}, {2681, 10}, {2682, 2}, {2683, 36}, {2695, 0}, {2733, 5},
                            {2720, 0}, {2727, 0}, {2730, 0}, {2731, 0}, {2732, 0}};
    // The unit's firing offset (word 1000) follows the lobe geometry.
    const std::set<int> kFiringWord = {2000, 2001};
    const Settings maxStart = {{2695, 1}};
    const Settings byPressure = {{2682, 5}, {2730, 1}};
    std::vector<FieldCase> cases = {
        // control                   address word stored shown   typed  after
        {"ComboBoxSynchro2",         2682, false, 2, "3", "4", 3},
        {"ComboBoxNasobekPalcu",     2686, false, 1, "1", "2", 2, {}, kFiringWord},
        {"UpDownPredaniHodnot",      2690, false, 4, "5", "12", 11},
        {"UpDownSynchroMaxRpm",      2691, false, 55, "5 500", "12000", 120},
        {"UpDownPocPalcu",           2683, false, 36, "36", "24", 24, {}, kFiringWord},
        {"UpDownPocKanOut",          2680, false, 4, "4", "2", 2},
        {"UpDownVynechPalcu",        2684, false, 2, "2", "1", 1, {}, kFiringWord},
        {"UpDownPosunPalcu",         2685, false, 0, "0", "3", 3},
        {"RadioGroupKyvaniPodminka", 2720, false, 0, "0", "1", 1},
        {"RadioGroupKyvOtVyst",      2727, false, 0, "0", "1", 1},
        {"UpDownKyvaniMinRpm",       2728, false, 15, "1 500", "2500", 25},
        {"UpDownKyvaniPocOtacek",    2729, false, 10, "10", "120", 120},
        // From AP back to the intake pressure: the way that changes nothing else.
        {"RadioGroupKyvSrc",         2730, false, 1, "1", "0", 0, byPressure},
        {"RadioGroupSyn1SpHrana",    2731, false, 0, "0", "1", 1},
        {"RadioGroupSyn1SpPocetH",   2732, false, 1, "1", "0", 0},
        {"UpDownSyn1SpPocPodm",      2733, false, 5, "5", "3", 3},
        {"UpDownSyn1SpFazeOut",      2734, false, 0, "1", "20", 19},
    };
    for (auto [name, address] : std::initializer_list<std::pair<const char*, int>>{
             {"CheckBoxInvInputKlika", 2687}, {"CheckBoxInvInputVacka", 2688}, {"CheckBoxZamenaPickup", 2689},
             {"CheckBoxKazdy2Vstrik", 2692}, {"CheckBoxIgnPoSynchro1", 2693}, {"CheckBoxIgnEveryTurn", 2694},
             {"CheckBoxPalceMode", 2695}})
        cases.push_back({name, address, false, 0, "0", "", 1});
    static std::vector<std::string> names;  // the cases point into it
    names.clear();
    names.reserve(100);
    auto name = [&](std::string text) { return names.emplace_back(std::move(text)).c_str(); };
    for (int k = 1; k <= 4; ++k) {
        cases.push_back({name("UpDownTop" + std::to_string(k)), 2699 + k, false, 30, "30", "72", 72});
        cases.push_back({name("UpDownPalec" + std::to_string(k) + "Zac"), 2695 + k, false, 3, "3", "40", 40, maxStart});
        cases.push_back({name("CheckBoxPalec" + std::to_string(k) + "ZacH2"), 2703 + k, false, 1, "1", "", 0, maxStart});
        cases.push_back({name("CheckBoxPalec" + std::to_string(k) + "EndH2"), 2707 + k, false, 0, "0", "", 1});
        const Settings secondPickup = {{2695, 1}, {2681, 5}};
        cases.push_back({name("CheckBoxPalec" + std::to_string(k) + "ZacP2"), 2711 + k, false, 0, "0", "", 1, secondPickup});
        cases.push_back({name("CheckBoxPalec" + std::to_string(k) + "EndP2"), 2715 + k, false, 1, "1", "", 0, secondPickup});
    }
    for (int k = 1; k <= 3; ++k) {
        cases.push_back({name("UpDownKyvaniFaze" + std::to_string(k)), 2720 + k, false, 9, "10", "2", 1});
        cases.push_back({name("CheckBoxKyvaniOtackaF" + std::to_string(k)), 2723 + k, false, 0, "0", "", 1});
    }
    // The conditions: coefficients as they are, phases shown negative and stored as their amount.
    for (int i = 0; i < 10; ++i) {
        const std::string pair = std::to_string(i / 2 + 1) + std::to_string(i % 2 + 1);
        cases.push_back({name("UpDownSyn1SpKoef" + pair), 2735 + i, false, 2, "2", "6", 6});
        cases.push_back({name("UpDownSyn1SpFaze" + pair), 2745 + i, false, 3, "-3", "-9", 9});
    }
    // The synchronisation 1 type brings its defaults: its own test (pages tests) covers it.
    cases.push_back({"ComboBoxSynchro1", 2681, false, 7, "6", "8", 10});
    walk(PAGE_SYNCHRO, cases, setup);
}

TEST_F(PageFieldsTest, InputsFields)
{
    std::vector<FieldCase> cases = {
        // Off to the second item of each list, and one that another page follows.
        {"ComboBoxInput1", 3836, false, 0, "0", "15", 18},  // oil pressure
        {"ComboBoxInput2", 3837, false, 1, "1", "3", 14},   // quick-shift analog
        {"ComboBoxInput3", 3838, false, 0, "0", "1", 1},
        {"ComboBoxInput4", 3839, false, 12, "10", "0", 0},  // N2O, not offered here: kept in its place
        {"ComboBoxInput5", 3840, false, 0, "0", "9", 8},    // blocking the traction control
        {"ComboBoxInput6", 3841, false, 9, "1", "2", 10},
        {"ComboBoxInput7", 3842, false, 0, "0", "1", 11},
    };
    // The polarity bits of byte 3844: a box ticked clears its input's bit alone, bit 7 stays.
    static std::vector<std::string> names;
    names.clear();
    names.reserve(8);
    for (int n = 1; n <= 7; ++n)
        cases.push_back({names.emplace_back("CheckBoxInverseInput" + std::to_string(n)).c_str(), 3844, false, 0xFF,
                         "0", "", 0xFF & ~(1 << (n - 1))});
    walk(PAGE_INPUTS, cases, {{3836, 1}, {3837, 1}, {3838, 1}, {3839, 1}, {3840, 1}, {3841, 9}, {3842, 11}});
}

TEST_F(PageFieldsTest, SensorsFields)
{
    // The lambda sensor on, over CAN with four channels; the analog quick-shift sensor on input 1; the knob off; a
    // throttle sensor of 0.5, 2.5 and 4.5 V (words 1084-1086) with its middle point at 50 %.
    const Settings setup = {{4057, 0}, {4060, 2}, {3817, 0}, {2680, 4}, {3836, 14}, {4067, 0}, {4052, 0},
                            {2168, 0xF4}, {2169, 0x01}, {2170, 0xC4}, {2171, 0x09}, {2172, 0x94}, {2173, 0x11},
                            {4058, 50}};
    const std::vector<FieldCase> cases = {
        {"CheckBoxTPS3pt",         4059, false, 0, "0", "", 1},
        {"CheckBoxLambdaNotation", 5029, false, 0, "0", "", 1},
        {"UpDownCANID01",          1080, true, 802, "802", "1201", 1201},
        {"UpDownCANID02",          1081, true, 803, "803", "2047", 2047},
        {"UpDownCANID03",          1082, true, 804, "804", "1", 1},
        {"UpDownCANID04",          1083, true, 805, "805", "1000", 1000},
        {"UpDownQsDown",           1087, true, 125, "1.25", "2,5", 250},
        {"UpDownQsUp",             1088, true, 300, "3", "4.05", 405},
        // The knob's mode: from "No" to "Start Limiter", whose range words stay 0.
        {"ComboBoxPotencMode",     4067, false, 0, "0", "3", 3},
        // The sensor type brings its characteristic's defaults: its own test covers it.
        {"RadioGroupCidloLambdaMode", 4060, false, 1, "1", nullptr, 1},
        // The temperature sensors are switched on as 0, off as 1.
        {"CheckBoxTempWater",      4055, false, 0, "1", "", 1},
        {"CheckBoxTempAir",        4056, false, 1, "0", "", 0},
    };
    walk(PAGE_SENSORS, cases, setup);
}

TEST_F(PageFieldsTest, N2OFields)
{
    // Input 3 and power output 2 set for N2O: the settings can be changed. The unit's rules raise a final value to
    // the initial one.
    const std::vector<FieldCase> cases = {
        {"UpDownGas1",       4432, false, 40, "40", "100", 100, {}, {4433}},
        {"UpDownGas2",       4433, false, 60, "60", "0", 0},
        {"UpDownGasD",       4435, false, 150, "15 000", "1200", 12},
        {"UpDownGasT",       4434, false, 5, "500", "1300", 13},
        {"UpDownRetard1",    4436, false, 5, "5", "25", 25, {}, {4437}},
        {"UpDownRetard2",    4437, false, 2, "2", "7", 7},
        {"UpDownRetardD",    4439, false, 1, "100", "0", 0},
        {"UpDownRetardT",    4438, false, 20, "2 000", "300", 3},
        {"UpDownGasJetKor1", 4440, false, 0, "100", "350", 250, {}, {4441}},
        {"UpDownGasJetKor2", 4441, false, 250, "350", "120", 20},
        {"UpDownN2O_RPMmin", 4442, false, 50, "5 000", "2000", 20},
        {"UpDownN2O_TPSmin", 4443, false, 85, "85", "90", 90},
    };
    walk(PAGE_N2O, cases, {{3838, 12}, {4445, 4}});
}

// A field outside its up-down's range (an image with no lobes set where the control starts at 1) shows clamped; a
// change of another field of the page leaves it as it is.
TEST_F(PageFieldsTest, FieldsOutsideTheirRangeStayWhenAnotherFieldChanges)
{
    open(PAGE_SYNCHRO);
    for (int b = 2696; b <= 2703; ++b) form->images.image[std::size_t(b)] = 0;
    form->images.image[2680] = 4;
    ShowImageOnPages(*form, 1);
    RefreshPages(*form);
    form->ResetUndo();
    EXPECT_EQ(FindControl<TEdit>(*form, "EditTop1")->Text(), "1");
    const Image before = form->images.image;
    auto* edit = FindControl<TEdit>(*form, "EditSynchroMaxRpm");
    ASSERT_NE(edit, nullptr);
    edit->SetText("9000");
    vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
    EXPECT_EQ(form->images.image[2691], 90);
    for (int b = 2696; b <= 2703; ++b) EXPECT_EQ(form->images.image[std::size_t(b)], 0) << b;
    EXPECT_EQ(changedBytes(before), std::set<int>{2691});
}

// The sensor maps and the oil pressure maps in the started window: each sheet shows its image fields with their
// scale, a cell or point typed as a person types it changes exactly its field in one undo step, and undo puts
// the image back. A field the sheet cannot show exactly (503 mV shown as 0.500 V in fifths) keeps its bytes
// until its own element is typed.
TEST_F(PageFieldsTest, SensorAndOilMapsShowTheImageAndStoreATypedCell)
{
    Image& image = form->images.image;
    setImageWord(image, 1084, 500);   // throttle closed, open: 0.50 V, 4.50 V
    setImageWord(image, 1086, 4500);
    image[4052] = 0;
    image[4059] = 0;
    setImageWord(image, 1068, 20);    // atmospheric pressure 20 kPa at 0.4 V, 120 kPa at 4.6 V
    setImageWord(image, 1069, 400);
    setImageWord(image, 1070, 120);
    setImageWord(image, 1071, 4600);
    image[4053] = 0;
    for (int r = 0; r < 9; ++r) setImageWord(image, 1044 + r, std::uint16_t(4500 - 400 * r));
    image[4055] = 0;
    image[4056] = 0;
    image[3836] = 18;                 // input 1: oil pressure
    image[4985] = 0;                  // oil sensor 0 kPa at 0.5 V (word 503: shown 0.500 V), 500 kPa at 4.5 V
    image[4986] = 50;
    setImageWord(image, 1152, 503);
    setImageWord(image, 1153, 4500);
    for (int r = 0; r < 5; ++r) {
        image[std::size_t(4987 + r)] = std::uint8_t(10 + 20 * r);  // 1000..9000 RPM
        image[std::size_t(4992 + r)] = std::uint8_t(5 + r);        // 50..90 kPa
    }
    ShowImageOnPages(*form, 1);

    struct CellCase
    {
        int page, editor, column, row;  // row or column -1: the head of that line
        std::int32_t shown;
        const char* typed;
        std::set<int> bytes;  // what the typing changes
    };
    const CellCase cases[] = {
        {PAGE_SENSORS, 39, 0, 0, 50, "0.6", {2168, 2169}},                         // word 1084 = 600
        {PAGE_SENSORS, 40, 0, 1, 4600, "4.7", {2142, 2143}},                      // word 1071 = 4700
        {PAGE_SENSORS, 37, 0, 2, 3700, "3.65", {2092}},                           // word 1046 = 3650 (0x0E42)
        {PAGE_MAINTENANCE, 46, 0, 1, 900, "4", {2306, 2307}},                      // word 1153 = 4000
        {PAGE_MAINTENANCE, 47, 0, 3, 8, "100", {4995}},                            // 10 tens of kPa
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "editor " << c.editor << " row " << c.row);
        open(c.page);
        TTab& tab = *form->mapEditors[std::size_t(c.editor)];
        ASSERT_TRUE(tab.Visible());
        EXPECT_EQ(tab.sheets[0].value(c.column, c.row), c.shown);
        form->ResetUndo();
        const Image before = form->images.image;
        TypeIntoCell(tab, c.column, c.row, c.typed);
        form->Timer1->Fire();
        EXPECT_EQ(changedBytes(before), c.bytes);
        ASSERT_TRUE(form->undoRing.CanUndo());
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(changedBytes(before), std::set<int>());
        EXPECT_EQ(tab.sheets[0].value(c.column, c.row), c.shown);
    }
    // The oil sensor's points (tens of kPa) and the pressure minimum's speeds (hundreds of RPM) as the image holds
    // them; the unexact voltage kept.
    const CSheet& oil = form->mapEditors[46]->sheets[0];
    EXPECT_EQ(oil.y.points[1], 50);
    EXPECT_EQ(oil.value(0, 0), 100);
    EXPECT_EQ(imageWord(form->images.image, 1152), 503);
    EXPECT_EQ(form->mapEditors[47]->sheets[0].y.points[4], 90);
    // Without the oil pressure function the maps are not shown.
    form->images.image[3836] = 0;
    ShowImageOnPages(*form, 1);
    EXPECT_FALSE(form->mapEditors[46]->Visible());
    EXPECT_FALSE(form->mapEditors[47]->Visible());
}

// The synchronisation page's controls can be changed only in the special setting: ticking it on the bike page
// enables them at once, before the synchronisation page is shown again.
TEST_F(PageFieldsTest, TheSpecialSettingOnTheBikePageEnablesTheSynchronisationAtOnce)
{
    form->images.image[2501] = 0;
    ShowImageOnPages(*form, 1);
    open(PAGE_BIKE);
    auto* lobes = FindControl<TEdit>(*form, "EditPocPalcu");
    ASSERT_NE(lobes, nullptr);
    EXPECT_FALSE(lobes->Enabled());
    auto* special = FindControl<TCheckBox>(*form, "CheckBoxBikeSecial");
    ASSERT_NE(special, nullptr);
    special->SetChecked(true);
    EXPECT_EQ(form->images.image[2501], 1);
    EXPECT_TRUE(lobes->Enabled());
}

// The lambda notation is set on the sensors page; the tuning page's mixture map follows it with the store.
TEST_F(PageFieldsTest, TheLambdaNotationReachesTheTuningMap)
{
    form->images.image[5029] = 0;
    ShowImageOnPages(*form, 1);
    open(PAGE_SENSORS);
    TTab* tuning = form->mapEditors[std::size_t(kTuningEditorId)];
    ASSERT_NE(tuning, nullptr);
    EXPECT_DOUBLE_EQ(tuning->sheets[0].data.scale, 0.1);
    FindControl<TCheckBox>(*form, "CheckBoxLambdaNotation")->SetChecked(true);
    EXPECT_EQ(form->images.image[5029], 1);
    EXPECT_DOUBLE_EQ(tuning->sheets[0].data.scale, 0.01);
}

// The 3-point box ticked with the pointer: the throttle map grows to three rows with its middle point editable and
// the 100 % button moves down to make room for the middle one; unticked, all goes back.
TEST_F(PageFieldsTest, TheThreePointBoxRebuildsTheThrottleMapAndMovesItsButton)
{
    Image& image = form->images.image;
    image[4052] = 0;
    image[4059] = 0;
    image[4058] = 40;
    setImageWord(image, 1084, 500);
    setImageWord(image, 1085, 2100);
    setImageWord(image, 1086, 4500);
    ShowImageOnPages(*form, 1);
    form->Widget()->resize(1100, 820);
    form->Show();
    open(PAGE_SENSORS);
    QApplication::processEvents();
    TTab& tab = *form->mapEditors[39];
    auto* closed = FindControl<TButton>(*form, "ButtonTps0");
    auto* middle = FindControl<TButton>(*form, "ButtonTpsX");
    auto* open100 = FindControl<TButton>(*form, "ButtonTps100");
    auto* box = FindControl<TCheckBox>(*form, "CheckBoxTPS3pt");
    ASSERT_TRUE(closed && middle && open100 && box);

    struct Look
    {
        bool threePoint;
        int height, rows, gap;  // gap: from the 0 % button's bottom to the 100 % button's top
    };
    for (const Look look : {Look{true, 204, 3, 18}, Look{false, 180, 2, 2}}) {
        SCOPED_TRACE(look.threePoint);
        QWidget* widget = box->Widget();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(8, widget->height() / 2));
        QApplication::processEvents();
        EXPECT_EQ(box->Checked(), look.threePoint);
        EXPECT_EQ(image[4059], look.threePoint ? 1 : 0);
        EXPECT_EQ(tab.Height(), look.height);
        EXPECT_EQ(tab.layout.visibleRows, look.rows);
        const CSheet& s = tab.sheets[0];
        EXPECT_EQ(s.y.count, look.rows);
        EXPECT_EQ(s.y.editable != 0, look.threePoint);
        EXPECT_EQ(s.y.points[std::size_t(look.rows - 1)], 100);
        if (look.threePoint) {
            EXPECT_EQ(s.y.points[1], 40);
            EXPECT_EQ(s.value(0, 1), 210);
        }
        EXPECT_EQ(open100->Top(), closed->Top() + closed->Height() + look.gap);
        EXPECT_EQ(open100->Left(), closed->Left());
        EXPECT_EQ(middle->Visible(), look.threePoint);
        // Nothing of the page overlaps the map, the buttons or each other.
        const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[PAGE_SENSORS]);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
        // The throttle's voltages stay as they were: only the switch changed.
        EXPECT_EQ(imageWord(image, 1084), 500);
        EXPECT_EQ(imageWord(image, 1085), 2100);
        EXPECT_EQ(imageWord(image, 1086), 4500);
        EXPECT_EQ(image[4058], 40);
    }
}
