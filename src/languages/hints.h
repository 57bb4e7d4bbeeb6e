#pragma once
// Hints of the main window's controls and menu items in the three languages: the short hint is the tool tip,
// the long one (after a '|') goes to the status bar. A row may serve a control and a menu item at once.
#include <array>
#include <span>
#include <string_view>

#include "languages/messages.h"

struct HintRow
{
    std::array<std::string_view, 2> destinations;  // control or menu item names; the second may be empty
    std::array<std::string_view, kLanguageCount> text;
};

// Every hint the language pass sets, in the order it sets them.
[[nodiscard]] std::span<const HintRow> hintRows();
