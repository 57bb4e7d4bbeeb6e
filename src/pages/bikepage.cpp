// The bike page: the motorcycle model whose settings the image holds, the special setting for experienced users,
// the engine limiters, dwell, the RPM signal, the intake ports, the dashboard display and CAN bus, and the notes
// kept in the unit.
#include "pages/bikepage.h"

#include <algorithm>
#include <string>

#include "os/cp1250.h"
#include "os/lngtext.h"
#include "mapeditor/tab.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/lambdascale.h"
#include "pages/mapgrids.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/syncpage.h"
#include "settings/keytable.h"
#include "settings/newbike.h"
#include "settings/notes.h"
#include "vcl/dialogs.h"

namespace {

constexpr int kModelByte = 2500;
constexpr int kSpecialByte = 2501;
constexpr int kPulsesByte = 2668;
constexpr int kCanSpeedByte = 2678;
constexpr int kNotesEnd = 2660;  // one past the notes area 2509..2659
constexpr int kSeparatorTag = 0xFFFF;
constexpr int kMessageLeaveSpecial = 30;
constexpr int kMessageNoModelItem = 43;

// Rows: label, then edit and up-down, 26 px apart in their group; labels 3 px lower than the edits.
// clang-format off
constexpr ControlRow kBikeLayout[] = {
    // name                         kind                     parent                left top width height caption
    {"GroupBoxBike",                ControlKind::GroupBox,   "TabSheet_Bike",         8,   8, 420,  86, "Motorbike type"},
    {"ComboBoxBike",                ControlKind::ComboBox,   "GroupBoxBike",         12,  24, 396,  23},
    {"CheckBoxBikeSecial",          ControlKind::CheckBox,   "GroupBoxBike",         12,  56, 396,  21, "Special setting - For experienced user only!"},

    {"GroupBoxOmez",                ControlKind::GroupBox,   "TabSheet_Bike",         8, 102, 420, 134, "Limiters"},
    {"LabelIgnLimiter",             ControlKind::Label,      "GroupBoxOmez",         12,  27, 270,  17, "Ignition limiter [rpm]"},
    {"EditIgnLimiter",              ControlKind::Edit,       "GroupBoxOmez",        300,  24,  84,  21},
    {"UpDownIgnLimiter",            ControlKind::UpDown,     "GroupBoxOmez",          0,   0,  16,  21, {}, "EditIgnLimiter"},
    {"LabelJetLimiter",             ControlKind::Label,      "GroupBoxOmez",         12,  53, 270,  17, "Injection limiter [rpm]"},
    {"EditJetLimiter",              ControlKind::Edit,       "GroupBoxOmez",        300,  50,  84,  21},
    {"UpDownJetLimiter",            ControlKind::UpDown,     "GroupBoxOmez",          0,   0,  16,  21, {}, "EditJetLimiter"},
    {"LabelRetardLimiterRpm",       ControlKind::Label,      "GroupBoxOmez",         12,  79, 270,  17, "Retard limiter [rpm]"},
    {"EditRetardLimiterRpm",        ControlKind::Edit,       "GroupBoxOmez",        300,  76,  84,  21},
    {"UpDownRetardLimiterRpm",      ControlKind::UpDown,     "GroupBoxOmez",          0,   0,  16,  21, {}, "EditRetardLimiterRpm"},
    {"LabelRetardLimiterAdv",       ControlKind::Label,      "GroupBoxOmez",         12, 105, 270,  17, "Retard [°/100rpm]"},
    {"EditRetardLimiterAdv",        ControlKind::Edit,       "GroupBoxOmez",        300, 102,  84,  21},
    {"UpDownRetardLimiterAdv",      ControlKind::UpDown,     "GroupBoxOmez",          0,   0,  16,  21, {}, "EditRetardLimiterAdv"},

    {"GroupBoxDwell",               ControlKind::GroupBox,   "TabSheet_Bike",         8, 244, 420,  82, "Dwell time"},
    {"LabelBuzeni",                 ControlKind::Label,      "GroupBoxDwell",        12,  27, 270,  17, "Dwell time  [us]"},
    {"EditBuzeni",                  ControlKind::Edit,       "GroupBoxDwell",       300,  24,  84,  21},
    {"UpDownBuzeni",                ControlKind::UpDown,     "GroupBoxDwell",         0,   0,  16,  21, {}, "EditBuzeni"},
    {"LabelDwellDyn",               ControlKind::Label,      "GroupBoxDwell",        12,  53, 270,  17, "Dynamical addition of dwell [%]"},
    {"EditDwellDyn",                ControlKind::Edit,       "GroupBoxDwell",       300,  50,  84,  21},
    {"UpDownDwellDyn",              ControlKind::UpDown,     "GroupBoxDwell",         0,   0,  16,  21, {}, "EditDwellDyn"},

    {"GroupBoxRpmSignal",           ControlKind::GroupBox,   "TabSheet_Bike",         8, 334, 420,  82, "RPM signal"},
    {"LabelRpmPulsu",               ControlKind::Label,      "GroupBoxRpmSignal",    12,  27, 270,  17, "Pulses per revolution"},
    {"EditRpmPulsu",                ControlKind::Edit,       "GroupBoxRpmSignal",   300,  24,  84,  21},
    {"UpDownRpmPulsu",              ControlKind::UpDown,     "GroupBoxRpmSignal",     0,   0,  16,  21, {}, "EditRpmPulsu"},
    {"LabelRpmKorekce",             ControlKind::Label,      "GroupBoxRpmSignal",    12,  53, 270,  17, "Correction [%]"},
    {"EditRpmKorekce",              ControlKind::Edit,       "GroupBoxRpmSignal",   300,  50,  84,  21},
    {"UpDownRpmKorekce",            ControlKind::UpDown,     "GroupBoxRpmSignal",     0,   0,  16,  21, {}, "EditRpmKorekce"},

    {"GroupBoxChlazeni",            ControlKind::GroupBox,   "TabSheet_Bike",         8, 424, 420,  56, "Cooling"},
    {"LabelFan1",                   ControlKind::Label,      "GroupBoxChlazeni",     12,  27, 270,  17, "Warning light temperature [°C]"},
    {"EditFan1",                    ControlKind::Edit,       "GroupBoxChlazeni",    300,  24,  84,  21},
    {"UpDownFan1",                  ControlKind::UpDown,     "GroupBoxChlazeni",      0,   0,  16,  21, {}, "EditFan1"},

    {"LabelMemo",                   ControlKind::Label,      "TabSheet_Bike",         8, 490, 300,  17, "Memo sheet:"},
    {"Memo1",                       ControlKind::Memo,       "TabSheet_Bike",         8, 508, 420,  84},

    {"GroupBoxDisplay",             ControlKind::GroupBox,   "TabSheet_Bike",       440,   8, 200,  74, "Display Typ"},
    {"ComboBoxDisplay",             ControlKind::ComboBox,   "GroupBoxDisplay",      12,  28, 176,  23},
    {"GroupBoxUnitProgram",         ControlKind::GroupBox,   "TabSheet_Bike",       648,   8, 204,  74, "Program in the unit"},
    {"LabelVerze1",                 ControlKind::Label,      "GroupBoxUnitProgram",  10,  20, 186,  17, "Unit = --"},
    {"LabelVerze2",                 ControlKind::Label,      "GroupBoxUnitProgram",  10,  37, 186,  17, "Date = --"},
    {"LabelVerze3",                 ControlKind::Label,      "GroupBoxUnitProgram",  10,  54, 186,  17, "--:--"},

    {"GroupBoxCan",                 ControlKind::GroupBox,   "TabSheet_Bike",       440,  90, 412,  84, "CAN bus"},
    {"ComboBoxCanType",             ControlKind::ComboBox,   "GroupBoxCan",          12,  24, 210,  23},
    {"CheckBoxCanNoRecord",         ControlKind::CheckBox,   "GroupBoxCan",         240,  25, 160,  21, "No record"},
    {"RadioButtonCAN500",           ControlKind::RadioButton, "GroupBoxCan",         12,  54, 120,  21, "500 kbit/s"},
    {"RadioButtonCAN250",           ControlKind::RadioButton, "GroupBoxCan",        140,  54, 120,  21, "250 kbit/s"},

    {"GroupBoxIntakePort",          ControlKind::GroupBox,   "TabSheet_Bike",       440, 182, 412,  82, "Intake ports"},
    {"LabelIntakePortRpm",          ControlKind::Label,      "GroupBoxIntakePort",   12,  27, 130,  17, "Rpm"},
    {"EditIntakePortRpm",           ControlKind::Edit,       "GroupBoxIntakePort",  150,  24,  84,  21},
    {"UpDownIntakePortRpm",         ControlKind::UpDown,     "GroupBoxIntakePort",    0,   0,  16,  21, {}, "EditIntakePortRpm"},
    {"LabelIntakePortHysteresis",   ControlKind::Label,      "GroupBoxIntakePort",   12,  53, 130,  17, "Hysteresis"},
    {"EditIntakePortHysteresis",    ControlKind::Edit,       "GroupBoxIntakePort",  150,  50,  84,  21},
    {"UpDownIntakePortHysteresis",  ControlKind::UpDown,     "GroupBoxIntakePort",    0,   0,  16,  21, {}, "EditIntakePortHysteresis"},
    {"CheckBox1IntakeInvert",       ControlKind::CheckBox,   "GroupBoxIntakePort",  280,  25, 120,  21, "Invert"},
};

constexpr FieldBinding kBikeBindings[] = {
    // control                     kind             address index          scale offset   min    max   incr
    {"CheckBoxBikeSecial",         Bind::Check,     kSpecialByte},
    {"UpDownIgnLimiter",           Bind::Byte,      2660, 0,              100,    0,    100, 25000, 100},
    {"UpDownJetLimiter",           Bind::Byte,      2661, 0,              100,    0,    100, 25000, 100},
    {"UpDownRetardLimiterRpm",     Bind::Byte,      2662, 0,              100,    0,    100, 25000, 100},
    {"UpDownRetardLimiterAdv",     Bind::Byte,      2663, 0,               -1,    0,   -250,    -1,   1},
    {"UpDownBuzeni",               Bind::Byte,      2664, 0,              100,    0,    100, 10000, 100},
    {"UpDownDwellDyn",             Bind::Byte,      2665, 0,                1,    0,      0,    30,   1},
    {"UpDownFan1",                 Bind::Byte,      2667, 0,                1,    0,      0,   150,   1},
    {"UpDownRpmPulsu",             Bind::Byte,      kPulsesByte, kSignedIndex, 1, 0,     -2,    12,   1},
    {"UpDownRpmKorekce",           Bind::Byte,      2669, 0,                1, -100,    -60,    60,   1},
    {"UpDownIntakePortRpm",        Bind::Byte,      2670, 0,              100,    0,    100, 25000, 100},
    {"CheckBox1IntakeInvert",      Bind::Check,     2671},
    {"UpDownIntakePortHysteresis", Bind::Byte,      5027, 0,              100,    0,      0, 25000, 100},
    {"ComboBoxDisplay",            Bind::ComboTag,  2676},
    {"ComboBoxCanType",            Bind::ItemIndex, 2677},
    {"CheckBoxCanNoRecord",        Bind::Check,     2679},
};
// clang-format on
// The map "Lambda on RPM": two mixture points (bytes 2672, 2673) and the engine speed of each (2674, 2675, rpm / 100).
constexpr int kLambdaPoints = 2672;
constexpr int kLambdaRpm = 2674;
constexpr int kLambdaNotation = 5029;  // not 0: mixtures are shown as lambda x 100, else as AFR x 10
constexpr GridBinding kLambdaGrid{kBikeEditorId, 0, Cell::Byte, kLambdaRpm, 2, 1};

constexpr StepEntry kMixtureSteps[] = {
    {10, 2, 1, 1, 2}, {100, 20, 20, 20, 20}, {500, 100, 100, 100, 100}, {1000, 200, 200, 200, 200}};
constexpr AxisSetup kNoXAxis{.min = 0, .max = 20000, .editable = 0, .options = 0, .count = 1, .collapseOption = 2,
                             .collapsed = 1, .resizable = 0, .collapsePos = kCollapseFirst, .colour = 0xA0E0C0};
constexpr AxisSetup kMixtureAxis{.name = "AFR", .min = 0, .max = 250, .scale = 0.1, .steps = kMixtureSteps,
                                 .count = 2, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast,
                                 .colour = 0xA0E0C0};
constexpr AxisSetup kRpmData{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps, .options = 2,
                             .colour = 0xA0E0C0};
constexpr SheetSpec kLambdaSheet[] = {{"###Lambda on RPM##Lambda über Drehzahl##Lambda podle otáček", "", "AFR", "RPM", 1,
                                       2, 0x4003, kNoXAxis, kMixtureAxis, kRpmData}};

constexpr std::size_t kSpecialRow = 0;  // stored first: leaving the special setting is a flow of its own

struct TaggedItem
{
    std::string_view text;
    int tag;
};
constexpr TaggedItem kDisplays[] = {
    {"No", 0},       {"Honda", 10},         {"Honda I", 13},       {"Kawa 07", 8},       {"Kawa 19", 12},
    {"Suzuki", 1},   {"Suzuki TL1000S", 2}, {"Suzuki B-King", 9},  {"Suzuki SV650", 14}, {"Suzuki GSX-R 2017", 15},
    {"Yamaha", 3},   {"Yamaha FZS600", 4},  {"Yamaha FZS1000", 5}, {"Yamaha YP400", 6},  {"Yamaha TDM900", 7},
    {"Peugeot", 11}, {"HD J-1850", 16},
};
// Byte 2677 is the item index.
constexpr std::string_view kCanTypes[] = {
    "No",         "Triumph", "Aprilia 04", "Ducati Siemens",    "CAN-MV AGUSTA",          "Kawasaki 1", "Yamaha",
    "Kawasaki 2", "BMW",     "SWM",        "Aprilia Dorsoduro", "Aprilia Dorsoduro IAW7",
};

template <class T>
T* control(TPageForm& w, std::string_view name)
{
    return FindControl<T>(w, name);
}

TControl* boundControl(TPageForm& w, std::size_t row)
{
    const std::vector<TControl*>& controls = w.boundControls[PAGE_BIKE];
    return row < controls.size() ? controls[row] : nullptr;
}

std::string message(TPageForm& w, int index)
{
    return w.pageHooks.message ? w.pageHooks.message(index) : std::string();
}

bool specialOn(const TPageForm& w)
{
    return w.images.image[kSpecialByte] != 0;
}

void showPulsesText(TPageForm& w)
{
    auto* edit = control<TEdit>(w, "EditRpmPulsu");
    if (!edit) return;
    const auto pulses = static_cast<std::int8_t>(w.images.image[kPulsesByte]);
    if (pulses != -1 && pulses != -2) return;
    const SettingGuard guard(w);
    edit->SetText(pulses == -1 ? "CKPS" : "CMPS");
}

TTab* lambdaEditor(TPageForm& w)
{
    TTab* tab = MapEditor(w, kBikeEditorId);
    return tab && tab->sheetCount > 0 ? tab : nullptr;
}

bool lambdaNotation(const TPageForm& w)
{
    return w.images.image[kLambdaNotation] != 0;
}

// The map's two mixture points from the image: AFR x 10, or lambda x 100.
void showLambdaPoints(TPageForm& w, CSheet& sheet)
{
    for (int i = 0; i < 2; ++i) {
        sheet.y.points[std::size_t(i)] =
            MixturePointShown(w.images.image[std::size_t(kLambdaPoints + i)], lambdaNotation(w));
    }
}

void showLambdaMap(TPageForm& w)
{
    TTab* tab = lambdaEditor(w);
    if (!tab) return;
    showLambdaPoints(w, tab->sheets[0]);
    ShowGrid(w, kLambdaGrid);
    tab->dirty |= kDirtyRedraw | kDirtyRecompute;
}

void storeLambdaMap(TPageForm& w)
{
    TTab* tab = lambdaEditor(w);
    if (!tab) return;
    const CSheet& sheet = tab->sheets[0];
    for (int i = 0; i < 2; ++i) {
        w.images.image[std::size_t(kLambdaPoints + i)] =
            static_cast<std::uint8_t>(MixturePointStored(sheet.y.points[std::size_t(i)], lambdaNotation(w)));
    }
    StoreGrid(w, kLambdaGrid);
}

// The mixture axis follows the display mode; the points are worked out again only when the mode changed.
void lambdaAxisLayout(TPageForm& w)
{
    TTab* tab = lambdaEditor(w);
    if (!tab) return;
    CSheet& sheet = tab->sheets[0];
    if (!SetMixtureAxis(sheet.y, lambdaNotation(w))) return;
    showLambdaPoints(w, sheet);
    tab->dirty |= kDirtyRedraw | kDirtyRecompute;
    tab->Tick();
}

// The editors take the limiters anew when the image's differ from theirs.
void requestLimiterRefresh(TPageForm& w)
{
    const Image& image = w.images.image;
    const TTab* advance = MapEditor(w, kAdvanceEditorId);
    const TTab* injection = MapEditor(w, kInjectionEditorId);
    if ((advance && (advance->guides.startLimiter != image[kImageStartLimiter] * 100 ||
                     advance->guides.limiter != image[kImageLimiter] * 100)) ||
        (injection && injection->guides.limiter != image[kImageInjectionLimiter] * 100))
        w.tabList.guideRefresh |= 1;
}

void storeRows(TPageForm& w)
{
    for (std::size_t i = 0; i < std::size(kBikeBindings); ++i)
        if (i != kSpecialRow) StoreBinding(w, kBikeBindings[i], boundControl(w, i));
    w.images.image[kCanSpeedByte] =
        control<TRadioButton>(w, "RadioButtonCAN500") && control<TRadioButton>(w, "RadioButtonCAN500")->Checked() ? 1
                                                                                                                  : 0;
    storeLambdaMap(w);
}

// Special setting switched off: the model's own synchronisation settings may replace the special ones. The rest of
// the page is stored first, so that nothing the user changed with it is lost whatever the answer.
void leaveSpecialSetting(TPageForm& w)
{
    ShowBikeModel(w);
    StoreBikeModel(w);
    StoreNotes(w);
    storeRows(w);
    const int cancelled = w.pageHooks.newSettings ? w.pageHooks.newSettings(PAGE_SYNCHRO, 1) : 1;
    if (cancelled == 0) {
        if (w.pageHooks.applyLanguage) w.pageHooks.applyLanguage();
        ShowImageOnPages(w, 1);
        return;
    }
    w.images.image[kSpecialByte] = 1;
    ShowBikePage(w);
}

void StoreBikePage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    const int oldSpecial = w.images.image[kSpecialByte];
    StoreBinding(w, kBikeBindings[kSpecialRow], boundControl(w, kSpecialRow));
    if (oldSpecial != 0 && !specialOn(w)) {
        leaveSpecialSetting(w);
        return;
    }
    StoreBikeModel(w);
    StoreNotes(w);
    storeRows(w);
    // The synchronisation page's enabling follows the special setting.
    if (w.initialised) SyncPageLayout(w);
}

