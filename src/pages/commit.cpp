#include "pages/commit.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "pages/outputtest.h"
#include "pages/pages.h"
#include "vcl/classname.h"
#include "vcl/deciedit.h"

void NotePendingChange(TPageForm& w, TObject* control, int kind)
{
    // A change of another control commits the waiting one with it: the commit stores the whole page.
    if (w.pendingControl && w.pendingControl != control) kind = kChangeNow;
    w.pendingControl = control;
    if (kind == w.pendingKind || w.pendingKind == kChangeNow) {
        w.dueTick = w.tickCounter + kUpDownCommitTicks;
        w.pendingKind = kind;
    } else {
        w.pendingKind = kChangeNow;
    }
    if (w.pendingKind != kChangeNow) return;
    w.pendingControl = nullptr;
    w.pendingKind = kChangeNow;
    w.dueTick = 0;
    RefreshPages(w);
}

void CommitDueChange(TPageForm& w)
{
    if (w.pendingControl && w.tickCounter >= w.dueTick) NotePendingChange(w, w.pendingControl, kChangeNow);
}

void CommitChangeNow(TPageForm& w)
{
    NotePendingChange(w, &w, kChangeNow);
}

void PageControl1Change(TPageForm& w)
{
    // A delayed up-down change belongs to the page it was made on: store it before another page is current.
    if (w.initialised && w.pendingControl) CommitChangeNow(w);
    // An output test asked for on the page left is not fired behind the user's back.
    if (w.PageControl1->ActivePageIndex() != w.currentPage) ClearTestCommands(w);
    w.currentPage = w.PageControl1->ActivePageIndex();
    ShowImageOnPages(w, 0);
    if (w.pageHooks.logPageRecord) w.pageHooks.logPageRecord();
}

void FormKeyPress(TPageForm& w, TObject* sender, char& key)
{
    if (key != 13) return;
    key = 0;
    TComponent* component = static_cast<TComponent*>(sender);
    w.SelectNext(component && component->IsControl() ? static_cast<TControl*>(component) : nullptr);
    CommitChangeNow(w);
}

void FormKeyPressW(TPageForm& w, TObject* sender, char& key)
{
    FormKeyPress(w, sender, key);
}

void FormEditLooseFocus(TPageForm& w, TObject* sender)
{
    auto* edit = static_cast<TControl*>(sender);
    if (edit && edit->Visible() && w.settingGuard == 0) NotePendingChange(w, sender, kChangeNow);
}

void FormUpDownClick(TPageForm& w, TObject* sender)
{
    if (w.settingGuard == 0) NotePendingChange(w, sender, kChangeUpDownClick);
}

void FormRadioGroupClick(TPageForm& w, TObject* sender)
{
    if (w.settingGuard == 0) NotePendingChange(w, sender, kChangeNow);
}

void FormCheckBoxClick(TPageForm& w, TObject* sender)
{
    if (w.settingGuard == 0) NotePendingChange(w, sender, kChangeNow);
}

void UpDnDeciChg(TPageForm&, TObject* sender, bool&, int newValue)
{
    auto* upDown = static_cast<TDeciUpDown*>(sender);
    if (!upDown || upDown->PositionGuard != 0 || !upDown->PairedEdit) return;
    const int position =
        std::clamp(newValue, std::min(upDown->Min(), upDown->Max()), std::max(upDown->Min(), upDown->Max()));
    TDeciEdit* edit = upDown->PairedEdit;
    edit->TextGuard = 1;
    edit->SetText(DeciText(position, upDown->Divisor));
    edit->TextGuard = 0;
}

bool ParseDeciText(std::string_view text, double& value)
{
    std::string t(text.substr(0, 31));
    if (const auto comma = t.find(','); comma != std::string::npos) t[comma] = '.';
    std::size_t i = 0;
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    if (i < t.size() && t[i] == '+' && i + 1 < t.size() && t[i + 1] != '-') ++i;
    double number = 0;
    const auto [ptr, ec] = std::from_chars(t.data() + i, t.data() + t.size(), number);
    if (ec != std::errc() || !std::isfinite(number)) return false;
    value = number;
    return true;
}

void EditDeciChg(TPageForm&, TObject* sender)
{
    auto* edit = static_cast<TDeciEdit*>(sender);
    if (!edit || edit->TextGuard != 0 || !edit->PairedUpDown) return;
    double number = 0;
    if (!ParseDeciText(edit->Text(), number)) return;
    TDeciUpDown* upDown = edit->PairedUpDown;
    // Rounded half away from zero: "-1.26" with divisor 10 is -13, not the -12 that adding 0.5 would give.
    const double scaled = std::clamp(std::round(number * (upDown->Divisor == 0 ? 1 : upDown->Divisor)),
                                     double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
    upDown->PositionGuard = 1;
    upDown->SetPosition(static_cast<int>(scaled));
    upDown->PositionGuard = 0;
}

void WireSharedHandlers(TPageForm& w, std::span<const ControlRow> rows)
{
    for (const ControlRow& row : rows) {
        TComponent* component = w.FindComponent(row.name);
        if (!component) continue;
        switch (row.kind) {
            case ControlKind::Edit: {
                auto* edit = static_cast<TEdit*>(component);
                edit->OnKeyPress = [&w](TObject* s, char& key) { FormKeyPress(w, s, key); };
                edit->OnExit = [&w](TObject* s) { FormEditLooseFocus(w, s); };
                break;
            }
            case ControlKind::DeciEdit: {
                auto* edit = static_cast<TDeciEdit*>(component);
                edit->OnKeyPress = [&w](TObject* s, char& key) { FormKeyPressW(w, s, key); };
                edit->OnExit = [&w](TObject* s) { FormEditLooseFocus(w, s); };
                edit->OnChange = [&w](TObject* s) { EditDeciChg(w, s); };
                break;
            }
            case ControlKind::UpDown:
                static_cast<TUpDown*>(component)->OnClick = [&w](TObject* s) { FormUpDownClick(w, s); };
                break;
            case ControlKind::DeciUpDown: {
                auto* upDown = static_cast<TDeciUpDown*>(component);
                upDown->OnClick = [&w](TObject* s) { FormUpDownClick(w, s); };
                upDown->OnChangingEx = [&w](TObject* s, bool& allow, int value, int) {
                    UpDnDeciChg(w, s, allow, value);
                };
                break;
            }
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
                static_cast<TControl*>(component)->OnClick = [&w](TObject* s) { FormCheckBoxClick(w, s); };
                break;
            case ControlKind::RadioGroup:
                static_cast<TRadioGroup*>(component)->OnClick = [&w](TObject* s) { FormRadioGroupClick(w, s); };
                break;
            case ControlKind::ComboBox:
                static_cast<TComboBox*>(component)->OnChange = [&w](TObject* s) { FormRadioGroupClick(w, s); };
                break;
            default:
                break;
        }
    }
}
