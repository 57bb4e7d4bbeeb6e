// The gear page in the started main window, worked as a person works it: every bound field shown with its scale and
// sign and changed through its control (exactly its bytes, one undo step), the groups and rows each gear method and
// number of gears call for, the capture buttons, the current gear marked from the live values, and a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <set>

#include "bindingwalk.h"
#include "pages/gearpage.h"
#include "startedform.h"
#include "vcl/deciedit.h"

namespace {

class GearPageTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        Image& image = form->images.image;
        image[4527] = 0;  // gear sensor voltage
        image[4528] = 6;
        image[4878] = 1;
        ShowImageOnPages(*form, 1);
        form->PageControl1->SetActivePageIndex(PAGE_GEAR);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, PAGE_GEAR);
        form->ResetUndo();
    }
    template <class T>
    T* control(std::string_view name)
    {
        T* c = FindControl<T>(*form, name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    bool shown(std::string_view name) { return control<TControl>(name)->Visible(); }
    void method(int tag, int gears)
    {
        form->images.image[4527] = std::uint8_t(tag);
        form->images.image[4528] = std::uint8_t(gears);
        ShowImageOnPages(*form, 1);
    }
};

}  // namespace

// Stored bytes show as a tuner reads them: offsets, scales and words.
TEST_F(GearPageTest, FieldsShowTheirBytesWithScaleAndSign)
{
    Image& image = form->images.image;
    image[4535] = 80;    // advance correction row 1: -20 degrees
    image[4540] = 120;   // row 6: +20
    image[4879] = 25;    // neutral 500 mV
    image[4532] = 45;    // 4500 rpm
    image[4534] = 37;    // zone 3.7 %
    setImageWord(image, 1097, 2345);  // gear 2 voltage
    setImageWord(image, 1138, 64000);
    ShowImageOnPages(*form, 1);
    EXPECT_EQ(control<TUpDown>("UpDownGearKorAdv1")->Position(), -20);
    EXPECT_EQ(control<TUpDown>("UpDownGearKorAdv6")->Position(), 20);
    EXPECT_EQ(control<TUpDown>("UpDownNeutralOn")->Position(), 500);
    EXPECT_EQ(control<TUpDown>("UpDownGearAutoRpm")->Position(), 4500);
    EXPECT_EQ(control<TDeciUpDown>("UpDownGearAutoBand")->PairedEdit->Text(), "3.7");
    EXPECT_EQ(control<TUpDown>("UpDownGearNapeti2")->Position(), 2345);
    EXPECT_EQ(control<TUpDown>("UpDownODO")->Position(), 64000);
}

// Every bound control changed as a person changes it, with the gear method that shows it: exactly its field, once,
// shown again as typed, and undo takes it back.
TEST_F(GearPageTest, EveryBoundControlChangesExactlyItsField)
{
    Image& image = form->images.image;
    // Fields inside their ranges, as a repaired settings file holds them.
    for (int g = 0; g <= 6; ++g) setImageWord(image, 1095 + g, std::uint16_t(500 + 500 * g));
    for (int g = 1; g <= 6; ++g) setImageWord(image, 1088 + g, std::uint16_t(100 * g));
    for (int word : {1102, 1103, 1104, 1138}) setImageWord(image, word, 100);
    for (int r = 0; r < 6; ++r)
        for (int column : {4535, 4541, 4547, 4553}) image[std::size_t(column + r)] = 100;
    image[4531] = 5;
    image[4532] = 30;
    image[4533] = 10;
    image[4879] = 10;
    image[4880] = 20;
    // The method that shows a row: the voltages with the sensor, the ratios with RPM/speed, the learned ratios'
    // settings and neutral with the automatic method; the rest with the sensor.
    const auto prepare = [&](const FieldBinding& row) {
        const std::string_view name = row.control;
        const int tag = name.starts_with("UpDownRpmSpeed")                                   ? 1
                        : name.starts_with("UpDownGearAuto") || name.find("Neutral") != name.npos ? 2
                                                                                             : 0;
        image[4527] = std::uint8_t(tag);
        image[4528] = 6;
        image[4878] = 1;
        ShowImageOnPages(*form, 1);
    };
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_GEAR, prepare), int(form->pageModules[PAGE_GEAR]->bindings.size()));

    // The method group holds tags, not indexes: the list's second item is tag 0, its first tag 3.
    auto* group = control<TRadioGroup>("RadioGroupGearSystem");
    method(0, 6);
    EXPECT_EQ(group->ItemIndex(), 1);
    form->ResetUndo();
    group->SetItemIndex(0);
    EXPECT_EQ(image[4527], 3);
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(image[4527], 0);
    EXPECT_EQ(group->ItemIndex(), 1);
}

