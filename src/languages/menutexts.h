#pragma once
// Captions of the main menu's items and of the three device buttons in the three languages, in the order the
// language pass sets them. An '&' marks the accelerator letter. Items not in the table keep one caption in every
// language (the recent files, "1=2=3=4", "Minus ", "Plus", "Print All", "Reset", "&Stop motor", the CSV log).
#include <array>
#include <span>
#include <string_view>

#include "languages/messages.h"

struct MenuTextRow
{
    std::string_view item;    // menu item name
    std::string_view button;  // a button with the same caption, or empty
    std::array<std::string_view, kLanguageCount> text;
};

[[nodiscard]] std::span<const MenuTextRow> menuTextRows();

// The language pass puts the check marks of the language items between these two rows.
inline constexpr std::string_view kMenuRowBeforeLanguageMarks = "MenuMonitorSet0";
