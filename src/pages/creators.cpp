#include "pages/creators.h"

#include "pages/commit.h"
#include "vcl/deciedit.h"

namespace {

void setSize(TControl* control, int width, int height)
{
    if (width != 0) control->SetWidth(width);
    if (height != 0) control->SetHeight(height);
}

// Cuts a UTF-8 text after `count` characters.
std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t n = 0; i < text.size() && n < count; ++n) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text.substr(0, i);
}

}  // namespace

void CreateDeciPair(TPageForm& w, TDeciUpDown*& upDown, TDeciEdit*& edit, TControl* parent)
{
    edit = w.Make<TDeciEdit>(parent, "");
    upDown = w.Make<TDeciUpDown>(parent, "");
    PairDeci(*edit, *upDown);
    edit->OnExit = [&w](TObject* s) { FormEditLooseFocus(w, s); };
    edit->OnKeyPress = [&w](TObject* s, char& key) { FormKeyPressW(w, s, key); };
    edit->OnChange = [&w](TObject* s) { EditDeciChg(w, s); };
    upDown->OnClick = [&w](TObject* s) { FormUpDownClick(w, s); };
    upDown->OnChangingEx = [&w](TObject* s, bool& allow, int value, int) { UpDnDeciChg(w, s, allow, value); };
}

void PlaceDeciPair(TDeciUpDown* upDown, int left, int top, int min, int max, int divisor, int editWidth)
{
    if (!upDown) return;
    if (TDeciEdit* edit = upDown->PairedEdit)
        edit->SetBounds(left, top, editWidth != 0 ? editWidth : edit->Width(), edit->Height());
    upDown->SetBounds(left + editWidth, top, kUpDownWidth, kUpDownHeight);
    upDown->SetRange(min, max);
    upDown->SetIncrement(1);
    upDown->Divisor = divisor;
}

void CreateEditPair(TPageForm& w, TUpDown*& upDown, TEdit*& edit, TControl* parent)
{
    edit = w.Make<TEdit>(parent, "");
    upDown = w.Make<TUpDown>(parent, "");
    upDown->SetAssociate(edit);
    edit->OnExit = [&w](TObject* s) { FormEditLooseFocus(w, s); };
    edit->OnKeyPress = [&w](TObject* s, char& key) { FormKeyPressW(w, s, key); };
    upDown->OnClick = [&w](TObject* s) { FormUpDownClick(w, s); };
}

void PlaceEditPair(TUpDown* upDown, int left, int top, int min, int max, int increment, int editWidth)
{
    if (!upDown) return;
    if (TEdit* edit = upDown->Associate())
        edit->SetBounds(left, top, editWidth != 0 ? editWidth : edit->Width(), edit->Height());
    upDown->SetBounds(left + editWidth, top, kUpDownWidth, kUpDownHeight);
    upDown->SetRange(min, max);
    upDown->SetIncrement(increment);
}

void SetPairVisible(TPageForm& w, std::string_view stem, bool visible)
{
    for (std::string_view kind : {"Edit", "UpDown", "Label"})
        if (TControl* c = FindControl<TControl>(w, std::string(kind) + std::string(stem))) c->SetVisible(visible);
}

void CreateLabel(TPageForm& w, TLabel*& slot, TControl* parent, int left, int top, std::string_view caption)
{
    slot = w.Make<TLabel>(parent, "");
    slot->SetLeft(left);
    slot->SetTop(top);
    slot->SetCaption(caption);
}

void CreateCheckBox(TPageForm& w, TCheckBox*& slot, TControl* parent, int left, int top, int width, int height,
                    std::string_view caption)
{
    slot = w.Make<TCheckBox>(parent, "");
    slot->SetLeft(left);
    slot->SetTop(top);
    setSize(slot, width, height);
    slot->SetCaption(caption);
    slot->SetTabStop(false);
    slot->OnClick = [&w](TObject* s) { FormCheckBoxClick(w, s); };
}

void CreateRadioGroup(TPageForm& w, TRadioGroup*& slot, TControl* parent, int left, int top, int width, int height,
                      std::string_view caption, std::string_view items)
{
    slot = w.Make<TRadioGroup>(parent, "");
    slot->SetLeft(left);
    slot->SetTop(top);
    setSize(slot, width, height);
    slot->SetCaption(caption);
    slot->SetTabStop(false);
    slot->SetItems(SplitItemList(items));
    slot->OnClick = [&w](TObject* s) { FormCheckBoxClick(w, s); };
}

void CreateRadioButton(TPageForm& w, TRadioButton*& slot, TControl* parent, int left, int top, int width, int height,
                       std::string_view caption)
{
    slot = w.Make<TRadioButton>(parent, "");
    slot->SetBounds(left, top, width, height);
    slot->SetCaption(caption);
    slot->SetTabStop(false);
    slot->OnClick = [&w](TObject* s) { FormCheckBoxClick(w, s); };
}

void CreateButton(TPageForm& w, TButton*& slot, TControl* parent, int left, int top, int width, int height,
                  std::string_view caption)
{
    slot = w.Make<TButton>(parent, "");
    slot->SetBounds(left, top, width, height);
    slot->SetCaption(caption);
}

void CreateComboBox(TPageForm& w, TComboBox*& slot, TControl* parent, int left, int top, int width,
                    std::string_view items)
{
    slot = w.Make<TComboBox>(parent, "");
    slot->SetLeft(left);
    slot->SetTop(top);
    setSize(slot, width, 0);
    for (const std::string& item : SplitItemList(items)) slot->AddItem(item, 0);
}

void CreateGroupBox(TPageForm& w, TGroupBox*& slot, TControl* parent, int left, int top, int width, int height)
{
    slot = w.Make<TGroupBox>(parent, "");
    slot->SetBounds(left, top, width, height);
}

std::vector<std::string> SplitItemList(std::string_view items)
{
    // The walk stops at the end of the text, so a comma at the very end adds no empty item.
    std::vector<std::string> list;
    while (!items.empty()) {
        const auto comma = items.find(',');
        list.emplace_back(firstCharacters(items.substr(0, comma), kListItemMax));
        if (comma == std::string_view::npos) break;
        items.remove_prefix(comma + 1);
    }
    return list;
}

int ClearComboItems(TComboBox* combo)
{
    if (!combo) return -1;
    const int before = combo->ItemIndex();
    combo->Clear();
    return before;
}

int ClearRadioItems(TRadioGroup* group)
{
    if (!group) return -1;
    const int before = group->ItemIndex();
    group->Clear();
    return before;
}

void AddComboItem(TComboBox* combo, std::string_view text, int tag)
{
    if (combo) combo->AddItem(text, tag);
}

void AddRadioItem(TRadioGroup* group, std::string_view text, int tag)
{
    if (group) group->AddItem(text, tag);
}
