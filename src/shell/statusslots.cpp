#include "shell/statusslots.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "os/lngtext.h"
#include "settings/image.h"
#include "vcl/controls.h"

namespace {

constexpr int kProgressSlot = 2;

void hideSlot(StatusSlots& slots, int number)
{
    slots.slot[number - 1].control->SetVisible(false);
    if (number == kProgressSlot && slots.progressGauge) slots.progressGauge->SetVisible(false);
}

std::string dateText(int year, int month, int day)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%i_%02i_%02i", year, month, day);
    return buffer;
}

int readInt(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && text[pos] == ' ') ++pos;
    int value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') value = value * 10 + (text[pos++] - '0');
    return value;
}

}  // namespace

void SetupStatusSlots(StatusSlots& slots, TLabel* connection, TLabel* result, TLabel* congruence, TCGauge* progress)
{
    slots = StatusSlots{};
    slots.slot[0].control = connection;
    slots.slot[1].control = result;
    slots.slot[3].control = congruence;
    slots.progressGauge = progress;
    for (StatusSlot& s : slots.slot)
        if (s.control) s.control->SetVisible(false);
}

void SetStatusSlot(StatusSlots& slots, int tickCounter, int slotNumber, std::optional<std::string_view> text,
                   int durationMs, TColor fontColor, TColor backColor, int priority)
{
    if (slotNumber < 1 || slotNumber > kStatusSlotCount) return;
    StatusSlot& s = slots.slot[slotNumber - 1];
    if (!s.control) return;
    if (!s.text || !s.control->Visible()) s.priority = -1;
    if (priority >= 0 && priority < s.priority) return;
    s.priority = priority;
    s.text.reset();
    if (!text) {
        hideSlot(slots, slotNumber);
        return;
    }
    s.control->SetVisible(true);
    s.text.emplace(*text);
    s.control->SetCaption(GetLngText(*s.text));
    if (fontColor != kColorUnchanged) s.control->SetFontColor(fontColor);
    if (backColor != kColorUnchanged) s.control->SetColor(backColor);
    s.control->SetTransparent(false);
    if (durationMs > 0)
        s.expiryTick = durationMs / kSlotMsPerTick + tickCounter;
    else if (durationMs < 0)
        s.expiryTick = -1;
}

void RepickStatusSlotTexts(StatusSlots& slots)
{
    for (StatusSlot& s : slots.slot)
        if (s.control && s.text && s.control->Visible()) s.control->SetCaption(GetLngText(*s.text));
}

void ExpireStatusSlots(StatusSlots& slots, int tickCounter)
{
    for (int n = 1; n <= kStatusSlotCount; ++n) {
        StatusSlot& s = slots.slot[n - 1];
        if (s.control && s.expiryTick > 0 && s.expiryTick < tickCounter) {
            s.expiryTick = 0;
            hideSlot(slots, n);
        }
    }
}

std::string BuildCaption(bool isFileShown, std::string_view fileName, bool isReleasedToLoader)
{
    std::string caption = "  Kelvora_12 (v" + std::to_string(RS_KEY_309) + ")       ";
    const bool hasName = isFileShown;
    if (hasName) caption += fileName;
    if (isReleasedToLoader) {
        if (hasName) caption += "   ";
        caption +=
            GetLngText("###(Disconnected by bootloader)##(Von Bootloader getrennt)##(Dočasně odpojeno bootloaderem)");
    }
    return caption;
}

std::string CompileDateText(std::string_view buildDate)
{
    static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (buildDate.find(kMonths[m]) != std::string_view::npos) {
            month = m + 1;
            break;
        }
    const int day = readInt(buildDate, 4);
    const int year = readInt(buildDate, day > 9 ? 7 : 6);
    return dateText(year, month, day);
}

std::string FileTimeDateText(std::int64_t fileTime)
{
    using namespace std::chrono;
    constexpr std::int64_t kTicksPerDay = 864'000'000'000;
    constexpr std::int64_t kDays1601To1970 = 134'774;
    std::int64_t days = fileTime / kTicksPerDay;
    if (fileTime % kTicksPerDay < 0) --days;
    const year_month_day date{sys_days{std::chrono::days{days - kDays1601To1970}}};
    return dateText(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                    static_cast<int>(static_cast<unsigned>(date.day())));
}

std::string NewestDateText(std::span<const std::int64_t> fileTimes)
{
    std::string newest;
    for (std::int64_t t : fileTimes) newest = std::max(newest, FileTimeDateText(t));
    return newest;
}

std::string GetVersionText(std::string_view compileDate, std::string_view newestArchiveDate)
{
    std::string line = "Kelvora_12   RSKEY=" + std::to_string(RS_KEY_309) + "   COMPILE=" + std::string(compileDate);
    if (!newestArchiveDate.empty()) line += "   NEW=" + std::string(newestArchiveDate);
    return line;
}

std::string GetConnectionText(const ConnectionInfo& info)
{
    constexpr std::size_t kMaxLine = 8190;
    std::string line;
    switch (info.state) {
        case 0:
            line = "not connected";
            break;
        case 1:
            line = info.labelVersion;
            break;
        case 2:
            if (info.firmwareText.empty())
                line = info.unitText + "   " + info.dateText + "   " + info.timeText + "   " + info.labelVersion;
            else
                line = info.firmwareText + "   RSKEY=" + std::to_string(RS_KEY_309) + "   (" + info.serialText +
                       ")   " + info.lastUpdateText + "   " + info.noteText;
            break;
        default:
            break;
    }
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    return line;
}
