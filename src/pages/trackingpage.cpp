// The launch and traction control page. A one-row map editor at the top works as a tab strip between three
// sections: the launch control (start limiters, acceleration limiters over RPM and throttle, the throttle servos
// during the start), the after-start limiters (a retard and an RPM limit over the time since the start) and the
// traction control (a retard map over wheel slip and throttle with its limits). Which sections exist follows the
// two enable boxes.
#include "pages/trackingpage.h"

#include <algorithm>
#include <string>

#include "os/lngtext.h"
#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/mapgrids.h"
#include "pages/mapsheets.h"
#include "pages/mapside.h"
#include "pages/modules.h"
#include "pages/pages.h"
#include "pages/sensorspage.h"

namespace {

constexpr int kSelectorId = 20;
constexpr int kRetardCurveId = 21;
constexpr int kLimiterCurveId = 22;
constexpr int kTractionId = 23;
constexpr int kAccelerationId = 24;

constexpr int kLaunchEnableByte = 4625;
constexpr int kTrackEnableByte = 4797;
constexpr int kSpeedSourceByte = 4631;  // 0 engine speed, 1 rear wheel speed
constexpr int kServoExPercentByte = 4414;
constexpr int kServoInPercentByte = 4415;
constexpr int kServoExOnByte = 4729;
constexpr int kServoInOnByte = 4730;
constexpr int kFilterEndByte = 4728;
constexpr int kRetardCountByte = 4735;  // points of the after-start retard curve in use; the limiter's at 4736
constexpr int kCurvePoints = 15;

enum Section { kLaunchSection = 0, kAfterStartSection = 1, kTractionSection = 2 };

// clang-format off
constexpr ControlRow kTrackingLayout[] = {
    // name                     kind                     parent                     left top width height caption
    {"CheckBoxLaunchEnable",    ControlKind::CheckBox,   "TabSheet_Tracking",         20,  30, 190, 21, "Launch enable"},
    {"CheckBoxTrackEnable",     ControlKind::CheckBox,   "TabSheet_Tracking",        220,  30, 200, 21, "Track enabled"},
    {"EditTrackInhibit",        ControlKind::Edit,       "TabSheet_Tracking",        500,  29,  50, 21},
    {"UpDownTrackInhibit",      ControlKind::UpDown,     "TabSheet_Tracking",          0,   0,  16, 21, {}, "EditTrackInhibit"},
    {"LabelTrackInhibit",       ControlKind::Label,      "TabSheet_Tracking",        570,  33, 270, 17, "Inhibit (for N revolutions)"},

    {"GroupBoxStartLimiters",   ControlKind::GroupBox,   "TabSheet_Tracking",         20,  54, 830,  80, "Start limiters"},
    {"EditStartIgnLimiter",     ControlKind::Edit,       "GroupBoxStartLimiters",     10,  23,  50, 21},
    {"UpDownStartIgnLimiter",   ControlKind::UpDown,     "GroupBoxStartLimiters",      0,   0,  16, 21, {}, "EditStartIgnLimiter"},
    {"LabelStartIgnLimiter",    ControlKind::Label,      "GroupBoxStartLimiters",     80,  27, 190, 17, "Start ignition limiter [rpm]"},
    {"EditStartRetLimiter",     ControlKind::Edit,       "GroupBoxStartLimiters",     10,  48,  50, 21},
    {"UpDownStartRetLimiter",   ControlKind::UpDown,     "GroupBoxStartLimiters",      0,   0,  16, 21, {}, "EditStartRetLimiter"},
    {"LabelStartRetLimiter",    ControlKind::Label,      "GroupBoxStartLimiters",     80,  52, 190, 17, "Start retard limiter [rpm]"},
    {"EditStartInjLimiter",     ControlKind::Edit,       "GroupBoxStartLimiters",    280,  23,  50, 21},
    {"UpDownStartInjLimiter",   ControlKind::UpDown,     "GroupBoxStartLimiters",      0,   0,  16, 21, {}, "EditStartInjLimiter"},
    {"LabelStartInjLimiter",    ControlKind::Label,      "GroupBoxStartLimiters",    350,  27, 200, 17, "Start injection limiter [rpm]"},
    {"EditStartMinAdv",         ControlKind::Edit,       "GroupBoxStartLimiters",    280,  48,  50, 21},
    {"UpDownStartMinAdv",       ControlKind::UpDown,     "GroupBoxStartLimiters",      0,   0,  16, 21, {}, "EditStartMinAdv"},
    {"LabelStartMinAdv",        ControlKind::Label,      "GroupBoxStartLimiters",    350,  52, 200, 17, "Min advance"},
    {"EditStartDelay",          ControlKind::Edit,       "GroupBoxStartLimiters",    570,  23,  50, 21},
    {"UpDownStartDelay",        ControlKind::UpDown,     "GroupBoxStartLimiters",      0,   0,  16, 21, {}, "EditStartDelay"},
    {"LabelStartDelay",         ControlKind::Label,      "GroupBoxStartLimiters",    640,  27, 180, 17, "Star limiter delay [ms]"},
    {"EditStartMaxSpeed",       ControlKind::Edit,       "GroupBoxStartLimiters",    570,  48,  50, 21},
    {"UpDownStartMaxSpeed",     ControlKind::UpDown,     "GroupBoxStartLimiters",      0,   0,  16, 21, {}, "EditStartMaxSpeed"},
    {"LabelStartMaxSpeed",      ControlKind::Label,      "GroupBoxStartLimiters",    640,  52, 180, 17, "Max Speed [km/h]"},

    {"GroupBoxAccLimiters",     ControlKind::GroupBox,   "TabSheet_Tracking",         20, 138, 770, 280, "Acceleration limiters"},
    {"RadioGroupSpeedSource",   ControlKind::RadioGroup, "GroupBoxAccLimiters",       10,  20, 240,  58, "Speed source method"},
    {"LabelLimitConditions",    ControlKind::Label,      "GroupBoxAccLimiters",       10,  82, 230, 17, "Limit conditions:"},
    {"EditAccTPmin",            ControlKind::Edit,       "GroupBoxAccLimiters",       10, 101,  50, 21},
    {"UpDownAccTPmin",          ControlKind::UpDown,     "GroupBoxAccLimiters",        0,   0,  16, 21, {}, "EditAccTPmin"},
    {"LabelAccTPmin",           ControlKind::Label,      "GroupBoxAccLimiters",       80, 105, 165, 17, "TP min [%]"},
    {"EditAccTPmax",            ControlKind::Edit,       "GroupBoxAccLimiters",       10, 125,  50, 21},
    {"UpDownAccTPmax",          ControlKind::UpDown,     "GroupBoxAccLimiters",        0,   0,  16, 21, {}, "EditAccTPmax"},
    {"LabelAccTPmax",           ControlKind::Label,      "GroupBoxAccLimiters",       80, 129, 165, 17, "TP max [%]"},
    {"EditAccSpeedMin",         ControlKind::Edit,       "GroupBoxAccLimiters",       10, 149,  50, 21},
    {"UpDownAccSpeedMin",       ControlKind::UpDown,     "GroupBoxAccLimiters",        0,   0,  16, 21, {}, "EditAccSpeedMin"},
    {"LabelAccSpeedMin",        ControlKind::Label,      "GroupBoxAccLimiters",       80, 153, 165, 17, "RPM min"},
    {"EditAccRpmMax",           ControlKind::Edit,       "GroupBoxAccLimiters",       10, 173,  50, 21},
    {"UpDownAccRpmMax",         ControlKind::UpDown,     "GroupBoxAccLimiters",        0,   0,  16, 21, {}, "EditAccRpmMax"},
    {"LabelAccRpmMax",          ControlKind::Label,      "GroupBoxAccLimiters",       80, 177, 165, 17, "RPM max"},
    {"GroupBoxFiltration",      ControlKind::GroupBox,   "GroupBoxAccLimiters",       10, 200, 240,  74, "Filtration"},
    {"EditFilterSections",      ControlKind::Edit,       "GroupBoxFiltration",         8,  20,  34, 21},
    {"UpDownFilterSections",    ControlKind::UpDown,     "GroupBoxFiltration",         0,   0,  16, 21, {}, "EditFilterSections"},
    {"LabelFilterSections",     ControlKind::Label,      "GroupBoxFiltration",        62,  24,  56, 17, "Sections"},
    {"EditFilterOverlap",       ControlKind::Edit,       "GroupBoxFiltration",       122,  20,  34, 21},
    {"UpDownFilterOverlap",     ControlKind::UpDown,     "GroupBoxFiltration",         0,   0,  16, 21, {}, "EditFilterOverlap"},
    {"LabelFilterOverlap",      ControlKind::Label,      "GroupBoxFiltration",       176,  24,  58, 17, "Overlap"},
    {"RadioButtonFilterBegin",  ControlKind::RadioButton, "GroupBoxFiltration",       10,  47,  90, 20, "Begin"},
    {"RadioButtonFilterEnd",    ControlKind::RadioButton, "GroupBoxFiltration",      120,  47,  90, 20, "End"},

    {"GroupBoxStartServoIn",    ControlKind::GroupBox,   "TabSheet_Tracking",         20, 424, 260, 100, "Start limiter servo In"},
    {"CheckBoxStartServoInOn",  ControlKind::CheckBox,   "GroupBoxStartServoIn",      10,  20, 200, 21, "Servo on"},
    {"EditStartServoInLevel",   ControlKind::Edit,       "GroupBoxStartServoIn",      10,  44,  50, 21},
    {"UpDownStartServoInLevel", ControlKind::UpDown,     "GroupBoxStartServoIn",       0,   0,  16, 21, {}, "EditStartServoInLevel"},
    {"LabelStartServoInLevel",  ControlKind::Label,      "GroupBoxStartServoIn",      80,  48, 170, 17, "Servo In [mV]"},
    {"EditStartServoInFuel",    ControlKind::Edit,       "GroupBoxStartServoIn",      10,  70,  50, 21},
    {"UpDownStartServoInFuel",  ControlKind::UpDown,     "GroupBoxStartServoIn",       0,   0,  16, 21, {}, "EditStartServoInFuel"},
    {"LabelStartServoInFuel",   ControlKind::Label,      "GroupBoxStartServoIn",      80,  74, 170, 17, "Fuel correction"},
    {"GroupBoxStartServoEx",    ControlKind::GroupBox,   "TabSheet_Tracking",        290, 424, 260, 100, "Start limiter servo Ex"},
    {"CheckBoxStartServoExOn",  ControlKind::CheckBox,   "GroupBoxStartServoEx",      10,  20, 200, 21, "Servo on"},
    {"EditStartServoExLevel",   ControlKind::Edit,       "GroupBoxStartServoEx",      10,  44,  50, 21},
    {"UpDownStartServoExLevel", ControlKind::UpDown,     "GroupBoxStartServoEx",       0,   0,  16, 21, {}, "EditStartServoExLevel"},
    {"LabelStartServoExLevel",  ControlKind::Label,      "GroupBoxStartServoEx",      80,  48, 170, 17, "Servo Ex [mV]"},
    {"EditStartServoExFuel",    ControlKind::Edit,       "GroupBoxStartServoEx",      10,  70,  50, 21},
    {"UpDownStartServoExFuel",  ControlKind::UpDown,     "GroupBoxStartServoEx",       0,   0,  16, 21, {}, "EditStartServoExFuel"},
    {"LabelStartServoExFuel",   ControlKind::Label,      "GroupBoxStartServoEx",      80,  74, 170, 17, "Fuel correction"},

    // The live values, which the live display writes on every frame.
    {"LabelMonSpeedFront",      ControlKind::Label,      "TabSheet_Tracking",        560, 424, 290, 20, "Front = --- [km/h]"},
    {"LabelMonSpeedRear",       ControlKind::Label,      "TabSheet_Tracking",        560, 444, 290, 20, "Rear = --- [km/h]"},
    {"LabelMonLaunchAcc",       ControlKind::Label,      "TabSheet_Tracking",        560, 464, 290, 20, "Acceleration= --- [rpm/s]"},
    {"LabelMonLaunchRetard",    ControlKind::Label,      "TabSheet_Tracking",        560, 484, 290, 20, "Retard= --- °"},
    {"LabelMonSlip",            ControlKind::Label,      "TabSheet_Tracking",        560, 504, 290, 20, "Slip = --- [%]"},
    {"LabelMonTrackRetard",     ControlKind::Label,      "TabSheet_Tracking",        560, 524, 290, 20, "Retard = --- [°]"},

    // The traction control's limits, under its map.
    {"GroupBoxTrackLimits",     ControlKind::GroupBox,   "TabSheet_Tracking",         20, 280, 280, 125, "Limits"},
    {"EditTrackMinRpm",         ControlKind::Edit,       "GroupBoxTrackLimits",       30,  20,  50, 21},
    {"UpDownTrackMinRpm",       ControlKind::UpDown,     "GroupBoxTrackLimits",        0,   0,  16, 21, {}, "EditTrackMinRpm"},
    {"LabelTrackMinRpm",        ControlKind::Label,      "GroupBoxTrackLimits",      100,  24, 170, 17, "Min Rpm"},
    {"EditTrackMinAdv",         ControlKind::Edit,       "GroupBoxTrackLimits",       30,  45,  50, 21},
    {"UpDownTrackMinAdv",       ControlKind::UpDown,     "GroupBoxTrackLimits",        0,   0,  16, 21, {}, "EditTrackMinAdv"},
    {"LabelTrackMinAdv",        ControlKind::Label,      "GroupBoxTrackLimits",      100,  49, 170, 17, "Min Adv"},
    {"EditTrackMinTP",          ControlKind::Edit,       "GroupBoxTrackLimits",       30,  70,  50, 21},
    {"UpDownTrackMinTP",        ControlKind::UpDown,     "GroupBoxTrackLimits",        0,   0,  16, 21, {}, "EditTrackMinTP"},
    {"LabelTrackMinTP",         ControlKind::Label,      "GroupBoxTrackLimits",      100,  74, 170, 17, "Min TP [%]"},
    {"EditTrackMinSpeed",       ControlKind::Edit,       "GroupBoxTrackLimits",       30,  95,  50, 21},
    {"UpDownTrackMinSpeed",     ControlKind::UpDown,     "GroupBoxTrackLimits",        0,   0,  16, 21, {}, "EditTrackMinSpeed"},
    {"LabelTrackMinSpeed",      ControlKind::Label,      "GroupBoxTrackLimits",      100,  99, 170, 17, "Min Speed [km/h]"},
};

constexpr FieldBinding kTrackingBindings[] = {
    // control                 kind         address index scale offset  min    max   incr
    {"CheckBoxLaunchEnable",   Bind::Check, 4625},
    {"CheckBoxTrackEnable",    Bind::Check, 4797},
    {"UpDownTrackInhibit",     Bind::Byte,  4922,   0,    10,     0,    10,  2500,   10},
    {"UpDownStartMinAdv",      Bind::Byte,  4627,   0,     1,  -100,   -60,    60,    1},
    {"UpDownStartMaxSpeed",    Bind::Byte,  4626,   0,     1,     0,     0,   100,    1},
    {"UpDownStartDelay",       Bind::Byte,  4630,   0,   100,     0,     0, 25000,  100},
    {"UpDownStartIgnLimiter",  Bind::Byte,  4628,   0,   100,     0,   100, 25000,  100},
    {"UpDownStartRetLimiter",  Bind::Byte,  4629,   0,   100,     0,   100, 25000,  100},
    {"UpDownStartInjLimiter",  Bind::Byte,  4894,   0,   100,     0,   100, 25000,  100},
    {"RadioGroupSpeedSource",  Bind::Radio, 4631},
    {"UpDownAccRpmMax",        Bind::Byte,  4633,   0,   100,     0,     0, 25000,  100},
    {"UpDownFilterSections",   Bind::Byte,  4726,   0,     1,     0,     0,   250,    1},
    {"UpDownFilterOverlap",    Bind::Byte,  4727,   0,     1,     0,     0,   250,    1},
    {"UpDownAccTPmax",         Bind::Byte,  4634,   0,     1,     0,     0,   100,    1},
    {"UpDownAccTPmin",         Bind::Byte,  4635,   0,     1,     0,     0,   100,    1},
    {"CheckBoxStartServoInOn", Bind::Check, 4730},
    {"CheckBoxStartServoExOn", Bind::Check, 4729},
    {"UpDownStartServoInFuel", Bind::Byte,  4734,   0,     1,     0,     0,   250,    1},
    {"UpDownStartServoExFuel", Bind::Byte,  4733,   0,     1,     0,     0,   250,    1},
    {"UpDownTrackMinRpm",      Bind::Byte,  4799,   0,   100,     0,     0, 25000,  100},
    {"UpDownTrackMinAdv",      Bind::Byte,  4798,   0,     1,  -100,   -60,    60,    1},
    {"UpDownTrackMinTP",       Bind::Byte,  4800,   0,     1,     0,     0,   100,    1},
    {"UpDownTrackMinSpeed",    Bind::Byte,  4801,   0,     1,     0,     0,   250,    1},
};

// Fields whose scale follows another setting: the minimum speed by the speed source, each servo's threshold by
// whether that servo's positions are in percent.
constexpr FieldBinding kSpeedMinRpm{"UpDownAccSpeedMin", Bind::Byte, 4632, 0, 100, 0, 0, 25000, 100};
constexpr FieldBinding kSpeedMinKmh{"UpDownAccSpeedMin", Bind::Byte, 4632, 0, 1, 0, 0, 250, 1};
constexpr FieldBinding kServoInMillivolts{"UpDownStartServoInLevel", Bind::Byte, 4732, 0, 20, 0, 0, 5000, 20};
constexpr FieldBinding kServoInPercent{"UpDownStartServoInLevel", Bind::Byte, 4732, 0, 1, 0, 0, 100, 1};
constexpr FieldBinding kServoExMillivolts{"UpDownStartServoExLevel", Bind::Byte, 4731, 0, 20, 0, 0, 5000, 20};
constexpr FieldBinding kServoExPercent{"UpDownStartServoExLevel", Bind::Byte, 4731, 0, 1, 0, 0, 100, 1};

// ---- map editors
constexpr AxisSetup kSectionAxis{.editable = 0, .scaleGroup = 0x100, .colour = 0xFFFFFF};
constexpr SheetSpec kSections[] = {
    {"Launch control - misc.", "", "", "", 1, 1, 0, kSectionAxis, kSectionAxis, kSectionAxis},
    {"Afterstart limiters", "", "", "", 1, 1, 0, kSectionAxis, kSectionAxis, kSectionAxis},
    {"Tracking", "", "", "", 1, 1, 0, kSectionAxis, kSectionAxis, kSectionAxis},
};

constexpr StepEntry kTimeSteps[] = {{5, 1, 1, 1, 1}};
constexpr std::uint32_t kCurveColour = 0xFCE2F4;
constexpr AxisSetup kTimeAxis{.name = "Time", .min = 0, .max = 250, .scale = 0.02, .steps = kTimeSteps,
                              .count = kCurvePoints, .collapseOption = 0, .collapsePos = kCollapseFirst,
                              .colour = kCurveColour};
constexpr AxisSetup kNoAxis{.name = "no", .min = 0, .max = 100, .editable = 0, .options = 0, .count = 1,
                            .collapseOption = 2, .collapsed = 1, .resizable = 0, .collapsePos = kCollapseLast,
                            .colour = kCurveColour};
// Retard is held in the maps as a negative number of degrees, in the image as the positive retard.
constexpr AxisSetup kRetardData{.name = "Retard", .unit = "°", .min = -50, .max = 0, .steps = kAdvanceSteps,
                                .options = 2, .colour = kCurveColour};
constexpr AxisSetup kLimiterData{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps,
                                 .options = 2, .colour = kCurveColour};
constexpr AxisSetup kSlipAxis{.name = "Slip", .unit = "%", .min = 0, .max = 100, .steps = kPercentSteps, .count = 10,
                              .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseFirst,
                              .colour = kCurveColour};
constexpr AxisSetup kTractionTpAxis{.name = "TP", .unit = "%", .min = 0, .max = 100, .options = 0, .count = 6,
                                    .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast,
                                    .colour = kCurveColour};
constexpr SheetSpec kRetardCurve[] = {{"Afterstart retard", "Time", "", "Retard", kCurvePoints, 1, 0x81, kTimeAxis,
                                       kNoAxis, kRetardData, 0, 0, 0, {}, {}, {}, 0, 0, true}};
constexpr SheetSpec kLimiterCurve[] = {{"Afterstart limiter", "Time", "", "RPM", kCurvePoints, 1, 0x81, kTimeAxis,
                                        kNoAxis, kLimiterData, 0, 0, 0, {}, {}, {}, 0, 0, true}};
constexpr SheetSpec kTraction[] = {{"Track controll", "Slip", "TP", "Retard", 10, 6, 0x81, kSlipAxis,
                                    kTractionTpAxis, kRetardData, 0, 0, 0, {}, {}, {}, 0, 0, true, 8}};

constexpr AxisSetup kAccRpmAxis{.name = "RPM", .min = 3, .max = 250, .scale = 100.0, .steps = kRpmSteps, .count = 5,
                                .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseFirst};
constexpr AxisSetup kAccTpAxis{.name = "TP", .unit = "%", .min = 0, .max = 100, .editable = 0, .options = 0,
                               .count = 5, .collapseOption = 0, .resizable = 0, .collapsePos = kCollapseLast};
constexpr std::string_view kThresholdName = "###Acceleration treshold####Akcelerační práh";
constexpr std::string_view kReturnName = "###Speed of return####Rychlost návratu";
constexpr SheetSpec kAccelerationSheets[] = {
    {kThresholdName, "RPM", "TP", "AccTr", 5, 5, 0x8001, kAccRpmAxis, kAccTpAxis,
     {.name = kThresholdName, .unit = "rpm/s", .min = 0, .max = 250, .scale = 100.0, .steps = kRpmSteps, .options = 2},
     0, 0, 0, {}, {}, {}, 9},
    {kReturnName, "RPM", "TP", "###Return####Návrat", 5, 5, 0x8001, kAccRpmAxis, kAccTpAxis,
     {.name = kReturnName, .unit = "°/s", .min = 0, .max = 250, .steps = kRpmSteps, .options = 2},
     0, 0, 0, {}, {}, {}, 9},
    {"###Proportional effect####Proporc. vlivnost", "RPM", "TP", "Effect", 5, 5, 0x8001, kAccRpmAxis, kAccTpAxis,
     {.name = "Effect", .unit = "°/1000 rpm/s", .min = 0, .max = 250, .scale = 0.1, .steps = kRpmSteps, .options = 2},
     0, 0, 0, {}, {}, {}, 9},
};
// The acceleration sheets' fixed throttle axis (%).
constexpr int kAccTpPoints[] = {2, 5, 20, 60, 100};

constexpr int kTrackingEditors[] = {kSelectorId, kRetardCurveId, kLimiterCurveId, kTractionId, kAccelerationId};

// Where the maps lie in the image. The after-start curves' point counts are kept by the page.
constexpr GridBinding kTrackingGrids[] = {
    {kAccelerationId, 0, Cell::Byte, 4636, 1, 5, 1, true, GridPart::XPoints},
    {kAccelerationId, 0, Cell::Byte, 4641, 5, 5, 1, true},
    {kAccelerationId, 1, Cell::Byte, 4666, 1, 5, 1, true, GridPart::XPoints},
    {kAccelerationId, 1, Cell::Byte, 4671, 5, 5, 1, true},
    {kAccelerationId, 2, Cell::Byte, 4696, 1, 5, 1, true, GridPart::XPoints},
    {kAccelerationId, 2, Cell::Byte, 4701, 5, 5, 1, true},
    {kRetardCurveId, 0, Cell::Byte, 4737, 1, kCurvePoints, 1, true, GridPart::XPoints},
    {kRetardCurveId, 0, Cell::Byte, 4752, 1, kCurvePoints, -1, true},
    {kLimiterCurveId, 0, Cell::Byte, 4767, 1, kCurvePoints, 1, true, GridPart::XPoints},
    {kLimiterCurveId, 0, Cell::Byte, 4782, 1, kCurvePoints, 1, true},
    {kTractionId, 0, Cell::Byte, 4802, 1, 10, 1, true, GridPart::XPoints},
    {kTractionId, 0, Cell::Word, 1126, 6, 1, 1, true, GridPart::YPoints},
    {kTractionId, 0, Cell::Byte, 4812, 6, 10, -1, true},
};
constexpr int kAccelerationGridRows = 6;  // the first rows of kTrackingGrids: X points and cells of sheets 0..2

constexpr CaptionRow kTrackingCaptions[] = {
    {"TabSheet_Tracking",      {"Tracking", "Tracking", "Tracking"}},
    {"CheckBoxLaunchEnable",   {"Launch enable", "Launch enable", "Ovládání startu povoleno"}},
    {"CheckBoxTrackEnable",    {"Track enabled", "Traktionskontrolle ein", "Trakční kontrola povolena"}},
    {"LabelTrackInhibit",      {"Inhibit (for N revolutions)", "Sperre (für N Umdrehungen)", "Blokace (na N otáček)"}},
    {"GroupBoxStartLimiters",  {"Start limiters", "Startbegrenzer", "Startovací omezovače"}},
    {"LabelStartIgnLimiter",   {"Start ignition limiter [rpm]", "Startbegr. Zündung [rpm]", "Omezovač zážehu [rpm]"}},
    {"LabelStartRetLimiter",   {"Start retard limiter [rpm]", "Startbegr. Spätverst. [rpm]", "Omezovač zpožděním [rpm]"}},
    {"LabelStartInjLimiter",   {"Start injection limiter [rpm]", "Startbegr. Einspritzung [rpm]", "Omezovač vstřiku [rpm]"}},
    {"LabelStartMinAdv",       {"Min advance", "Zündung min", "Předstih min"}},
    {"LabelStartDelay",        {"Star limiter delay [ms]", "Startbegr. Verzögerung [ms]", "Zpoždění omezovače [ms]"}},
    {"LabelStartMaxSpeed",     {"Max Speed [km/h]", "Geschw. max [km/h]", "Rychlost max [km/h]"}},
    {"GroupBoxAccLimiters",    {"Acceleration limiters", "Beschleunigungsbegrenzer", "Omezovače akcelerace"}},
    {"RadioGroupSpeedSource",  {"Speed source method", "Speed source method", "Metoda detekce rychlosti"}},
    {"RadioGroupSpeedSource",  {"Engine speed - RPM\nRear wheel speed - km/h", "Motordrehzahl - RPM\nHinterrad - km/h",
                                "Otáčky motoru - RPM\nZadní kolo - km/h"}, kCaptionItems},
    {"LabelLimitConditions",   {"Limit conditions:", "Bedingungen:", "Podmínky omezení:"}},
    {"LabelAccTPmin",          {"TP min [%]", "TP min [%]", "TP min [%]"}},
    {"LabelAccTPmax",          {"TP max [%]", "TP max [%]", "TP max [%]"}},
    {"LabelAccRpmMax",         {"RPM max", "Drehzahl max", "Otáčky max"}},
    {"GroupBoxFiltration",     {"Filtration", "Filterung", "Filtrace"}},
    {"LabelFilterSections",    {"Sections", "Sektoren", "Úseky"}},
    {"LabelFilterOverlap",     {"Overlap", "Überlap.", "Přesah"}},
    {"RadioButtonFilterBegin", {"Begin", "Beginn", "Začátek"}},
    {"RadioButtonFilterEnd",   {"End", "Ende", "Konec"}},
    {"GroupBoxStartServoIn",   {"Start limiter servo In", "Startbegrenzer Servo Ein", "Startovací omezovač servo sání"}},
    {"GroupBoxStartServoEx",   {"Start limiter servo Ex", "Startbegrenzer Servo Aus", "Startovací omezovač servo výfuk"}},
    {"CheckBoxStartServoInOn", {"Servo on", "Servo ein", "Servo zapnuto"}},
    {"CheckBoxStartServoExOn", {"Servo on", "Servo ein", "Servo zapnuto"}},
    {"LabelStartServoInFuel",  {"Fuel correction", "Kraftstoffkorrektur", "Korekce paliva"}},
    {"LabelStartServoExFuel",  {"Fuel correction", "Kraftstoffkorrektur", "Korekce paliva"}},
    {"GroupBoxTrackLimits",    {"Limits", "Grenzen", "Meze"}},
    {"LabelTrackMinRpm",       {"Min Rpm", "Drehzahl min", "Otáčky min"}},
    {"LabelTrackMinAdv",       {"Min Adv", "Zündung min", "Předstih min"}},
    {"LabelTrackMinTP",        {"Min TP [%]", "TP min [%]", "TP min [%]"}},
    {"LabelTrackMinSpeed",     {"Min Speed [km/h]", "Geschw. min [km/h]", "Rychlost min [km/h]"}},
};

// What each section shows besides the enable boxes: the launch section's groups, and the traction section's limits.
constexpr std::string_view kLaunchControls[] = {"GroupBoxStartLimiters", "GroupBoxAccLimiters", "GroupBoxStartServoIn",
                                                "GroupBoxStartServoEx"};
constexpr std::string_view kLiveLabels[] = {"LabelMonSpeedFront", "LabelMonSpeedRear", "LabelMonLaunchAcc",
                                            "LabelMonLaunchRetard", "LabelMonSlip", "LabelMonTrackRetard"};
// clang-format on

void setShown(TPageForm& w, std::string_view name, bool shown)
{
    if (auto* control = FindControl<TControl>(w, name)) control->SetVisible(shown);
}

void setEnabled(TPageForm& w, std::string_view name, bool enabled)
{
    if (auto* control = FindControl<TControl>(w, name)) control->SetEnabled(enabled);
}

void setEditorShown(TPageForm& w, int id, bool shown)
{
    if (TTab* editor = MapEditor(w, id)) editor->SetVisible(shown);
}

int section(TPageForm& w)
{
    TTab* selector = MapEditor(w, kSelectorId);
    return selector ? selector->current : kLaunchSection;
}

const FieldBinding& speedMinField(const Image& image)
{
    return image[kSpeedSourceByte] == 1 ? kSpeedMinKmh : kSpeedMinRpm;
}

const FieldBinding& servoInField(const Image& image)
{
    return image[kServoInPercentByte] != 0 ? kServoInPercent : kServoInMillivolts;
}

const FieldBinding& servoExField(const Image& image)
{
    return image[kServoExPercentByte] != 0 ? kServoExPercent : kServoExMillivolts;
}

// A field whose range follows another setting: its range first, so that a value is not clamped on its way in.
void setRange(TPageForm& w, const FieldBinding& field)
{
    if (auto* upDown = FindControl<TUpDown>(w, field.control)) {
        const SettingGuard guard(w);
        upDown->SetRange(field.min, field.max);
        upDown->SetIncrement(field.increment);
    }
}

// The servo threshold's caption: the servos page's name of that servo's map, with the unit.
std::string servoCaption(TPageForm& w, int sheet, std::string_view fallback, bool percent)
{
    std::string name(GetLngText(fallback));
    if (TTab* servos = MapEditor(w, kServoEditorId); servos && servos->sheetCount > sheet)
        name = std::string(GetLngText(servos->sheets[std::size_t(sheet)].data.label));
    return name + (percent ? " [%]" : " [mV]");
}

// The acceleration sheets' value units follow the speed source; the effect sheet's scale with them.
void setAccelerationUnits(TPageForm& w)
{
    TTab* editor = MapEditor(w, kAccelerationId);
    if (!editor || editor->sheetCount < 3) return;
    const bool bySpeed = w.images.image[kSpeedSourceByte] == 1;
    CSheet& threshold = editor->sheets[0];
    threshold.data.unit = bySpeed ? "km/h/s" : "rpm/s";
    threshold.data.scale = bySpeed ? 1.0 : 100.0;
    CSheet& effect = editor->sheets[2];
    effect.data.unit = bySpeed ? "°/km/h/s" : "°/1000 rpm/s";
    const double scale = bySpeed ? 0.01 : 0.1;
    if (effect.data.scale != scale) {
        effect.data.scale = scale;
        effect.data.max = 250;
        editor->BuildSideBar();
        editor->dirty |= kDirtyRedraw;
    }
}

void ShowAccelerationSheets(TPageForm& w)
{
    Image& image = w.images.image;
    TTab* editor = MapEditor(w, kAccelerationId);
    if (!editor || editor->sheetCount < 3) return;
    setAccelerationUnits(w);
    for (int s = 0; s < 3; ++s) {
        const GridBinding& points = kTrackingGrids[2 * s];
        const GridBinding& cells = kTrackingGrids[2 * s + 1];
        // A sheet never set up: no breakpoints, and a neutral value of 10 in every cell but the threshold's.
        if (image[std::size_t(points.address)] == 0) {
            for (int j = 0; j < points.columns; ++j) image[std::size_t(points.address + j)] = 0;
            if (s != 0)
                for (int j = 0; j < cells.rows * cells.columns; ++j) image[std::size_t(cells.address + j)] = 10;
        }
        ShowGrid(w, points);
        ShowGrid(w, cells);
        CSheet& sheet = editor->sheets[std::size_t(s)];
        SetFixedPoints(sheet, false, kAccTpPoints);
        editor->UpdateLimits(sheet, 0x107);
    }
    editor->dirty |= kDirtyRedraw | kDirtyRecompute;
}

// The after-start curves: the points in use from their count bytes, kept within 1..15 (the corrected count goes
// back into the image). These maps take the image as it is: their limits are applied to what the user edits, so
// that showing a function not yet set up (its points all 0) and storing it again changes no byte.
void ShowAfterStartCurves(TPageForm& w)
{
    Image& image = w.images.image;
    for (int k = 0; k < 2; ++k) {
        const int id = k == 0 ? kRetardCurveId : kLimiterCurveId;
        std::uint8_t& count = image[std::size_t(kRetardCountByte + k)];
        count = static_cast<std::uint8_t>(std::clamp<int>(count, 1, kCurvePoints));
        TTab* editor = MapEditor(w, id);
        if (!editor || editor->sheetCount < 1) continue;
        ShowGrid(w, kTrackingGrids[kAccelerationGridRows + 2 * k]);
        ShowGrid(w, kTrackingGrids[kAccelerationGridRows + 2 * k + 1]);
        CSheet& sheet = editor->sheets[0];
        if (sheet.x.count != count) {
            sheet.x.count = count;
            editor->BuildSideBar();
        }
        editor->dirty |= kDirtyRedraw | kDirtyRecompute;
    }
    if (TTab* editor = MapEditor(w, kTractionId); editor && editor->sheetCount > 0) {
        for (std::size_t i = kAccelerationGridRows + 4; i < std::size(kTrackingGrids); ++i)
            ShowGrid(w, kTrackingGrids[i]);
        editor->dirty |= kDirtyRedraw | kDirtyRecompute;
    }
}

void StoreTrackingPage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    // The minimum speed in the unit it was shown in: the speed source's new choice is stored with this store.
    const FieldBinding& speedMin = speedMinField(image);
    StoreBindings(w, PAGE_TRACKING);
    StoreBinding(w, speedMin, FindControl<TUpDown>(w, "UpDownAccSpeedMin"));
    if (auto* end = FindControl<TRadioButton>(w, "RadioButtonFilterEnd"))
        image[kFilterEndByte] = end->Checked() ? 1 : 0;
    StoreBinding(w, servoInField(image), FindControl<TUpDown>(w, "UpDownStartServoInLevel"));
    StoreBinding(w, servoExField(image), FindControl<TUpDown>(w, "UpDownStartServoExLevel"));
    StoreGrids(w, kTrackingGrids);
    for (int k = 0; k < 2; ++k)
        if (TTab* editor = MapEditor(w, k == 0 ? kRetardCurveId : kLimiterCurveId); editor && editor->sheetCount > 0)
            image[std::size_t(kRetardCountByte + k)] = static_cast<std::uint8_t>(editor->sheets[0].x.count);
}

