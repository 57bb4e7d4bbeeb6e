#pragma once
// The output tests: each test button ORs one bit into one of four command bytes of the main window, which the
// next live request carries to the unit (request bytes 99..102) and then clears.
#include <cstdint>
#include <string_view>

#include "pages/pageform.h"

struct TestCommandBit
{
    std::string_view button;
    int command;  // 0..3: request byte 99 + command
    std::uint8_t mask;
};

// clang-format off
inline constexpr TestCommandBit kTestCommandBits[] = {
    {"ButtonTestJet1A", 0, 0x01},        {"ButtonTestJet2A", 0, 0x02},        {"ButtonTestJet3A", 0, 0x04},
    {"ButtonTestJet4A", 0, 0x08},        {"ButtonTestJet1B", 0, 0x10},        {"ButtonTestJet2B", 0, 0x20},
    {"ButtonTestJet3B", 0, 0x40},        {"ButtonTestJet4B", 0, 0x80},
    {"ButtonTestIgn1", 1, 0x01},         {"ButtonTestIgn2", 1, 0x02},         {"ButtonTestIgn3", 1, 0x04},
    {"ButtonTestIgn4", 1, 0x08},         {"ButtonTestStart", 1, 0x10},        {"ButtonTestFan1", 1, 0x20},
    {"ButtonTestFan2", 1, 0x40},         {"ButtonTestPOut5", 1, 0x80},
    {"ButtonTestPOut1", 2, 0x01},        {"ButtonTestFuelPump", 2, 0x02},     {"ButtonTestCooling", 2, 0x04},
    {"ButtonTestPOut2", 2, 0x08},        {"ButtonTestRpm", 2, 0x10},          {"ButtonTestStop", 2, 0x20},
    {"ButtonTestPOut3", 2, 0x40},        {"ButtonTestPOut4", 2, 0x80},
    {"ButtonTestServoInPlus", 3, 0x01},  {"ButtonTestServoInMinus", 3, 0x02}, {"ButtonTestServoExPlus", 3, 0x04},
    {"ButtonTestServoExMinus", 3, 0x08}, {"ButtonTestServo3Plus", 3, 0x10},   {"ButtonTestServo3Minus", 3, 0x20},
    {"ButtonTestPortIn", 3, 0x40},       {"ButtonDCTest", 3, 0x80},  // the DC test sits on the race page
};
// clang-format on

// The click of a test button: its bit, while a unit answers live requests; any other sender changes nothing.
// Nothing is committed and nothing is sent from here.
void ButtonTestClick(TPageForm& w, TObject* sender);
// Drops the tests not yet sent (the page was left, the unit went away), except a stop asked for.
void ClearTestCommands(TPageForm& w);
// After every live frame: the tests the unit may refuse are enabled while bit 3 of live byte 178 is clear.
void EnableTestButtons(TPageForm& w, std::uint8_t liveByte178);