void FillDisplayList(TPageForm& w)
{
    auto* combo = control<TComboBox>(w, "ComboBoxDisplay");
    if (!combo) return;
    ClearComboItems(combo);
    for (const TaggedItem& item : kDisplays) AddComboItem(combo, item.text, item.tag);
}

void BuildBikePage(TPageForm& w)
{
    if (auto* can = control<TComboBox>(w, "ComboBoxCanType"))
        for (std::string_view item : kCanTypes) AddComboItem(can, item, 0);
    if (auto* combo = control<TComboBox>(w, "ComboBoxBike"))
        combo->OnChange = [&w](TObject*) { ComboBoxBikeChange(w); };
    if (auto* memo = control<TMemo>(w, "Memo1")) {
        memo->SetMaxLength(kNotesMaxCharacters);
        memo->OnExit = [&w](TObject*) { Memo1Exit(w); };
    }
    const int left = kDesignPageWidth * 53 / 100, top = kDesignPageHeight / 2;
    const int width = kDesignPageWidth / 5, height = kDesignPageHeight * 3 / 10;
    if (TTab* tab = CreateMapEditor(w, kBikeEditorId, width, height, kTabTableView | kTabGraph2D | kTabTitleStrip,
                                    w.tabSheets[PAGE_BIKE])) {
        tab->SetBounds(left, top, width, height);
        tab->layout.visibleColumns = 1;
        tab->layout.visibleRows = 2;
        AddSheets(*tab, kLambdaSheet);
        tab->sheets[0].titleFontSize = 9;
        tab->SelectSheet(0);
    }
    BikePageCaptions(w);
    FillDisplayList(w);
    ShowComboTag(w, control<TComboBox>(w, "ComboBoxDisplay"), 2676, 0);
}

