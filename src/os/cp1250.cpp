#include "os/cp1250.h"

#include <array>

namespace os {
namespace {

// Code points of the bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

}  // namespace

char32_t cp1250ToUnicode(std::uint8_t byte) noexcept
{
    return byte < 0x80 ? char32_t(byte) : char32_t(kHigh[byte - 0x80]);
}

int unicodeToCp1250(char32_t codePoint) noexcept
{
    if (codePoint < 0x80)
        return int(codePoint);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == codePoint)
            return int(0x80 + i);
    return -1;
}

std::string cp1250ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        appendUtf8(out, cp1250ToUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

std::optional<std::string> utf8ToCp1250(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char32_t cp : decodeUtf8(utf8)) {
        const int byte = unicodeToCp1250(cp);
        if (byte < 0)
            return std::nullopt;
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

std::string utf8ToCp1250Lossy(std::string_view utf8, char replacement)
{
    std::string out;
    out.reserve(utf8.size());
    for (char32_t cp : decodeUtf8(utf8)) {
        const int byte = unicodeToCp1250(cp);
        out.push_back(byte < 0 ? replacement : static_cast<char>(byte));
    }
    return out;
}

std::u32string decodeUtf8(std::string_view utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b0 = static_cast<std::uint8_t>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1;
            cp = b0 & 0x1F;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2;
            cp = b0 & 0x0F;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3;
            cp = b0 & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto b = static_cast<std::uint8_t>(utf8[i + k]);
            if ((b & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (b & 0x3F);
        }
        static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
        if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string encodeUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text)
        appendUtf8(out, cp);
    return out;
}

}  // namespace os
