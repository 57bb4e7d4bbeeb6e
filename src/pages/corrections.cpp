// The corrections page: the unit's correction tables (injection and advance by coolant and air temperature, the
// acceleration enrichment, the start corrections, the voltage corrections of injection time and dwell), the
// acceleration factors and the injector dead time. Twelve small map editors hold the tables; a thirteenth with
// six empty sheets is the row of tabs that chooses which group of tables is shown. The three group boxes at the
// bottom show the corrections in force, written by the live display.
#include "pages/corrections.h"

#include "pages/captions.h"
#include "pages/commit.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int W = kDesignPageWidth;
constexpr int H = kDesignPageHeight;

// The live group boxes stand along the bottom; the tables hang from their top.
constexpr int kLiveTop = 424;
// The acceleration tables fill the width of the page; the acceleration factors stand in two columns under them,
// above the live group boxes.
constexpr int kAccTop = 45;
constexpr int kAccHeight = H * 43 / 100;  // trunc(H x 0.43)
constexpr int kAccKLeft = 8;
constexpr int kAccKTop = kAccTop + kAccHeight + 8;

// clang-format off
constexpr ControlRow kCorrectionsLayout[] = {
    // name               kind                    parent             left          top      width height caption
    {"GroupBoxAccK",      ControlKind::GroupBox,  "TabSheet_Korekce", kAccKLeft,   kAccKTop,  576,  84, "Acceleration correction of synchronous injections"},
    {"LabelAccKPlus",     ControlKind::Label,     "GroupBoxAccK",      10,  27, 180, 17, "Enrichment + [%/100%]"},
    {"EditAccKPlus",      ControlKind::Edit,      "GroupBoxAccK",     194,  24,  64, 21},
    {"UpDownAccKPlus",    ControlKind::UpDown,    "GroupBoxAccK",       0,   0,  16, 21, {}, "EditAccKPlus"},
    {"LabelAccKMinus",    ControlKind::Label,     "GroupBoxAccK",      10,  54, 180, 17, "Enleanment - [%/100%]"},
    {"EditAccKMinus",     ControlKind::Edit,      "GroupBoxAccK",     194,  51,  64, 21},
    {"UpDownAccKMinus",   ControlKind::UpDown,    "GroupBoxAccK",       0,   0,  16, 21, {}, "EditAccKMinus"},
    {"LabelAccT100",      ControlKind::Label,     "GroupBoxAccK",     290,  27, 196, 17, "Time constant TP 100% [10ms]"},
    {"EditAccT100",       ControlKind::Edit,      "GroupBoxAccK",     490,  24,  64, 21},
    {"UpDownAccT100",     ControlKind::UpDown,    "GroupBoxAccK",       0,   0,  16, 21, {}, "EditAccT100"},
    {"LabelAccT0",        ControlKind::Label,     "GroupBoxAccK",     290,  54, 196, 17, "Time constant by TP 0% [10ms]"},
    {"EditAccT0",         ControlKind::Edit,      "GroupBoxAccK",     490,  51,  64, 21},
    {"UpDownAccT0",       ControlKind::UpDown,    "GroupBoxAccK",       0,   0,  16, 21, {}, "EditAccT0"},

    {"LabelDeadTime",     ControlKind::Label,     "TabSheet_Korekce", 720,  30, 132, 17, "Dead time [us]"},
    {"EditDeadTime",      ControlKind::Edit,      "TabSheet_Korekce", 720,  50,  64, 21},
    {"UpDownDeadTime",    ControlKind::UpDown,    "TabSheet_Korekce",   0,   0,  16, 21, {}, "EditDeadTime"},

    {"GroupBoxInjCor",    ControlKind::GroupBox,  "TabSheet_Korekce",   8, kLiveTop, 276, 170, "Injection Corrections"},
    {"LabelCorInjStart",  ControlKind::Label,     "GroupBoxInjCor",    10,  22, 256, 17, "Starting corr.= ---"},
    {"LabelCorInjU",      ControlKind::Label,     "GroupBoxInjCor",    10,  42, 256, 17, "U correction= ---"},
    {"LabelCorInjTW",     ControlKind::Label,     "GroupBoxInjCor",    10,  62, 256, 17, "TW correction= ---"},
    {"LabelCorInjAT",     ControlKind::Label,     "GroupBoxInjCor",    10,  82, 256, 17, "AT correction= ---"},
    {"LabelCorInjAP",     ControlKind::Label,     "GroupBoxInjCor",    10, 102, 256, 17, "AP correction= ---"},
    {"LabelCorInjPOT",    ControlKind::Label,     "GroupBoxInjCor",    10, 122, 256, 17, "POT correction= ---"},
    {"LabelStartJet",     ControlKind::Label,     "GroupBoxInjCor",    10, 142, 256, 17, "Start Jet= ---"},
    {"GroupBoxAdvCor",    ControlKind::GroupBox,  "TabSheet_Korekce", 292, kLiveTop, 276, 170, "Advance Corrections"},
    {"LabelCorAdvTW",     ControlKind::Label,     "GroupBoxAdvCor",    10,  22, 256, 17, "TW correction= ---"},
    {"LabelCorAdvAT",     ControlKind::Label,     "GroupBoxAdvCor",    10,  42, 256, 17, "AT correction= ---"},
    {"LabelCorAdvPOT",    ControlKind::Label,     "GroupBoxAdvCor",    10,  62, 256, 17, "POT correction= ---"},
    {"LabelCorAdvIdle",   ControlKind::Label,     "GroupBoxAdvCor",    10,  82, 256, 17, "Idle= ---"},
    {"GroupBoxAccCor",    ControlKind::GroupBox,  "TabSheet_Korekce", 576, kLiveTop, 276, 170, "Acceleration Corrections"},
    {"LabelCorAcc",       ControlKind::Label,     "GroupBoxAccCor",    10,  22, 256, 17, "Correction of sync. inj.= ---"},
    {"LabelCorAccAval",   ControlKind::Label,     "GroupBoxAccCor",    10,  42, 256, 17, "Asynch. injection= ---"},
    {"LabelCorAccTWa",    ControlKind::Label,     "GroupBoxAccCor",    10,  62, 256, 17, "TW correction async. inj.= ---"},
    {"LabelCorAccTWs",    ControlKind::Label,     "GroupBoxAccCor",    10,  82, 256, 17, "TW correction sync. inj.= ---"},
    {"LabelAccTres",      ControlKind::Label,     "GroupBoxAccCor",    10, 102, 256, 17, "Acc. threshold= ---"},
};

