#pragma once
// What a person does to a page's controls, as the controls report it: a list item chosen, a number typed into an
// edit that is then left, a box ticked, a radio item clicked.
#include <string_view>

#include "pagefixture.h"

inline void Choose(TPageForm& w, std::string_view list, int index)
{
    auto* combo = Control<TComboBox>(w, list);
    combo->SetItemIndex(index);
    vcl::Fire(combo->OnChange, static_cast<TObject*>(combo));
}

inline void Type(TPageForm& w, std::string_view edit, std::string_view text)
{
    auto* box = Control<TEdit>(w, edit);
    box->SetText(text);
    vcl::Fire(box->OnExit, static_cast<TObject*>(box));
}

inline void Tick(TPageForm& w, std::string_view box, bool checked)
{
    Control<TCheckBox>(w, box)->SetChecked(checked);
}

inline void Click(TPageForm& w, std::string_view group, int item)
{
    Control<TRadioGroup>(w, group)->SetItemIndex(item);
}

inline bool Shown(TPageForm& w, std::string_view name)
{
    return Control<TControl>(w, name)->Visible();
}

inline int Position(TPageForm& w, std::string_view upDown)
{
    return Control<TUpDown>(w, upDown)->Position();
}