void BikeMapChanged(TPageForm& w, int)
{
    CommitChangeNow(w);
}

// The page's fixed texts in English, German and Czech.
constexpr CaptionRow kBikeCaptions[] = {
    {"TabSheet_Bike",             {"Bike", "Mottorad", "Motocykl"}},
    {"GroupBoxBike",              {"Motorbike type", "Motorradtyp", "Typ motocyklu"}},
    {"CheckBoxBikeSecial",        {"Special setting - For experienced user only!",
                                   "Sondereinstellung - nur für erfahrene Benutzer!",
                                   "Speciální nastavení - jen pro zkušené uživatele!"}},
    {"GroupBoxOmez",              {"Limiters", "Begrenzer", "Omezovače"}},
    {"LabelIgnLimiter",           {"Ignition limiter [rpm]", "Zündbegrenzer [U/min]", "Omezovač zapalováním [ot/min]"}},
    {"LabelJetLimiter",           {"Injection limiter [rpm]", "Einspritzbegrenzer [U/min]", "Omezovač vstřikem [ot/min]"}},
    {"LabelRetardLimiterRpm",     {"Retard limiter [rpm]", "Spätzündungsbegrenzer [U/min]", "Omezovač zpožděním [ot/min]"}},
    {"LabelRetardLimiterAdv",     {"Retard [°/100rpm]", "Spätzündung [°/100 U/min]", "Zpoždění [°/100 ot/min]"}},
    {"GroupBoxDwell",             {"Dwell time", "Anfachung", "Buzení"}},
    {"LabelBuzeni",               {"Dwell time  [us]", "Anfachungszeit [us]", "Doba buzení [us]"}},
    {"LabelDwellDyn",             {"Dynamical addition of dwell [%]", "Dynamische Anfachungszugabe [%]",
                                   "Dynamické přidání buzení [%]"}},
    {"GroupBoxRpmSignal",         {"RPM signal", "Drehzahlsignal", "Signál otáček"}},
    {"LabelRpmPulsu",             {"Pulses per revolution", "Impulse pro Umdrehung", "Pulzů na otáčku"}},
    {"LabelRpmKorekce",           {"Correction [%]", "Korrektur [%]", "Korekce [%]"}},
    {"GroupBoxChlazeni",          {"Cooling", "Kühlung", "Chlazení"}},
    {"LabelFan1",                 {"Warning light temperature [°C]", "Temperatur der Warnleuchte [°C]",
                                   "Teplota varovného světla [°C]"}},
    {"LabelMemo",                 {"Memo sheet:", "Notizblock", "Poznámka uložená v zapalování:"}},
    {"GroupBoxDisplay",           {"Display Typ", "Anzeigetyp", "Typ displeje"}},
    {"GroupBoxUnitProgram",       {"Program in the unit", "Programm im Steuergerät", "Program v jednotce"}},
    {"GroupBoxCan",               {"CAN bus", "CAN-Bus", "Sběrnice CAN"}},
    {"CheckBoxCanNoRecord",       {"No record", "Keine Aufzeichnung", "Bez záznamu"}},
    {"GroupBoxIntakePort",        {"Intake ports", "Einlasskanäle", "Sací kanály"}},
    {"LabelIntakePortRpm",        {"Rpm", "U/min", "Otáčky"}},
    {"LabelIntakePortHysteresis", {"Hysteresis", "Hysterese", "Hystereze"}},
    {"CheckBox1IntakeInvert",     {"Invert", "Invertieren", "Invertovat"}},
};