constexpr FieldBinding kCorrectionsBindings[] = {
    // control            kind        address index scale offset min  max    incr
    {"UpDownAccKPlus",    Bind::Word, 1040,   0,    1,    0,      0, 30000,  1},
    {"UpDownAccKMinus",   Bind::Word, 1041,   0,    1,    0,      0, 30000,  1},
    {"UpDownAccT100",     Bind::Word, 1042,   0,    1,    0,     10, 30000, 10},
    {"UpDownAccT0",       Bind::Word, 1043,   0,    1,    0,     10, 30000, 10},
    {"UpDownDeadTime",    Bind::Byte, 4051,   0,   10,    0,      0,  2000, 10},
};

// Temperatures and advance corrections are stored with 100 added; table 12's cells lie row by row, four to a row
// (its four RPM points are always all in use).
constexpr GridBinding kCorrectionsGrids[] = {
    // editor sheet cell              address rows cols scale reread part               offset first
    {7,  0, Cell::Byte,       4008, 10, 1, 1, false, GridPart::YPoints, -100},
    {7,  0, Cell::Byte,       3907, 10, 1},
    {8,  0, Cell::Byte,       4018,  7, 1, 1, false, GridPart::YPoints, -100},
    {8,  0, Cell::Byte,       3957,  7, 1},
    {9,  0, Cell::Byte,       4025, 10, 1, 1, false, GridPart::YPoints, -100},
    {9,  0, Cell::Byte,       3917, 10, 1, 1, false, GridPart::Cells,   -100},
    {10, 0, Cell::Byte,       4035,  7, 1, 1, false, GridPart::YPoints, -100},
    {10, 0, Cell::Byte,       3964,  7, 1, 1, false, GridPart::Cells,   -100},
    {11, 0, Cell::Byte,       3971,  5, 1},
    {12, 0, Cell::Byte,       3976,  1, 4, 1, false, GridPart::XPoints},
    {12, 0, Cell::Byte,       3980,  5, 4},
    {13, 0, Cell::Byte,       3927, 10, 1},
    {14, 0, Cell::Byte,       3937, 10, 1},
    {15, 0, Cell::Byte,       3947, 10, 1},
    // Time point 0 is 0 s and the last correction 100 % by definition: only points 1-4 and values 0-3 are kept.
    {16, 0, Cell::Byte,       4000,  4, 1, 1, false, GridPart::YPoints,    0, 1},
    {16, 0, Cell::Byte,       4004,  4, 1, 1, false, GridPart::Cells,    100},
    {17, 0, Cell::Word,       1031,  9, 1, 1, false, GridPart::Cells,   -100},
    {18, 0, Cell::SignedByte, 4042,  9, 1},
};
// clang-format on

