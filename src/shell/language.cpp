#include "languages/hints.h"
#include "languages/menutexts.h"
#include "os/lngtext.h"
#include "shell/appsettings.h"
#include "shell/livedisplay.h"
#include "shell/mainform.h"
#include "vcl/formlayout.h"

namespace {

constexpr const char* kLanguageItems[] = {"MenuEnglish", "MenuGerman", "MenuCzech"};
constexpr std::string_view kPickupButtonText = "###PickUp monitor##PickUp-Monitor##Monitor PickUp";

// Captions of the main menu and the device buttons; the language's item gets the check mark.
void SetMenuTexts(TMainForm& w, int language)
{
    if (!w.MainMenu1) return;
    for (const MenuTextRow& row : menuTextRows()) {
        const std::string_view text = row.text[static_cast<std::size_t>(language)];
        if (TMenuItem* item = w.MainMenu1->Find(row.item)) item->SetCaption(text);
        if (!row.button.empty())
            if (auto* button = FindControl<TButton>(w, row.button)) button->SetCaption(text);
        if (row.item == kMenuRowBeforeLanguageMarks)
            for (int k = 0; k < kLanguageCount; ++k)
                if (TMenuItem* item = w.MainMenu1->Find(kLanguageItems[k])) item->SetChecked(k == language);
    }
}

// Hints of controls and menu items; those not built yet are skipped.
void SetHintTexts(TMainForm& w, int language)
{
    for (const HintRow& row : hintRows()) {
        const std::string_view hint = row.text[static_cast<std::size_t>(language)];
        for (std::string_view name : row.destinations) {
            if (name.empty()) continue;
            if (auto* control = static_cast<TControl*>(w.FindComponent(name)))
                control->SetHint(hint);
            else if (TMenuItem* item = w.MainMenu1 ? w.MainMenu1->Find(name) : nullptr)
                item->SetHint(hint);
        }
    }
}

}  // namespace

// Fills the message table in the current language, gives the menus, device buttons and hints their texts and
// rebuilds the caption. The control captions join this pass as their table arrives.
void ApplyLanguage(TMainForm& w)
{
    const int language = GetLanguageIndex();
    FillMessageTable(w.languageTables, language);
    // The control caption pass owns this entry (the word of the position page's tab); until it exists the
    // live display still needs it.
    w.languageTables.messages[MSG_POSITION] = GetLngText(kPositionText);
    SetMenuTexts(w, language);
    if (w.ButtonMonPu) w.ButtonMonPu->SetCaption(GetLngText(kPickupButtonText));
    SetHintTexts(w, language);
    UpdateCaption(w);
    // A message still shown ("Checking: OK", "connected") changes language with everything else.
    RepickStatusSlotTexts(w.statusSlots);
    // The pages refill their lists that hold language texts.
    RefreshPageCaptions(w);
    // The live texts take the new language at once, not with the next frame.
    ShowLiveData(w);
}
