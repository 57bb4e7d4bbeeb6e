// The race and cruise control pages in the started main window, with model settings loaded: every bound control
// changed as a person changes it reaches exactly its field, once, and one undo takes it back; the deceleration
// action for each idle actuator; pictures of the pages for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <map>

#include "bindingwalk.h"
#include "startedform.h"

namespace {

class RacePagesTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        // A model whose dashboard takes the display choice, a gear sensor with six gears, the intake servo moving
        // the throttle (idle by servo, deceleration on), a cruise control input and a quick-shift down output.
        for (auto [address, value] : std::initializer_list<std::pair<int, int>>{
                 {2500, 17}, {4527, 0}, {4528, 6}, {4559, 1}, {4520, 1}, {4411, 1}, {4431, 1}, {3838, 17},
                 {4446, 7}, {5016, 1}, {4498, 20}, {4504, 8}, {4895, 60}, {4901, 250},
                 {4974, 50}, {4975, 80}, {4979, 40}, {4980, 90}, {4984, 220}, {5008, 60}})
            form->images.image[std::size_t(address)] = std::uint8_t(value);
        Image& image = form->images.image;
        // Each gear's light above its blink, as the repair keeps them; shift 1's mirrors as a store leaves them.
        for (int r = 0; r < 6; ++r) {
            image[std::size_t(4485 + r)] = std::uint8_t(90 + r);
            image[std::size_t(4491 + r)] = std::uint8_t(110 + r);
        }
        for (auto [mirror, source] : {std::pair{4511, 4895}, {4512, 4901}, {4513, 4907}, {4514, 4913}})
            image[std::size_t(mirror)] = image[std::size_t(source)];
        ShowImageOnPages(*form, 1);
    }
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, page);
    }
    void shoot(const std::string& name)
    {
        const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        for (int i = 0; i < 3; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[std::size_t(form->currentPage)]);
        EXPECT_TRUE(faults.empty()) << name << ": " << testing::PrintToString(faults);
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / name).string())));
    }
};

}  // namespace

TEST_F(RacePagesTest, EveryBoundControlChangesExactlyItsField)
{
    ASSERT_TRUE(form->pageBuildProblems.empty()) << testing::PrintToString(form->pageBuildProblems);
    ASSERT_TRUE(form->tabSheets[PAGE_CRUISE]->TabVisible());
    // Shift 1's values are also kept at their older places.
    const std::map<int, int> mirrors = {{4895, 4511}, {4901, 4512}, {4907, 4513}, {4913, 4514}};
    const auto mirrorOf = [&](const FieldBinding& row) {
        const auto it = mirrors.find(row.address);
        return it == mirrors.end() ? std::set<int>{} : std::set<int>{it->second};
    };
    open(PAGE_RACE);
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_RACE, {}, mirrorOf), 59);
    open(PAGE_CRUISE);
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_CRUISE), 19);
    EXPECT_TRUE(dialogs.Messages().empty());
}

// The action value's field follows the idle actuator; the servo in millivolts also writes its byte form.
TEST_F(RacePagesTest, TheDecelerationActionReachesTheFieldOfTheIdleActuator)
{
    const struct
    {
        int mode, percent;
        std::set<int> bytes;
    } cases[] = {{1, 1, {4523}}, {1, 0, {2274, 2275, 4524}}, {2, 0, {2248, 2249}}, {3, 0, {2250, 2251}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", percent " << c.percent);
        form->images.image[4559] = std::uint8_t(c.mode);
        form->images.image[4415] = std::uint8_t(c.percent);
        form->repairState = NormalizeSettingsImage(form->images.image);
        ShowImageOnPages(*form, 1);
        open(PAGE_RACE);
        form->ResetUndo();
        const Image before = form->images.image;
        auto* upDown = static_cast<TUpDown*>(form->FindComponent("UpDownDCaction"));
        ASSERT_NE(upDown, nullptr);
        upDown->Associate()->SetText(upDown->PositionText(bindingwalk::otherPosition(*upDown, upDown->Increment())));
        bindingwalk::leave(upDown->Associate());
        const std::set<int> changed = bindingwalk::changedBytes(before, form->images.image);
        EXPECT_FALSE(changed.empty());
        EXPECT_TRUE(std::includes(c.bytes.begin(), c.bytes.end(), changed.begin(), changed.end()))
            << testing::PrintToString(changed);
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(form->images.image, before);
    }
}

TEST_F(RacePagesTest, Screenshots)
{
    form->SetClientSize(1070, 760);
    form->Show();
    open(PAGE_RACE);
    form->liveValues.gear = 3;
    shoot("page_race_en.png");
    open(PAGE_CRUISE);
    shoot("page_cruise_en.png");
    form->MainMenu1->Find("MenuGerman")->Click();
    open(PAGE_RACE);
    shoot("page_race_de.png");
    form->MainMenu1->Find("MenuCzech")->Click();
    open(PAGE_CRUISE);
    shoot("page_cruise_cs.png");
    form->MainMenu1->Find("MenuEnglish")->Click();
}
