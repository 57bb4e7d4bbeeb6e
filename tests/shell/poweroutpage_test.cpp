// The power outputs page in the started main window, worked as a tuner works it: every bound field shown with its
// scale and sign and changed through its control (exactly its bytes, one undo step), the function lists of the five
// outputs, the on/off maps and the shared PWM tables edited with the pointer and keys, the controls each function
// calls for, the injection page's reload, and a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>

#include "bindingwalk.h"
#include "mapeditor/tab.h"
#include "pages/injectionpage.h"
#include "pages/mapsheets.h"
#include "pages/poweroutpage.h"
#include "startedform.h"
#include "vcl/deciedit.h"

namespace {

constexpr int kFunctionBytes[kPowerOutputs] = {4444, 4445, 4446, 4447, 4881};

class PowerOutPageTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        functions({0, 0, 0, 0, 0});
        form->PageControl1->SetActivePageIndex(PAGE_POWER_OUT);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, PAGE_POWER_OUT);
        form->ResetUndo();
    }
    void functions(std::array<int, kPowerOutputs> f)
    {
        for (int k = 0; k < kPowerOutputs; ++k) form->images.image[std::size_t(kFunctionBytes[k])] = std::uint8_t(f[std::size_t(k)]);
        ShowImageOnPages(*form, 1);
    }
    template <class T>
    T* control(const std::string& name)
    {
        T* c = FindControl<T>(*form, name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    TComboBox* combo(int output) { return control<TComboBox>("ComboBoxPowerOut" + std::to_string(output)); }
    bool shown(const std::string& name) { return control<TControl>(name)->Visible(); }
    std::vector<int> tags(int output)
    {
        std::vector<int> t;
        for (int i = 0; i < combo(output)->ItemCount(); ++i) t.push_back(combo(output)->ItemTag(i));
        return t;
    }
    TTab& map(int id) { return *MapEditor(*form, id); }
    void settle()
    {
        for (int i = 0; i < 20; ++i) form->Timer1->Fire();
    }
};

}  // namespace

// Stored bytes show as a tuner reads them: RPM in tens, temperatures from -40, the output speed in tenths.
TEST_F(PowerOutPageTest, FieldsShowTheirBytesWithScaleAndSign)
{
    Image& image = form->images.image;
    image[4460] = 100;  // output 1 hysteresis: 1000 rpm
    image[4885] = 255;  // output 5: 2550 rpm, the most the byte holds
    image[4929] = 0;    // output 1 cooling: -40 degrees
    image[4933] = 250;  // output 5: 210
    setImageWord(image, 1139, 1234);
    image[4924] = 7;  // output 2 inverted
    ShowImageOnPages(*form, 1);
    EXPECT_EQ(control<TUpDown>("UpDownPowerOutHyst1")->Position(), 1000);
    EXPECT_EQ(control<TUpDown>("UpDownPowerOutHyst5")->Position(), 2550);
    EXPECT_EQ(control<TUpDown>("UpDownPowerOutTemp1")->Position(), -40);
    EXPECT_EQ(control<TUpDown>("UpDownPowerOutTemp5")->Position(), 210);
    EXPECT_EQ(control<TDeciUpDown>("UpDownPowerOutSpeed2")->PairedEdit->Text(), "123.4");
    EXPECT_TRUE(control<TCheckBox>("CheckBoxPowerOutInv2")->Checked());
    EXPECT_FALSE(control<TCheckBox>("CheckBoxPowerOutInv1")->Checked());
    // The hysteresis reaches the on/off maps as their band, in RPM.
    EXPECT_EQ(map(25).hysteresis, 1000);
    EXPECT_EQ(map(48).hysteresis, 1000);
    EXPECT_EQ(map(29).hysteresis, 2550);
}

// Every bound control changed as a person changes it, with the function that shows it: exactly its field, once,
// shown again as typed, and undo takes it back.
TEST_F(PowerOutPageTest, EveryBoundControlChangesExactlyItsField)
{
    Image& image = form->images.image;
    for (int k = 0; k < kPowerOutputs; ++k) image[std::size_t(4929 + k)] = 100;
    setImageWord(image, 1139, 50);
    const auto prepare = [&](const FieldBinding& row) {
        const std::string_view name = row.control;
        const int f = name.starts_with("UpDownPowerOutHyst")    ? 2
                      : name.starts_with("UpDownPowerOutTemp")  ? 10
                      : name.starts_with("UpDownPowerOutSpeed") ? 13
                                                                : 0;
        functions({f, f, f, f, f});
    };
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_POWER_OUT, prepare), int(form->pageModules[PAGE_POWER_OUT]->bindings.size()));
}

