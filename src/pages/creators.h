#pragma once
// Controls that the page builders make at run time: owned by the main window, placed on a page or group box,
// captioned and given the shared change handlers, so that they behave as the design-time ones do.
#include <string>
#include <string_view>
#include <vector>

#include "pages/pageform.h"

class TDeciEdit;
class TDeciUpDown;

inline constexpr int kUpDownWidth = 16;
inline constexpr int kUpDownHeight = 21;
inline constexpr int kListItemMax = 31;  // characters of one item of a comma-separated list

// A decimal edit and its up-down, partners of each other, with the shared handlers.
void CreateDeciPair(TPageForm& w, TDeciUpDown*& upDown, TDeciEdit*& edit, TControl* parent);
// The edit at (left, top) with that width (0 keeps its width), the up-down at (left + editWidth, top).
void PlaceDeciPair(TDeciUpDown* upDown, int left, int top, int min, int max, int divisor, int editWidth);
// An edit and an up-down whose buddy it is, with the shared handlers.
void CreateEditPair(TPageForm& w, TUpDown*& upDown, TEdit*& edit, TControl* parent);
void PlaceEditPair(TUpDown* upDown, int left, int top, int min, int max, int increment, int editWidth);
// Shows or hides the pair and label named "Edit", "UpDown" and "Label" followed by `stem`, together.
void SetPairVisible(TPageForm& w, std::string_view stem, bool visible);
void CreateLabel(TPageForm& w, TLabel*& slot, TControl* parent, int left, int top, std::string_view caption);
// Width or height 0 keeps the control's own. Check boxes, radio groups and radio buttons are no tab stops and
// commit at once when clicked.
void CreateCheckBox(TPageForm& w, TCheckBox*& slot, TControl* parent, int left, int top, int width, int height,
                    std::string_view caption);
void CreateRadioGroup(TPageForm& w, TRadioGroup*& slot, TControl* parent, int left, int top, int width, int height,
                      std::string_view caption, std::string_view items);
void CreateRadioButton(TPageForm& w, TRadioButton*& slot, TControl* parent, int left, int top, int width, int height,
                       std::string_view caption);
// A push button without a click handler: the page gives it one.
void CreateButton(TPageForm& w, TButton*& slot, TControl* parent, int left, int top, int width, int height,
                  std::string_view caption);
// A list with one item (tag 0) per entry and no handler: the page gives it one.
void CreateComboBox(TPageForm& w, TComboBox*& slot, TControl* parent, int left, int top, int width,
                    std::string_view items);
void CreateGroupBox(TPageForm& w, TGroupBox*& slot, TControl* parent, int left, int top, int width, int height);

// The items of a comma-separated list, each cut to kListItemMax characters; "" gives none, "a,,b" three.
[[nodiscard]] std::vector<std::string> SplitItemList(std::string_view items);
// Removes every item; returns the index that was selected before.
int ClearComboItems(TComboBox* combo);
int ClearRadioItems(TRadioGroup* group);
void AddComboItem(TComboBox* combo, std::string_view text, int tag);
void AddRadioItem(TRadioGroup* group, std::string_view text, int tag);
