#include "pages/binding.h"

#include <algorithm>
#include <charconv>

#include "pages/pagemodule.h"
#include "vcl/classname.h"
#include "vcl/deciedit.h"

namespace {

// The element an address and index name, or -1 outside the image. `signedValue` says whether the index asked for
// a signed value.
int wordElement(int address, int index, bool& signedValue)
{
    signedValue = index >= kSignedIndex;
    const int element = address + (signedValue ? index - kSignedIndex : index);
    return element >= 0 && element < RS_WORD_COUNT ? element : -1;
}

int byteElement(int address, int index, bool& signedValue)
{
    signedValue = index >= kSignedIndex;
    const int element = address + (signedValue ? index - kSignedIndex : index);
    return element >= 0 && element < RS_LEN_EXE ? element : -1;
}

int byteElement(int address, int index)
{
    bool ignored = false;
    return byteElement(address, index, ignored);
}

bool controlFits(Bind kind, const TComponent& control)
{
    switch (kind) {
        case Bind::Word:
        case Bind::Byte:
            return IsA<TUpDown>(control);
        case Bind::Check:
            return IsA<TCheckBox>(control);
        case Bind::Radio:
        case Bind::RadioTag:
            return IsA<TRadioGroup>(control);
        case Bind::ComboTag:
        case Bind::ItemIndex:
            return IsA<TComboBox>(control);
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------- show helpers

void ShowWord(TPageForm& w, TUpDown* upDown, int address, int index, int offset)
{
    bool isSigned = false;
    const int element = wordElement(address, index, isSigned);
    if (!upDown || element < 0) return;
    const std::uint16_t word = imageWord(w.images.image, element);
    SetControlQuiet(w, upDown, (isSigned ? static_cast<std::int16_t>(word) : int(word)) + offset);
}

void ShowByte(TPageForm& w, TUpDown* upDown, int address, int index, int scale, int offset)
{
    bool isSigned = false;
    const int element = byteElement(address, index, isSigned);
    if (!upDown || element < 0) return;
    const std::uint8_t byte = w.images.image[std::size_t(element)];
    SetControlQuiet(w, upDown, isSigned ? scale * static_cast<std::int8_t>(byte) + offset : scale * (byte + offset));
}

void RaiseOddByteToEven(Image& image, int address)
{
    std::uint8_t& byte = image[std::size_t(address)];
    if (byte & 1) byte = byte == 255 ? 254 : std::uint8_t(byte + 1);
}

void ShowCheck(TPageForm& w, TCheckBox* box, int address, int index)
{
    const int element = byteElement(address, index);
    if (box && element >= 0) SetCheckQuiet(w, box, w.images.image[std::size_t(element)]);
}

void ShowRadio(TPageForm& w, TRadioGroup* group, int address, int index)
{
    const int element = byteElement(address, index);
    if (group && element >= 0) SetRadioIndexQuiet(w, group, w.images.image[std::size_t(element)]);
}

void ShowRadioTag(TPageForm& w, TRadioGroup* group, int address, int index)
{
    const int element = byteElement(address, index);
    if (group && element >= 0) SelectRadioTagQuiet(w, group, w.images.image[std::size_t(element)]);
}

void ShowComboTag(TPageForm& w, TComboBox* combo, int address, int index)
{
    const int element = byteElement(address, index);
    if (combo && element >= 0) SelectComboTagQuiet(w, combo, w.images.image[std::size_t(element)]);
}

void ShowItemIndex(TPageForm& w, TComboBox* combo, int address, int index)
{
    const int element = byteElement(address, index);
    if (combo && element >= 0) SetIndexQuiet(w, combo, w.images.image[std::size_t(element)]);
}

// ---------------------------------------------------------------- store helpers

void StoreWord(TPageForm& w, TUpDown* upDown, int address, int index, int bias)
{
    bool isSigned = false;
    const int element = wordElement(address, index, isSigned);
    if (upDown && element >= 0)
        setImageWord(w.images.image, element, static_cast<std::uint16_t>(upDown->Position() - bias));
}

void StoreByte(TPageForm& w, TUpDown* upDown, int address, int index, int divisor, int bias)
{
    const int element = byteElement(address, index);
    if (!upDown || element < 0) return;
    // Integer division truncates toward zero, as the stored values were always computed.
    const int value = upDown->Position() / (divisor == 0 ? 1 : divisor);
    w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(value - bias);
}

void StoreCheck(TPageForm& w, TCheckBox* box, int address, int index)
{
    const int element = byteElement(address, index);
    if (box && element >= 0) w.images.image[std::size_t(element)] = box->Checked() ? 1 : 0;
}

// A list or group with nothing selected shows a value it has no item for (one a settings file or the unit
// brought); storing leaves that value as it is instead of writing 255 over it.

void StoreRadio(TPageForm& w, TRadioGroup* group, int address, int index)
{
    const int element = byteElement(address, index);
    if (group && element >= 0 && group->ItemIndex() >= 0)
        w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(group->ItemIndex());
}

void StoreRadioTag(TPageForm& w, TRadioGroup* group, int address, int index)
{
    const int element = byteElement(address, index);
    if (group && element >= 0 && group->ItemIndex() >= 0)
        w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(GetRadioTag(group));
}

void StoreComboTag(TPageForm& w, TComboBox* combo, int address, int index)
{
    const int element = byteElement(address, index);
    if (combo && element >= 0 && combo->ItemIndex() >= 0)
        w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(GetComboTag(combo));
}

void StoreItemIndex(TPageForm& w, TComboBox* combo, int address, int index)
{
    const int element = byteElement(address, index);
    if (combo && element >= 0 && combo->ItemIndex() >= 0)
        w.images.image[std::size_t(element)] = static_cast<std::uint8_t>(combo->ItemIndex());
}

// ---------------------------------------------------------------- quiet setters

std::string DeciText(int position, int divisor)
{
    const double value = static_cast<double>(position) / (divisor == 0 ? 1 : divisor);
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::string(text, result.ptr);
}

void SetControlQuiet(TPageForm& w, TUpDown* upDown, int value)
{
    if (!upDown) return;
    const SettingGuard guard(w);
    upDown->SetPosition(value);
    if (upDown->Associate()) {
        ReformatUpDown(w, upDown);
    } else if (ControlClassName(*upDown) == "DeciUpDown") {
        auto* deci = static_cast<TDeciUpDown*>(upDown);
        if (TDeciEdit* edit = deci->PairedEdit) {
            // The edit's own change handler would read the rounded text back into the up-down.
            edit->TextGuard = 1;
            edit->SetText(DeciText(deci->Position(), deci->Divisor));
            edit->TextGuard = 0;
        }
    }
}

void ReformatUpDown(TPageForm& w, TUpDown* upDown)
{
    if (!upDown || upDown->Position() < 1000) return;
    // Setting the position rewrites the buddy edit in the up-down's format, thousands separator included.
    const SettingGuard guard(w);
    upDown->SetPosition(upDown->Position());
}

void SetCheckQuiet(TPageForm& w, TCheckBox* box, int state)
{
    if (!box || box->Checked() == (state != 0)) return;
    const SettingGuard guard(w);
    box->SetChecked(state != 0);
    box->Repaint();
}

void SetRadioIndexQuiet(TPageForm& w, TRadioGroup* group, int index)
{
    if (!group || group->ItemIndex() == index) return;
    const SettingGuard guard(w);
    group->SetItemIndex(index);
    group->Repaint();
}

void SelectRadioTagQuiet(TPageForm& w, TRadioGroup* group, int tag)
{
    if (!group || (group->ItemIndex() >= 0 && group->ItemTag(group->ItemIndex()) == tag)) return;
    int found = -1;
    for (int i = 0; i < group->ItemCount() && found < 0; ++i)
        if (group->ItemTag(i) == tag) found = i;
    const SettingGuard guard(w);
    group->SetItemIndex(found);
    group->Repaint();
}

void SelectComboTagQuiet(TPageForm& w, TComboBox* combo, int tag)
{
    if (!combo || (combo->ItemIndex() >= 0 && combo->ItemTag(combo->ItemIndex()) == tag)) return;
    const SettingGuard guard(w);
    combo->SetItemIndex(FindComboTag(combo, tag));
    combo->Repaint();
}

void SetIndexQuiet(TPageForm& w, TComboBox* combo, int value)
{
    if (!combo || combo->ItemIndex() == value) return;
    const SettingGuard guard(w);
    combo->SetItemIndex(value);
    combo->Repaint();
}

void SetIndexQuiet(TPageForm& w, TCheckBox* box, int value)
{
    SetCheckQuiet(w, box, value);
}

// ---------------------------------------------------------------- tag queries

int FindComboTag(const TComboBox* combo, int tag)
{
    if (!combo) return -1;
    for (int i = 0; i < combo->ItemCount(); ++i)
        if (combo->ItemTag(i) == tag) return i;
    return -1;
}

int GetComboTag(const TComboBox* combo)
{
    if (!combo) return -1;
    const int index = combo->ItemIndex();
    return index < 0 ? index : combo->ItemTag(index);
}

int GetRadioTag(const TRadioGroup* group)
{
    if (!group) return -1;
    const int index = group->ItemIndex();
    return index < 0 ? index : group->ItemTag(index);
}

// ---------------------------------------------------------------- binding tables

std::vector<std::string> ResolveBindings(TPageForm& w, int page)
{
    std::vector<std::string> problems;
    std::vector<TControl*>& controls = w.boundControls[std::size_t(page)];
    controls.clear();
    const PageModule* module = w.pageModules[std::size_t(page)];
    if (!module) return problems;
    const SettingGuard guard(w);
    for (const FieldBinding& row : module->bindings) {
        TComponent* found = w.FindComponent(row.control);
        if (!found || !controlFits(row.kind, *found)) {
            problems.push_back(std::string(module->sheetName) + ": " + std::string(row.control) +
                               (found ? " is not the control its binding needs" : " does not exist"));
            controls.push_back(nullptr);
            continue;
        }
        auto* control = static_cast<TControl*>(found);
        controls.push_back(control);
        if (row.kind != Bind::Word && row.kind != Bind::Byte) continue;
        auto* upDown = static_cast<TUpDown*>(control);
        if (row.min != row.max) upDown->SetRange(row.min, row.max);
        upDown->SetIncrement(row.increment);
        if (row.divisor != 0 && ControlClassName(*upDown) == "DeciUpDown")
            static_cast<TDeciUpDown*>(upDown)->Divisor = row.divisor;
    }
    return problems;
}

void ShowBinding(TPageForm& w, const FieldBinding& row, TControl* control)
{
    if (!control) return;
    switch (row.kind) {
        case Bind::Word:
            ShowWord(w, static_cast<TUpDown*>(control), row.address, row.index, row.offset);
            break;
        case Bind::Byte:
            ShowByte(w, static_cast<TUpDown*>(control), row.address, row.index, row.scale, row.offset);
            break;
        case Bind::Check:
            ShowCheck(w, static_cast<TCheckBox*>(control), row.address, row.index);
            break;
        case Bind::Radio:
            ShowRadio(w, static_cast<TRadioGroup*>(control), row.address, row.index);
            break;
        case Bind::RadioTag:
            ShowRadioTag(w, static_cast<TRadioGroup*>(control), row.address, row.index);
            break;
        case Bind::ComboTag:
            ShowComboTag(w, static_cast<TComboBox*>(control), row.address, row.index);
            break;
        case Bind::ItemIndex:
            ShowItemIndex(w, static_cast<TComboBox*>(control), row.address, row.index);
            break;
    }
}

namespace {

// Whether the up-down still stands where showing the image put it. A field outside the up-down's range shows
// clamped, and storing that position back would change a value the user never touched.
bool upDownAsShown(const TPageForm& w, const FieldBinding& row, const TUpDown& upDown)
{
    bool isSigned = false;
    int shown = 0;
    if (row.kind == Bind::Word) {
        const int element = wordElement(row.address, row.index, isSigned);
        if (element < 0) return false;
        const std::uint16_t word = imageWord(w.images.image, element);
        shown = (isSigned ? static_cast<std::int16_t>(word) : int(word)) + row.offset;
    } else {
        const int element = byteElement(row.address, row.index, isSigned);
        if (element < 0) return false;
        const std::uint8_t byte = w.images.image[std::size_t(element)];
        shown = isSigned ? row.scale * static_cast<std::int8_t>(byte) + row.offset : row.scale * (byte + row.offset);
    }
    return upDown.Position() == std::clamp(shown, std::min(upDown.Min(), upDown.Max()), std::max(upDown.Min(), upDown.Max()));
}

}  // namespace

void StoreBinding(TPageForm& w, const FieldBinding& row, TControl* control)
{
    if (!control) return;
    if ((row.kind == Bind::Word || row.kind == Bind::Byte) && upDownAsShown(w, row, *static_cast<TUpDown*>(control)))
        return;
    const int index = row.index >= kSignedIndex ? row.index - kSignedIndex : row.index;
    switch (row.kind) {
        case Bind::Word:
            StoreWord(w, static_cast<TUpDown*>(control), row.address, index, row.offset);
            break;
        case Bind::Byte:
            // The bias is a byte: an offset of -100 is stored back by subtracting 156 modulo 256.
            StoreByte(w, static_cast<TUpDown*>(control), row.address, index, row.scale, row.offset & 0xFF);
            break;
        case Bind::Check:
            StoreCheck(w, static_cast<TCheckBox*>(control), row.address, index);
            break;
        case Bind::Radio:
            StoreRadio(w, static_cast<TRadioGroup*>(control), row.address, index);
            break;
        case Bind::RadioTag:
            StoreRadioTag(w, static_cast<TRadioGroup*>(control), row.address, index);
            break;
        case Bind::ComboTag:
            StoreComboTag(w, static_cast<TComboBox*>(control), row.address, index);
            break;
        case Bind::ItemIndex:
            StoreItemIndex(w, static_cast<TComboBox*>(control), row.address, index);
            break;
    }
}

void ShowBindings(TPageForm& w, int page)
{
    const PageModule* module = w.pageModules[std::size_t(page)];
    const std::vector<TControl*>& controls = w.boundControls[std::size_t(page)];
    if (!module) return;
    for (std::size_t i = 0; i < module->bindings.size() && i < controls.size(); ++i)
        ShowBinding(w, module->bindings[i], controls[i]);
}

void StoreBindings(TPageForm& w, int page)
{
    const PageModule* module = w.pageModules[std::size_t(page)];
    const std::vector<TControl*>& controls = w.boundControls[std::size_t(page)];
    if (!module) return;
    for (std::size_t i = 0; i < module->bindings.size() && i < controls.size(); ++i)
        StoreBinding(w, module->bindings[i], controls[i]);
}
