#pragma once
// Fixed texts of a page's controls in the three languages: a page lists them in a table and its caption refresher
// applies the table whenever the language changes (the language pass runs every page's refresher).
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "languages/messages.h"
#include "pages/pageform.h"

inline constexpr int kCaptionText = -1;   // the control's caption
inline constexpr int kCaptionItems = -2;  // a radio group's whole item list, one item a line

struct CaptionRow
{
    std::string_view control;
    // English, German, Czech; an empty German or Czech text shows the English one.
    std::array<std::string_view, kLanguageCount> text;
    int item = kCaptionText;  // from 0: the text of that item of a radio group or a list (its tag stays)
};

// The row's text in the current language.
[[nodiscard]] std::string_view CaptionText(const CaptionRow& row);
// Gives every row's control its text in the current language; a row whose control does not exist is skipped.
void ApplyCaptions(TPageForm& w, std::span<const CaptionRow> rows);
// The message table's entry in the current language: the shell's, or without a shell (the pages alone) the
// language module's row.
[[nodiscard]] std::string PageMessage(const TPageForm& w, int index);