constexpr int kBikeEditors[] = {kBikeEditorId};

}  // namespace

void BikePageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kBikeCaptions);
    auto* combo = control<TComboBox>(w, "ComboBoxBike");
    if (!combo) return;
    ClearComboItems(combo);
    for (const BikeModel& model : BikeModels()) AddComboItem(combo, GetLngText(model.displayName), model.tag);
    AddComboItem(combo, "-------------", kSeparatorTag);
    ShowComboTag(w, combo, kModelByte, 0);
}

void ShowBikeModel(TPageForm& w)
{
    auto* combo = control<TComboBox>(w, "ComboBoxBike");
    if (!combo) return;
    if (specialOn(w)) {
        SelectComboTagQuiet(w, combo, kSeparatorTag);
    } else if (FindComboTag(combo, w.images.image[kModelByte]) < 0) {
        ShowPageMessage(w, kMessageNoModelItem, message(w, kMessageNoModelItem));
    } else {
        ShowComboTag(w, combo, kModelByte, 0);
    }
}

void StoreBikeModel(TPageForm& w)
{
    if (specialOn(w)) return;
    const int tag = GetComboTag(control<TComboBox>(w, "ComboBoxBike"));
    // The separator names no model: its tag never becomes a model number.
    if (tag >= 0 && tag != kSeparatorTag) w.images.image[kModelByte] = static_cast<std::uint8_t>(tag);
}

