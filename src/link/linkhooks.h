#pragma once
// What the link shows the user goes through these hooks; they stay empty until the shell fills them.
#include <cstdint>
#include <functional>
#include <string>

struct LinkHooks
{
    // A status slot text in the trilingual form "###English##German##Czech", shown for durationMs (-1: until
    // replaced), colours 0x00BBGGRR, with a priority.
    std::function<void(int slot, const std::string& text, int durationMs, std::uint32_t fontColor,
                       std::uint32_t backColor, int priority)>
        showStatus;
};
