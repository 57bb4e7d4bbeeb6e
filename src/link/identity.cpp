#include "link/identity.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

#include "os/cp1250.h"

namespace {

// Month codes of the firmware build date, index = month - 1.
constexpr std::array<std::uint8_t, 12> kMonthCodes = {25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};

// The tens and units digit as the unit's firmware shows them; values above 99 give other characters.
char tensDigit(std::uint8_t v)
{
    return static_cast<char>('0' + v / 10);
}
char unitsDigit(std::uint8_t v)
{
    return static_cast<char>('0' + v % 10);
}

std::string monthText(std::uint8_t code)
{
    const auto* it = std::find(kMonthCodes.begin(), kMonthCodes.end(), code);
    if (it == kMonthCodes.end()) return "00";
    const int month = static_cast<int>(it - kMonthCodes.begin()) + 1;
    return std::string(1, month < 10 ? ' ' : '1') + static_cast<char>('0' + month % 10);
}

// A field counts as present unless all its bytes are 0 or all are 0xFF (an erased or never written field).
bool fieldPresent(std::span<const std::uint8_t> field)
{
    const bool allZero = std::all_of(field.begin(), field.end(), [](std::uint8_t b) { return b == 0; });
    const bool allErased = std::all_of(field.begin(), field.end(), [](std::uint8_t b) { return b == 0xFF; });
    return !allZero && !allErased;
}

}  // namespace

std::string FormatFirmwareTag(std::span<const std::uint8_t, 4> t)
{
    if (t[3] == 0xFF) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%02i%02i%02i%c%c", t[3], t[2], t[1], static_cast<char>(t[0] & 0x7F),
                  (t[0] & 0x80) != 0 ? '+' : '_');
    return os::cp1250ToUtf8(text);
}

std::string FormatSerialNumber(std::span<const std::uint8_t, 8> s)
{
    if (s[7] == 0xFF) return "none SN";
    char text[64];
    std::snprintf(text, sizeof text, "%02i%02i%02i-%02i%02i%02i-%03i%02x", s[7], s[6], s[5], s[4], s[3], s[2], s[1],
                  s[0]);
    return text;
}

std::string FormatLastUpdate(std::int32_t time)
{
    if (time == -1) return {};
    const std::time_t t = time;
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr) return {};
    char text[80];
    std::snprintf(text, sizeof text, "(last update: %02i.%02i.%02i-%02i:%02i:%02i)", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

void BuildIdentityTexts(std::span<const std::uint8_t> header, IdentityTexts& texts)
{
    std::array<std::uint8_t, 146> h{};
    std::copy_n(header.begin(), std::min(header.size(), h.size()), h.begin());

    std::string unit(h.begin(), h.begin() + 3);
    unit += tensDigit(h[3]);
    unit += unitsDigit(h[3]);
    std::string date;
    date += h[4] < 10 ? ' ' : tensDigit(h[4]);
    date += unitsDigit(h[4]);
    date += '.';
    date += monthText(h[5]);
    date += ".20";
    date += tensDigit(h[6]);
    date += unitsDigit(h[6]);
    std::string time{tensDigit(h[7]), unitsDigit(h[7]), ':', tensDigit(h[8]), unitsDigit(h[8])};
    if (h[17] != 0) {
        // A name: up to its terminating zero, at most 29 characters of the 30-byte field.
        const auto* begin = h.begin() + 17;
        const auto* end = std::find(begin, begin + 29, std::uint8_t{0});
        unit.assign(begin, end);
    }
    texts.unit = os::cp1250ToUtf8(unit);
    texts.date = date;
    texts.time = time;

    texts.firmware.clear();
    texts.serialNumber.clear();
    texts.lastUpdate.clear();
    if (h[30] != 0 && h[30] != 0xFF)
        texts.firmware = FormatFirmwareTag(std::span<const std::uint8_t, 4>(h.data() + 30, 4)) + texts.unit;
    if (fieldPresent(std::span(h).subspan(38, 8)))
        texts.serialNumber = FormatSerialNumber(std::span<const std::uint8_t, 8>(h.data() + 38, 8));
    if (fieldPresent(std::span(h).subspan(34, 4))) {
        const std::uint32_t raw = static_cast<std::uint32_t>(h[34] | (h[35] << 8) | (h[36] << 16)) |
                                  (static_cast<std::uint32_t>(h[37]) << 24);
        texts.lastUpdate = FormatLastUpdate(static_cast<std::int32_t>(raw));
    }

    std::string note;
    bool gap = false;
    for (int i = 46; i < 146; ++i) {
        const std::uint8_t b = h[static_cast<std::size_t>(i)];
        if (b == 0 || b == 0xFF) {
            gap = true;
            continue;
        }
        if (gap) note += '~';
        gap = false;
        note += static_cast<char>(b);
    }
    texts.note = os::cp1250ToUtf8(note);
}
