#include "os/lngtext.h"

#include <array>
#include <atomic>
#include <set>

namespace {

std::atomic<int> g_languageIndex{LNG_ENGLISH};

struct ErrorReports
{
    LngTextErrorHook hook;
    std::set<std::string, std::less<>> reported;
};

ErrorReports& errorReports()
{
    static ErrorReports reports;
    return reports;
}

// A faulty literal in a label that the main timer refreshes would otherwise raise a box every tick.
void reportOnce(std::string_view text, std::string message)
{
    ErrorReports& r = errorReports();
    if (r.reported.contains(text)) return;
    r.reported.emplace(text);
    if (r.hook) r.hook(message);
}

constexpr int kMaxParts = 3;
constexpr int kMaxPartBytes = 255;
// A part that is not the last one is measured before trimming; the last one counts as this length when the
// longest part is looked for, as the unit tools' picker has always done.
constexpr int kLastPartLength = '#';

struct Part
{
    std::string_view text;
    int length = 0;
};

bool isTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimRight(std::string_view part)
{
    std::size_t end = part.size();
    while (end > 1 && isTrimmed(part[end - 1])) --end;
    return part.substr(0, end);
}

}  // namespace

int GetLanguageIndex() noexcept
{
    return g_languageIndex.load(std::memory_order_relaxed);
}

void SetLanguageIndex(int index) noexcept
{
    g_languageIndex.store(index, std::memory_order_relaxed);
}

void SetLngTextErrorHook(LngTextErrorHook hook)
{
    errorReports().hook = std::move(hook);
}

void ResetLngTextErrorReports()
{
    errorReports().reported.clear();
}

std::string_view GetLngText(std::string_view text, int index)
{
    if (text.empty() || text[0] != '#') return text;
    if (text.size() < 2 || text[1] != '#') {
        // A single '#' in front: the byte after it would have to be a part count of 1 to 3.
        const int count = text.size() < 2 ? 0 : static_cast<unsigned char>(text[1]);
        reportOnce(text, "Chybny pocet jazykovych mutaci (" + std::to_string(count) + " > 3 || " +
                             std::to_string(count) + "==0) !\n ");
        return text;
    }
    if (text.size() < 3 || text[2] != '#') {
        reportOnce(text, "Chybi ### na zacatku v jazykovem retezci !\n" + std::string(text));
        return text;
    }

    std::array<Part, kMaxParts> parts{};
    int count = 0;
    std::size_t pos = 3;
    while (true) {
        const std::size_t sep = text.find("##", pos);
        if (sep == std::string_view::npos || count == kMaxParts) {
            if (count < kMaxParts) parts[count++] = {text.substr(pos), kLastPartLength};
            break;
        }
        const std::string_view part = text.substr(pos, sep - pos);
        if (part.size() > kMaxPartBytes) {
            reportOnce(text, "Prilis dlouha jazykova mutace (>255 chars) !\n" + std::string(text));
            return text;
        }
        parts[count++] = {trimRight(part), static_cast<int>(part.size())};
        pos = sep + 2;
    }

    if (index == LNG_CURRENT) index = GetLanguageIndex();
    if (index != LNG_LONGEST && (index < 0 || index >= kMaxParts)) index = 0;

    const std::string_view first = parts[0].text;
    if (index == LNG_LONGEST) {
        int best = 0;
        for (int k = 1; k < count; ++k)
            if (parts[k].length > parts[best].length) best = k;
        return parts[best].text == ".." ? first : parts[best].text;
    }
    if (index >= count) return first;
    const std::string_view chosen = parts[index].text;
    return chosen.empty() || chosen == ".." ? first : chosen;
}
