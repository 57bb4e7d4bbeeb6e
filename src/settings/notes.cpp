#include "settings/notes.h"

#include <algorithm>
#include <optional>

#include "os/cp1250.h"
#include "settings/keytable.h"

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;  // the escape's characters are taken as they come; a stray one counts as 0
}

// The Windows-1250 bytes of a line when every unit has one, else nothing.
std::optional<std::string> exactCp1250(std::u16string_view line)
{
    std::string bytes;
    bytes.reserve(line.size());
    for (char16_t u : line) {
        if (u >= 0xD800 && u <= 0xDFFF)
            return std::nullopt;
        const int b = os::unicodeToCp1250(u);
        if (b < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

}  // namespace

std::string EscapeWide(std::u16string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char16_t u : text) {
        if (u > 0xFF) {
            out += "\\x";
            out += kHex[(u >> 12) & 0xF];
            out += kHex[(u >> 8) & 0xF];
            out += kHex[(u >> 4) & 0xF];
            out += kHex[u & 0xF];
        } else if (u == u'\\') {
            out += "\\\\";
        } else {
            out += static_cast<char>(u);
        }
    }
    return out;
}

std::u16string UnescapeWide(std::string_view escaped)
{
    std::u16string out;
    out.reserve(escaped.size());
    std::size_t i = 0;
    while (i < escaped.size()) {
        const char c = escaped[i];
        char16_t unit;
        if (c != '\\') {
            unit = static_cast<unsigned char>(c);
            ++i;
        } else if (i + 1 < escaped.size() && escaped[i + 1] == '\\') {
            unit = u'\\';
            i += 2;
        } else if (i + 6 <= escaped.size()) {
            unit = static_cast<char16_t>((hexDigit(escaped[i + 2]) << 12) | (hexDigit(escaped[i + 3]) << 8) |
                                         (hexDigit(escaped[i + 4]) << 4) | hexDigit(escaped[i + 5]));
            i += 6;
        } else {
            break;  // an escape cut off by the line end
        }
        if (unit == 0)
            break;
        out.push_back(unit);
    }
    return out;
}

std::vector<NotesLine> notesLinesOfImage(const Image& image)
{
    std::vector<NotesLine> lines;
    int end = kNotesLimit;
    while (end >= kNotesFirst && image[end] == 0)
        --end;
    int pos = kNotesFirst;
    while (pos <= end) {
        NotesLine line;
        if (image[pos] == 1) {
            ++pos;
            if (pos > end)
                break;
            while (pos + 1 <= kNotesLimit) {
                const char16_t u = static_cast<char16_t>(image[pos] | (image[pos + 1] << 8));
                pos += 2;
                if (u == 0)
                    break;
                line.push_back(u);
            }
            if (pos + 1 > kNotesLimit && pos <= kNotesLimit)
                pos = kNotesLimit + 1;  // an odd byte left at the end holds no whole unit
        } else {
            while (pos <= kNotesLimit && image[pos] != 0)
                line.push_back(static_cast<char16_t>(os::cp1250ToUnicode(image[pos++])));
            ++pos;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

int storeNotesLine(Image& image, int position, std::u16string_view line)
{
    if (line.empty() || position >= kNotesLimit)
        return position;
    const std::optional<std::string> bytes = exactCp1250(line);
    if (bytes && static_cast<unsigned char>((*bytes)[0]) != 1) {
        int d = static_cast<int>(bytes->size());
        if (position + d >= kNotesLimit)
            d = kNotesLimit - position - 1;
        std::copy_n(bytes->begin(), d, image.begin() + position);
        image[position + d] = 0;
        return position + d + 1;
    }
    if (position + 5 >= kNotesLimit)
        return position;
    image[position++] = 1;
    int n = static_cast<int>(line.size());
    n = std::min(n, (kNotesLimit - position - 2) / 2);
    for (int i = 0; i < n; ++i) {
        image[position++] = static_cast<std::uint8_t>(line[i] & 0xFF);
        image[position++] = static_cast<std::uint8_t>(line[i] >> 8);
    }
    image[position++] = 0;
    image[position++] = 0;
    return position;
}

void storeNotesLines(Image& image, const std::vector<NotesLine>& lines)
{
    std::fill(image.begin() + kNotesFirst, image.begin() + kNotesLimit + 1, 0);
    int pos = kNotesFirst;
    for (const NotesLine& line : lines) {
        if (pos >= kNotesLimit)
            break;
        pos = storeNotesLine(image, pos, line);
    }
    image[kNotesLimit] = 0;
}

NotesLine notesLineFromUtf8(std::string_view utf8)
{
    NotesLine out;
    for (char32_t c : os::decodeUtf8(utf8)) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string notesLineToUtf8(std::u16string_view line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char32_t c = line[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < line.size() && line[i + 1] >= 0xDC00 && line[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (line[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        os::appendUtf8(out, c);
    }
    return out;
}
