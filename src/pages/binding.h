#pragma once
// Binding of page controls to image fields. A page lists its bound controls in a table of FieldBinding rows;
// ShowBindings and StoreBindings walk it through the helpers below, which fix the arithmetic between the raw image
// value and the number the user sees and keep a show from counting as a user edit (each raises the
// setting-controls guard while it changes a control).
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/pageform.h"

class TUpDown;
class TCheckBox;
class TRadioGroup;
class TComboBox;

// Added to an element index: read the element as a signed value (words and bytes).
inline constexpr int kSignedIndex = 0x8000;

enum class Bind {
    Word,       // an up-down (or decimal up-down) and a 16-bit word: position = word + offset
    Byte,       // an up-down and a byte: position = scale x (byte + offset), signed: scale x byte + offset
    Check,      // a check box: checked = byte is not 0; stores 1 or 0
    Radio,      // a radio group: item index = byte
    RadioTag,   // a radio group: the item whose tag is the byte
    ComboTag,   // a combo box: the item whose tag is the byte
    ItemIndex,  // a combo box: item index = byte
};

struct FieldBinding
{
    std::string_view control;  // the control's name in the page's form description
    Bind kind;
    int address;     // word index (Word) or byte address (the others)
    int index = 0;   // element index added to the address; + kSignedIndex reads a signed value
    int scale = 1;   // Byte: see Bind::Byte; the store divides by it (truncating toward zero)
    int offset = 0;  // Word and Byte; the store subtracts it again (modulo 256 for bytes)
    int min = 0;     // the up-down's range and step; min == max leaves the control's own
    int max = 0;
    int increment = 1;
    int divisor = 0;  // a decimal up-down shows position / divisor; 0 leaves it
};

// ---- show helpers (image to control), each quiet
void ShowWord(TPageForm& w, TUpDown* upDown, int address, int index, int offset);
void ShowByte(TPageForm& w, TUpDown* upDown, int address, int index, int scale, int offset);
void ShowCheck(TPageForm& w, TCheckBox* box, int address, int index);
void ShowRadio(TPageForm& w, TRadioGroup* group, int address, int index);
void ShowRadioTag(TPageForm& w, TRadioGroup* group, int address, int index);
void ShowComboTag(TPageForm& w, TComboBox* combo, int address, int index);
void ShowItemIndex(TPageForm& w, TComboBox* combo, int address, int index);

// ---- store helpers (control to image): the low 16 or 8 bits of the result
void StoreWord(TPageForm& w, TUpDown* upDown, int address, int index, int bias);
void StoreByte(TPageForm& w, TUpDown* upDown, int address, int index, int divisor, int bias);
void StoreCheck(TPageForm& w, TCheckBox* box, int address, int index);
void StoreRadio(TPageForm& w, TRadioGroup* group, int address, int index);
void StoreRadioTag(TPageForm& w, TRadioGroup* group, int address, int index);
void StoreComboTag(TPageForm& w, TComboBox* combo, int address, int index);
void StoreItemIndex(TPageForm& w, TComboBox* combo, int address, int index);

// ---- quiet setters
// Position := value (clamped by the up-down); the buddy edit, or a decimal up-down's paired edit, shows it.
void SetControlQuiet(TPageForm& w, TUpDown* upDown, int value);
// Rewrites the buddy edit of a position from 1000 on in the up-down's own number format (thousands separator).
void ReformatUpDown(TPageForm& w, TUpDown* upDown);
void SetCheckQuiet(TPageForm& w, TCheckBox* box, int state);
void SetRadioIndexQuiet(TPageForm& w, TRadioGroup* group, int index);
void SelectRadioTagQuiet(TPageForm& w, TRadioGroup* group, int tag);
void SelectComboTagQuiet(TPageForm& w, TComboBox* combo, int tag);
void SetIndexQuiet(TPageForm& w, TComboBox* combo, int value);
void SetIndexQuiet(TPageForm& w, TCheckBox* box, int value);

// ---- tag queries
[[nodiscard]] int FindComboTag(const TComboBox* combo, int tag);  // -1 when no item carries it
[[nodiscard]] int GetComboTag(const TComboBox* combo);            // the item index (-1) when none is selected
[[nodiscard]] int GetRadioTag(const TRadioGroup* group);

// Raises an odd byte to the next even number, for the units that count in pairs (a step motor's period in
// milliseconds); 255 becomes 254, which the byte can hold, not 0.
void RaiseOddByteToEven(Image& image, int address);

// The text of a decimal up-down's value: position / divisor, shortest form, up to 15 significant digits.
[[nodiscard]] std::string DeciText(int position, int divisor);

// ---- binding tables
// Finds the controls of a module's binding table by name and gives the up-downs their ranges, steps and
// divisors. Returns a text per row whose control is missing or of the wrong class (that row is then skipped).
std::vector<std::string> ResolveBindings(TPageForm& w, int page);
// Shows or stores every row of a page's binding table (page kIndependentPage: the page-independent one).
void ShowBindings(TPageForm& w, int page);
void StoreBindings(TPageForm& w, int page);
// One row, with its resolved control.
void ShowBinding(TPageForm& w, const FieldBinding& row, TControl* control);
void StoreBinding(TPageForm& w, const FieldBinding& row, TControl* control);
