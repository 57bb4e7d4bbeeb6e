#pragma once
// Windows-1250 text, the code page of the files the program shares with the unit's Windows tools,
// converted to and from the UTF-8 the program keeps in memory. Own table: no locale, no iconv.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace os {

// The Unicode code point of one Windows-1250 byte. The five bytes the code page leaves undefined map to the
// C1 control with the same number, as Windows does, so every byte survives a round trip.
[[nodiscard]] char32_t cp1250ToUnicode(std::uint8_t byte) noexcept;

// The Windows-1250 byte of a code point, or -1 when the code page has none.
[[nodiscard]] int unicodeToCp1250(char32_t codePoint) noexcept;

[[nodiscard]] std::string cp1250ToUtf8(std::string_view bytes);

// Nothing when a character has no Windows-1250 form (the caller decides: escape it, or write UTF-16).
[[nodiscard]] std::optional<std::string> utf8ToCp1250(std::string_view utf8);

// Every character without a Windows-1250 form becomes `replacement`.
[[nodiscard]] std::string utf8ToCp1250Lossy(std::string_view utf8, char replacement = '?');

// UTF-8 decoding and encoding; malformed sequences decode to U+FFFD one byte at a time.
[[nodiscard]] std::u32string decodeUtf8(std::string_view utf8);
void appendUtf8(std::string& out, char32_t codePoint);
[[nodiscard]] std::string encodeUtf8(std::u32string_view text);

}  // namespace os
