// The injection page: one map editor with the four injector maps over RPM and throttle, the throttle
// compensation, injector B's share, the map over RPM and intake pressure and its compensation; around it the
// transition from the pressure map to the throttle maps, a correction per cylinder, the compensation settings and
// the use of injector B, shown by the sheet the editor shows. The injection modes (Normal, Coupled, 1=2=3=4) couple
// the four injector maps.
#include "pages/injectionpage.h"

#include <algorithm>
#include <string>

#include "mapeditor/sheetsync.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/mapgrids.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/pagetext.h"
#include "pages/poweroutpage.h"
#include "vcl/image.h"

namespace {

constexpr int kColumns = 20, kRows = 10;
constexpr int kInjectorRpm = 3097;  // RPM points of injector maps 1-4, 20 bytes each; then B (3177), IAP (3197)
constexpr int kBRpm = 3177;
constexpr int kIapRpm = 3197;
constexpr int kIapAxisWords = 1021;  // 10 intake pressure points, shared by the pressure maps and injector B
constexpr int kBAdds = 3832;
constexpr int kCompLimit = 3833;
constexpr int kCorrectResult = 3834;
constexpr int kBStepper = 4892;
constexpr int kBLoad = 4893;
constexpr int kChannels = 2680;
constexpr int kMessageMoveAll = 232;
constexpr int kMessageMoveTp = 233;
constexpr int kCoupledGroup = 1;

// The map leaves two rows under it; the two radio groups share a place at the right of both rows.
constexpr int kMapTop = 4;
constexpr int kMapHeight = kDesignPageHeight - 62;
constexpr int kRowA = kDesignPageHeight - 54;
constexpr int kRowB = kDesignPageHeight - 27;
constexpr int kGroupLeft = kDesignPageWidth - 120;

// clang-format off
constexpr ControlRow kInjectionLayout[] = {
    // name                          kind                      parent                left top        width height caption
    {"ImageInjMode",                 ControlKind::Image,       "TabSheet_Injection",  10, kRowA,      128, 24},
    // throttle maps
    {"LabelInjPressure",             ControlKind::Label,       "TabSheet_Injection",   0, kRowA + 4,  100, 17, "Pressure"},
    {"LabelInjCompensationBy",       ControlKind::Label,       "TabSheet_Injection",   0, kRowB + 4,  100, 17, "compensation by:"},
    {"RadioGroupInjPressure",        ControlKind::RadioGroup,  "TabSheet_Injection", kGroupLeft, kRowA, 110, 48},
    {"LabelInjIapTp",                ControlKind::Label,       "TabSheet_Injection",  10, kRowB + 4,   60, 17, "IAP -> TP:"},
    {"EditInjTpMin",                 ControlKind::Edit,        "TabSheet_Injection",   0, kRowB + 2,   30, 21},
    {"UpDownInjTpMin",               ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjTpMin"},
    {"LabelInjTpMin",                ControlKind::Label,       "TabSheet_Injection",   0, kRowB + 4,   40, 17, "TP min"},
    {"EditInjTpMax",                 ControlKind::Edit,        "TabSheet_Injection",   0, kRowB + 2,   30, 21},
    {"UpDownInjTpMax",               ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjTpMax"},
    {"LabelInjTpMax",                ControlKind::Label,       "TabSheet_Injection",   0, kRowB + 4,   40, 17, "TP max"},
    {"EditInjRpmMin",                ControlKind::Edit,        "TabSheet_Injection",   0, kRowB + 2,   40, 21},
    {"UpDownInjRpmMin",              ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjRpmMin"},
    {"LabelInjRpmMin",               ControlKind::Label,       "TabSheet_Injection",   0, kRowB + 4,   40, 17, "RPM min"},
    {"EditInjRpmMax",                ControlKind::Edit,        "TabSheet_Injection",   0, kRowB + 2,   40, 21},
    {"UpDownInjRpmMax",              ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjRpmMax"},
    {"LabelInjRpmMax",               ControlKind::Label,       "TabSheet_Injection",   0, kRowB + 4,   40, 17, "RPM max"},
    // compensation tables
    {"ButtonInjResetCor",            ControlKind::Button,      "TabSheet_Injection", 150, kRowA,      100, 24, "Reset cor."},
    {"ButtonInjMoveCor",             ControlKind::Button,      "TabSheet_Injection", 258, kRowA,      190, 24, "Move TP+IAP cor. to tab."},
    {"CheckBoxInjResetAfterStart",   ControlKind::CheckBox,    "TabSheet_Injection", 456, kRowA + 2,  200, 21, "Reset cor. after start"},
    {"EditInjCompLimit",             ControlKind::Edit,        "TabSheet_Injection",  10, kRowB + 2,   30, 21},
    {"UpDownInjCompLimit",           ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjCompLimit"},
    {"LabelInjCompLimit",            ControlKind::Label,       "TabSheet_Injection",  60, kRowB + 4,  180, 17, "Compensation limit [+/- %]"},
    {"CheckBoxInjCorrectResult",     ControlKind::CheckBox,    "TabSheet_Injection", 260, kRowB + 2,  300, 21, "Correct the resulting injection time"},
    // injector B
    {"RadioButtonInjBSplits",        ControlKind::RadioButton, "TabSheet_Injection", 150, kRowA + 2,  100, 21, "B splits"},
    {"RadioButtonInjBAdds",          ControlKind::RadioButton, "TabSheet_Injection", 258, kRowA + 2,  100, 21, "B adds"},
    {"CheckBoxInjBCorrections",      ControlKind::CheckBox,    "TabSheet_Injection", 366, kRowA + 2,  200, 21, "include corrections"},
    {"CheckBoxInjBStepper",          ControlKind::CheckBox,    "TabSheet_Injection", 150, kRowB + 2,  260, 21, "use for stepper motor (idle)"},
    {"RadioGroupInjBLoad",           ControlKind::RadioGroup,  "TabSheet_Injection", kGroupLeft, kRowA, 110, 48},
    // pressure map
    {"EditInjCyl1",                  ControlKind::Edit,        "TabSheet_Injection",  10, kRowB + 2,   40, 21},
    {"UpDownInjCyl1",                ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjCyl1"},
    {"EditInjCyl2",                  ControlKind::Edit,        "TabSheet_Injection",  70, kRowB + 2,   40, 21},
    {"UpDownInjCyl2",                ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjCyl2"},
    {"EditInjCyl3",                  ControlKind::Edit,        "TabSheet_Injection", 130, kRowB + 2,   40, 21},
    {"UpDownInjCyl3",                ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjCyl3"},
    {"EditInjCyl4",                  ControlKind::Edit,        "TabSheet_Injection", 190, kRowB + 2,   40, 21},
    {"UpDownInjCyl4",                ControlKind::UpDown,      "TabSheet_Injection",   0, 0,           16, 21, {}, "EditInjCyl4"},
    {"LabelInjCylinders",            ControlKind::Label,       "TabSheet_Injection", 250, kRowB + 4,  100, 17, "Correction for cylinder 1,2,3,4"},
};

constexpr FieldBinding kInjectionBindings[] = {
    // control                    kind         address index scale offset min  max    incr
    {"UpDownInjTpMin",            Bind::Byte,  3818,   0,    1,    0,     0,   101,   1},
    {"UpDownInjTpMax",            Bind::Byte,  3819,   0,    1,    0,     0,   101,   1},
    {"UpDownInjRpmMin",           Bind::Byte,  3820,   0,    100,  0,     0, 25000, 100},
    {"UpDownInjRpmMax",           Bind::Byte,  3821,   0,    100,  0,     0, 25000, 100},
    {"UpDownInjCyl1",             Bind::Byte,  3828,   0,    1,    0,     0,   250,   1},
    {"UpDownInjCyl2",             Bind::Byte,  3829,   0,    1,    0,     0,   250,   1},
    {"UpDownInjCyl3",             Bind::Byte,  3830,   0,    1,    0,     0,   250,   1},
    {"UpDownInjCyl4",             Bind::Byte,  3831,   0,    1,    0,     0,   250,   1},
    {"UpDownInjCompLimit",        Bind::Byte,  3833,   0,    1,    0,     0,   150,   1},
    {"CheckBoxInjCorrectResult",  Bind::Check, 3834},
    {"RadioGroupInjPressure",     Bind::Radio, 3835},
    {"CheckBoxInjBCorrections",   Bind::Check, 4891},
    {"CheckBoxInjBStepper",       Bind::Check, 4892},
    {"RadioGroupInjBLoad",        Bind::Radio, 4893},
};

constexpr AxisSetup rpmAxis(bool editable, int collapsePos)
{
    return {.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps, .editable = editable ? 1 : 0,
            .count = kColumns, .collapseOption = 0, .resizable = editable ? 1 : 0, .collapsePos = collapsePos,
            .scaleGroup = 0x100, .colour = 0xFCF2E4};
}
constexpr AxisSetup kTpAxisSetup{.name = "TP", .unit = "%", .min = 0, .max = 100, .editable = 0, .count = kRows,
                                 .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast,
                                 .scaleGroup = 0x100, .colour = 0xFCF2E4};
constexpr AxisSetup iapAxis(bool editable)
{
    return {.name = "IAP", .unit = "kPa", .min = 0, .max = 500, .editable = editable ? 1 : 0, .count = kRows,
            .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast, .colour = 0xFFEEEE};
}
constexpr AxisSetup kInjData{.name = "INJ", .unit = "ms", .min = 0, .max = 655350, .scale = 0.0001,
                             .steps = kInjectionTimeSteps, .scaleGroup = 0x100, .colour = 0xFCF2E4};
constexpr AxisSetup kCompData{.name = "CMP", .unit = "%", .min = 1, .max = 250, .steps = kPercentSteps,
                              .colour = 0xFCF2E4};
constexpr AxisSetup kBData{.name = "INJB", .unit = "%", .min = 0, .max = 100, .steps = kPercentSteps,
                           .colour = 0xFCF2E4};

constexpr SheetSpec kInjectionSheets[] = {
    {"Inj. 1", "RPM", "TP", "Injection", kColumns, kRows, 0x14641, rpmAxis(true, kCollapseFirst), kTpAxisSetup, kInjData},
    {"Inj. 2", "RPM", "TP", "Injection", kColumns, kRows, 0x14641, rpmAxis(true, kCollapseFirst), kTpAxisSetup, kInjData},
    {"Inj. 3", "RPM", "TP", "Injection", kColumns, kRows, 0x14641, rpmAxis(true, kCollapseFirst), kTpAxisSetup, kInjData},
    {"Inj. 4", "RPM", "TP", "Injection", kColumns, kRows, 0x14641, rpmAxis(true, kCollapseFirst), kTpAxisSetup, kInjData},
    {"Comp. TP", "RPM", "TP", "Injection", kColumns, kRows, 0x4601, rpmAxis(false, kCollapseFirst), kTpAxisSetup, kCompData},
    {"Inj. B", "RPM", "TP", "Injection", kColumns, kRows, 0x4601, rpmAxis(true, kCollapseFirst), kTpAxisSetup, kBData},
    {"Inj. IAP", "RPM", "IAP", "Injection", kColumns, kRows, 0x4641, rpmAxis(true, kCollapseLast), iapAxis(true), kInjData},
    {"Comp. IAP", "RPM", "IAP", "Injection", kColumns, kRows, 0x4601, rpmAxis(false, kCollapseLast), iapAxis(false), kCompData},
};

// The mode picture's texts by channel count (2, 3, 4) in Coupled mode and in 1=2=3=4.
constexpr std::string_view kCoupledTexts[] = {"1 -> 2", "1 -> 2,3", "1 -> 2,3,4"};
constexpr std::string_view kUnitedTexts[] = {"1 = 2", "1 = 2 = 3", "1 = 2 = 3 = 4"};
// clang-format on

// Which controls each kind of sheet shows.
enum SheetClass : unsigned {
    kClassTp = 1,         // injector maps 1-4
    kClassCompTp = 2,
    kClassB = 4,
    kClassIap = 8,
    kClassCompIap = 16,
    kClassComp = kClassCompTp | kClassCompIap,
};
struct Visibility
{
    std::string_view control;
    unsigned classes;
};
constexpr Visibility kVisibility[] = {
    {"LabelInjPressure", kClassTp},          {"LabelInjCompensationBy", kClassTp},
    {"RadioGroupInjPressure", kClassTp},     {"LabelInjIapTp", kClassTp},
    {"EditInjTpMin", kClassTp},              {"UpDownInjTpMin", kClassTp},
    {"LabelInjTpMin", kClassTp},             {"EditInjTpMax", kClassTp},
    {"UpDownInjTpMax", kClassTp},            {"LabelInjTpMax", kClassTp},
    {"EditInjRpmMin", kClassTp},             {"UpDownInjRpmMin", kClassTp},
    {"LabelInjRpmMin", kClassTp},            {"EditInjRpmMax", kClassTp},
    {"UpDownInjRpmMax", kClassTp},           {"LabelInjRpmMax", kClassTp},
    {"ButtonInjResetCor", kClassComp},       {"CheckBoxInjResetAfterStart", kClassComp},
    {"EditInjCompLimit", kClassComp},        {"UpDownInjCompLimit", kClassComp},
    {"LabelInjCompLimit", kClassComp},       {"CheckBoxInjCorrectResult", kClassCompIap},
    {"CheckBoxInjBStepper", kClassB},        {"LabelInjCylinders", kClassIap},
};
// Shown on the injector B sheet only while B does not drive the idle stepper motor.
constexpr std::string_view kBGroup[] = {"RadioButtonInjBSplits", "RadioButtonInjBAdds", "CheckBoxInjBCorrections",
                                        "RadioGroupInjBLoad"};

// RPM point tables and count bytes of the sheets (0 none; the compensation tables use their map's).
struct SheetTables
{
    int rpm;     // RPM point bytes shown on the sheet
    int count;   // its count byte
    bool ownRpm; // the sheet's store writes its RPM points
};
constexpr SheetTables kTables[] = {
    {kInjectorRpm, 3822, true},      {kInjectorRpm + 20, 3823, true}, {kInjectorRpm + 40, 3824, true},
    {kInjectorRpm + 60, 3825, true}, {kInjectorRpm, 3822, false},     {kBRpm, 3826, true},
    {kIapRpm, 3827, true},           {kIapRpm, 3827, false},
};

constexpr int kInjectionEditors[] = {kInjectionEditorId};

TTab* editor(TPageForm& w)
{
    TTab* tab = MapEditor(w, kInjectionEditorId);
    return tab && tab->sheetCount == int(std::size(kInjectionSheets)) ? tab : nullptr;
}

int mode(const TPageForm& w)
{
    return w.images.image[kImageInjectionMode];
}

int pointCount(int stored)
{
    return stored == 0 || stored > kColumns ? kColumns : stored;
}

std::string message(TPageForm& w, int index)
{
    return w.pageHooks.message ? w.pageHooks.message(index) : std::string();
}

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (auto* c = FindControl<TControl>(w, name)) c->SetVisible(visible);
}

// X of each control after the labels before it (they follow the language), so that nothing covers a caption.
void placeControls(TPageForm& w)
{
    int x = 10;
    auto label = [&](std::string_view name, int gapAfter) {
        if (auto* l = FindControl<TLabel>(w, name)) {
            l->SetLeft(x);
            x = l->Left() + l->Width() + gapAfter;
        }
    };
    auto pair = [&](std::string_view upDownName, int editWidth) {
        if (auto* upDown = FindControl<TUpDown>(w, upDownName)) {
            PlaceEditPair(upDown, x, kRowB + 2, upDown->Min(), upDown->Max(), upDown->Increment(), editWidth);
            x += editWidth + 20;
        }
    };
    label("LabelInjIapTp", 15);
    pair("UpDownInjTpMin", 30);
    label("LabelInjTpMin", 15);
    pair("UpDownInjTpMax", 30);
    label("LabelInjTpMax", 15);
    pair("UpDownInjRpmMin", 40);
    label("LabelInjRpmMin", 15);
    pair("UpDownInjRpmMax", 40);
    label("LabelInjRpmMax", 0);
    // The two words of the pressure group's caption end 5 px left of it, one above the other.
    auto* by = FindControl<TLabel>(w, "LabelInjCompensationBy");
    auto* pressure = FindControl<TLabel>(w, "LabelInjPressure");
    if (by && pressure) {
        by->SetLeft(kGroupLeft - by->Width() - 5);
        pressure->SetLeft(by->Left());
    }
    x = 10;
    pair("UpDownInjCompLimit", 30);
    label("LabelInjCompLimit", 20);
    if (auto* check = FindControl<TCheckBox>(w, "CheckBoxInjCorrectResult")) check->SetLeft(x);
}

// The injector maps' look: green for the four injector maps and injector B, blue for the others.
void SetInjectionSheetLook(TPageForm& w)
{
    TTab* tab = editor(w);
    if (!tab) return;
    const TBitmap* green = SharedPicture("BGINJG");
    const TBitmap* blue = SharedPicture("BGINJB");
    for (int s = 0; s <= kInjSheetB; ++s) {
        CSheet& sheet = tab->sheets[std::size_t(s)];
        const bool isGreen = s != kInjSheetCompTp;
        const TColor colour = isGreen ? 0xF4FEE4 : 0xFCF2E4;
        sheet.x.colour = sheet.data.colour = colour;
        sheet.y.colour = s == kInjSheetB ? 0xFFEEEE : colour;
        sheet.x.picture = sheet.y.picture = nullptr;
        sheet.data.picture = isGreen ? green : blue;
    }
    for (int s = kInjSheetIap; s <= kInjSheetCompIap; ++s) tab->sheets[std::size_t(s)].data.picture = blue;
}

unsigned sheetClass(int sheet)
{
    switch (sheet) {
        case kInjSheetCompTp:
            return kClassCompTp;
        case kInjSheetB:
            return kClassB;
        case kInjSheetIap:
            return kClassIap;
        case kInjSheetCompIap:
            return kClassCompIap;
        default:
            return kClassTp;
    }
}

void drawModePicture(TPageForm& w, int current)
{
    auto* picture = FindControl<TImage>(w, "ImageInjMode");
    if (!picture) return;
    const Image& image = w.images.image;
    const bool stepperShown = image[kBStepper] != 0 && current == kInjSheetB;
    const std::string_view text = stepperShown ? std::string_view() : InjectionModeText(mode(w), image[kChannels]);
    picture->SetVisible(!text.empty());
    if (text.empty()) return;
    TCanvas& c = picture->Canvas();
    c.Brush.Color = mode(w) == 1 ? 0x00FFFF : 0xFFFF00;
    c.Brush.Style = bsSolid;
    c.FillRect({0, 0, picture->Width(), picture->Height()});
    c.Font.Size = 9;
    c.Font.Color = clBlack;
    c.TextOut((picture->Width() - c.TextWidth(text)) / 2, (picture->Height() - c.TextHeight(text)) / 2, text);
    c.Release();
    picture->Repaint();
}

// What the injection mode does to the injector sheets.
void modeLayout(TPageForm& w, TTab& tab)
{
    const Image& image = w.images.image;
    if (w.pageHooks.checkMenuItem) {
        w.pageHooks.checkMenuItem("Menu_Jet123Normal", mode(w) == 0);
        w.pageHooks.checkMenuItem("Menu_Jet123Coupled", mode(w) == 1);
        w.pageHooks.checkMenuItem("Menu_Jet123Stejny", mode(w) == 2);
    }
    const int shown = mode(w) == 2 ? 1 : std::max<int>(1, image[kChannels]);
    for (int i = 0; i < kInjectorSheets; ++i) tab.sheets[std::size_t(i)].hidden = i >= shown ? 1 : 0;
    const char* title = shown != 1 ? "Inj. 1" : image[kChannels] > 1 ? "Injection TP united" : "Injection TP";
    if (tab.sheets[0].title != title) tab.SetSheetTitle(0, title);
    const bool coupled = mode(w) == 1;
    tab.sheets[0].leaderId = coupled ? kCoupledGroup : 0;
    for (int i = 1; i < kInjectorSheets; ++i) {
        CSheet& follower = tab.sheets[std::size_t(i)];
        follower.followerId = coupled ? kCoupledGroup : 0;
        follower.x.editable = follower.x.resizable = follower.data.editable = coupled ? 0 : 1;
    }
    for (int i = kInjectorSheets; i < tab.sheetCount; ++i) tab.sheets[std::size_t(i)].followerId = 0;
    drawModePicture(w, tab.current);
}

void showBSplit(TPageForm& w)
{
    const SettingGuard guard(w);
    const bool adds = w.images.image[kBAdds] != 0;
    if (auto* splits = FindControl<TRadioButton>(w, "RadioButtonInjBSplits")) splits->SetChecked(!adds);
    if (auto* add = FindControl<TRadioButton>(w, "RadioButtonInjBAdds")) add->SetChecked(adds);
}

// The page's fixed texts in English, German and Czech.
constexpr CaptionRow kInjectionCaptions[] = {
    {"TabSheet_Injection",         {"Injection", "Einspritzung", "Vstřik"}},
    {"LabelInjPressure",           {"Pressure", "Pressure", "Zdroj tlakové"}},
    {"LabelInjCompensationBy",     {"compensation by:", "compensation by:", "kompenzace:"}},
    {"ButtonInjResetCor",          {"Reset cor.", "Korr. löschen", "Nulovat kor."}},
    {"CheckBoxInjResetAfterStart", {"Reset cor. after start", "Korr. nach Start löschen", "Nulovat kor. po startu"}},
    {"LabelInjCompLimit",          {"Compensation limit [+/- %]", "Kompensationsgrenze [+/- %]", "Mez kompenzace [+/- %]"}},
    {"CheckBoxInjCorrectResult",   {"Correct the resulting injection time", "Resultierende Einspritzzeit korrigieren",
                                    "Korigovat výslednou dobu vstřiku"}},
    {"RadioButtonInjBSplits",      {"B splits", "B spaltungen", "B rozděluje"}},
    {"RadioButtonInjBAdds",        {"B adds", "B addiert", "B přidává"}},
    {"CheckBoxInjBCorrections",    {"include corrections", "mit Korrekturen", "včetně korekcí"}},
    {"CheckBoxInjBStepper",        {"use for stepper motor (idle)", "für Schrittmotor (Leerlauf)",
                                    "pro krokový motor (volnoběh)"}},
};

void InjectionPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kInjectionCaptions);
    if (auto* l = FindControl<TLabel>(w, "LabelInjCylinders")) l->SetCaption(CylinderCorrectionText(w.images.image));
    placeControls(w);
    InjectionPageLayout(w);
}

void InjectionMapChanged(TPageForm& w, int)
{
    if (TTab* tab = editor(w)) {
        CSheet& leader = tab->sheets[0];
        if (mode(w) == 1)
            for (int k = 1; k < kInjectorSheets; ++k) {
                CSheet& follower = tab->sheets[std::size_t(k)];
                FollowLeaderChange(leader, *w.injectionMemory, follower);
                tab->UpdateLimits(follower, kChangedData);
            }
        RememberLeader(leader, *w.injectionMemory);
    }
    CommitChangeNow(w);
}

void InjectionButtonClick(TPageForm& w, TObject* sender)
{
    if (sender == FindControl<TButton>(w, "ButtonInjMoveCor"))
        MoveCorrectionsToMaps(w, 3);
    else if (sender == FindControl<TButton>(w, "ButtonInjResetCor"))
        ResetInjectionCorrections(w, 3);
}

void BuildInjectionPage(TPageForm& w)
{
    for (const char* name : {"LabelInjIapTp", "LabelInjTpMin", "LabelInjTpMax", "LabelInjRpmMin", "LabelInjRpmMax",
                             "LabelInjCylinders", "LabelInjCompLimit", "LabelInjPressure", "LabelInjCompensationBy"})
        if (auto* l = FindControl<TLabel>(w, name)) l->SetAutoSize(true);
    for (const char* name : {"RadioGroupInjPressure", "RadioGroupInjBLoad"})
        if (auto* group = FindControl<TRadioGroup>(w, name)) {
            group->SetItems(SplitItemList(std::string_view(name) == "RadioGroupInjPressure" ? "AP,IAP" : "TP,IAP"));
            group->SetColumns(2);
        }
    for (const char* name : {"ButtonInjMoveCor", "ButtonInjResetCor"})
        if (auto* button = FindControl<TButton>(w, name))
            button->OnClick = [&w](TObject* sender) { InjectionButtonClick(w, sender); };
    // Stores nothing: the unit resets the corrections after a start by a rule of its own.
    if (auto* check = FindControl<TCheckBox>(w, "CheckBoxInjResetAfterStart")) check->OnClick = nullptr;
    TTab* tab = CreateMapEditor(w, kInjectionEditorId, kDesignPageWidth, kMapHeight,
                                kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D, w.tabSheets[PAGE_INJECTION]);
    if (tab) {
        tab->SetBounds(0, kMapTop, kDesignPageWidth, kMapHeight);
        AddSheets(*tab, kInjectionSheets);
        SetInjectionSheetLook(w);
        tab->SelectSheet(0);
    }
    InjectionPageCaptions(w);
    ShowInjectionPage(w);
}

// The four injector maps' counts of the page and the image bytes their tables continue from.
int countOf(const Image& image, int sheet)
{
    return pointCount(image[std::size_t(kTables[sheet].count)]);
}

}  // namespace

std::string_view InjectionModeText(int mode, int channels)
{
    if (mode != 1 && mode != 2) return {};
    if (channels < 2) return {};
    const int i = std::min(channels, 4) - 2;
    return mode == 1 ? kCoupledTexts[i] : kUnitedTexts[i];
}

void PadInjectionTables(TPageForm& w)
{
    Image& image = w.images.image;
    for (int s = 0; s < int(std::size(kTables)); ++s) {
        const int n = countOf(image, s);
        if (kTables[s].ownRpm)
            for (int j = n; j < kColumns; ++j) {
                // Points past the count go on in steps of 100 rpm, no higher than the axis allows.
                const int continued = image[std::size_t(kTables[s].rpm + n - 1)] + (j - n + 1);
                image[std::size_t(kTables[s].rpm + j)] = static_cast<std::uint8_t>(std::min(continued, 250));
            }
        PadGridColumns(w, kInjectionGrids[s], n);
    }
}

void ShowInjectionPage(TPageForm& w)
{
    PadInjectionTables(w);
    ShowBindings(w, PAGE_INJECTION);
    const Image& image = w.images.image;
    if (TTab* tab = editor(w)) {
        for (int s = 0; s < tab->sheetCount; ++s) {
            CSheet& sheet = tab->sheets[std::size_t(s)];
            const bool united = mode(w) == 2 && s < kInjectorSheets;
            sheet.x.count = kColumns;
            sheet.y.count = kRows;
            sheet.x.collapsed = sheet.y.collapsed = 0;
            const int rpm = united ? kInjectorRpm : kTables[s].rpm;
            for (int j = 0; j < kColumns; ++j) sheet.x.points[std::size_t(j)] = image[std::size_t(rpm + j)];
            GridBinding grid = kInjectionGrids[s];
            if (united) grid.address = kInjectionGrids[0].address;  // one map for all injectors
            ShowGrid(w, grid);
            const bool pressureAxis = s >= kInjSheetIap || (s == kInjSheetB && image[kBLoad] != 0);
            for (int j = 0; j < kRows; ++j)
                sheet.y.points[std::size_t(j)] = pressureAxis ? imageWord(image, kIapAxisWords + j) : kTpAxis[j];
            sheet.x.count = countOf(image, s);
        }
        RememberLeader(tab->sheets[0], *w.injectionMemory);
        tab->BuildSideBar();
        tab->dirty |= kDirtyRedraw | kDirtyRecompute;
    }
    showBSplit(w);
    InjectionPageLayout(w);
}

void StoreInjectionPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    StoreBindings(w, PAGE_INJECTION);
    if (TTab* tab = editor(w)) {
        for (int s = 0; s < tab->sheetCount; ++s) {
            const CSheet& sheet = tab->sheets[std::size_t(s)];
            if (kTables[s].ownRpm)
                for (int j = 0; j < kColumns; ++j)
                    image[std::size_t(kTables[s].rpm + j)] = static_cast<std::uint8_t>(sheet.x.points[std::size_t(j)]);
            StoreGrid(w, kInjectionGrids[s]);
            if (kTables[s].ownRpm) image[std::size_t(kTables[s].count)] = static_cast<std::uint8_t>(sheet.x.count);
        }
        for (int j = 0; j < kRows; ++j)
            setImageWord(image, kIapAxisWords + j,
                         static_cast<std::uint16_t>(tab->sheets[kInjSheetIap].y.points[std::size_t(j)]));
    }
    if (auto* splits = FindControl<TRadioButton>(w, "RadioButtonInjBSplits"))
        image[kBAdds] = splits->Checked() ? 0 : 1;
    PadInjectionTables(w);
    w.repairState = NormalizeSettingsImage(image);
    // The power outputs depend on the injector B settings.
    ShowPowerOutPage(w);
}

void InjectionPageLayout(TPageForm& w)
{
    TTab* tab = editor(w);
    if (!tab) return;
    const Image& image = w.images.image;
    modeLayout(w, *tab);
    if (CSheet* current = tab->Current(); current && current->hidden) tab->SelectSheet(0);
    tab->dirty |= kDirtyRedraw;
    const unsigned shownClass = sheetClass(tab->current);
    const int limit = image[kCompLimit];
    for (int s : {kInjSheetCompTp, kInjSheetCompIap}) {
        tab->sheets[std::size_t(s)].data.min = std::max(0, 100 - limit);
        tab->sheets[std::size_t(s)].data.max = 100 + limit;
    }
    for (const Visibility& v : kVisibility) setVisible(w, v.control, (v.classes & shownClass) != 0);
    const bool bGroup = shownClass == kClassB && image[kBStepper] == 0;
    for (std::string_view name : kBGroup) setVisible(w, name, bGroup);
    // The pressure compensation can be moved only while it does not correct the resulting time.
    const bool correctsResult = image[kCorrectResult] != 0;
    setVisible(w, "ButtonInjMoveCor",
               shownClass == kClassCompTp || (shownClass == kClassCompIap && !correctsResult));
    if (auto* move = FindControl<TButton>(w, "ButtonInjMoveCor"))
        move->SetCaption(message(w, tab->current != kInjSheetCompIap && correctsResult ? kMessageMoveTp
                                                                                        : kMessageMoveAll));
    int cylinderRight = 10;
    for (int n = 1; n <= 4; ++n) {
        const bool visible = shownClass == kClassIap && n <= image[kChannels];
        for (const std::string& name : {"EditInjCyl" + std::to_string(n), "UpDownInjCyl" + std::to_string(n)})
            setVisible(w, name, visible);
        if (auto* upDown = FindControl<TUpDown>(w, "UpDownInjCyl" + std::to_string(n)); upDown && visible)
            cylinderRight = upDown->Left() + upDown->Width();
    }
    if (auto* label = FindControl<TLabel>(w, "LabelInjCylinders")) {
        label->SetCaption(CylinderCorrectionText(image));
        label->SetLeft(cylinderRight + 15);
    }
    CSheet& b = tab->sheets[kInjSheetB];
    b.contentShown = image[kBStepper] == 0 ? 1 : 0;
    const bool bPressure = image[kBLoad] != 0;
    b.y.min = 0;
    b.y.max = bPressure ? 999 : 100;
    b.y.name = b.y.label = bPressure ? "IAP" : "TP";
    b.y.unit = bPressure ? "kPa" : "%";
}

void ResetInjectionCorrections(TPageForm& w, int flags)
{
    Image& image = w.images.image;
    if (flags & 1) std::fill_n(image.begin() + GridFirstByte(kInjectionGrids[kInjSheetCompTp]), kColumns * kRows, 100);
    if (flags & 2) std::fill_n(image.begin() + GridFirstByte(kInjectionGrids[kInjSheetCompIap]), kColumns * kRows, 100);
    ShowInjectionPage(w);
    CommitChangeNow(w);
}

void MoveCorrectionsToMaps(TPageForm& w, int flags)
{
    Image& image = w.images.image;
    // Each map's time times its compensation: a time past the word's range stays at the range's end.
    auto move = [&](const GridBinding& map, const GridBinding& compensation) {
        for (int cell = 0; cell < kColumns * kRows; ++cell) {
            std::uint8_t& percent = image[std::size_t(compensation.address + cell)];
            const long time = long(imageWord(image, map.address + cell)) * percent / 100;
            setImageWord(image, map.address + cell, static_cast<std::uint16_t>(std::min(time, 65535L)));
        }
    };
    if (flags & 1) {
        for (int k = 0; k < kInjectorSheets; ++k) move(kInjectionGrids[k], kInjectionGrids[kInjSheetCompTp]);
        std::fill_n(image.begin() + kInjectionGrids[kInjSheetCompTp].address, kColumns * kRows, 100);
    }
    if ((flags & 2) && image[kCorrectResult] == 0) {
        move(kInjectionGrids[kInjSheetIap], kInjectionGrids[kInjSheetCompIap]);
        std::fill_n(image.begin() + kInjectionGrids[kInjSheetCompIap].address, kColumns * kRows, 100);
    }
    ShowInjectionPage(w);
    CommitChangeNow(w);
}

extern const PageModule kInjectionPage{
    .sheetName = "TabSheet_Injection",
    .caption = "Injection",
    .runTimeSheet = true,
    .layout = kInjectionLayout,
    .bindings = kInjectionBindings,
    .grids = kInjectionGrids,
    .editorIds = kInjectionEditors,
    .build = BuildInjectionPage,
    .store = StoreInjectionPage,
    .show = ShowInjectionPage,
    .captions = InjectionPageCaptions,
    .mapChanged = InjectionMapChanged,
};
