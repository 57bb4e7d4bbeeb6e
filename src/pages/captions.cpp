#include "pages/captions.h"

#include <string>
#include <vector>

#include "os/lngtext.h"
#include "vcl/formlayout.h"

std::string_view CaptionText(const CaptionRow& row)
{
    const int language = GetLanguageIndex();
    const std::string_view text =
        language >= 0 && language < kLanguageCount ? row.text[std::size_t(language)] : std::string_view();
    return text.empty() ? row.text[0] : text;
}

void ApplyCaptions(TPageForm& w, std::span<const CaptionRow> rows)
{
    for (const CaptionRow& row : rows) {
        const std::string_view text = CaptionText(row);
        TComponent* component = w.FindComponent(row.control);
        if (!component || !component->IsControl()) continue;
        if (row.item == kCaptionText) {
            static_cast<TControl*>(component)->SetCaption(text);
        } else if (auto* group = FindControl<TRadioGroup>(w, row.control)) {
            if (row.item >= 0) {
                group->SetItem(row.item, text);
                continue;
            }
            std::vector<std::string> items;
            for (std::size_t start = 0; start <= text.size();) {
                const std::size_t end = std::min(text.find('\n', start), text.size());
                items.emplace_back(text.substr(start, end - start));
                start = end + 1;
            }
            // The new texts keep the selection and the tags of the items they replace.
            for (int i = 0; i < int(items.size()) && i < group->ItemCount(); ++i)
                group->SetItem(i, items[std::size_t(i)]);
        } else if (auto* combo = FindControl<TComboBox>(w, row.control); combo && row.item >= 0) {
            combo->SetItemText(row.item, text);
        }
    }
}

std::string PageMessage(const TPageForm& w, int index)
{
    if (w.pageHooks.message) return w.pageHooks.message(index);
    for (const MessageRow& row : messageRows())
        if (row.index == index) return std::string(CaptionText({{}, row.text}));
    return {};
}