void ShowTrackingPage(TPageForm& w)
{
    const Image& image = w.images.image;
    TrackingPageLayout(w);
    ShowBindings(w, PAGE_TRACKING);
    ShowBinding(w, speedMinField(image), FindControl<TUpDown>(w, "UpDownAccSpeedMin"));
    {
        const SettingGuard guard(w);
        auto* begin = FindControl<TRadioButton>(w, "RadioButtonFilterBegin");
        auto* end = FindControl<TRadioButton>(w, "RadioButtonFilterEnd");
        if (begin && end) (image[kFilterEndByte] == 0 ? begin : end)->SetChecked(true);
    }
    ShowBinding(w, servoInField(image), FindControl<TUpDown>(w, "UpDownStartServoInLevel"));
    ShowBinding(w, servoExField(image), FindControl<TUpDown>(w, "UpDownStartServoExLevel"));
    ShowAccelerationSheets(w);
    ShowAfterStartCurves(w);
    FeedLiveValuesToMapEditors(w, w.pageHooks.unitAnswers && w.pageHooks.unitAnswers());
}

// A waiting up-down change is committed first, so that re-showing the page for the new units does not lose it.
void TrackingSpeedSourceClick(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    CommitChangeNow(w);
    SensorsPageLayout(w);
}

void TrackingPageCaptions(TPageForm& w)
{
    ApplyCaptions(w, kTrackingCaptions);
    TrackingPageLayout(w);
}