std::vector<std::uint8_t> PackNotes(const std::vector<std::string>& lines)
{
    std::vector<std::uint8_t> area(kNotesEnd - kNotesFirst, 0);
    std::size_t position = 0;
    for (const std::string& line : lines) {
        const std::size_t room = area.size() - position;
        if (room == 0) break;
        const NotesLine units = notesLineFromUtf8(line);
        const std::optional<std::string> bytes = os::utf8ToCp1250(line);
        // A line starting with byte 1 would read back as wide text: it is stored wide.
        if (bytes && (bytes->empty() || static_cast<std::uint8_t>(bytes->front()) != 1)) {
            const std::size_t k = std::min(bytes->size() + 1, room);
            std::copy_n(bytes->begin(), std::min(bytes->size(), k), area.begin() + std::ptrdiff_t(position));
            area[position + k - 1] = 0;  // a line cut at the end stays terminated
            position += k;
        } else if (room > 5) {
            area[position++] = 1;
            const std::size_t left = room - 1;
            // The units and their 16-bit NUL, cut to whole units where the area ends.
            std::size_t k = 2 * units.size() + 2;
            if (left / 2 < units.size() + 1) k = 2 * (left / 2);
            for (std::size_t i = 0; i + 2 < k; i += 2) {
                area[position + i] = static_cast<std::uint8_t>(units[i / 2] & 0xFF);
                area[position + i + 1] = static_cast<std::uint8_t>(units[i / 2] >> 8);
            }
            area[position + k - 2] = 0;
            area[position + k - 1] = 0;
            position += k;
        }
    }
    return area;
}

