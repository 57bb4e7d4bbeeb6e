// The inputs page: the function of each of the unit's seven multifunction inputs and whether it acts when
// grounded. One row per input: its name and pin, the function, the polarity, and the live state.
#include "pages/inputspage.h"

#include <cstdio>

#include "os/lngtext.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/cruisepage.h"
#include "pages/modules.h"
#include "pages/oilpage.h"
#include "pages/pages.h"

namespace {

// clang-format off
constexpr ControlRow kInputsLayout[] = {
    // name                     kind                    parent            left  top width height caption
    {"LabelInput1",             ControlKind::Label,     "TabSheet_Input",   16,  19, 240, 17, "Multifunction input 1 (pin 50)"},
    {"ComboBoxInput1",          ControlKind::ComboBox,  "TabSheet_Input",  264,  16, 230, 23},
    {"CheckBoxInverseInput1",   ControlKind::CheckBox,  "TabSheet_Input",  510,  17, 190, 21, "Activation by grounding"},
    {"LabelMonInput1In",        ControlKind::Label,     "TabSheet_Input",  708,  19, 140, 17, "Input = ---"},
    {"LabelInput2",             ControlKind::Label,     "TabSheet_Input",   16,  53, 240, 17, "Multifunction input 2 (pin 51)"},
    {"ComboBoxInput2",          ControlKind::ComboBox,  "TabSheet_Input",  264,  50, 230, 23},
    {"CheckBoxInverseInput2",   ControlKind::CheckBox,  "TabSheet_Input",  510,  51, 190, 21, "Activation by grounding"},
    {"LabelMonInput2In",        ControlKind::Label,     "TabSheet_Input",  708,  53, 140, 17, "Input = ---"},
    {"LabelInput3",             ControlKind::Label,     "TabSheet_Input",   16,  87, 240, 17, "Multifunction input 3 (pin 7)"},
    {"ComboBoxInput3",          ControlKind::ComboBox,  "TabSheet_Input",  264,  84, 230, 23},
    {"CheckBoxInverseInput3",   ControlKind::CheckBox,  "TabSheet_Input",  510,  85, 190, 21, "Activation by grounding"},
    {"LabelMonInput3In",        ControlKind::Label,     "TabSheet_Input",  708,  87, 140, 17, "Input = ---"},
    {"LabelInput4",             ControlKind::Label,     "TabSheet_Input",   16, 121, 240, 17, "Multifunction input 4 (pin 25)"},
    {"ComboBoxInput4",          ControlKind::ComboBox,  "TabSheet_Input",  264, 118, 230, 23},
    {"CheckBoxInverseInput4",   ControlKind::CheckBox,  "TabSheet_Input",  510, 119, 190, 21, "Activation by grounding"},
    {"LabelMonInput4In",        ControlKind::Label,     "TabSheet_Input",  708, 121, 140, 17, "Input = ---"},
    {"LabelInput5",             ControlKind::Label,     "TabSheet_Input",   16, 155, 240, 17, "Multifunction input 5 (pin 24)"},
    {"ComboBoxInput5",          ControlKind::ComboBox,  "TabSheet_Input",  264, 152, 230, 23},
    {"CheckBoxInverseInput5",   ControlKind::CheckBox,  "TabSheet_Input",  510, 153, 190, 21, "Activation by grounding"},
    {"LabelMonInput5In",        ControlKind::Label,     "TabSheet_Input",  708, 155, 140, 17, "Input = ---"},
    {"LabelInput6",             ControlKind::Label,     "TabSheet_Input",   16, 189, 240, 17, "Multifunction input 6 (pin 6)"},
    {"ComboBoxInput6",          ControlKind::ComboBox,  "TabSheet_Input",  264, 186, 230, 23},
    {"CheckBoxInverseInput6",   ControlKind::CheckBox,  "TabSheet_Input",  510, 187, 190, 21, "Activation by grounding"},
    {"LabelMonInput6In",        ControlKind::Label,     "TabSheet_Input",  708, 189, 140, 17, "Input = ---"},
    {"LabelInput7",             ControlKind::Label,     "TabSheet_Input",   16, 223, 240, 17, "Multifunction input 7 (pin 26)"},
    {"ComboBoxInput7",          ControlKind::ComboBox,  "TabSheet_Input",  264, 220, 230, 23},
    {"CheckBoxInverseInput7",   ControlKind::CheckBox,  "TabSheet_Input",  510, 221, 190, 21, "Activation by grounding"},
    {"LabelMonInput7In",        ControlKind::Label,     "TabSheet_Input",  708, 223, 140, 17, "Input = ---"},
};

// The function lists are bound by tag; the polarity bits are stored by the page itself.
constexpr FieldBinding kInputsBindings[] = {
    {"ComboBoxInput1", Bind::ComboTag, kInputFunctionByte + 0},
    {"ComboBoxInput2", Bind::ComboTag, kInputFunctionByte + 1},
    {"ComboBoxInput3", Bind::ComboTag, kInputFunctionByte + 2},
    {"ComboBoxInput4", Bind::ComboTag, kInputFunctionByte + 3},
    {"ComboBoxInput5", Bind::ComboTag, kInputFunctionByte + 4},
    {"ComboBoxInput6", Bind::ComboTag, kInputFunctionByte + 5},
    {"ComboBoxInput7", Bind::ComboTag, kInputFunctionByte + 6},
};

constexpr InputFunction kFunctions[] = {
    {0,  false, 0,  "###Off##Aus##Vypnut"},
    {1,  true,  1,  "###Quickshift up##Wechsel auf##Rychlořazení nahoru"},
    {2,  true,  2,  "###Quickshift down##Wechsel unten##Rychlořazení dolů"},
    {14, true,  3,  "###Quickshift analog##Wechsel analog##Rychlořazení analog"},
    {15, true,  4,  "###Quickshift blocking##Wechsel block##Rychlořazení blokování"},
    {3,  true,  5,  "###Start limiter##Startbegrenzer##Startovací omezovač"},
    {4,  true,  6,  "###2nd advance chart##2.Vorzündung mappe##2. mapa předstihu"},
    {5,  true,  7,  "Tacho/AFR"},
    {6,  true,  8,  "Tacho/AFR + autotuning"},
    {7,  true,  9,  "Autotuning"},
    {8,  true,  10, "###Blocking tracking control####Blokování trakční kontroly"},
    {9,  true,  11, "###Sidestand blockning##Seitenständer Blockierung##Blokování boč. stojánkem"},
    {10, true,  12, "###Kill switch##Not Aus##Kill switch"},
    {11, true,  13, "###Fall sensor##Fallsensor##Pádový sensor"},
    {12, true,  14, "N2O"},
    {13, false, 15, "###Fuel sensor##Kraftstoffsensor##Palivový sensor"},
    {16, true,  16, "###Signal of brake##Bremssignal##Signál brzdy"},
    {17, true,  17, "###Tempomat##Tempomat##Tempomat"},
    {18, true,  18, "###Oil pressure##Öldruck##Tlak oleje"},
    {19, true,  20, "###Clutch##Kupplung##Spojka"},
    {20, true,  21, "###Potentiometer##Potentiometer##Potenciometr"},
    {21, true,  22, "###Gear##Gang##Rychlostní stupeň"},
    {22, true,  23, "###Neutral##Neutral##Neutrál"},
    {23, false, 24, "K-Line"},
    {24, true,  25, "###Start button##Start Knopf##Startovací tlačítko"},
};
// clang-format on

constexpr std::uint32_t kMasks[kInputCount] = {0x0107F1FF, 0x0103F1FF, 0x010191FF, 0x010191FF,
                                               0x010191FF, 0x00000601, 0x00000801};
// Connector pins of inputs 1..7.
constexpr int kPins[kInputCount] = {50, 51, 7, 25, 24, 6, 26};
constexpr int kLastListOrder = 30;

constexpr CaptionRow kInputsCaptions[] = {
    {"CheckBoxInverseInput1", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
    {"CheckBoxInverseInput2", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
    {"CheckBoxInverseInput3", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
    {"CheckBoxInverseInput4", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
    {"CheckBoxInverseInput5", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
    {"CheckBoxInverseInput6", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
    {"CheckBoxInverseInput7", {"Activation by grounding", "Aktierung durch Erdung", "Aktivace uzemněním"}},
};

std::string numbered(std::string_view stem, int n, std::string_view tail = {})
{
    return std::string(stem) + std::to_string(n) + std::string(tail);
}

TComboBox* functionList(TPageForm& w, int input)
{
    return FindControl<TComboBox>(w, numbered("ComboBoxInput", input));
}

TCheckBox* polarityBox(TPageForm& w, int input)
{
    return FindControl<TCheckBox>(w, numbered("CheckBoxInverseInput", input));
}

// The polarity box is offered only for a function that every table row of its id says takes it.
bool polarityApplies(int function)
{
    for (const InputFunction& row : kFunctions)
        if (row.id == function && !row.polarity) return false;
    return true;
}

void BuildInputsPage(TPageForm& w)
{
    for (int n = 1; n <= kInputCount; ++n)
        if (auto* state = FindControl<TLabel>(w, numbered("LabelMonInput", n, "In"))) state->SetTransparent(false);
    InputsPageCaptions(w);
}

}  // namespace

std::span<const InputFunction> InputFunctions()
{
    return kFunctions;
}

std::uint32_t InputFunctionMask(int input)
{
    return input >= 1 && input <= kInputCount ? kMasks[input - 1] : 0;
}

std::string MultifunctionInputName(int input)
{
    if (input < 1 || input > kInputCount) return {};
    char tail[32];
    std::snprintf(tail, sizeof tail, "%i (pin %i)", input, kPins[input - 1]);
    return std::string(GetLngText("###Multifunction input##Multifunktionseingang##Multifunkční vstup")) + " " + tail;
}

bool AnyInputHas(const Image& image, int function, bool withEighth)
{
    const int count = withEighth ? kInputCount + 1 : kInputCount;
    for (int i = 0; i < count; ++i)
        if (image[std::size_t(kInputFunctionByte + i)] == function) return true;
    return false;
}

void InputsPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kInputsCaptions);
    const SettingGuard guard(w);
    for (int n = 1; n <= kInputCount; ++n) {
        if (auto* title = FindControl<TLabel>(w, numbered("LabelInput", n))) title->SetCaption(MultifunctionInputName(n));
        TComboBox* list = functionList(w, n);
        if (!list) continue;
        // The lists are the same in every language: the selection stays at its place.
        const int selected = ClearComboItems(list);
        for (int order = 0; order <= kLastListOrder; ++order)
            for (const InputFunction& row : kFunctions) {
                if (row.order != order) continue;
                if ((kMasks[n - 1] >> row.id) & 1u) AddComboItem(list, GetLngText(row.caption), row.id);
                break;
            }
        list->SetItemIndex(selected);
    }
}

void StoreInputsPage(TPageForm& w)
{
    StoreBindings(w, PAGE_INPUTS);
    std::uint8_t& bits = w.images.image[kInputPolarityByte];
    for (int n = 1; n <= kInputCount; ++n) {
        const TCheckBox* box = polarityBox(w, n);
        if (!box) continue;
        const auto bit = static_cast<std::uint8_t>(1u << (n - 1));
        bits = box->Checked() ? std::uint8_t(bits & ~bit) : std::uint8_t(bits | bit);
    }
}

void ShowInputsPage(TPageForm& w)
{
    ShowBindings(w, PAGE_INPUTS);
    const int bits = w.images.image[kInputPolarityByte];
    for (int n = 1; n <= kInputCount; ++n) SetCheckQuiet(w, polarityBox(w, n), ((bits >> (n - 1)) & 1) == 0);
    InputsPageLayout(w);
    if (w.initialised) {
        TempomatTabRule(w);
        OilPressureVisibility(w);
    }
}

void InputsPageLayout(TPageForm& w)
{
    for (int n = 1; n <= kInputCount; ++n) {
        const bool offered = kMasks[n - 1] != 0;
        for (const std::string& name : {numbered("ComboBoxInput", n), numbered("LabelInput", n),
                                        numbered("LabelMonInput", n, "In")})
            if (auto* control = FindControl<TControl>(w, name)) control->SetVisible(offered);
        const int function = w.images.image[std::size_t(kInputFunctionByte + n - 1)];
        if (TCheckBox* box = polarityBox(w, n)) box->SetVisible(offered && function != 0 && polarityApplies(function));
    }
}

extern const PageModule kInputsPage{
    .sheetName = "TabSheet_Input",
    .caption = "Input",
    .layout = kInputsLayout,
    .bindings = kInputsBindings,
    .build = BuildInputsPage,
    .store = StoreInputsPage,
    .show = ShowInputsPage,
    .captions = InputsPageCaptions,
};