void BuildTrackingPage(TPageForm& w)
{
    TTabSheet* page = w.tabSheets[PAGE_TRACKING];
    const int width = kDesignPageWidth;
    const MapEditorSpec editors[] = {
        {kSelectorId, kTabSideBar | kTabSideBarEmpty, 0, 4, width, 21, 15, 10, kSections},
        {kRetardCurveId, kTabSideBar | kTabTableView | kTabTitleStrip, 0, 26, width, 270, 15, 5, kRetardCurve},
        {kLimiterCurveId, kTabSideBar | kTabTableView | kTabTitleStrip, 0, 298, width, 270, 15, 5, kLimiterCurve},
        {kTractionId, kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D | kTabTitleStrip, 0, 52, width * 6 / 10,
         220, 10, 6, kTraction},
    };
    for (const MapEditorSpec& spec : editors) BuildMapEditor(w, spec, page);
    if (auto* group = FindControl<TGroupBox>(w, "GroupBoxAccLimiters"))
        BuildMapEditor(w,
                       {kAccelerationId, kTabSideBar | kTabTableView | kTabGraph2D | kTabGraph3D, 260, 20, 500, 237, 5,
                        5, kAccelerationSheets},
                       group);
    if (auto* group = FindControl<TRadioGroup>(w, "RadioGroupSpeedSource")) {
        group->SetItems(SplitItemList("Engine speed - RPM,Rear wheel speed - km/h"));
        group->OnClick = [&w](TObject*) { TrackingSpeedSourceClick(w); };
    }
    for (std::string_view name : {"RadioButtonFilterBegin", "RadioButtonFilterEnd"})
        if (auto* button = FindControl<TRadioButton>(w, name))
            // The button that goes off reports too; the one that comes on commits.
            button->OnClick = [&w](TObject* s) {
                if (static_cast<TRadioButton*>(s)->Checked()) FormCheckBoxClick(w, s);
            };
    for (std::string_view name : kLiveLabels)
        if (auto* label = FindControl<TLabel>(w, name)) label->SetFontSize(12);
    TrackingPageCaptions(w);
    ShowTrackingPage(w);
}

}  // namespace

