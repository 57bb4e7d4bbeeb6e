// The cruise control page's own rules: its tab shows only with a cruise control input and a throttle servo, and
// the set table's levels and proportions show and store in their units.
#include <gtest/gtest.h>

#include "pages/inputspage.h"
#include "person.h"

namespace {

class CruisePage : public PagesTest
{
protected:
    void SetUp() override
    {
        Build();
        SetPage(PAGE_INPUTS);
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    Image& image() { return w.images.image; }
    bool tabShown() { return w.tabSheets[PAGE_CRUISE]->TabVisible(); }
};

}  // namespace

TEST_F(CruisePage, TheTabShowsWithACruiseControlInputAndAThrottleServo)
{
    const struct
    {
        const char* name;
        std::initializer_list<std::pair<int, int>> settings;
        bool shown;
    } cases[] = {
        {"nothing", {}, false},
        {"input only", {{3838, kInputCruiseControl}}, false},
        {"servo only", {{4431, 1}}, false},
        {"two inputs and the servo", {{3836, kInputCruiseControl}, {3842, kInputCruiseControl}, {4431, 1}}, true},
        {"last input and the servo", {{3842, kInputCruiseControl}, {4431, 1}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 3836; i <= 3842; ++i) image()[std::size_t(i)] = 0;
        image()[4431] = 0;
        image()[4411] = 1;  // the intake servo is on: the repair keeps its throttle role only then
        for (auto [address, value] : c.settings) image()[std::size_t(address)] = std::uint8_t(value);
        ShowImageOnPages(w, 1);
        EXPECT_EQ(tabShown(), c.shown);
    }
    // Choosing the function on the inputs page shows the tab at once; taking it away hides it.
    Choose(w, "ComboBoxInput1", FindComboTag(Control<TComboBox>(w, "ComboBoxInput1"), kInputCruiseControl));
    EXPECT_TRUE(tabShown());
    image()[3842] = 0;
    Choose(w, "ComboBoxInput1", 0);
    EXPECT_FALSE(tabShown());
}

TEST_F(CruisePage, LevelsShowInVoltsAndProportionsInTheirSteps)
{
    image()[4979] = 250;
    image()[4984] = 0;
    image()[4980] = 126;
    image()[5008] = 200;
    ShowImageOnPages(w, 1);
    SetPage(PAGE_CRUISE);
    EXPECT_EQ(Control<TEdit>(w, "EditTempLevel1")->Text(), "5");
    EXPECT_EQ(Control<TEdit>(w, "EditTempLevel6")->Text(), "0");
    EXPECT_EQ(Control<TEdit>(w, "EditTempLevel2")->Text(), "2.52");
    EXPECT_EQ(Control<TEdit>(w, "EditTempIP1")->Text(), "1 000");
    Type(w, "EditTempIP2", "1000");
    EXPECT_EQ(image()[5009], 200);
    Type(w, "EditTempLevel3", "3.3");
    EXPECT_EQ(image()[4981], 165);
    EXPECT_EQ(commits, 2);
}
