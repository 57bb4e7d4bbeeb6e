#include "shell/settingsfiles.h"

#include <cctype>
#include <cstdio>

#include "settings/notes.h"

namespace {

constexpr std::size_t kIniValueMax = 8190;

// The scanner of "%u": skips white space, takes an optional sign and the digits; false at anything else.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : m_text(text) {}
    bool next(unsigned& value)
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        std::size_t p = m_pos;
        bool negative = false;
        if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-')) {
            negative = m_text[p] == '-';
            ++p;
        }
        if (p >= m_text.size() || !std::isdigit(static_cast<unsigned char>(m_text[p])))
            return false;
        unsigned long long v = 0;
        while (p < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[p]))) {
            v = v * 10 + unsigned(m_text[p] - '0');
            if (v > 0xFFFFFFFFull)
                v = 0xFFFFFFFFull;  // saturates; only the low 8 bits are kept anyway
            ++p;
        }
        m_pos = p;
        value = static_cast<unsigned>(negative ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v));
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

void appendNumber(std::string& out, unsigned value, bool blank)
{
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, blank ? "%5u " : "%5u", value);
    out.append(buffer, std::size_t(n));
}

}  // namespace

std::string EscapePath(std::string_view utf8Path)
{
    return EscapeWide(notesLineFromUtf8(utf8Path));
}

std::string UnescapePath(std::string_view escaped)
{
    escaped = escaped.substr(0, std::min(escaped.size(), kIniValueMax));
    if (const auto zero = escaped.find('\0'); zero != std::string_view::npos)
        escaped = escaped.substr(0, zero);
    const bool networkPath = escaped.size() >= 2 && escaped[0] == '\\' && escaped[1] == '\\' &&
                             (escaped.size() < 3 || escaped[2] != '\\');
    const bool drivePath = escaped.size() >= 3 && escaped[1] == ':' && escaped[2] == '\\' &&
                           (escaped.size() < 4 || escaped[3] != '\\');
    if (networkPath || drivePath) {
        std::u16string literal;
        for (char c : escaped)
            literal.push_back(static_cast<unsigned char>(c));
        return notesLineToUtf8(literal);
    }
    return notesLineToUtf8(UnescapeWide(escaped));
}

std::string DefaultIniText(const Image& image)
{
    std::string text;
    text.reserve(RS_LEN_EXE * 6 + 1200);
    for (int i = 0; i < RS_LEN_EXE; ++i) {
        appendNumber(text, image[i], true);
        if ((i + 1) % 10 == 0)
            text += "\r\n";
        if ((i + 1) % 100 == 0)
            text += "\r\n";
    }
    return text;
}

int ReadDefaultIniText(std::string_view text, Image& image)
{
    NumberScanner scanner(text);
    int count = 0;
    unsigned value = 0;
    while (count < RS_LEN_EXE && scanner.next(value))
        image[count++] = static_cast<std::uint8_t>(value);
    return count;
}

std::string LambdaFileText(std::span<const LambdaBlock> blocks)
{
    std::string text;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        appendNumber(text, unsigned(n), false);
        text += "\r\n";
        for (int row = 0; row < 10; ++row) {
            for (int col = 0; col < 20; ++col)
                appendNumber(text, blocks[n][std::size_t(row * 50 + col)], true);
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

int ReadLambdaFileText(std::string_view text, std::span<LambdaBlock> blocks)
{
    NumberScanner scanner(text);
    int started = 0;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        unsigned number = 0;
        if (!scanner.next(number) || number != n)
            break;
        ++started;
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 20; ++col) {
                unsigned value = 0;
                if (!scanner.next(value))
                    break;
                blocks[n][std::size_t(row * 50 + col)] = static_cast<std::uint8_t>(value);
            }
    }
    return started;
}