// Axes that the image does not store.
constexpr int kTpPoints[] = {0, 5, 20, 60, 100};
constexpr int kCoolantPoints[] = {-10, 20, 50, 80, 90, 95, 100, 105, 110, 115};
constexpr int kVoltagePoints[] = {8, 9, 10, 11, 12, 13, 14, 15, 16};  // volts (the tenths 80-160 / 10)

constexpr int kSelectorId = 6;
constexpr int kStartCorrectionId = 16;
constexpr int kStartRows = 5;

// ---- the map editors

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kLilac = 0xECD2F4;
constexpr TColor kCream = 0xFCF2E4;

// The single column of a table that varies along Y: it only carries the column head.
constexpr AxisSetup columnAxis(TColor colour)
{
    return {.min = 0,
            .max = 20000,
            .editable = 0,
            .options = 0,
            .count = 1,
            .collapseOption = 2,
            .collapsed = 1,
            .resizable = 0,
            .collapsePos = kCollapseFirst,
            .colour = colour};
}
constexpr AxisSetup yAxis(std::string_view name, std::string_view unit, int min, int max, int count, bool editable,
                          std::span<const StepEntry> steps, TColor colour)
{
    return {.name = name,
            .unit = unit,
            .min = min,
            .max = max,
            .steps = steps,
            .editable = editable ? 1 : 0,
            .options = 1,
            .count = count,
            .collapseOption = 0,
            .resizable = 0,
            .collapsePos = kCollapseLast,
            .colour = colour};
}
constexpr AxisSetup dataAxis(std::string_view name, std::string_view unit, int min, int max, double scale,
                             std::span<const StepEntry> steps, TColor colour)
{
    return {.name = name,
            .unit = unit,
            .min = min,
            .max = max,
            .scale = scale,
            .steps = steps,
            .options = 2,
            .colour = colour};
}

constexpr std::string_view kRainbow10 = "BGRAINBOW10x22";
constexpr std::string_view kRainbow7 = "BGRAINBOW7x22";

constexpr std::string_view kCoolantName = "###Coolant##Kühl.##Voda";
constexpr std::string_view kAirName = "###Air##Luft##Vzduch";
constexpr std::string_view kInjectionName = "###Injection##Einspritz##Vstřik";
constexpr std::string_view kAdvanceName = "###Advance##Vorzündung##Předstih";
constexpr std::string_view kCorrectionName = "###Correction##Korrektur##Korekce";
constexpr std::string_view kVoltageName = "###Voltage##Spannung##Napětí";

