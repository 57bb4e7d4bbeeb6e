#pragma once
// Walks a page's binding table in the started main window as a person works: every bound control is changed through
// the control itself (typed into its edit and left, ticked, chosen), and the change must reach exactly the image
// bytes of that control's field, as one commit and one undo step, show again as it was typed, and go away again with
// one undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <span>
#include <string>

#include "pages/binding.h"
#include "pages/pagemodule.h"
#include "shell/mainform.h"
#include "vcl/deciedit.h"

namespace bindingwalk {

// The image bytes a row binds.
inline std::set<int> fieldBytes(const FieldBinding& row)
{
    const int element = row.address + (row.index >= kSignedIndex ? row.index - kSignedIndex : row.index);
    if (row.kind == Bind::Word) return {2 * element, 2 * element + 1};
    return {element};
}

inline std::set<int> changedBytes(const Image& before, const Image& after)
{
    std::set<int> changed;
    for (int i = 0; i < RS_LEN_EXE; ++i)
        if (before[std::size_t(i)] != after[std::size_t(i)]) changed.insert(i);
    return changed;
}

inline void leave(TEdit* edit)
{
    vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
}

// Another position one step away, inside the range.
inline int otherPosition(const TUpDown& upDown, int step)
{
    const int position = upDown.Position();
    return position + step <= upDown.Max() ? position + step : position - step;
}

// Changes the control as a person would; returns what the control should show once the page is shown again.
inline std::string change(const FieldBinding& row, TControl* control)
{
    switch (row.kind) {
        case Bind::Word:
        case Bind::Byte: {
            auto* upDown = static_cast<TUpDown*>(control);
            // One step of the field: the scale for scaled bytes, else the up-down's increment.
            const int step =
                row.kind == Bind::Byte && std::abs(row.scale) > 1 ? std::abs(row.scale) : upDown->Increment();
            const int position = otherPosition(*upDown, step);
            if (upDown->Associate()) {
                const std::string text = upDown->PositionText(position);
                upDown->Associate()->SetText(text);
                leave(upDown->Associate());
                return text;
            }
            auto* deci = static_cast<TDeciUpDown*>(upDown);
            const std::string text = DeciText(position, deci->Divisor);
            deci->PairedEdit->SetText(text);
            leave(deci->PairedEdit);
            return text;
        }
        case Bind::Check: {
            auto* box = static_cast<TCheckBox*>(control);
            box->SetChecked(!box->Checked());
            return box->Checked() ? "checked" : "unchecked";
        }
        case Bind::Radio:
        case Bind::RadioTag: {
            auto* group = static_cast<TRadioGroup*>(control);
            group->SetItemIndex(group->ItemIndex() + 1 < group->ItemCount() ? group->ItemIndex() + 1 : 0);
            return group->Item(group->ItemIndex());
        }
        case Bind::ComboTag:
        case Bind::ItemIndex: {
            auto* combo = static_cast<TComboBox*>(control);
            combo->SetItemIndex(combo->ItemIndex() + 1 < combo->ItemCount() ? combo->ItemIndex() + 1 : 0);
            vcl::Fire(combo->OnChange, static_cast<TObject*>(combo));
            return combo->Text();
        }
    }
    return {};
}

inline std::string shown(const FieldBinding& row, TControl* control)
{
    switch (row.kind) {
        case Bind::Word:
        case Bind::Byte: {
            auto* upDown = static_cast<TUpDown*>(control);
            if (upDown->Associate()) return upDown->Associate()->Text();
            return static_cast<TDeciUpDown*>(upDown)->PairedEdit->Text();
        }
        case Bind::Check:
            return static_cast<TCheckBox*>(control)->Checked() ? "checked" : "unchecked";
        case Bind::Radio:
        case Bind::RadioTag: {
            auto* group = static_cast<TRadioGroup*>(control);
            return group->ItemIndex() < 0 ? std::string() : group->Item(group->ItemIndex());
        }
        case Bind::ComboTag:
        case Bind::ItemIndex:
            return static_cast<TComboBox*>(control)->Text();
    }
    return {};
}

// Walks the given rows with their controls (a page whose controls bind other bytes by what the page shows, say).
// `prepare` may bring a row's control into view first (a map sheet shown, say); `derived` names bytes that the
// page's store derives from a row's field and that may change with it. Returns the number of rows walked.
inline int WalkRows(TMainForm& form, std::span<const FieldBinding> rows, std::span<TControl* const> controls,
                    const std::function<void(const FieldBinding&)>& prepare = {},
                    const std::function<std::set<int>(const FieldBinding&)>& derived = {})
{
    EXPECT_EQ(controls.size(), rows.size());
    int walked = 0;
    for (std::size_t i = 0; i < rows.size() && i < controls.size(); ++i) {
        const FieldBinding& row = rows[i];
        SCOPED_TRACE(std::string(row.control));
        TControl* control = controls[i];
        if (!control) {
            ADD_FAILURE() << "not resolved";
            continue;
        }
        if (prepare) prepare(row);
        form.ResetUndo();
        const Image before = form.images.image;
        const std::string typed = change(row, control);
        const std::set<int> changed = changedBytes(before, form.images.image);
        std::set<int> field = fieldBytes(row);
        if (derived) field.merge(derived(row));
        EXPECT_FALSE(changed.empty());
        EXPECT_TRUE(std::includes(field.begin(), field.end(), changed.begin(), changed.end()))
            << testing::PrintToString(changed) << " outside " << testing::PrintToString(field);
        EXPECT_EQ(shown(row, control), typed);
        ShowImageOnPages(form, 1);
        EXPECT_EQ(shown(row, control), typed);
        EXPECT_TRUE(form.undoRing.CanUndo());
        form.SpeedButtonZpetClick(nullptr);
        EXPECT_FALSE(form.undoRing.CanUndo());
        EXPECT_EQ(form.images.image, before);
        ++walked;
    }
    return walked;
}

// The page must be current; its module's rows with the controls found for them at build.
inline int Walk(TMainForm& form, int page, const std::function<void(const FieldBinding&)>& prepare = {},
                const std::function<std::set<int>(const FieldBinding&)>& derived = {})
{
    const PageModule* module = form.pageModules[std::size_t(page)];
    const std::vector<TControl*>& controls = form.boundControls[std::size_t(page)];
    EXPECT_EQ(controls.size(), module->bindings.size());
    return WalkRows(form, module->bindings, controls, prepare, derived);
}

}  // namespace bindingwalk