void StoreNotes(TPageForm& w)
{
    auto* memo = control<TMemo>(w, "Memo1");
    if (!memo) return;
    const std::vector<std::uint8_t> area = PackNotes(memo->Lines());
    std::copy(area.begin(), area.end(), w.images.image.begin() + kNotesFirst);
}

void ShowNotes(TPageForm& w)
{
    auto* memo = control<TMemo>(w, "Memo1");
    if (!memo) return;
    std::vector<std::string> lines;
    for (const NotesLine& line : notesLinesOfImage(w.images.image)) lines.push_back(notesLineToUtf8(line));
    const SettingGuard guard(w);
    memo->SetLines(lines);
}

void BikePageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    if (auto* special = control<TCheckBox>(w, "CheckBoxBikeSecial"))
        special->SetColor(specialOn(w) ? clRed : clBtnFace);
    if (auto* intake = control<TGroupBox>(w, "GroupBoxIntakePort")) {
        const int idleMode = image[4559];
        intake->SetVisible(!(image[4418] != 0 || (image[4411] == 0 && (idleMode == 2 || idleMode == 3))));
    }
    // Pulses -1 and -2 name the pickups themselves: no correction applies then.
    const bool correction = image[kPulsesByte] < 240;
    for (std::string_view name : {"LabelRpmKorekce", "UpDownRpmKorekce", "EditRpmKorekce"})
        if (auto* c = control<TControl>(w, name)) c->SetVisible(correction);
    lambdaAxisLayout(w);
}