// A temperature table of 10 (coolant) or 7 (air) points.
constexpr SheetSpec temperatureSheet(std::string_view title, std::string_view yLabel, std::string_view dataLabel,
                                     std::string_view yName, int points, std::string_view dataName,
                                     std::string_view unit, int min, int max, std::span<const StepEntry> steps)
{
    const std::string_view rainbow = points == 10 ? kRainbow10 : kRainbow7;
    return {.title = title,
            .xName = "",
            .yName = yLabel,
            .dataName = dataLabel,
            .columns = 1,
            .rows = 10,
            .flags = 3,
            .x = columnAxis(kWhite),
            .y = yAxis(yName, "°C", -40, yName == "TW" ? 140 : 150, points, true, kTemperatureSteps, kWhite),
            .data = dataAxis(dataName, unit, min, max, 1.0, steps, kWhite),
            .xPicture = "BGWA",
            .yPicture = rainbow,
            .dataPicture = rainbow,
            .titleFontSize = 9,
            .cellFontSize = 9,
            .unitInCells = true};
}
// A table over the fixed coolant points.
constexpr SheetSpec coolantSheet(std::string_view title, std::string_view dataLabel, std::string_view dataName,
                                 std::string_view unit, int min, int max, std::span<const StepEntry> steps)
{
    return {.title = title,
            .xName = "",
            .yName = kCoolantName,
            .dataName = dataLabel,
            .columns = 1,
            .rows = 10,
            .flags = 3,
            .x = columnAxis(kWhite),
            .y = yAxis("TW", "°C", -10, 120, 10, false, kTemperatureSteps, kWhite),
            .data = dataAxis(dataName, unit, min, max, 1.0, steps, kWhite),
            .xPicture = "BGWA",
            .yPicture = kRainbow10,
            .dataPicture = kRainbow10,
            .titleFontSize = 9,
            .cellFontSize = 9,
            .unitInCells = true};
}
// A table over the fixed voltage points.
constexpr SheetSpec voltageSheet(std::string_view title, std::string_view dataLabel, std::string_view dataName, int min,
                                 int max, double scale, bool unitInCells)
{
    return {.title = title,
            .xName = "",
            .yName = kVoltageName,
            .dataName = dataLabel,
            .columns = 1,
            .rows = 10,
            .flags = 3,
            .x = columnAxis(kLilac),
            .y = yAxis("U", "V", 5, 20, 9, false, kVoltageSteps, kLilac),
            .data = dataAxis(dataName, "us", min, max, scale, kVoltageTimeSteps, kLilac),
            .unitInCells = unitInCells};
}

constexpr AxisSetup kDummyAxis{.min = 0, .max = 100, .scaleGroup = 0x100, .colour = kWhite};
constexpr SheetSpec selectorSheet(std::string_view title)
{
    return {.title = title,
            .xName = "",
            .yName = "",
            .dataName = "",
            .columns = 1,
            .rows = 1,
            .flags = 0,
            .x = kDummyAxis,
            .y = kDummyAxis,
            .data = kDummyAxis};
}

constexpr SheetSpec kSelectorSheets[] = {
    selectorSheet("###Injection/Temp.##Einspritz/Temp.##Vstřik/Teplota"),
    selectorSheet("###Advance/Temp.##Vorzündung/Temp.##Předstih/Teplota"),
    selectorSheet("###Acceleration##Beschleunigung##Zrychlení"),
    selectorSheet("###Acceleration/Temp.##Beschleunigung/Temp.##Zrychlení/Teplota"),
    selectorSheet("###Starting##Start##Start"),
    selectorSheet("###Voltage##Spannung##Napětí"),
};
constexpr SheetSpec kSheet7[] = {temperatureSheet(
    "###Correction of synchronous injections of cool temperature##Korrektur der Synchron Injektionen von "
    "Kühlflüssigkeitstemperatur##Korekce synchronních vstřiků od teploty vody",
    kCoolantName, kInjectionName, "TW", 10, "INJ", "%", 5, 250, kPercentSteps)};
constexpr SheetSpec kSheet8[] = {temperatureSheet(
    "###Correction of synchronous injections of air temperature##Korrektur der Synchron Injektionen der "
    "Lufttemperatur##Korekce synchronních vstřiků od teploty vzduchu",
    kAirName, kInjectionName, "TA", 7, "INJ", "%", 5, 250, kPercentSteps)};
constexpr SheetSpec kSheet9[] = {temperatureSheet(
    "###Correction of advance of cool temperature##Korrektur der Vorzündung von Kühlflüssigkeitstemperatur##Korekce "
    "předstihu od teploty vody",
    kCoolantName, kAdvanceName, "TW", 10, "ADV", "°", -20, 20, kAdvanceSteps)};
