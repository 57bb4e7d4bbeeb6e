// The output test page: each test button sets exactly its bit, once, only while a unit answers; leaving the page
// drops what was not sent; the unit's lock disables the outputs it refuses; the test values and the lambda bar's
// thresholds in both notations.
#include "pages/outputtest.h"

#include <gtest/gtest.h>

#include "pagefixture.h"
#include "vcl/deciedit.h"

namespace {

class OutputTest : public PagesTest
{
protected:
    void SetUp() override
    {
        w.pageHooks.unitAnswers = [this] { return unitAnswers; };
        Build();
        ASSERT_TRUE(w.pageBuildProblems.empty()) << testing::PrintToString(w.pageBuildProblems);
        SetPage(PAGE_TEST);
        ShowImageOnPages(w, 1);
    }
    Image& image() { return w.images.image; }
    void press(std::string_view name) { Control<TButton>(w, name)->Click(); }
    std::array<std::uint8_t, 4> commands() const { return w.testCommands; }

    bool unitAnswers = true;
};

}  // namespace

TEST_F(OutputTest, EachButtonSetsExactlyItsBitOnce)
{
    int buttons = 0;
    for (const TestCommandBit& bit : kTestCommandBits) {
        if (bit.button == "ButtonDCTest") continue;  // on the race page
        SCOPED_TRACE(bit.button);
        ++buttons;
        w.testCommands = {};
        press(bit.button);
        press(bit.button);
        std::array<std::uint8_t, 4> expected{};
        expected[std::size_t(bit.command)] = bit.mask;
        EXPECT_EQ(commands(), expected);
    }
    EXPECT_EQ(buttons, 31);
    // Two tests before one request travel together; nothing is committed.
    w.testCommands = {};
    press("ButtonTestJet1A");
    press("ButtonTestIgn2");
    EXPECT_EQ(commands(), (std::array<std::uint8_t, 4>{0x01, 0x02, 0, 0}));
    EXPECT_EQ(commits, 0);
    // Any other sender changes nothing.
    w.testCommands = {};
    ButtonTestClick(w, Control<TControl>(w, "GroupBoxTestJet"));
    ButtonTestClick(w, nullptr);
    EXPECT_EQ(commands(), (std::array<std::uint8_t, 4>{}));
}

TEST_F(OutputTest, NothingIsFiredWithoutAUnitOrAfterThePageWasLeft)
{
    unitAnswers = false;
    press("ButtonTestJet1A");
    EXPECT_EQ(commands(), (std::array<std::uint8_t, 4>{}));

    unitAnswers = true;
    press("ButtonTestJet1A");
    press("ButtonTestStop");
    press("ButtonTestServoInPlus");
    w.PageControl1->SetActivePageIndex(PAGE_BIKE);
    PageControl1Change(w);
    // A stop is still sent; what would fire an output is not.
    EXPECT_EQ(commands(), (std::array<std::uint8_t, 4>{0, 0, 0x20, 0}));
    // Coming back to the page changes nothing either.
    press("ButtonTestFuelPump");
    w.PageControl1->SetActivePageIndex(PAGE_TEST);
    PageControl1Change(w);
    EXPECT_EQ(commands(), (std::array<std::uint8_t, 4>{0, 0, 0x20, 0}));
}

TEST_F(OutputTest, TheUnitsLockDisablesTheOutputsItRefuses)
{
    EnableTestButtons(w, 0x08);
    EXPECT_FALSE(Control<TButton>(w, "ButtonTestJet1A")->Enabled());
    EXPECT_FALSE(Control<TButton>(w, "ButtonTestIgn4")->Enabled());
    EXPECT_FALSE(Control<TButton>(w, "ButtonTestServo3Minus")->Enabled());
    EXPECT_FALSE(Control<TGroupBox>(w, "GroupBoxTestJet")->Enabled());
    for (const char* untouched : {"ButtonTestStop", "ButtonTestStart", "ButtonTestFan1", "ButtonTestFan2",
                                  "ButtonTestPOut5", "ButtonTestPortIn"})
        EXPECT_TRUE(Control<TButton>(w, untouched)->Enabled()) << untouched;
    // A disabled button sends nothing.
    press("ButtonTestIgn4");
    EXPECT_EQ(commands(), (std::array<std::uint8_t, 4>{}));
    EnableTestButtons(w, 0xF7);
    EXPECT_TRUE(Control<TButton>(w, "ButtonTestJet1A")->Enabled());
    EXPECT_TRUE(Control<TGroupBox>(w, "GroupBoxTestJet")->Enabled());
}

TEST_F(OutputTest, TestValuesAndProprietaryWords)
{
    auto type = [this](std::string_view name, std::string_view text) {
        auto* edit = Control<TEdit>(w, name);
        edit->SetText(text);
        vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
    };
    type("EditTestRpm", "1250");
    EXPECT_EQ(image()[4876], 12);
    EXPECT_EQ(Control<TEdit>(w, "EditTestRpm")->Text(), "1 200");
    type("EditTestServo", "2500");
    EXPECT_EQ(image()[4877], 250);
    type("EditProp3", "-32000");
    EXPECT_EQ(imageWord(image(), 1134), 0x8300);
    setImageWord(image(), 1136, 0xFFFE);
    ShowImageOnPages(w, 0);
    EXPECT_EQ(Control<TEdit>(w, "EditProp5")->Text(), "-2");
}

TEST_F(OutputTest, LambdaBarThresholdsInBothNotations)
{
    auto* upDown = Control<TDeciUpDown>(w, "UpDownLambdaBar1");
    auto* edit = Control<TDeciEdit>(w, "EditLambdaBar1");
    image()[4873] = 147;
    image()[5029] = 0;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(edit->Text(), "14.7");
    EXPECT_EQ(upDown->Min(), 100);

    image()[5029] = 1;
    // Thresholds outside the up-downs' range, which the show can only clamp, stay as they are.
    image()[4872] = 60;
    image()[4874] = 240;
    image()[4875] = 250;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(upDown->Position(), 1000);
    EXPECT_EQ(edit->Text(), "1");
    // Every step moves the stored ratio at least one step the same way.
    const struct
    {
        std::uint8_t stored;
        int direction;
        std::uint8_t expected;
    } steps[] = {{147, +1, 148}, {147, -1, 146}, {101, -1, 100}, {199, +1, 200}};
    for (const auto& s : steps) {
        SCOPED_TRACE(int(s.stored) * s.direction);
        image()[4873] = s.stored;
        ShowImageOnPages(w, 0);
        upDown->SetPosition(upDown->Position() + s.direction);
        CommitChangeNow(w);
        EXPECT_EQ(image()[4873], s.expected);
        EXPECT_EQ(image()[4872], 60);
        EXPECT_EQ(image()[4874], 240);
    }
    // A jump stores the ratio the lambda stands for.
    image()[4873] = 147;
    ShowImageOnPages(w, 0);
    upDown->SetPosition(850);
    CommitChangeNow(w);
    EXPECT_EQ(image()[4873], 125);
}
