// The lambda tuning page. The unit tunes its injection towards the desired mixtures of a 5 x 5 map over RPM and
// throttle while the switch on this page (not stored; it travels in every live request) is on. With lambda
// notation (the sensors page) the map and the three mixture pairs show lambda instead of AFR; the image always
// holds AFR x 10.
#include "pages/tuningpage.h"

#include <algorithm>
#include <cmath>

#include "languages/messages.h"
#include "mapeditor/tab.h"
#include "os/lngtext.h"
#include "pages/commit.h"
#include "pages/injectionpage.h"
#include "pages/lambdascale.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "vcl/deciedit.h"
#include "vcl/dialogs.h"
#include "vcl/menus.h"

namespace {

constexpr int kImageCylinders = 2680;
constexpr int kImageInjectionModeByte = 3817;
constexpr int kImageTolerance = 4612;
constexpr int kImageAfrMin = 4619;
constexpr int kImageAfrMax = 4620;
constexpr int kCompensationToMaps = 3;  // the compensation maps go into the TP and IAP injection maps
constexpr int kMessageMoveCompensation = 183;
constexpr int kThrottlePoints[kTuningPoints] = {2, 5, 20, 60, 100};

// clang-format off
// Labels 3 px below their edits; rows 26 px apart; the mixture map beside the group, as the page's editor is placed.
constexpr ControlRow kTuningLayout[] = {
    // name                       kind                     parent             left  top width height caption
    {"LabelLadeniCaution",        ControlKind::Label,      "TabSheet_Ladeni",    8,   8, 366,  17, "Caution - For experienced user only!"},
    {"GroupBoxLadeni",            ControlKind::GroupBox,   "TabSheet_Ladeni",    4,  28, 376, 566, "Tunning"},
    {"CheckBoxLadeniPovoleno",    ControlKind::CheckBox,   "GroupBoxLadeni",     6,  20, 366,  21, "Tunning on - parameters of this box will be stored to unit"},
    {"RadioGroupLadeniMode",      ControlKind::RadioGroup, "GroupBoxLadeni",    10,  46, 140,  62, "Tunning mode"},
    {"RadioGroupTunningSource",   ControlKind::RadioGroup, "GroupBoxLadeni",    10, 114, 350,  80, "Tunning source"},
    // When a point counts as reached.
    {"LabelLadeniRpm",            ControlKind::Label,      "GroupBoxLadeni",    10, 207, 230,  17, "Rpm tolerance"},
    {"EditLadeniRpm",             ControlKind::Edit,       "GroupBoxLadeni",   250, 204,  70,  21},
    {"UpDownLadeniRpm",           ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniRpm"},
    {"LabelLadeniTps",            ControlKind::Label,      "GroupBoxLadeni",    10, 233, 230,  17, "Tps, Iap tolerance"},
    {"EditLadeniTps",             ControlKind::Edit,       "GroupBoxLadeni",   250, 230,  70,  21},
    {"UpDownLadeniTps",           ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniTps"},
    {"LabelLadeniHyster",         ControlKind::Label,      "GroupBoxLadeni",    10, 259, 230,  17, "AFR tolerance"},
    {"EditLadeniHyster",          ControlKind::DeciEdit,   "GroupBoxLadeni",   250, 256,  70,  21},
    {"UpDownLadeniHyster",        ControlKind::DeciUpDown, "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniHyster"},
    // How the unit steps.
    {"LabelLadeniCas",            ControlKind::Label,      "GroupBoxLadeni",    10, 291, 230,  17, "Revolution for step"},
    {"EditLadeniCas",             ControlKind::Edit,       "GroupBoxLadeni",   250, 288,  70,  21},
    {"UpDownLadeniCas",           ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniCas"},
    {"LabelLadeniKrok",           ControlKind::Label,      "GroupBoxLadeni",    10, 317, 230,  17, "Step [%/AFR]"},
    {"EditLadeniKrok",            ControlKind::DeciEdit,   "GroupBoxLadeni",   250, 314,  70,  21},
    {"UpDownLadeniKrok",          ControlKind::DeciUpDown, "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniKrok"},
    {"LabelLadeniKanal",          ControlKind::Label,      "GroupBoxLadeni",    10, 343, 230,  17, "Channel"},
    {"EditLadeniKanal",           ControlKind::Edit,       "GroupBoxLadeni",   250, 340,  70,  21},
    {"UpDownLadeniKanal",         ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniKanal"},
    // How far it may go.
    {"LabelLadeniLambdaMin",      ControlKind::Label,      "GroupBoxLadeni",    10, 375, 230,  17, "AFR min"},
    {"EditLadeniLambdaMin",       ControlKind::DeciEdit,   "GroupBoxLadeni",   250, 372,  70,  21},
    {"UpDownLadeniLambdaMin",     ControlKind::DeciUpDown, "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniLambdaMin"},
    {"LabelLadeniLambdaMax",      ControlKind::Label,      "GroupBoxLadeni",    10, 401, 230,  17, "AFR max"},
    {"EditLadeniLambdaMax",       ControlKind::DeciEdit,   "GroupBoxLadeni",   250, 398,  70,  21},
    {"UpDownLadeniLambdaMax",     ControlKind::DeciUpDown, "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniLambdaMax"},
    {"LabelCompLimit",            ControlKind::Label,      "GroupBoxLadeni",    10, 427, 230,  17, "Compensation limit [+/- %]"},
    {"EditCompLimit",             ControlKind::Edit,       "GroupBoxLadeni",   250, 424,  70,  21},
    {"UpDownCompLimit",           ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditCompLimit"},
    {"LabelMaxAcc",               ControlKind::Label,      "GroupBoxLadeni",    10, 453, 230,  17, "Acc. E/E Corr. max [%]"},
    {"EditLadeniMaxAcc",          ControlKind::Edit,       "GroupBoxLadeni",   250, 450,  70,  21},
    {"UpDownLadeniMaxAcc",        ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniMaxAcc"},
    // When the unit tunes at all.
    {"LabelLadeniTpsMin",         ControlKind::Label,      "GroupBoxLadeni",    10, 485, 110,  17, "TP min"},
    {"EditLadeniTpsMin",          ControlKind::Edit,       "GroupBoxLadeni",   120, 482,  50,  21},
    {"UpDownLadeniTpsMin",        ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniTpsMin"},
    {"LabelLadeniRpmMin",         ControlKind::Label,      "GroupBoxLadeni",   196, 485,  54,  17, "RPM min"},
    {"EditLadeniRpmMin",          ControlKind::Edit,       "GroupBoxLadeni",   250, 482,  70,  21},
    {"UpDownLadeniRpmMin",        ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniRpmMin"},
    {"LabelLadeniTempMin",        ControlKind::Label,      "GroupBoxLadeni",    10, 511, 230,  17, "Temperature min"},
    {"EditLadeniTempMin",         ControlKind::Edit,       "GroupBoxLadeni",   250, 508,  70,  21},
    {"UpDownLadeniTempMin",       ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniTempMin"},
    {"LabelLadeniTempMax",        ControlKind::Label,      "GroupBoxLadeni",    10, 537, 230,  17, "Temperature max"},
    {"EditLadeniTempMax",         ControlKind::Edit,       "GroupBoxLadeni",   250, 534,  70,  21},
    {"UpDownLadeniTempMax",       ControlKind::UpDown,     "GroupBoxLadeni",     0,   0,  16,  21, {}, "EditLadeniTempMax"},
    // The desired mixtures; the map editor is made inside at start.
    {"GroupBoxLambdaPoz",         ControlKind::GroupBox,   "TabSheet_Ladeni",  383,  36, 433, 450, "AFR"},
    // Kept hidden at start by the main window.
    {"RadioGroupLadeniOnByTLS",   ControlKind::RadioGroup, "TabSheet_Ladeni",  387, 494, 210, 100, "Multifunctional switch"},
    {"LabelSwingLimits",          ControlKind::Label,      "TabSheet_Ladeni",  603, 494, 200,  17, "Swing limits [A/F]"},
};

constexpr FieldBinding kTuningBindings[] = {
    // control                   kind         address index scale offset  min    max   incr divisor
    {"RadioGroupLadeniMode",     Bind::Radio, kImageTuningMode},
    {"UpDownLadeniRpm",          Bind::Byte,  4613,   0,    10,    0,    10,  2000,  10},
    {"UpDownLadeniTps",          Bind::Byte,  4614,   0,     1,    0,     1,    20,   1},
    {"UpDownLadeniCas",          Bind::Byte,  4615,   0,     1,    0,     1,   250,   1},
    {"UpDownLadeniKrok",         Bind::Byte,  4616,   0,     1,    0,     0,   250,   1,  10},
    {"UpDownLadeniKanal",        Bind::Byte,  4617,   0,     1,    0,     0,     4,   1},
    {"UpDownLadeniMaxAcc",       Bind::Byte,  4618,   0,     1,    0,     0,   255,   1},
    {"UpDownLadeniTpsMin",       Bind::Byte,  4621,   0,     1,    0,     0,   100,   1},
    {"UpDownLadeniRpmMin",       Bind::Byte,  4622,   0,   100,    0,     0, 25000, 100},
    {"UpDownLadeniTempMin",      Bind::Byte,  4623,   0,     1, -100,   -30,   150,   1},
    {"UpDownLadeniTempMax",      Bind::Byte,  4624,   0,     1, -100,   -30,   150,   1},
    {"RadioGroupTunningSource",  Bind::Radio, kImageTuningSource},
    {"UpDownCompLimit",          Bind::Byte,  3833,   0,     1,    0,     0,   100,   1},
};
// clang-format on

// The three mixture pairs, shown as AFR or as lambda.
struct MixturePair
{
    std::string_view upDown;
    int byte;
};
constexpr MixturePair kMixturePairs[] = {
    {"UpDownLadeniHyster", kImageTolerance},
    {"UpDownLadeniLambdaMin", kImageAfrMin},
    {"UpDownLadeniLambdaMax", kImageAfrMax},
};

struct Caption
{
    std::string_view control;
    std::string_view text;  // "###English##German##Czech"
};
constexpr Caption kCaptions[] = {
    {"TabSheet_Ladeni", "###Tuning##Einstellung##Ladění"},
    {"LabelLadeniCaution", "###Caution - For experienced user only!##Achtung - nur für erfahrene Benutzer!##Pozor - jen pro zkušené uživatele!"},
    {"GroupBoxLadeni", "###Tunning##Einstellung##Ladění"},
    {"CheckBoxLadeniPovoleno", "###Tunning on - parameters of this box will be stored to unit##Einstellung ein - Werte werden im Gerät gespeichert##Ladění zapnuto - parametry se uloží do jednotky"},
    {"RadioGroupLadeniOnByTLS", "###Multifunctional switch##Multifunktionsschalter##Multifunkční spínač"},
    {"RadioGroupLadeniMode", "###Tunning mode##Einstellmodus##Režim ladění"},
    {"RadioGroupTunningSource", "###Tunning source##Einstellquelle##Zdroj ladění"},
    {"LabelLadeniRpm", "###Rpm tolerance##Rpm Toleranz##Tolerance otáček"},
    {"LabelLadeniTps", "###Tps, Iap tolerance##Tps, Iap Toleranz##Tolerance Tps, Iap"},
    {"LabelLadeniCas", "###Revolution for step##Umdrehungen pro Schritt##Otáček na krok"},
    {"LabelLadeniKrok", "###Step [%/AFR]##Schritt [%/AFR]##Krok [%/AFR]"},
    {"LabelLadeniKanal", "###Channel##Kanal##Kanál"},
    {"LabelCompLimit", "###Compensation limit [+/- %]##Kompensationsgrenze [+/- %]##Mez kompenzace [+/- %]"},
    {"LabelMaxAcc", "###Acc. E/E Corr. max [%]##Beschl. E/E Korr. max [%]##Max. korekce akc. E/E [%]"},
    {"LabelLadeniTpsMin", "###TP min##TP min##TP min"},
    {"LabelLadeniRpmMin", "###RPM min##RPM min##RPM min"},
    {"LabelLadeniTempMin", "###Temperature min##Temperatur min##Teplota min"},
    {"LabelLadeniTempMax", "###Temperature max##Temperatur max##Teplota max"},
};
// By lambda notation: the AFR words, then the lambda words.
struct NotationCaption
{
    std::string_view control;
    std::string_view afr, lambda;
};
constexpr NotationCaption kNotationCaptions[] = {
    {"LabelLadeniHyster", "###AFR tolerance", "###Lambda tolerance##Lambda Toleranz##Lambda tolerance"},
    {"LabelLadeniLambdaMin", "###AFR min", "###Lambda min"},
    {"LabelLadeniLambdaMax", "###AFR max", "###Lambda max"},
    {"GroupBoxLambdaPoz", "###AFR", "###Lambda"},
    {"LabelSwingLimits", "###Swing limits [A/F]##Schwunggrenzen [A/F]##Swing limity [A/F]",
     "###Swing limits [lambda]##Schwunggrenzen [lambda]##Swing limity [lambda]"},
};
constexpr std::string_view kModeItems[] = {"###Points##Punkte##Body", "###All##Alle##Vše"};
constexpr std::string_view kSourceItems[] = {
    "###Tune directly in maps IAP a TP [ms]##Direkt in Kennfeldern IAP und TP [ms]##Ladit přímo v mapách IAP a TP [ms]",
    "###Tune in comp. maps [%]##In Kompensationskennfeldern [%]##Ladit v kompenzačních mapách [%]",
    "###Tune permanently in comp. maps [%]##Dauernd in Kompensationskennfeldern [%]##Ladit trvale v kompenzačních mapách [%]",
};
constexpr std::string_view kSwitchItems[] = {
    "###AFR##AFR##AFR", "###AFR+autotunning##AFR+Autoeinstellung##AFR+autoladění",
    "###Autotunning##Autoeinstellung##Autoladění", "###Blocking launch control##Startkontrolle sperren##Blokování launch control"};

const StepEntry kRpmSteps[] = {{4000, 2000, 1000, 200, 1000}, {10000, 2000, 1000, 500, 1000}, {25000, 2000, 1000, 1000, 2000}};
const StepEntry kMixtureSteps[] = {{10, 2, 1, 1, 2}, {100, 20, 20, 20, 20}, {500, 100, 100, 100, 100}, {1000, 200, 200, 200, 200}};

template <class T>
T* control(const TPageForm& w, std::string_view name)
{
    return FindControl<T>(w, name);
}

bool lambdaNotation(const TPageForm& w)
{
    return w.images.image[kImageLambdaNotation] != 0;
}

TTab* editor(const TPageForm& w)
{
    return w.mapEditors[kTuningEditorId];
}

std::string messageText(const TPageForm& w, int index)
{
    return w.pageHooks.message ? w.pageHooks.message(index) : std::string();
}

void setShown(TPageForm& w, std::initializer_list<std::string_view> names, bool shown)
{
    for (std::string_view name : names)
        if (auto* c = control<TControl>(w, name)) c->SetVisible(shown);
}

void setItems(TRadioGroup* group, std::span<const std::string_view> items)
{
    if (!group) return;
    std::vector<std::string> texts;
    for (std::string_view item : items) texts.emplace_back(GetLngText(item));
    group->SetItems(texts);
}

// The map's data axis in AFR x 10 or lambda x 100.
void setMixtureAxis(TTab& tab, bool lambda)
{
    tab.SetSheetTitle(0, lambda ? "Lambda" : "Lambda [AFR]");
    tab.SetAxis(0, 4,
                {.name = lambda ? "Lambda" : "AFR", .min = lambda ? 0 : 10, .max = lambda ? 170 : 250,
                 .scale = lambda ? 0.01 : 0.1, .steps = kMixtureSteps, .editable = 1, .options = 2});
}

void showCells(TPageForm& w, TTab& tab)
{
    const bool lambda = lambdaNotation(w);
    CSheet& sheet = tab.sheets[0];
    for (int r = 0; r < kTuningPoints; ++r)
        for (int c = 0; c < kTuningPoints; ++c) {
            const int byte = w.images.image[std::size_t(kImageTuningCells + kTuningPoints * r + c)];
            sheet.value(c, r) = MixturePointShown(byte, lambda);
        }
}

void showMixturePairs(TPageForm& w)
{
    const bool lambda = lambdaNotation(w);
    for (const MixturePair& pair : kMixturePairs) {
        auto* upDown = control<TDeciUpDown>(w, pair.upDown);
        if (!upDown) continue;
        const int byte = w.images.image[std::size_t(pair.byte)];
        const SettingGuard guard(w);
        upDown->Divisor = lambda ? 1000 : 10;
        upDown->SetRange(0, lambda ? 6250 : 250);
        SetControlQuiet(w, upDown, lambda ? MixtureThousandthsShown(byte) : byte);
    }
}

void BuildTuningPage(TPageForm& w)
{
    setItems(control<TRadioGroup>(w, "RadioGroupLadeniMode"), kModeItems);
    setItems(control<TRadioGroup>(w, "RadioGroupTunningSource"), kSourceItems);
    setItems(control<TRadioGroup>(w, "RadioGroupLadeniOnByTLS"), kSwitchItems);
    if (auto* source = control<TRadioGroup>(w, "RadioGroupTunningSource"))
        source->OnClick = [&w](TObject* sender) { TuningSourceClick(w, sender); };

    auto* group = control<TGroupBox>(w, "GroupBoxLambdaPoz");
    TTab* tab = CreateMapEditor(w, kTuningEditorId, kDesignPageWidth / 2 - 5, kDesignPageHeight * 7 / 10,
                                kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D, group);
    if (!tab) return;
    tab->SetBounds(4, 20, kDesignPageWidth / 2 - 5, kDesignPageHeight * 7 / 10);
    tab->AddSheet("Lambda [AFR]", "RPM", "TP", "AFR", kTuningPoints, kTuningPoints, kSheetOperatingPoint);
    tab->SetAxis(0, 1, {.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps, .count = kTuningPoints,
                        .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseFirst});
    tab->SetAxis(0, 2, {.name = "TP", .unit = "%", .min = 0, .max = 100, .editable = 0, .options = 0,
                        .count = kTuningPoints, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast});
    setMixtureAxis(*tab, false);
    CSheet& sheet = tab->sheets[0];
    sheet.titleFontSize = 9;
    for (int r = 0; r < kTuningPoints; ++r) sheet.y.points[std::size_t(r)] = kThrottlePoints[r];
    tab->layout.visibleColumns = 5;
    tab->layout.visibleRows = 9;
    tab->SelectSheet(0);
}

void StoreTuningPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreBindings(w, PAGE_TUNING);
    Image& image = w.images.image;
    if (TTab* tab = editor(w); tab && tab->sheetCount > 0) {
        const CSheet& sheet = tab->sheets[0];
        for (int c = 0; c < kTuningPoints; ++c)
            image[std::size_t(kImageTuningRpmPoints + c)] = std::uint8_t(std::clamp(sheet.x.points[std::size_t(c)], 0, 255));
        const bool lambda = lambdaNotation(w);
        for (int r = 0; r < kTuningPoints; ++r)
            for (int c = 0; c < kTuningPoints; ++c) {
                std::uint8_t& byte = image[std::size_t(kImageTuningCells + kTuningPoints * r + c)];
                // Lambda x 100 is coarser than AFR x 10: a cell that still shows what its byte shows keeps the
                // byte, so that a store of the whole page moves no cell nobody edited.
                const int cell = sheet.value(c, r);
                if (cell != MixturePointShown(byte, lambda)) byte = std::uint8_t(MixturePointStored(cell, lambda));
            }
    }
    const bool lambda = lambdaNotation(w);
    for (const MixturePair& pair : kMixturePairs) {
        auto* upDown = control<TDeciUpDown>(w, pair.upDown);
        if (!upDown) continue;
        std::uint8_t& byte = image[std::size_t(pair.byte)];
        byte = std::uint8_t(lambda ? TuningPairByte(upDown->Position(), byte) : std::clamp(upDown->Position(), 0, 250));
    }
}

void ShowTuningPage(TPageForm& w)
{
    ShowBindings(w, PAGE_TUNING);
    showMixturePairs(w);
    if (TTab* tab = editor(w); tab && tab->sheetCount > 0) {
        CSheet& sheet = tab->sheets[0];
        sheet.x.count = sheet.y.count = kTuningPoints;
        for (int c = 0; c < kTuningPoints; ++c)
            sheet.x.points[std::size_t(c)] = w.images.image[std::size_t(kImageTuningRpmPoints + c)];
        showCells(w, *tab);
        tab->UpdateLimits(sheet, 0);
    }
    ShowTuningState(w);
    if (TTab* tab = editor(w)) {
        tab->BuildSideBar();
        tab->dirty |= kDirtyRedraw | kDirtyRecompute;
    }
    FeedLiveValuesToMapEditors(w, false);
}

void TuningPageCaptions(TPageForm& w)
{
    for (const Caption& row : kCaptions)
        if (auto* c = control<TControl>(w, row.control)) c->SetCaption(GetLngText(row.text));
    const bool lambda = lambdaNotation(w);
    for (const NotationCaption& row : kNotationCaptions)
        if (auto* c = control<TControl>(w, row.control)) c->SetCaption(GetLngText(lambda ? row.lambda : row.afr));
    setItems(control<TRadioGroup>(w, "RadioGroupLadeniMode"), kModeItems);
    setItems(control<TRadioGroup>(w, "RadioGroupTunningSource"), kSourceItems);
    setItems(control<TRadioGroup>(w, "RadioGroupLadeniOnByTLS"), kSwitchItems);
}

}  // namespace

// Choosing to tune the compensation maps for good first moves their present values into the injection maps, after
// the user agreed; Cancel leaves the source as it was.
void TuningSourceClick(TPageForm& w, TObject* sender)
{
    if (w.settingGuard != 0) return;
    auto* group = static_cast<TRadioGroup*>(sender);
    const int stored = w.images.image[kImageTuningSource];
    if (group && stored != 2 && group->ItemIndex() == 2) {
        {
            const SettingGuard guard(w);
            const int answer = MessageBox(messageText(w, kMessageMoveCompensation), messageText(w, MSG_WARNING),
                                          MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SYSTEMMODAL);
            if (answer != IDOK) {
                SetRadioIndexQuiet(w, group, stored);
                return;
            }
        }
        // The move commits and stores this page with it: the moved maps and the new source are one undo step.
        MoveCorrectionsToMaps(w, kCompensationToMaps);
        return;
    }
    NotePendingChange(w, sender, kChangeNow);
}

int TuningPairByte(int shown, int storedByte)
{
    const int was = MixtureThousandthsShown(storedByte);
    if (shown == was) return storedByte;
    const int target = MixtureThousandthsStored(shown);
    const int moved = shown > was ? std::max(target, storedByte + 1) : std::min(target, storedByte - 1);
    return std::clamp(moved, 0, 250);
}

void ShowTuningState(TPageForm& w)
{
    const Image& image = w.images.image;
    // 1.-2. The switch, mirrored in the Tools menu, and the source that changes the maps for good, in red.
    auto* tuningOn = control<TCheckBox>(w, "CheckBoxLadeniPovoleno");
    const bool on = tuningOn && tuningOn->Checked();
    if (auto* menu = static_cast<TMainMenu*>(w.FindComponent("MainMenu1")))
        if (TMenuItem* item = menu->Find("MenuLadeniOn")) item->SetChecked(on);
    if (tuningOn) tuningOn->SetColor(on ? clRed : clBtnFace);
    auto* source = control<TRadioGroup>(w, "RadioGroupTunningSource");
    if (source) source->SetColor(source->ItemIndex() == 2 ? clRed : clBtnFace);
    // 3.-5. What the mode, the injection mode and the source call for.
    setShown(w, {"EditLadeniRpm", "UpDownLadeniRpm", "LabelLadeniRpm", "EditLadeniTps", "UpDownLadeniTps", "LabelLadeniTps"},
             image[kImageTuningMode] == 0);
    const int cylinders = image[kImageCylinders];
    setShown(w, {"UpDownLadeniKanal", "EditLadeniKanal", "LabelLadeniKanal"},
             image[kImageInjectionModeByte] == 0 && cylinders >= 2 && source && source->ItemIndex() == 0);
    if (auto* channel = control<TUpDown>(w, "UpDownLadeniKanal")) channel->SetMax(std::max(cylinders, 1));
    setShown(w, {"UpDownCompLimit", "EditCompLimit", "LabelCompLimit"}, image[kImageTuningSource] != 0);
    // 6. The map in AFR or lambda; its cells are read again only when the units change.
    if (TTab* tab = editor(w); tab && tab->sheetCount > 0) {
        const bool lambda = lambdaNotation(w);
        if ((tab->sheets[0].data.scale < 0.05) != lambda) {
            setMixtureAxis(*tab, lambda);
            showCells(w, *tab);
            tab->dirty |= kDirtyRedraw | kDirtyRecompute;
            tab->Tick();
        }
    }
    // 7. The captions that name AFR or lambda.
    TuningPageCaptions(w);
}

extern const PageModule kTuningPage{.sheetName = "TabSheet_Ladeni",
                                    .caption = "Tuning",
                                    .layout = kTuningLayout,
                                    .bindings = kTuningBindings,
                                    .editorIds = std::span<const int>(&kTuningEditorId, 1),
                                    .rereadShowFirst = kImageTuningMode,
                                    .rereadShowEnd = 4625,
                                    .build = BuildTuningPage,
                                    .store = StoreTuningPage,
                                    .show = ShowTuningPage,
                                    .captions = TuningPageCaptions};