constexpr SheetSpec kSheet10[] = {temperatureSheet(
    "###Correction of advance of air temperature##Korrektur der Vorzündung der Lufttemperatur##Korekce předstihu od "
    "teploty vzduchu",
    kAirName, kAdvanceName, "TA", 7, "ADV", "°", -20, 20, kAdvanceSteps)};
constexpr SheetSpec kSheet11[] = {{.title = "###Acceleration treshold##Schwellenbeschleun.##Práh akcelerace",
                                   .xName = "",
                                   .yName = "TP",
                                   .dataName = "[%/s]",
                                   .columns = 1,
                                   .rows = 5,
                                   .flags = 3,
                                   .x = columnAxis(kWhite),
                                   .y = yAxis("TP", "%", 0, 100, 5, false, kPercentSteps, kLilac),
                                   .data = dataAxis("ACCTR", "%/s", 1, 250, 10.0, kPercentSteps, kLilac),
                                   .xPicture = "BGWA",
                                   .titleFontSize = 9,
                                   .cellFontSize = 9}};
constexpr SheetSpec kSheet12[] = {
    {.title = "###Acceleration asynchronous injections (repeated by 10 ms)##Beschleunigung asynchrone Injektionen "
              "(nach 10 ms)##Akcelerační asynchronní vstřiky (opakování po 10 ms)",
     .xName = "RPM",
     .yName = "TP",
     .dataName = "Advance",
     .columns = 4,
     .rows = 5,
     .flags = 0x603,
     .x = {.name = "RPM",
           .min = 3,
           .max = 250,
           .scale = 100.0,
           .steps = kRpmSteps,
           .options = 1,
           .count = 4,
           .collapseOption = 0,
           .resizable = 0,
           .collapsePos = kCollapseFirst,
           .scaleGroup = 0x100,
           .colour = kLilac},
     .y = yAxis("TP", "%", 0, 100, 5, false, kPercentSteps, kLilac),
     .data = dataAxis("INJ", "ms", 0, 150, 0.05, kInjectionTimeSteps, kLilac),
     .titleFontSize = 9,
     .cellFontSize = 9}};
constexpr SheetSpec kSheet13[] = {
    coolantSheet("###The temperature correction of acceleration asynchronous injections##Die Temperaturkorrektur des "
                 "Beschleunigung asynchronen Injektionen##Teplotní korekce akceleračních asynchronních vstřiků",
                 kCorrectionName, "COR", "%", 5, 250, kPercentSteps)};
constexpr SheetSpec kSheet14[] = {coolantSheet(
    "###The temperature correction of acceleration correction of synchronous injections##Die Temperaturkorrektur "
    "des Beschleunigungskorrektur von synchronen Injektionen##Teplotní korekce akcelerační korekce synchronních "
    "vstřiků",
    kCorrectionName, "COR", "%", 5, 250, kPercentSteps)};
constexpr SheetSpec kSheet15[] = {
    coolantSheet("###Asynchronous start injection##Asynchrone Start Injektion##Asynchronní startovací vstřik",
                 "###Injection##+Einspritz##+Vstřik", "START", "ms", 0, 250, kAdvanceSteps)};
constexpr SheetSpec kSheet16[] = {
    {.title = "###The start time correction of synchronous injections (for -10 ° C)##Die Startzeitkorrektur der "
              "Synchron Injektionen (für -10 ° C)##Startovací časová korekce synchronních vstřiků (pro teplotu "
              "-10°C)",
     .xName = "",
     .yName = "###Time##Zeit##Čas",
     .dataName = "###Max cor.##Max Kor.##Max kor.",
     .columns = 1,
     .rows = kStartRows,
     .flags = 0x4003,
     .x = columnAxis(kCream),
     .y = yAxis("Tst", "s", 0, 250, kStartRows, true, kVoltageTimeSteps, kLilac),
     .data = dataAxis("COR", "%", 100, 350, 1.0, kPercentSteps, kLilac),
     .titleFontSize = 9,
     .cellFontSize = 9,
     .unitInCells = true}};