TEST_F(PowerOutPageTest, EachOutputOffersItsFunctions)
{
    const std::vector<int> common = {0, 1, 2, 5, 6, 7, 9, 19, 10, 11, 12, 14, 20, 22, 23, 3, 8};
    EXPECT_EQ(tags(1), common);
    EXPECT_EQ(tags(3), common);
    EXPECT_EQ(tags(4), common);
    EXPECT_EQ(tags(2), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 9, 19, 10, 11, 12, 13, 14, 20, 22, 23, 3, 8}));
    EXPECT_EQ(tags(5), (std::vector<int>{0, 1, 2, 5, 6, 7, 9, 19, 10, 11, 12, 14, 20, 21, 22, 23, 3, 8}));
    EXPECT_EQ(combo(2)->ItemText(3), "N2O");
    // German has no group caption of its own: the English one shows.
    SetLanguageIndex(LNG_GERMAN);
    RefreshPageCaptions(*form);
    EXPECT_EQ(control<TGroupBox>("GroupBoxPowerOut3")->Caption(), "Power out 3 (pin 53)");
    EXPECT_EQ(combo(1)->ItemText(0), "Aus");
    SetLanguageIndex(LNG_ENGLISH);
    RefreshPageCaptions(*form);

    // A function this page does not offer shows no item, and storing the page keeps it.
    functions({15, 0, 0, 0, 0});
    EXPECT_EQ(combo(1)->ItemIndex(), -1);
    control<TCheckBox>("CheckBoxPowerOutInv1")->SetChecked(true);
    EXPECT_EQ(form->images.image[4444], 15);
    EXPECT_EQ(form->images.image[4923], 1);
}

// The FID valve on an output makes it the idle regulation, once: while an output is one already, nothing changes.
TEST_F(PowerOutPageTest, ChoosingTheFidValveSetsTheIdleRegulation)
{
    Image& image = form->images.image;
    image[4559] = 1;
    ShowImageOnPages(*form, 1);
    TComboBox* third = combo(3);
    third->SetItemIndex(11);
    ASSERT_EQ(third->ItemTag(11), 14);
    vcl::Fire(third->OnChange, static_cast<TObject*>(third));
    EXPECT_EQ(image[4446], 14);
    EXPECT_EQ(image[4559], 4);
    image[4559] = 1;
    functions({0, 0, 14, 0, 0});
    TComboBox* first = combo(1);
    first->SetItemIndex(11);
    vcl::Fire(first->OnChange, static_cast<TObject*>(first));
    EXPECT_EQ(image[4444], 14);
    EXPECT_EQ(image[4559], 1);
}

TEST_F(PowerOutPageTest, EachFunctionShowsWhatItNeeds)
{
    functions({2, 13, 10, 3, 9});
    EXPECT_TRUE(shown("EditPowerOutHyst1"));
    EXPECT_FALSE(shown("EditPowerOutTemp1"));
    EXPECT_TRUE(shown("EditPowerOutSpeed2"));
    EXPECT_FALSE(shown("EditPowerOutHyst2"));
    EXPECT_TRUE(shown("EditPowerOutTemp3"));
    EXPECT_TRUE(shown("LabelPowerOutTemp3"));
    EXPECT_TRUE(shown("EditPowerOutHyst4"));
    EXPECT_TRUE(map(28).Visible());
    EXPECT_FALSE(map(51).Visible());
    EXPECT_FALSE(map(63).Visible());
    EXPECT_TRUE(map(64).Visible());
    EXPECT_TRUE(shown("LabelPowerOutPwm5"));
    EXPECT_FALSE(shown("LabelPowerOutPwm4"));
    EXPECT_FALSE(map(25).Visible());
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(shown("CheckBoxPowerOutInv" + std::to_string(n))) << n;
    functions({8, 19, 16, 0, 0});
    EXPECT_TRUE(map(48).Visible());
    EXPECT_TRUE(shown("EditPowerOutHyst1"));
    EXPECT_TRUE(map(61).Visible());
    EXPECT_EQ(map(61).sheets[0].x.label, "v[km/h]");
    EXPECT_EQ(map(61).sheets[0].data.label, "PWM[%]");
    EXPECT_FALSE(shown("CheckBoxPowerOutInv3"));
    // The injection page's store shows this page again: a function changed meanwhile shows.
    form->images.image[4447] = 3;
    StoreInjectionPage(*form);
    EXPECT_EQ(combo(4)->ItemTag(combo(4)->ItemIndex()), 3);
    EXPECT_TRUE(map(28).Visible());
}