void ShowBikePage(TPageForm& w)
{
    {
        const SettingGuard guard(w);
        if (w.pageHooks.unitIdentity) {
            const IdentityTexts& identity = w.pageHooks.unitIdentity();
            if (auto* l = control<TLabel>(w, "LabelVerze1")) l->SetCaption(identity.unit);
            if (auto* l = control<TLabel>(w, "LabelVerze2")) l->SetCaption(identity.date);
            if (auto* l = control<TLabel>(w, "LabelVerze3")) l->SetCaption(identity.time);
        }
        ShowBikeModel(w);
        ShowNotes(w);
    }
    ShowBindings(w, PAGE_BIKE);
    showPulsesText(w);
    {
        const SettingGuard guard(w);
        const bool fast = w.images.image[kCanSpeedByte] != 0;
        if (auto* slow = control<TRadioButton>(w, "RadioButtonCAN250")) {
            slow->SetChecked(!fast);
            slow->Repaint();
        }
        if (auto* quick = control<TRadioButton>(w, "RadioButtonCAN500")) {
            quick->SetChecked(fast);
            quick->Repaint();
        }
    }
    showLambdaMap(w);
    requestLimiterRefresh(w);
    BikePageLayout(w);
    if (w.initialised) SyncPageLayout(w);
}