constexpr SheetSpec kSheet17[] = {
    voltageSheet("###Voltage correction of injections##Spannungskorrektur von "
                 "Injektionen##Napěťová korekce všech vstřiků",
                 "###+Injection##+Inj.##+Vstřik", "INJ", -100, 150, 10.0, true)};
constexpr SheetSpec kSheet18[] = {
    voltageSheet("###Voltage correction of dwell time##Spannungskorrektur von "
                 "Anfachung##Napěťová korekce budícího času zapalovací cívky",
                 "###+Dwell##+Anfachung##+Buzení", "DWELL", -20, 100, 100.0, false)};

// Places in the design page. Tables shown together stand side by side without overlapping; the right-hand ones end
// inside the page, and the start injection table and the voltage tables leave room for what stands beside them.
constexpr int kLeftWidth = W / 2 - 15;  // trunc(W x 0.5) - 15
constexpr int kRightLeft = kLeftWidth + 40;
constexpr int kRightWidth = W - kRightLeft - 5;
constexpr int kTableHeight = kLiveTop - 31;
constexpr int kThresholdWidth = 150;
constexpr int kStartLeft = W * 47 / 100;  // trunc(W x 0.47)
constexpr int kVoltageWidth = W * 42 / 100 - 15;
constexpr int kVoltageHeight = kLiveTop - 26;

constexpr MapEditorSpec kCorrectionsEditors[] = {
    {.id = kSelectorId,
     .flagWord = kTabSideBar | kTabSideBarEmpty,
     .left = 0,
     .top = 4,
     .width = W,
     .height = 21,
     .sheets = kSelectorSheets},
    {7, 0x130, 10, 30, kLeftWidth, kTableHeight, 6, 10, kSheet7},
    {8, 0x130, kRightLeft, 30, kRightWidth, kTableHeight, 6, 10, kSheet8},
    {9, 0x130, 10, 30, kLeftWidth, kTableHeight, 6, 10, kSheet9},
    {10, 0x130, kRightLeft, 30, kRightWidth, kTableHeight, 6, 10, kSheet10},
    {11, 0x130, 10, kAccTop, kThresholdWidth, kAccHeight, 1, 5, kSheet11},
    {12, 0x130, 18 + kThresholdWidth, kAccTop, W - 28 - kThresholdWidth, kAccHeight, 4, 5, kSheet12},
    {13, 0x130, 10, 30, kLeftWidth, kTableHeight, 6, 10, kSheet13},
    {14, 0x130, kRightLeft, 30, kRightWidth, kTableHeight, 6, 10, kSheet14},
    {15, 0x130, 10, 30, kStartLeft - 20, kTableHeight, 6, 10, kSheet15},
    {kStartCorrectionId, 0x130, kStartLeft, 70, W * 53 / 100, kAccHeight, 5, 5, kSheet16},
    {17, 0x130, 10, 25, kVoltageWidth, kVoltageHeight, 5, 10, kSheet17},
    {18, 0x130, kVoltageWidth + 15, 25, kVoltageWidth, kVoltageHeight, 6, 10, kSheet18},
};

// The selector's sheet that shows each table, by editor id 7..18.
constexpr int kGroupOfTable[] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
constexpr int kSelectorDeadTime = 5;
constexpr int kSelectorAcceleration = 2;

CSheet* sheet0(TPageForm& w, int id)
{
    TTab* e = MapEditor(w, id);
    return e && e->sheetCount > 0 ? &e->sheets[0] : nullptr;
}

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (TControl* c = FindControl<TControl>(w, name)) c->SetVisible(visible);
}

void BuildCorrectionsPage(TPageForm& w)
{
    TControl* sheet = w.tabSheets[PAGE_CORRECTIONS];
    for (const MapEditorSpec& spec : kCorrectionsEditors) BuildMapEditor(w, spec, sheet);
    // The start table's two cells that are not stored: 0 s and 100 % from the start.
    if (CSheet* start = sheet0(w, kStartCorrectionId)) {
        start->y.points[0] = 0;
        start->value(0, kStartRows - 1) = 100;
    }
    CorrectionsPageLayout(w);
}