// The on/off maps show their bits and breakpoints; a cell turned on with the pointer reaches its bit, once.
TEST_F(PowerOutPageTest, OnOffMapsCarryTheirBitsAndBreakpoints)
{
    Image& image = form->images.image;
    const std::uint8_t rpm[] = {30, 60, 90}, tp[] = {20, 60}, grid[] = {0b0001, 0b0110, 0b1000};
    std::copy(std::begin(rpm), std::end(rpm), image.begin() + 4451);  // output 2
    std::copy(std::begin(tp), std::end(tp), image.begin() + 4466);
    std::copy(std::begin(grid), std::end(grid), image.begin() + 4475);
    setImageWord(image, 1142, 150);  // output 2's pressure points
    setImageWord(image, 1143, 320);
    image[4956] = 0b0101;  // its pressure map's first row
    functions({0, 3, 0, 0, 8});
    const CSheet& tps = map(26).sheets[0];
    EXPECT_EQ(tps.x.points[2], 90);
    EXPECT_EQ(tps.y.points[1], 60);
    EXPECT_EQ(tps.value(0, 0), 1);
    EXPECT_EQ(tps.value(1, 0), 0);
    EXPECT_EQ(tps.value(2, 1), 1);
    EXPECT_EQ(tps.value(3, 2), 1);
    const CSheet& iap = map(49).sheets[0];
    EXPECT_EQ(iap.y.points[0], 150);
    EXPECT_EQ(iap.y.points[1], 320);
    EXPECT_EQ(iap.value(2, 0), 1);

    form->Show();
    QApplication::processEvents();
    TTab& tab = map(26);
    tab.Tick();
    ASSERT_TRUE(tab.drawnViews & kViewCheck);
    form->ResetUndo();
    const Image before = image;
    auto send = [&](TMsg msg, int x, int y) {
        TMessage m;
        m.msg = msg;
        m.x = x;
        m.y = y;
        tab.Perform(m);
    };
    // A rubber band over the top right cell.
    const TTabGraph& g = tab.graph;
    const int top = g.plotBottom - g.plotHeight;
    send(TMsg::MouseMove, g.screenX[2] + 5, top + 5);
    send(TMsg::LButtonDown, g.screenX[2] + 5, top + 5);
    send(TMsg::LButtonUp, g.plotLeft + g.plotWidth - 5, top + 6);
    settle();
    const std::set<int> changed = bindingwalk::changedBytes(before, image);
    // The editor draws row 0 at the top: the cell above the last RPM breakpoint there is bit 3 of the first byte.
    ASSERT_EQ(changed, std::set<int>{4475});
    EXPECT_EQ(image[4475], before[4475] ^ 0b1000);
    ASSERT_TRUE(form->undoRing.CanUndo());
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(image, before);
    EXPECT_FALSE(form->undoRing.CanUndo());
}

// Outputs with a PWM function share the tables: an edit in one output's table is the other's after the refresh;
// a duty of 20 (100 %) is stored as 100, repaired to 99, and shows as 20 again.
TEST_F(PowerOutPageTest, PwmTablesAreShared)
{
    Image& image = form->images.image;
    for (int i = 0; i < 10; ++i) image[std::size_t(4998 + i)] = std::uint8_t(10 + i);
    for (int i = 0; i < 10; ++i) image[std::size_t(5017 + i)] = std::uint8_t(5 * i);
    functions({9, 0, 9, 19, 0});
    EXPECT_EQ(map(60).sheets[0].value(3, 0), 13);
    EXPECT_EQ(map(60).sheets[0].x.points[0], -10);
    EXPECT_EQ(map(60).sheets[0].x.points[9], 110);
    EXPECT_EQ(map(63).sheets[0].value(3, 0), 3);
    EXPECT_EQ(map(63).sheets[0].x.points[9], 315);

    form->Show();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();
    auto type = [&](TTab& tab, int column, const char* text) {
        tab.Tick();
        const TabLayout& L = tab.layout;
        const QPoint p(static_cast<int>(L.cellsLeft + (column + 0.5) * L.cellWidth), static_cast<int>(L.cellsTop + 0.5 * L.cellHeight));
        QTest::mouseMove(tab.Widget(), p);
        QTest::mouseClick(tab.Widget(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::keyClicks(tab.Widget(), text);
        QTest::keyClick(tab.Widget(), Qt::Key_Return);
        settle();
    };
    form->ResetUndo();
    Image before = image;
    type(map(60), 0, "5");  // 5.0 ms
    EXPECT_EQ(bindingwalk::changedBytes(before, image), std::set<int>{4998});
    EXPECT_EQ(image[4998], 50);
    EXPECT_EQ(map(62).sheets[0].value(0, 0), 50);
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(image, before);

    before = image;
    type(map(63), 1, "100");  // 100 %: cell 20
    EXPECT_EQ(bindingwalk::changedBytes(before, image), std::set<int>{5018});
    EXPECT_EQ(image[5018], 99);
    EXPECT_EQ(map(63).sheets[0].value(1, 0), 20);
}

TEST_F(PowerOutPageTest, Screenshot)
{
    Image& image = form->images.image;
    const std::uint8_t rpm[] = {30, 60, 90}, tp[] = {20, 60}, grid[] = {0b0001, 0b0110, 0b1100};
    std::copy(std::begin(rpm), std::end(rpm), image.begin() + 4448);
    std::copy(std::begin(tp), std::end(tp), image.begin() + 4464);
    std::copy(std::begin(grid), std::end(grid), image.begin() + 4472);
    image[4460] = 30;
    for (int i = 0; i < 10; ++i) image[std::size_t(4998 + i)] = std::uint8_t(20 + 5 * i);
    functions({3, 13, 9, 10, 2});
    form->SetClientSize(kFormWidth, kFormHeight);
    form->Show();
    QApplication::processEvents();
    settle();
    QApplication::processEvents();
    const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[PAGE_POWER_OUT]);
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    const std::filesystem::path dir(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "page_powerout.png").string())));
}
