// The inputs, N2O and oil pressure pages' own rules: what each input's list offers and in which order, when the
// polarity box is offered, a function no list offers kept, the N2O page's status lines and greying, the oil
// pressure maps following the inputs.
#include <gtest/gtest.h>

#include "os/lngtext.h"
#include "pages/inputspage.h"
#include "person.h"

namespace {

class InputsPage : public PagesTest
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
    void set(std::initializer_list<std::pair<int, int>> settings)
    {
        for (auto [address, value] : settings) image()[std::size_t(address)] = std::uint8_t(value);
        ShowImageOnPages(w, 1);
        commits = 0;
    }
    std::vector<std::string> items(int input)
    {
        auto* list = Control<TComboBox>(w, "ComboBoxInput" + std::to_string(input));
        std::vector<std::string> texts;
        for (int i = 0; i < list->ItemCount(); ++i) texts.push_back(list->ItemText(i));
        return texts;
    }
};

}  // namespace

TEST_F(InputsPage, EachInputOffersItsFunctionsInListOrder)
{
    EXPECT_EQ(items(6), (std::vector<std::string>{"Off", "Sidestand blockning", "Kill switch"}));
    EXPECT_EQ(items(7), (std::vector<std::string>{"Off", "Fall sensor"}));
    const std::vector<std::string> first = items(1);
    ASSERT_GE(first.size(), 5u);
    EXPECT_EQ(first[2], "Quickshift down");
    EXPECT_EQ(first[3], "Quickshift analog");  // id 14, listed right after id 2
    EXPECT_EQ(first.back(), "Start button");
    EXPECT_EQ(std::count(first.begin(), first.end(), "Oil pressure"), 1);
    EXPECT_EQ(std::count_if(first.begin(), first.end(), [](const std::string& t) { return t == "Clutch"; }), 0);
    EXPECT_EQ(items(2).size() + 1, first.size());  // input 2 has no oil pressure
    // The inputs' names carry their pins in every language.
    SetLanguageIndex(LNG_CZECH);
    RefreshPageCaptions(w);
    EXPECT_EQ(Control<TLabel>(w, "LabelInput3")->Caption(), "Multifunkční vstup 3 (pin 7)");
    SetLanguageIndex(LNG_ENGLISH);
    RefreshPageCaptions(w);
    EXPECT_EQ(Control<TLabel>(w, "LabelInput4")->Caption(), "Multifunction input 4 (pin 25)");
}

TEST_F(InputsPage, ALanguageChangeKeepsEachSelectionAtItsPlace)
{
    set({{3836, 14}, {3841, 10}});
    SetLanguageIndex(LNG_GERMAN);
    RefreshPageCaptions(w);
    EXPECT_EQ(Control<TComboBox>(w, "ComboBoxInput1")->Text(), "Wechsel analog");
    EXPECT_EQ(Control<TComboBox>(w, "ComboBoxInput6")->Text(), "Not Aus");
    EXPECT_EQ(commits, 0);
    SetLanguageIndex(LNG_ENGLISH);
    RefreshPageCaptions(w);
    StoreCurrentPage(w);
    EXPECT_EQ(image()[3836], 14);
    EXPECT_EQ(image()[3841], 10);
}

TEST_F(InputsPage, ThePolarityBoxIsOfferedForFunctionsThatHaveAPolarity)
{
    const std::pair<int, bool> functions[] = {{0, false}, {1, true}, {13, false}, {23, false}, {18, true}};
    for (auto [function, offered] : functions) {
        set({{3836, function}});
        EXPECT_EQ(Shown(w, "CheckBoxInverseInput1"), offered) << function;
    }
    // Input 3 ticked clears bit 2 alone; bit 7 stays.
    set({{3838, 1}, {3844, 0xFF}});
    Tick(w, "CheckBoxInverseInput3", true);
    EXPECT_EQ(image()[3844], 0xFB);
    EXPECT_EQ(commits, 1);
}

TEST_F(InputsPage, AFunctionNoListOffersIsKeptWhenThePageIsStored)
{
    // Function 23 (K-Line) is offered on no input; 19 not on input 6.
    set({{3836, 23}, {3841, 19}});
    EXPECT_EQ(Control<TComboBox>(w, "ComboBoxInput1")->ItemIndex(), -1);
    Choose(w, "ComboBoxInput2", 1);
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(image()[3837], 1);
    EXPECT_EQ(image()[3836], 23);
    EXPECT_EQ(image()[3841], 19);
}

TEST_F(InputsPage, N2OIsAvailableWithAnInputAndPowerOutput2)
{
    struct Case
    {
        const char* name;
        std::initializer_list<std::pair<int, int>> settings;
        bool available;
        const char* input;
        TColor inputColour;
        const char* output;
        TColor outputColour;
    };
    const Case cases[] = {
        {"output set, no input", {{4445, 4}}, false, "Input: Select some input to allow N2O function", clYellow,
         "Output: Power Out2 = N2O", clBtnFace},
        {"two inputs: the higher one is named", {{3837, 12}, {3840, 12}, {4445, 4}}, true,
         "Input: Multifunction input 5 (pin 24)", clBtnFace, "Output: Power Out2 = N2O", clBtnFace},
        {"input set, output not", {{3836, 12}, {4445, 3}}, false, "Input: Multifunction input 1 (pin 50)",
         clBtnFace, "Output: Select Power Out2 to allow N2O function", clYellow},
    };
    SetPage(PAGE_N2O);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 3836; i <= 3842; ++i) image()[std::size_t(i)] = 0;
        set(c.settings);
        auto* input = Control<TLabel>(w, "LabelN2O_Input");
        auto* output = Control<TLabel>(w, "LabelN2O_Output");
        EXPECT_EQ(input->Caption(), c.input);
        EXPECT_EQ(input->Color(), c.inputColour);
        EXPECT_EQ(output->Caption(), c.output);
        EXPECT_EQ(output->Color(), c.outputColour);
        for (const char* name : {"EditGas1", "UpDownRetardT", "LabelN2O_TPSmin", "EditN2O_RPMmin"})
            EXPECT_EQ(Control<TControl>(w, name)->Enabled(), c.available) << name;
        EXPECT_EQ(Control<TGroupBox>(w, "GroupBoxGas")->FontColor(), c.available ? clBlack : clGray);
    }
}

TEST_F(InputsPage, OilPressureShowsWithAnInputForIt)
{
    SetPage(PAGE_INPUTS);
    set({{3836, 0}});
    EXPECT_FALSE(Shown(w, "LabelMonOilPressure"));
    Choose(w, "ComboBoxInput1", FindComboTag(Control<TComboBox>(w, "ComboBoxInput1"), 18));
    EXPECT_EQ(image()[3836], 18);
    EXPECT_TRUE(Shown(w, "LabelMonOilPressure"));
    Choose(w, "ComboBoxInput1", 0);
    EXPECT_FALSE(Shown(w, "LabelMonOilPressure"));
}