void ShowCorrectionsPage(TPageForm& w)
{
    ShowBindings(w, PAGE_CORRECTIONS);
    auto fixY = [&w](std::initializer_list<int> ids, std::span<const int> points) {
        for (int id : ids)
            if (CSheet* sheet = sheet0(w, id)) SetFixedPoints(*sheet, false, points);
    };
    fixY({11, 12}, kTpPoints);
    fixY({13, 14, 15}, kCoolantPoints);
    fixY({17, 18}, kVoltagePoints);
    ShowGrids(w, kCorrectionsGrids);
    for (int id = 7; id <= 18; ++id) RequestMapRedraw(w, id);
    CorrectionsPageLayout(w);
}

void StoreCorrectionsPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    StoreBindings(w, PAGE_CORRECTIONS);
    StoreGrids(w, kCorrectionsGrids);
}

void CorrectionsMapChanged(TPageForm& w, int editorId)
{
    if (editorId >= 7 && editorId <= 17) TempCorrMapChanged(w);
}

// clang-format off
constexpr CaptionRow kCorrectionsCaptions[] = {
    {"TabSheet_Korekce", {"Corrections", "Korrektionen", "Korekce"}},
    {"GroupBoxAccK",     {"Acceleration correction of synchronous injections",
                          "Beschleunigungskorrektur den Synchron Injektionen",
                          "Akcelerační korekce synchronních vstřiků"}},
    {"LabelAccKPlus",    {"Enrichment + [%/100%]"}},
    {"LabelAccKMinus",   {"Enleanment - [%/100%]"}},
    {"LabelAccT0",       {"Time constant by TP 0% [10ms]"}},
    {"LabelAccT100",     {"Time constant TP 100% [10ms]"}},
    {"GroupBoxInjCor",   {"Injection Corrections"}},
    {"GroupBoxAdvCor",   {"Advance Corrections"}},
    {"GroupBoxAccCor",   {"Acceleration Corrections"}},
    {"LabelDeadTime",    {"Dead time [us]"}},
};
// clang-format on

void CorrectionsPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kCorrectionsCaptions);
}

constexpr int kCorrectionsEditorIds[] = {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

}  // namespace

void CorrectionsPageLayout(TPageForm& w)
{
    TTab* selector = MapEditor(w, kSelectorId);
    if (!selector) return;
    const int s = selector->current;
    for (int id = 7; id <= 18; ++id)
        if (TTab* e = MapEditor(w, id)) e->SetVisible(kGroupOfTable[id - 7] == s);
    setVisible(w, "GroupBoxAccK", s == kSelectorAcceleration);
    for (std::string_view name : {"LabelDeadTime", "EditDeadTime", "UpDownDeadTime"})
        setVisible(w, name, s == kSelectorDeadTime);
}

void TempCorrMapChanged(TPageForm& w)
{
    TTab* start = MapEditor(w, kStartCorrectionId);
    if (CSheet* sheet = start ? start->Current() : nullptr) {
        // The stored layout has no room for these two cells: time point 0 is 0 s and the last correction 100 %.
        if (sheet->y.points[0] != 0) {
            start->dirty |= kDirtyRedraw;
            sheet->y.points[0] = 0;
        }
        if (sheet->value(0, kStartRows - 1) != 100) {
            start->dirty |= kDirtyRedraw;
            sheet->value(0, kStartRows - 1) = 100;
        }
    }
    CommitChangeNow(w);
    CorrectionsPageLayout(w);
}

extern const PageModule kCorrectionsPage{
    .sheetName = "TabSheet_Korekce",
    .caption = "Corrections",
    .layout = kCorrectionsLayout,
    .bindings = kCorrectionsBindings,
    .grids = kCorrectionsGrids,
    .editorIds = kCorrectionsEditorIds,
    .build = BuildCorrectionsPage,
    .store = StoreCorrectionsPage,
    .show = ShowCorrectionsPage,
    .captions = CorrectionsPageCaptions,
    .mapChanged = CorrectionsMapChanged,
};
