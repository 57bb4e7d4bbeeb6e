#include "languages/hints.h"
#include "os/lngtext.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"

namespace {

constexpr const char* kLanguageItems[] = {"MenuEnglish", "MenuGerman", "MenuCzech"};

}  // namespace

// Fills the message table in the current language, marks the language's menu item and rebuilds the caption.
// The menu captions, hints and control captions join this pass as their tables arrive.
void ApplyLanguage(TMainForm& w)
{
    const int language = GetLanguageIndex();
    FillMessageTable(w.languageTables, language);
    // The control caption pass owns this entry (the word of the position page's tab); until it exists the
    // live display still needs it.
    w.languageTables.messages[MSG_POSITION] = GetLngText(kPositionText);
    for (int k = 0; k < kLanguageCount; ++k)
        if (TMenuItem* item = w.MainMenu1 ? w.MainMenu1->Find(kLanguageItems[k]) : nullptr)
            item->SetChecked(k == language);
    // Hints of controls and menu items that are not built yet are skipped.
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
    UpdateCaption(w);
    // The pages refill their lists that hold language texts.
    RefreshPageCaptions(w);
}