void TrackingPageLayout(TPageForm& w)
{
    const Image& image = w.images.image;
    const bool launch = image[kLaunchEnableByte] != 0;
    const bool traction = image[kTrackEnableByte] != 0;
    const bool any = launch || traction;
    // 1. The section follows the functions enabled.
    TTab* selector = MapEditor(w, kSelectorId);
    if (selector && selector->sheetCount == 3) {
        const int s = selector->current;
        if (s < kTractionSection && !launch && traction) selector->SelectSheet(kTractionSection);
        if (s == kTractionSection && launch && !traction) selector->SelectSheet(kLaunchSection);
        // 4. Only the sections of enabled functions are offered.
        selector->sheets[kLaunchSection].hidden = launch ? 0 : 1;
        selector->sheets[kAfterStartSection].hidden = launch ? 0 : 1;
        selector->sheets[kTractionSection].hidden = traction ? 0 : 1;
        selector->dirty |= kDirtyRedraw;
        selector->SetVisible(any);
    }
    const int s = section(w);
    // 2. and 3.
    for (std::string_view name : {"EditTrackInhibit", "UpDownTrackInhibit", "LabelTrackInhibit"})
        setShown(w, name, launch && s != kAfterStartSection);
    for (std::string_view name : kLiveLabels) setShown(w, name, (s == kLaunchSection || s == kTractionSection) && any);
    for (std::string_view name : {"CheckBoxLaunchEnable", "CheckBoxTrackEnable"})
        setShown(w, name, s == kLaunchSection || s == kTractionSection || !any);
    // 5. Each section's own controls and maps.
    for (std::string_view name : kLaunchControls) setShown(w, name, s == kLaunchSection && any);
    setEditorShown(w, kRetardCurveId, s == kAfterStartSection && any);
    setEditorShown(w, kLimiterCurveId, s == kAfterStartSection && any);
    setEditorShown(w, kTractionId, s == kTractionSection && any);
    setShown(w, "GroupBoxTrackLimits", s == kTractionSection && any);
    // 6. A servo's threshold and fuel correction only while that servo takes part.
    for (std::string_view name : {"EditStartServoInLevel", "UpDownStartServoInLevel", "LabelStartServoInLevel",
                                  "EditStartServoInFuel", "UpDownStartServoInFuel", "LabelStartServoInFuel"})
        setEnabled(w, name, image[kServoInOnByte] != 0);
    for (std::string_view name : {"EditStartServoExLevel", "UpDownStartServoExLevel", "LabelStartServoExLevel",
                                  "EditStartServoExFuel", "UpDownStartServoExFuel", "LabelStartServoExFuel"})
        setEnabled(w, name, image[kServoExOnByte] != 0);
    // 7. The minimum speed in km/h or in RPM, by the speed source.
    const bool bySpeed = image[kSpeedSourceByte] == 1;
    setRange(w, speedMinField(image));
    if (auto* label = FindControl<TLabel>(w, "LabelAccSpeedMin"))
        label->SetCaption(bySpeed ? PageMessage(w, 172) + " [km/h]" : PageMessage(w, 173));
    // 8. The servo thresholds in percent or millivolts.
    setRange(w, servoInField(image));
    setRange(w, servoExField(image));
    if (auto* label = FindControl<TLabel>(w, "LabelStartServoInLevel"))
        label->SetCaption(servoCaption(w, 0, "###Servo In##Servo Ein##Servo sání", image[kServoInPercentByte] != 0));
    if (auto* label = FindControl<TLabel>(w, "LabelStartServoExLevel"))
        label->SetCaption(servoCaption(w, 1, "###Servo Ex##Servo Aus##Servo výfuk", image[kServoExPercentByte] != 0));
}

void ShowTrackingLoad(TPageForm& w)
{
    ShowTrackingPage(w);
}

extern const PageModule kTrackingPage{
    .sheetName = "TabSheet_Tracking",
    .caption = "Tracking",
    .layout = kTrackingLayout,
    .bindings = kTrackingBindings,
    .grids = kTrackingGrids,
    .editorIds = kTrackingEditors,
    .rereadShowFirst = 4625,
    .rereadShowEnd = 4923,
    .build = BuildTrackingPage,
    .store = StoreTrackingPage,
    .show = ShowTrackingPage,
    .captions = TrackingPageCaptions,
};