TEST_F(GearPageTest, MethodAndNumberOfGearsChooseWhatShows)
{
    // No method: only correction row 1's pairs, without their label; no gear count, no capture buttons.
    method(3, 6);
    for (const char* name : {"GroupBoxNapetiProGear", "GroupBoxRpmSpeedProGear", "GroupBoxMonAutoGear",
                             "GroupBoxNeutral", "EditPocetGear", "ButtonGear0", "LabelGearKor1", "EditGearKorAdv2"})
        EXPECT_FALSE(shown(name)) << name;
    EXPECT_TRUE(shown("EditGearKorAdv1"));
    EXPECT_TRUE(shown("EditGearKorTrack1"));
    // Voltages with 1 gear: gears 0 and 1, row 1.
    method(0, 1);
    EXPECT_TRUE(shown("GroupBoxNapetiProGear"));
    EXPECT_TRUE(shown("EditGearNapeti0"));
    EXPECT_TRUE(shown("EditGearNapeti1"));
    EXPECT_FALSE(shown("EditGearNapeti2"));
    EXPECT_FALSE(shown("ButtonGear2"));
    EXPECT_FALSE(shown("GroupBoxNeutral"));
    EXPECT_FALSE(shown("EditGearKorAdv2"));
    // Ratios with 6 gears: everything of the ratio method, neutral greyed while its detection is off.
    form->images.image[4878] = 0;
    method(1, 6);
    EXPECT_TRUE(shown("GroupBoxRpmSpeedProGear"));
    EXPECT_TRUE(shown("EditRpmSpeed6"));
    EXPECT_TRUE(shown("ButtonGear6"));
    EXPECT_TRUE(shown("GroupBoxNeutral"));
    EXPECT_FALSE(control<TControl>("EditNeutralOn")->Enabled());
    EXPECT_TRUE(shown("EditGearKorAdv6"));
    // A method byte that no item carries: no item, no method groups; the gear count and rows stay.
    method(9, 4);
    EXPECT_EQ(control<TRadioGroup>("RadioGroupGearSystem")->ItemIndex(), -1);
    EXPECT_FALSE(shown("GroupBoxNapetiProGear"));
    EXPECT_FALSE(shown("ButtonGear1"));
    EXPECT_TRUE(shown("EditPocetGear"));
    EXPECT_TRUE(shown("EditGearKorAdv4"));
    EXPECT_FALSE(shown("EditGearKorAdv5"));
}

// The capture buttons take the measured value for their gear; the current gear is marked while live data arrives.
TEST_F(GearPageTest, CaptureAndLiveMarks)
{
    bool live = false;
    form->pageHooks.hasLiveData = [&] { return live; };
    // The last frame's measured values (every show of the live data decodes them again).
    const auto measured = [&] {
        form->liveValues.gearVoltage = 3210;
        form->liveValues.gearRatio = 456;
    };
    measured();
    control<TButton>("ButtonGear3")->Click();
    EXPECT_EQ(imageWord(form->images.image, 1098), 3210);
    ASSERT_TRUE(form->undoRing.CanUndo());
    method(1, 6);
    form->ResetUndo();
    const Image before = form->images.image;
    measured();
    control<TButton>("ButtonGear0")->Click();  // no ratio for neutral
    EXPECT_EQ(form->images.image, before);
    EXPECT_FALSE(form->undoRing.CanUndo());
    measured();
    control<TButton>("ButtonGear2")->Click();
    EXPECT_EQ(imageWord(form->images.image, 1090), 456);

    form->liveValues.gear = 2;
    form->Timer1->Fire();
    EXPECT_EQ(control<TControl>("EditRpmSpeed2")->Color(), clWindow);  // no live data: nothing marked
    EXPECT_EQ(control<TControl>("EditGearKorInj2")->Color(), clWindow);
    live = true;
    form->Timer1->Fire();
    EXPECT_EQ(control<TControl>("EditRpmSpeed2")->Color(), TColor{0x00FF00});
    EXPECT_EQ(control<TControl>("LabelPomerRpmSpeed2")->Color(), TColor{0x00FF00});
    EXPECT_TRUE(control<TButton>("ButtonGear2")->FontBold());
    EXPECT_EQ(control<TControl>("EditGearKorInj2")->Color(), TColor{0x00FF00});
    EXPECT_EQ(control<TControl>("EditGearKorInj1")->Color(), clWindow);
    form->liveValues.gear = 255;  // no gear known: correction row 1
    form->Timer1->Fire();
    EXPECT_EQ(control<TControl>("EditGearKorInj1")->Color(), TColor{0x00FF00});
    EXPECT_EQ(control<TControl>("EditRpmSpeed2")->Color(), clWindow);
    EXPECT_FALSE(control<TButton>("ButtonGear2")->FontBold());
}

TEST_F(GearPageTest, Screenshots)
{
    // Corrections as a repaired file holds them: no advance change, 100 %.
    for (int byte = 4535; byte <= 4558; ++byte) form->images.image[std::size_t(byte)] = 100;
    form->SetClientSize(kFormWidth, kFormHeight);
    form->Show();
    const std::filesystem::path dir(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    for (auto [tag, name] : {std::pair{0, "page_gear_voltage.png"}, {1, "page_gear_ratio.png"}, {2, "page_gear_auto.png"}}) {
        SCOPED_TRACE(name);
        method(tag, 5);
        QApplication::processEvents();
        const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[PAGE_GEAR]);
        EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / name).string())));
    }
}
