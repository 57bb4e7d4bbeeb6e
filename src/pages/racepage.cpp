// The race page: the gear shift light (blink and light RPM per gear), quick-shift up (mode, minimum RPM and per
// shift its time, pause, injection and advance), quick-shift down (per shift its time and throttle target), the pit
// speed limiter, the deceleration control and what the bike's display shows. The gear rows follow the gear page's
// method and number of gears; the deceleration control follows the idle page's actuator.
#include "pages/racepage.h"

#include <algorithm>
#include <string>

#include "pages/captions.h"
#include "pages/creators.h"
#include "pages/modules.h"
#include "pages/pages.h"

namespace {

constexpr int kModelByte = 2500;
constexpr int kDisplayByte = 4484;
constexpr int kGearMethodByte = 4527;  // 0 gear position sensor ... 3 none
constexpr int kGearCountByte = 4528;
constexpr int kIdleModeByte = 4559;      // 1 intake servo, 2 step motor, 3 step motor set TP min
constexpr int kServoPercentByte = 4415;  // the intake servo's positions are in percent
constexpr int kThrottleServoByte = 4431;
constexpr int kUseGearSensorByte = 5016;
constexpr int kDecelerationByte = 4520;
constexpr int kDecelerationBySpeedByte = 4525;
constexpr int kGearMethodNone = 3;
constexpr int kGearMethodSensor = 0;
constexpr int kRows = 6;
constexpr int kShifts = 5;
constexpr int kQuickshiftDownFunction = 7;
constexpr int kPowerOutFunctionBytes[] = {4444, 4445, 4446, 4447, 4881};
// The models whose dashboard takes the display choice.
constexpr int kDisplayModels[] = {17, 18, 27, 34, 35, 42, 47, 51, 55, 59, 60, 61};

// Three groups of gear rows 24 px apart, the gear shift light's pairs on each row and the shifts' pairs between
// two rows (up-shift s goes out of gear s); under them the pit limiter, the deceleration control and the display.
// clang-format off
constexpr ControlRow kRaceLayout[] = {
    // name kind parent left top width height caption
    {"GroupBoxRaceGearShiftLight", ControlKind::GroupBox, "TabSheet_Race", 8, 8, 230, 196, "Gear shift light"},
    {"LabelRaceBlink", ControlKind::Label, "GroupBoxRaceGearShiftLight", 57, 22, 80, 17, "Blink [rpm]"},
    {"LabelRaceLight", ControlKind::Label, "GroupBoxRaceGearShiftLight", 138, 22, 84, 17, "Light [rpm]"},
    {"LabelRaceGear1", ControlKind::Label, "GroupBoxRaceGearShiftLight", 12, 44, 30, 17, "0-1"},
    {"EditRaceBlink1", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 57, 42, 50, 21},
    {"UpDownRaceBlink1", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceBlink1"},
    {"EditRaceLight1", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 138, 42, 50, 21},
    {"UpDownRaceLight1", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceLight1"},
    {"LabelRaceGear2", ControlKind::Label, "GroupBoxRaceGearShiftLight", 12, 68, 30, 17, "2"},
    {"EditRaceBlink2", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 57, 66, 50, 21},
    {"UpDownRaceBlink2", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceBlink2"},
    {"EditRaceLight2", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 138, 66, 50, 21},
    {"UpDownRaceLight2", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceLight2"},
    {"LabelRaceGear3", ControlKind::Label, "GroupBoxRaceGearShiftLight", 12, 92, 30, 17, "3"},
    {"EditRaceBlink3", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 57, 90, 50, 21},
    {"UpDownRaceBlink3", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceBlink3"},
    {"EditRaceLight3", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 138, 90, 50, 21},
    {"UpDownRaceLight3", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceLight3"},
    {"LabelRaceGear4", ControlKind::Label, "GroupBoxRaceGearShiftLight", 12, 116, 30, 17, "4"},
    {"EditRaceBlink4", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 57, 114, 50, 21},
    {"UpDownRaceBlink4", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceBlink4"},
    {"EditRaceLight4", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 138, 114, 50, 21},
    {"UpDownRaceLight4", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceLight4"},
    {"LabelRaceGear5", ControlKind::Label, "GroupBoxRaceGearShiftLight", 12, 140, 30, 17, "5"},
    {"EditRaceBlink5", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 57, 138, 50, 21},
    {"UpDownRaceBlink5", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceBlink5"},
    {"EditRaceLight5", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 138, 138, 50, 21},
    {"UpDownRaceLight5", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceLight5"},
    {"LabelRaceGear6", ControlKind::Label, "GroupBoxRaceGearShiftLight", 12, 164, 30, 17, "6"},
    {"EditRaceBlink6", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 57, 162, 50, 21},
    {"UpDownRaceBlink6", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceBlink6"},
    {"EditRaceLight6", ControlKind::Edit, "GroupBoxRaceGearShiftLight", 138, 162, 50, 21},
    {"UpDownRaceLight6", ControlKind::UpDown, "GroupBoxRaceGearShiftLight", 0, 0, 16, 21, {}, "EditRaceLight6"},

    {"GroupBoxRaceQuickShiftUp", ControlKind::GroupBox, "TabSheet_Race", 246, 8, 400, 362, "Quick shift up"},
    {"LabelRaceUpTime", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 60, 22, 76, 17, "Time [ms]"},
    {"LabelRaceUpPause", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 144, 22, 76, 17, "Pause [ms]"},
    {"LabelRaceUpInj", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 227, 22, 76, 17, "Injection [%]"},
    {"LabelRaceUpAdv", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 312, 22, 76, 17, "Advance [°]"},
    {"LabelRaceQSU1", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 12, 44, 30, 17, "0-1"},
    {"LabelRaceQSU2", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 12, 68, 30, 17, "2"},
    {"LabelRaceQSU3", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 12, 92, 30, 17, "3"},
    {"LabelRaceQSU4", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 12, 116, 30, 17, "4"},
    {"LabelRaceQSU5", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 12, 140, 30, 17, "5"},
    {"LabelRaceQSU6", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 12, 164, 30, 17, "6"},
    {"EditQSUTime1", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 60, 54, 50, 21},
    {"UpDownQSUTime1", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUTime1"},
    {"EditQSUPause1", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 144, 54, 50, 21},
    {"UpDownQSUPause1", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUPause1"},
    {"EditQSUInj1", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 227, 54, 50, 21},
    {"UpDownQSUInj1", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUInj1"},
    {"EditQSUAdv1", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 312, 54, 50, 21},
    {"UpDownQSUAdv1", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUAdv1"},
    {"EditQSUTime2", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 60, 78, 50, 21},
    {"UpDownQSUTime2", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUTime2"},
    {"EditQSUPause2", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 144, 78, 50, 21},
    {"UpDownQSUPause2", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUPause2"},
    {"EditQSUInj2", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 227, 78, 50, 21},
    {"UpDownQSUInj2", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUInj2"},
    {"EditQSUAdv2", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 312, 78, 50, 21},
    {"UpDownQSUAdv2", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUAdv2"},
    {"EditQSUTime3", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 60, 102, 50, 21},
    {"UpDownQSUTime3", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUTime3"},
    {"EditQSUPause3", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 144, 102, 50, 21},
    {"UpDownQSUPause3", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUPause3"},
    {"EditQSUInj3", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 227, 102, 50, 21},
    {"UpDownQSUInj3", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUInj3"},
    {"EditQSUAdv3", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 312, 102, 50, 21},
    {"UpDownQSUAdv3", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUAdv3"},
    {"EditQSUTime4", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 60, 126, 50, 21},
    {"UpDownQSUTime4", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUTime4"},
    {"EditQSUPause4", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 144, 126, 50, 21},
    {"UpDownQSUPause4", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUPause4"},
    {"EditQSUInj4", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 227, 126, 50, 21},
    {"UpDownQSUInj4", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUInj4"},
    {"EditQSUAdv4", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 312, 126, 50, 21},
    {"UpDownQSUAdv4", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUAdv4"},
    {"EditQSUTime5", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 60, 150, 50, 21},
    {"UpDownQSUTime5", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUTime5"},
    {"EditQSUPause5", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 144, 150, 50, 21},
    {"UpDownQSUPause5", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUPause5"},
    {"EditQSUInj5", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 227, 150, 50, 21},
    {"UpDownQSUInj5", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUInj5"},
    {"EditQSUAdv5", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 312, 150, 50, 21},
    {"UpDownQSUAdv5", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditQSUAdv5"},
    {"CheckBoxQSHUpOver", ControlKind::CheckBox, "GroupBoxRaceQuickShiftUp", 12, 182, 376, 21, "Don't shift over last gear ratio"},
    {"CheckBoxQSHUCancelAfterCompletion", ControlKind::CheckBox, "GroupBoxRaceQuickShiftUp", 12, 207, 376, 21, "Exit after shifting gears"},
    {"RadioGroupClutchMode", ControlKind::RadioGroup, "GroupBoxRaceQuickShiftUp", 12, 236, 180, 60, "Quickshift up mode"},
    {"LabelClutchMinRpm", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 206, 261, 100, 17, "Min Rpm"},
    {"EditClutchMinRpm", ControlKind::Edit, "GroupBoxRaceQuickShiftUp", 310, 258, 60, 21},
    {"UpDownClutchMinRpm", ControlKind::UpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditClutchMinRpm"},
    {"CheckBoxUseGPSforQS2", ControlKind::CheckBox, "GroupBoxRaceQuickShiftUp", 12, 306, 376, 21, "in case GP sens. deviation"},
    {"EditExpLev2", ControlKind::DeciEdit, "GroupBoxRaceQuickShiftUp", 30, 330, 40, 21},
    {"UpDownExpLev2", ControlKind::DeciUpDown, "GroupBoxRaceQuickShiftUp", 0, 0, 16, 21, {}, "EditExpLev2"},
    {"LabelExpLev2", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 90, 332, 140, 17, "+/- Exposure level [V]"},
    {"LabelMonGearNapeti2", ControlKind::Label, "GroupBoxRaceQuickShiftUp", 236, 332, 156, 17, "Gear sensor = --- V"},

    {"GroupBoxRaceQuickShiftDown", ControlKind::GroupBox, "TabSheet_Race", 654, 8, 200, 196, "Quickshift down"},
    {"LabelRaceDownTime", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 40, 22, 64, 17, "Time [ms]"},
    {"LabelRaceDownTPS", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 106, 22, 88, 17, "TPS target [%]"},
    {"LabelRaceQSD1", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 12, 44, 30, 17, "0-1"},
    {"LabelRaceQSD2", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 12, 68, 30, 17, "2"},
    {"LabelRaceQSD3", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 12, 92, 30, 17, "3"},
    {"LabelRaceQSD4", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 12, 116, 30, 17, "4"},
    {"LabelRaceQSD5", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 12, 140, 30, 17, "5"},
    {"LabelRaceQSD6", ControlKind::Label, "GroupBoxRaceQuickShiftDown", 12, 164, 30, 17, "6"},
    {"EditQSDTime1", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 49, 54, 42, 21},
    {"UpDownQSDTime1", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTime1"},
    {"EditQSDTps1", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 117, 54, 42, 21},
    {"UpDownQSDTps1", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTps1"},
    {"EditQSDTime2", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 49, 78, 42, 21},
    {"UpDownQSDTime2", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTime2"},
    {"EditQSDTps2", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 117, 78, 42, 21},
    {"UpDownQSDTps2", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTps2"},
    {"EditQSDTime3", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 49, 102, 42, 21},
    {"UpDownQSDTime3", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTime3"},
    {"EditQSDTps3", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 117, 102, 42, 21},
    {"UpDownQSDTps3", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTps3"},
    {"EditQSDTime4", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 49, 126, 42, 21},
    {"UpDownQSDTime4", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTime4"},
    {"EditQSDTps4", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 117, 126, 42, 21},
    {"UpDownQSDTps4", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTps4"},
    {"EditQSDTime5", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 49, 150, 42, 21},
    {"UpDownQSDTime5", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTime5"},
    {"EditQSDTps5", ControlKind::Edit, "GroupBoxRaceQuickShiftDown", 117, 150, 42, 21},
    {"UpDownQSDTps5", ControlKind::UpDown, "GroupBoxRaceQuickShiftDown", 0, 0, 16, 21, {}, "EditQSDTps5"},

    {"RadioGroupDisplay", ControlKind::RadioGroup, "TabSheet_Race", 8, 212, 230, 86, "Display on Bike"},

    {"GroupBoxRacePit", ControlKind::GroupBox, "TabSheet_Race", 8, 378, 400, 160, "Pit speed limiter"},
    {"LabelPitSpeed", ControlKind::Label, "GroupBoxRacePit", 12, 27, 250, 17, "Speed [km/h]"},
    {"EditPitSpeed", ControlKind::Edit, "GroupBoxRacePit", 300, 24, 60, 21},
    {"UpDownPitSpeed", ControlKind::UpDown, "GroupBoxRacePit", 0, 0, 16, 21, {}, "EditPitSpeed"},
    {"LabelPitRetardP", ControlKind::Label, "GroupBoxRacePit", 12, 53, 250, 17, "Retard - P [°/km/h]"},
    {"EditPitRetardP", ControlKind::Edit, "GroupBoxRacePit", 300, 50, 60, 21},
    {"UpDownPitRetardP", ControlKind::UpDown, "GroupBoxRacePit", 0, 0, 16, 21, {}, "EditPitRetardP"},
    {"LabelPitRetardI", ControlKind::Label, "GroupBoxRacePit", 12, 79, 250, 17, "Retard - I [°/s]"},
    {"EditPitRetardI", ControlKind::Edit, "GroupBoxRacePit", 300, 76, 60, 21},
    {"UpDownPitRetardI", ControlKind::UpDown, "GroupBoxRacePit", 0, 0, 16, 21, {}, "EditPitRetardI"},
    {"LabelPitMinAdv", ControlKind::Label, "GroupBoxRacePit", 12, 105, 250, 17, "Min Advance [°]"},
    {"EditPitMinAdv", ControlKind::Edit, "GroupBoxRacePit", 300, 102, 60, 21},
    {"UpDownPitMinAdv", ControlKind::UpDown, "GroupBoxRacePit", 0, 0, 16, 21, {}, "EditPitMinAdv"},
    {"LabelPitMinRpm", ControlKind::Label, "GroupBoxRacePit", 12, 131, 250, 17, "Min Rpm"},
    {"EditPitMinRpm", ControlKind::Edit, "GroupBoxRacePit", 300, 128, 60, 21},
    {"UpDownPitMinRpm", ControlKind::UpDown, "GroupBoxRacePit", 0, 0, 16, 21, {}, "EditPitMinRpm"},

    {"GroupBoxRaceDC", ControlKind::GroupBox, "TabSheet_Race", 416, 378, 434, 188, "Deceleration control"},
    {"CheckBoxRaceDC", ControlKind::CheckBox, "GroupBoxRaceDC", 12, 22, 250, 21, "Deceleration control allowed"},
    {"ButtonDCTest", ControlKind::Button, "GroupBoxRaceDC", 318, 20, 100, 25, "Test"},
    {"CheckBoxDCUseSpeed", ControlKind::CheckBox, "GroupBoxRaceDC", 12, 50, 280, 21, "Use Speed for activation"},
    {"LabelDCSpeedMin", ControlKind::Label, "GroupBoxRaceDC", 12, 81, 270, 17, "Speed min"},
    {"EditDCSpeedMin", ControlKind::Edit, "GroupBoxRaceDC", 300, 78, 60, 21},
    {"UpDownDCSpeedMin", ControlKind::UpDown, "GroupBoxRaceDC", 0, 0, 16, 21, {}, "EditDCSpeedMin"},
    {"LabelDCTPSmin", ControlKind::Label, "GroupBoxRaceDC", 12, 107, 270, 17, "TP min"},
    {"EditDCTPSmin", ControlKind::Edit, "GroupBoxRaceDC", 300, 104, 60, 21},
    {"UpDownDCTPSmin", ControlKind::UpDown, "GroupBoxRaceDC", 0, 0, 16, 21, {}, "EditDCTPSmin"},
    {"LabelDCRPMmin", ControlKind::Label, "GroupBoxRaceDC", 12, 133, 270, 17, "RPM min"},
    {"EditDCRPMmin", ControlKind::Edit, "GroupBoxRaceDC", 300, 130, 60, 21},
    {"UpDownDCRPMmin", ControlKind::UpDown, "GroupBoxRaceDC", 0, 0, 16, 21, {}, "EditDCRPMmin"},
    {"LabelDCaction", ControlKind::Label, "GroupBoxRaceDC", 12, 159, 280, 17, "Intake servo [mV]"},
    {"EditDCaction", ControlKind::Edit, "GroupBoxRaceDC", 300, 156, 60, 21},
    {"UpDownDCaction", ControlKind::UpDown, "GroupBoxRaceDC", 0, 0, 16, 21, {}, "EditDCaction"},
};

constexpr FieldBinding kRaceBindings[] = {
    // control                            kind         address index          scale offset min   max    incr divisor
    {"CheckBoxUseGPSforQS2",              Bind::Check, 5016},
    {"UpDownExpLev2",                     Bind::Byte,  5028,   kSignedIndex,  1,    0,     -125,  125,   1,   100},
    {"UpDownRaceBlink1", Bind::Byte, 4485, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceBlink2", Bind::Byte, 4486, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceBlink3", Bind::Byte, 4487, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceBlink4", Bind::Byte, 4488, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceBlink5", Bind::Byte, 4489, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceBlink6", Bind::Byte, 4490, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceLight1", Bind::Byte, 4491, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceLight2", Bind::Byte, 4492, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceLight3", Bind::Byte, 4493, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceLight4", Bind::Byte, 4494, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceLight5", Bind::Byte, 4495, 0, 100, 0, 300, 25000, 100},
    {"UpDownRaceLight6", Bind::Byte, 4496, 0, 100, 0, 300, 25000, 100},
    {"RadioGroupClutchMode", Bind::Radio, 4497},
    {"UpDownClutchMinRpm", Bind::Byte, 4510, 0, 100, 0, 1000, 25000, 100},
    {"UpDownQSUTime1", Bind::Byte, 4498, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSUPause1", Bind::Byte, 4504, 0, 10, 0, 0, 2500, 100},
    {"UpDownQSUInj1", Bind::Byte, 4895, 0, 1, 0, 0, 100, 1},
    {"UpDownQSUAdv1", Bind::Byte, 4901, kSignedIndex, 1, 0, -60, 60, 1},
    {"UpDownQSUTime2", Bind::Byte, 4499, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSUPause2", Bind::Byte, 4505, 0, 10, 0, 0, 2500, 100},
    {"UpDownQSUInj2", Bind::Byte, 4896, 0, 1, 0, 0, 100, 1},
    {"UpDownQSUAdv2", Bind::Byte, 4902, kSignedIndex, 1, 0, -60, 60, 1},
    {"UpDownQSUTime3", Bind::Byte, 4500, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSUPause3", Bind::Byte, 4506, 0, 10, 0, 0, 2500, 100},
    {"UpDownQSUInj3", Bind::Byte, 4897, 0, 1, 0, 0, 100, 1},
    {"UpDownQSUAdv3", Bind::Byte, 4903, kSignedIndex, 1, 0, -60, 60, 1},
    {"UpDownQSUTime4", Bind::Byte, 4501, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSUPause4", Bind::Byte, 4507, 0, 10, 0, 0, 2500, 100},
    {"UpDownQSUInj4", Bind::Byte, 4898, 0, 1, 0, 0, 100, 1},
    {"UpDownQSUAdv4", Bind::Byte, 4904, kSignedIndex, 1, 0, -60, 60, 1},
    {"UpDownQSUTime5", Bind::Byte, 4502, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSUPause5", Bind::Byte, 4508, 0, 10, 0, 0, 2500, 100},
    {"UpDownQSUInj5", Bind::Byte, 4899, 0, 1, 0, 0, 100, 1},
    {"UpDownQSUAdv5", Bind::Byte, 4905, kSignedIndex, 1, 0, -60, 60, 1},
    {"CheckBoxQSHUpOver", Bind::Check, 4919},
    {"CheckBoxQSHUCancelAfterCompletion", Bind::Check, 4921},
    {"UpDownQSDTime1", Bind::Byte, 4907, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSDTps1", Bind::Byte, 4913, 0, 1, 0, 0, 100, 1},
    {"UpDownQSDTime2", Bind::Byte, 4908, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSDTps2", Bind::Byte, 4914, 0, 1, 0, 0, 100, 1},
    {"UpDownQSDTime3", Bind::Byte, 4909, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSDTps3", Bind::Byte, 4915, 0, 1, 0, 0, 100, 1},
    {"UpDownQSDTime4", Bind::Byte, 4910, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSDTps4", Bind::Byte, 4916, 0, 1, 0, 0, 100, 1},
    {"UpDownQSDTime5", Bind::Byte, 4911, 0, 5, 0, 0, 1250, 5},
    {"UpDownQSDTps5", Bind::Byte, 4917, 0, 1, 0, 0, 100, 1},
    {"RadioGroupDisplay", Bind::Radio, 4484},
    {"UpDownPitSpeed", Bind::Byte, 4515, 0, 1, 0, 20, 255, 1},
    {"UpDownPitRetardP", Bind::Byte, 4516, 0, 1, 0, 0, 250, 1},
    {"UpDownPitRetardI", Bind::Byte, 4517, 0, 1, 0, 0, 250, 1},
    {"UpDownPitMinAdv", Bind::Byte, 4518, kSignedIndex, 1, 0, -60, 60, 1},
    {"UpDownPitMinRpm", Bind::Byte, 4519, 0, 100, 0, 600, 25000, 100},
    {"CheckBoxRaceDC", Bind::Check, 4520},
    {"CheckBoxDCUseSpeed", Bind::Check, 4525},
    {"UpDownDCSpeedMin", Bind::Byte, 4526, 0, 1, 0, 0, 250, 1},
    {"UpDownDCTPSmin", Bind::Byte, 4522, 0, 1, 0, 0, 100, 1},
    {"UpDownDCRPMmin", Bind::Byte, 4521, 0, 100, 0, 0, 25000, 100},
};

// The mirrors of shift 1 that the unit reads at their older places.
constexpr std::pair<int, int> kShiftOneMirrors[] = {{4511, 4895}, {4512, 4901}, {4513, 4907}, {4514, 4913}};

constexpr CaptionRow kRaceCaptions[] = {
    {"GroupBoxRaceGearShiftLight", {"Gear shift light", "Schaltblitz", "Řadicí světlo"}},
    {"LabelRaceBlink", {"Blink [rpm]", "Blinkt [rpm]", "Bliká [rpm]"}},
    {"LabelRaceLight", {"Light [rpm]", "Licht [rpm]", "Svit [rpm]"}},
    {"GroupBoxRaceQuickShiftUp", {"Quick shift up", "Schaltautomat hoch", "Rychlořazení nahoru"}},
    {"LabelRaceUpTime", {"Time [ms]", "Zeit [ms]", "Čas [ms]"}},
    {"LabelRaceUpPause", {"Pause [ms]", "Pause [ms]", "Pauza [ms]"}},
    {"LabelRaceUpInj", {"Injection [%]", "Einspr. [%]", "Vstřik [%]"}},
    {"LabelRaceUpAdv", {"Advance [°]", "Zündung [°]", "Předstih [°]"}},
    {"CheckBoxQSHUpOver", {"Don't shift over last gear ratio", "Nicht über den letzten Gang schalten",
                           "Neřadit přes poslední převodový stupeň"}},
    {"CheckBoxQSHUCancelAfterCompletion", {"Exit after shifting gears", "Nach dem Schalten beenden",
                                           "Ukončit po přeřazení"}},
    {"RadioGroupClutchMode", {"Quickshift up mode", "Schaltmodus hoch", "Režim rychlořazení"}},
    {"RadioGroupClutchMode", {"No ignition\nRetard", "Keine Zündung\nSpätverstellung", "Bez zážehu\nZpoždění"},
     kCaptionItems},
    {"LabelClutchMinRpm", {"Min Rpm", "Drehzahl min", "Otáčky min"}},
    {"CheckBoxUseGPSforQS2",
     {"in case GP sens. deviation", "bei Abweichung des Gangsensors", "při odchylce snímače převodu"}},
    {"LabelExpLev2", {"+/- Exposure level [V]", "+/- Pegel [V]", "+/- úroveň [V]"}},
    {"GroupBoxRaceQuickShiftDown", {"Quickshift down", "Wechsel unten", "Quickshift down"}},
    {"LabelRaceDownTime", {"Time [ms]", "Zeit [ms]", "Čas [ms]"}},
    {"LabelRaceDownTPS", {"TPS target [%]", "TPS Ziel [%]", "Cíl TPS [%]"}},
    {"RadioGroupDisplay", {"Display on Bike", "Motorradanzeige", "Displej na motocyklu"}},
    {"RadioGroupDisplay", {"Speed\nTemperature\nGear", "Geschwindigkeit\nTemperatur\nGang",
                           "Rychlost\nTeplota\nRychlostní stupeň"}, kCaptionItems},
    {"GroupBoxRacePit", {"Pit speed limiter", "Boxengassen-Begrenzer", "Omezovač rychlosti v boxech"}},
    {"LabelPitSpeed", {"Speed [km/h]", "Geschw. [km/h]", "Rychlost [km/h]"}},
    {"LabelPitRetardP", {"Retard - P [°/km/h]", "Spätverstellung - P [°/km/h]", "Zpoždění - P [°/km/h]"}},
    {"LabelPitRetardI", {"Retard - I [°/s]", "Spätverstellung - I [°/s]", "Zpoždění - I [°/s]"}},
    {"LabelPitMinAdv", {"Min Advance [°]", "Zündung min [°]", "Předstih min [°]"}},
    {"LabelPitMinRpm", {"Min Rpm", "Drehzahl min", "Otáčky min"}},
    {"GroupBoxRaceDC", {"Deceleration control", "Schubabschaltung", "Řízení decelerace"}},
    {"CheckBoxRaceDC", {"Deceleration control allowed", "Verzögerungsregelung erlaubt", "Řízení decelerace povoleno"}},
    {"CheckBoxDCUseSpeed",
     {"Use Speed for activation", "Geschwindigkeit zur Aktivierung nutzen", "Použít rychlost pro aktivaci"}},
    {"LabelDCSpeedMin", {"Speed min", "Geschw. min", "Rychlost min"}},
    {"LabelDCTPSmin", {"TP min", "TP min", "TP min"}},
    {"LabelDCRPMmin", {"RPM min", "Drehzahl min", "Otáčky min"}},
};
// clang-format on

std::string numbered(std::string_view stem, int n)
{
    return std::string(stem) + std::to_string(n);
}

void setEnabled(TPageForm& w, std::string_view name, bool enabled)
{
    if (auto* control = FindControl<TControl>(w, name)) control->SetEnabled(enabled);
}

void setShown(TPageForm& w, std::string_view name, bool shown)
{
    if (auto* control = FindControl<TControl>(w, name)) control->SetVisible(shown);
}

// A pair by its stem: the up-down and its edit.
void setPairShown(TPageForm& w, std::string_view stem, bool shown)
{
    setShown(w, "Edit" + std::string(stem), shown);
    setShown(w, "UpDown" + std::string(stem), shown);
}

void setPairEnabled(TPageForm& w, std::string_view stem, bool enabled)
{
    setEnabled(w, "Edit" + std::string(stem), enabled);
    setEnabled(w, "UpDown" + std::string(stem), enabled);
}

// The deceleration action value is a setting of the idle actuator chosen: its field, range and caption by the
// idle regulation mode (none for the modes without an actuator the control can move).
struct DecelerationAction
{
    FieldBinding field;
    int messageIndex;
};

const DecelerationAction* decelerationAction(const Image& image)
{
    static constexpr DecelerationAction kServoPercent{{"UpDownDCaction", Bind::Byte, 4523, 0, 1, 0, 0, 100, 1}, 218};
    static constexpr DecelerationAction kServoMillivolts{{"UpDownDCaction", Bind::Word, 1137, 0, 1, 0, 0, 5000, 5},
                                                         219};
    static constexpr DecelerationAction kStepMotor{
        {"UpDownDCaction", Bind::Word, 1124, kSignedIndex, 1, 0, -30000, 30000, 1}, 220};
    static constexpr DecelerationAction kStepMotorTpMin{
        {"UpDownDCaction", Bind::Word, 1125, kSignedIndex, 1, 0, -30000, 30000, 1}, 221};
    switch (image[kIdleModeByte]) {
        case 1:
            return image[kServoPercentByte] != 0 ? &kServoPercent : &kServoMillivolts;
        case 2:
            return &kStepMotor;
        case 3:
            return &kStepMotorTpMin;
        default:
            return nullptr;
    }
}

// The action value's caption and range by the idle actuator. The range is set before the value is shown, so that
// a value of another actuator's range is not clamped on its way in.
void setDecelerationActionRange(TPageForm& w)
{
    const DecelerationAction* action = decelerationAction(w.images.image);
    if (!action) return;
    if (auto* label = FindControl<TLabel>(w, "LabelDCaction")) label->SetCaption(PageMessage(w, action->messageIndex));
    if (auto* upDown = FindControl<TUpDown>(w, "UpDownDCaction")) {
        const SettingGuard guard(w);
        upDown->SetRange(action->field.min, action->field.max);
        upDown->SetIncrement(action->field.increment);
    }
}

bool quickshiftDownActuator(const Image& image)
{
    for (int address : kPowerOutFunctionBytes)
        if (image[std::size_t(address)] == kQuickshiftDownFunction) return true;
    return image[kThrottleServoByte] != 0;
}

void markEdit(TPageForm& w, std::string_view name, bool marked)
{
    if (auto* edit = FindControl<TEdit>(w, name)) {
        const TColor colour = marked ? clLime : clWindow;
        if (edit->Color() != colour) edit->SetColor(colour);
    }
}

void markLabel(TPageForm& w, std::string_view name, bool marked)
{
    if (auto* label = FindControl<TLabel>(w, name)) {
        const TColor colour = marked ? clLime : clBtnFace;
        if (label->Color() != colour) label->SetColor(colour);
    }
}

// The gear engaged marks its rows: the shift light's row, the up-shift out of it and the down-shift into the gear
// below.
void TickRacePage(TPageForm& w)
{
    const int gear = w.liveValues.gear;
    for (int r = 1; r <= kRows; ++r) {
        markEdit(w, numbered("EditRaceBlink", r), gear == r);
        markEdit(w, numbered("EditRaceLight", r), gear == r);
        for (std::string_view stem : {"LabelRaceGear", "LabelRaceQSU", "LabelRaceQSD"})
            markLabel(w, numbered(stem, r), gear == r);
    }
    for (int s = 1; s <= kShifts; ++s) {
        for (std::string_view stem : {"EditQSUTime", "EditQSUPause", "EditQSUInj", "EditQSUAdv"})
            markEdit(w, numbered(stem, s), gear == s);
        for (std::string_view stem : {"EditQSDTime", "EditQSDTps"}) markEdit(w, numbered(stem, s), gear == s + 1);
    }
}

void RaceCaptions(TPageForm& w)
{
    ApplyCaptions(w, kRaceCaptions);
    ClutchPageLayout(w);
}

void StoreRacePage(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    Image& image = w.images.image;
    StoreBindings(w, PAGE_RACE);
    for (auto [mirror, source] : kShiftOneMirrors) image[std::size_t(mirror)] = image[std::size_t(source)];
    if (const DecelerationAction* action = decelerationAction(image)) {
        StoreBinding(w, action->field, FindControl<TUpDown>(w, "UpDownDCaction"));
        if (action->field.kind == Bind::Word && action->field.address == 1137)
            image[4524] = static_cast<std::uint8_t>(imageWord(image, 1137) / 50 + 25);
    }
}

void ShowRacePage(TPageForm& w)
{
    ShowBindings(w, PAGE_RACE);
    setDecelerationActionRange(w);
    if (const DecelerationAction* action = decelerationAction(w.images.image))
        ShowBinding(w, action->field, FindControl<TUpDown>(w, "UpDownDCaction"));
    ClutchPageLayout(w);
}

void RadioGroupClutchModeClick(TPageForm& w)
{
    if (w.settingGuard != 0) return;
    CommitChangeNow(w);
    ClutchPageLayout(w);
}

void BuildRacePage(TPageForm& w)
{
    if (auto* group = FindControl<TRadioGroup>(w, "RadioGroupClutchMode")) {
        group->SetItems(SplitItemList("No ignition,Retard"));
        group->OnClick = [&w](TObject*) { RadioGroupClutchModeClick(w); };
    }
    if (auto* group = FindControl<TRadioGroup>(w, "RadioGroupDisplay"))
        group->SetItems(SplitItemList("Speed,Temperature,Gear"));
    RaceCaptions(w);
}

}  // namespace

void ClutchPageLayout(TPageForm& w)
{
    Image& image = w.images.image;
    const int method = image[kGearMethodByte];
    const int gears = image[kGearCountByte];
    const bool rows = method != kGearMethodNone;

    // 1. The two quick-shift boxes; leaving after the shift needs the gear position sensor.
    setShown(w, "CheckBoxQSHUpOver", true);
    setShown(w, "CheckBoxQSHUCancelAfterCompletion", true);
    setEnabled(w, "CheckBoxQSHUCancelAfterCompletion", method == kGearMethodSensor);
    // 2. The gear sensor's level only while quick-shift uses the sensor.
    const bool level = image[kUseGearSensorByte] != 0;
    for (std::string_view name : {"EditExpLev2", "UpDownExpLev2", "LabelExpLev2", "LabelMonGearNapeti2"})
        setEnabled(w, name, level);
    // 3. The display choice on the models whose dashboard takes it.
    const bool display =
        std::find(std::begin(kDisplayModels), std::end(kDisplayModels), image[kModelByte]) != std::end(kDisplayModels);
    if (auto* group = FindControl<TRadioGroup>(w, "RadioGroupDisplay")) {
        group->SetEnabled(display);
        if (!display) {
            image[kDisplayByte] = 0;
            SetRadioIndexQuiet(w, group, 0);
        }
    }
    // 4. The rows of the gears the bike has.
    for (std::string_view stem : {"LabelRaceGear", "LabelRaceQSU", "LabelRaceQSD"})
        setShown(w, numbered(stem, 1), rows);
    for (int r = 2; r <= kRows; ++r) {
        const bool shown = gears >= r && rows;
        for (std::string_view stem : {"LabelRaceGear", "LabelRaceQSU", "LabelRaceQSD"})
            setShown(w, numbered(stem, r), shown);
        setPairShown(w, numbered("RaceBlink", r), shown);
        setPairShown(w, numbered("RaceLight", r), shown);
    }
    for (int s = 2; s <= kShifts; ++s)
        for (std::string_view stem : {"QSUTime", "QSUPause", "QSUInj", "QSUAdv"})
            setPairShown(w, numbered(stem, s), gears >= s + 1 && rows);
    // 5. The two boxes stand below the last gear row.
    const int last = gears <= 1 || !rows ? 2 : std::min(gears, kRows);
    if (auto* edit = FindControl<TEdit>(w, numbered("EditRaceBlink", last))) {
        if (auto* box = FindControl<TControl>(w, "CheckBoxQSHUpOver")) box->SetTop(edit->Top() + 20);
        if (auto* box = FindControl<TControl>(w, "CheckBoxQSHUCancelAfterCompletion")) box->SetTop(edit->Top() + 45);
    }
    // 6. Quick-shift down needs an actuator: a power output for it or the throttle servo.
    const bool down = quickshiftDownActuator(image);
    setEnabled(w, "LabelRaceDownTime", down);
    setEnabled(w, "LabelRaceDownTPS", down);
    for (int s = 2; s <= kShifts; ++s)
        for (std::string_view stem : {"QSDTime", "QSDTps"}) {
            setPairEnabled(w, numbered(stem, s), down);
            setPairShown(w, numbered(stem, s), gears >= s + 1 && rows);
        }
    // 7. The deceleration control needs an idle actuator it can move.
    const int mode = image[kIdleModeByte];
    const int allowed = mode < 1 || mode > 3 ? 0 : image[kDecelerationByte] != 0 ? 2 : 1;
    const bool bySpeed = image[kDecelerationBySpeedByte] != 0;
    setEnabled(w, "CheckBoxRaceDC", allowed != 0);
    setEnabled(w, "ButtonDCTest", allowed != 0);
    for (std::string_view name : {"CheckBoxDCUseSpeed", "UpDownDCaction", "EditDCaction", "LabelDCaction"})
        setEnabled(w, name, allowed == 2);
    for (std::string_view name : {"UpDownDCSpeedMin", "EditDCSpeedMin", "LabelDCSpeedMin"})
        setEnabled(w, name, allowed == 2 && bySpeed);
    for (std::string_view name :
         {"UpDownDCTPSmin", "EditDCTPSmin", "LabelDCTPSmin", "UpDownDCRPMmin", "EditDCRPMmin", "LabelDCRPMmin"})
        setEnabled(w, name, allowed == 2 && !bySpeed);
    // 8. The action value's caption and range.
    setDecelerationActionRange(w);
    // 9. The live marks.
    TickRacePage(w);
}

extern const PageModule kRacePage{
    .sheetName = "TabSheet_Race",
    .caption = "Race",
    .layout = kRaceLayout,
    .bindings = kRaceBindings,
    .build = BuildRacePage,
    .store = StoreRacePage,
    .show = ShowRacePage,
    .captions = RaceCaptions,
    .tick = TickRacePage,
};
