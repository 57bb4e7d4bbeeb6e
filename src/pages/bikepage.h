#pragma once
// The bike page's functions that other pages and the tests call.
#include <cstdint>
#include <string>
#include <vector>

#include "pages/pageform.h"

inline constexpr int kNotesMaxCharacters = 150;  // what the notes memo accepts

// Refills the model list in the current language and selects the image's model.
void BikePageCaptions(TPageForm& w);
void ShowBikePage(TPageForm& w);
// Visibility and colours that follow the image: the special setting, the intake ports, the RPM correction.
void BikePageLayout(TPageForm& w);
// The model list shows the image's model (the separator while the special setting is on).
void ShowBikeModel(TPageForm& w);
// The chosen model into byte 2500, unless the special setting is on.
void StoreBikeModel(TPageForm& w);
void StoreNotes(TPageForm& w);
void ShowNotes(TPageForm& w);
// The notes area (151 bytes) for the memo's lines: an 8-bit line and its NUL, or byte 1 and a UTF-16 line with its
// 16-bit NUL; lines cut at the end of the area stay terminated, later lines are dropped.
[[nodiscard]] std::vector<std::uint8_t> PackNotes(const std::vector<std::string>& lines);
// The user chose a model in the list; the memo was left.
void ComboBoxBikeChange(TPageForm& w);
void Memo1Exit(TPageForm& w);