void ComboBoxBikeChange(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    const int oldModel = image[kModelByte];
    const int oldSpecial = image[kSpecialByte];
    if (w.CheckBoxProgHned) w.CheckBoxProgHned->SetFocus();
    auto* combo = control<TComboBox>(w, "ComboBoxBike");
    const int tag = GetComboTag(combo);
    // The separator names no model: the list goes back to the model, nothing is asked or committed.
    if (tag < 0 || tag == kSeparatorTag) {
        ShowBikeModel(w);
        return;
    }
    if (oldSpecial != 0) {
        if (MessageBox(message(w, kMessageLeaveSpecial), "", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            ShowBikePage(w);
            return;
        }
        image[kSpecialByte] = 0;
        SetCheckQuiet(w, control<TCheckBox>(w, "CheckBoxBikeSecial"), 0);
    }
    // Asked before anything is committed: a cancelled choice leaves the image, the undo steps and the unit alone.
    const int cancelled = w.pageHooks.newSettings ? w.pageHooks.newSettings(-1, 0) : 0;
    if (cancelled != 0) {
        image[kModelByte] = static_cast<std::uint8_t>(oldModel);
        image[kSpecialByte] = static_cast<std::uint8_t>(oldSpecial);
        ShowBikePage(w);
        return;
    }
    // Yes loaded the new model's settings already; No keeps the settings with the new model number.
    StoreBikeModel(w);
    CommitChangeNow(w);
    image[kSpecialByte] = 0;
    if (w.pageHooks.applyLanguage) w.pageHooks.applyLanguage();
    ShowImageOnPages(w, 1);
}

void Memo1Exit(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreNotes(w);
    NotePendingChange(w, control<TMemo>(w, "Memo1"), kChangeNow);
}

extern const PageModule kBikePage{
    .sheetName = "TabSheet_Bike",
    .caption = "Bike",
    .layout = kBikeLayout,
    .bindings = kBikeBindings,
    .editorIds = kBikeEditors,
    // The limiters, which the unit may change by itself.
    .rereadShowFirst = 2660,
    .rereadShowEnd = 2664,
    .build = BuildBikePage,
    .store = StoreBikePage,
    .show = ShowBikePage,
    .captions = BikePageCaptions,
    .mapChanged = BikeMapChanged,
};
