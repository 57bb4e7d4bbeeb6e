#include "vcl/inifile.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace {

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool sameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

TIniFile::Line TIniFile::ParseLine(std::string raw)
{
    Line line;
    line.raw = std::move(raw);
    const std::string_view t = trim(line.raw);
    if (t.empty() || t.front() == ';')
        return line;
    if (t.front() == '[') {
        const auto close = t.find(']');
        if (close != std::string_view::npos) {
            line.isSection = true;
            line.section = std::string(trim(t.substr(1, close - 1)));
        }
        return line;
    }
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return line;
    line.isKey = true;
    line.key = std::string(trim(t.substr(0, eq)));
    return line;
}

TIniFile::TIniFile(std::filesystem::path path) : m_path(std::move(path))
{
    const auto bytes = os::readWholeFile(m_path, std::size_t(16) << 20);
    if (!bytes)
        return;
    std::string_view text = *bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        m_lines.push_back(ParseLine(std::string(text.substr(pos, end - pos))));
        // CR LF, LF and a lone CR each end one line.
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            pos = end + 2;
        else
            pos = end + 1;
    }
}

int TIniFile::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].isSection && sameText(m_lines[i].section, section))
            return int(i);
    return -1;
}

int TIniFile::SectionEnd(int header) const
{
    int i = header + 1;
    while (i < int(m_lines.size()) && !m_lines[std::size_t(i)].isSection)
        ++i;
    return i;
}

int TIniFile::FindKey(std::string_view section, std::string_view key) const
{
    const int header = FindSection(section);
    if (header < 0)
        return -1;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (m_lines[std::size_t(i)].isKey && sameText(m_lines[std::size_t(i)].key, key))
            return i;
    return -1;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    const int i = FindKey(section, key);
    if (i < 0)
        return std::string(def);
    const std::string& raw = m_lines[std::size_t(i)].raw;
    std::string_view value = trim(std::string_view(raw).substr(raw.find('=') + 1));
    // A value in matching quotes comes back without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

bool TIniFile::ParseInteger(std::string_view text, int& value)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    long long magnitude = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || ptr != text.data() + text.size() || magnitude < 0)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    // Hexadecimal values up to 32 bits stand for their bit pattern, as in the old runtime.
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFLL) {
        value = static_cast<int>(static_cast<unsigned int>(magnitude));
        return true;
    }
    if (signedValue < INT_MIN || signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const
{
    int value = 0;
    return ParseInteger(ReadString(section, key, ""), value) ? value : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string raw = std::string(key) + "=" + std::string(value);
    const int existing = FindKey(section, key);
    if (existing >= 0) {
        if (m_lines[std::size_t(existing)].raw != raw) {
            m_lines[std::size_t(existing)] = ParseLine(std::move(raw));
            m_modified = true;
        }
        return;
    }
    m_modified = true;
    int header = FindSection(section);
    if (header < 0) {
        m_lines.push_back(ParseLine("[" + std::string(section) + "]"));
        m_lines.push_back(ParseLine(std::move(raw)));
        return;
    }
    // After the section's last key, before the blank lines that separate it from the next one.
    int at = SectionEnd(header);
    while (at > header + 1 && trim(m_lines[std::size_t(at - 1)].raw).empty())
        --at;
    m_lines.insert(m_lines.begin() + at, ParseLine(std::move(raw)));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) >= 0; }
bool TIniFile::ValueExists(std::string_view section, std::string_view key) const { return FindKey(section, key) >= 0; }

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const
{
    std::vector<std::string> keys;
    const int header = FindSection(section);
    if (header < 0)
        return keys;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (m_lines[std::size_t(i)].isKey)
            keys.push_back(m_lines[std::size_t(i)].key);
    return keys;
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    const int i = FindKey(section, key);
    if (i < 0)
        return;
    m_lines.erase(m_lines.begin() + i);
    m_modified = true;
}

void TIniFile::EraseSection(std::string_view section)
{
    for (int header = FindSection(section); header >= 0; header = FindSection(section)) {
        m_lines.erase(m_lines.begin() + header, m_lines.begin() + SectionEnd(header));
        m_modified = true;
    }
}

std::string TIniFile::Text() const
{
    std::string text;
    for (const Line& line : m_lines) {
        text += line.raw;
        text += "\r\n";
    }
    return text;
}

os::FileResult TIniFile::UpdateFile()
{
    if (!m_modified)
        return {true, {}};
    os::FileResult result = os::atomicWriteFile(m_path, Text());
    if (result.ok)
        m_modified = false;
    return result;
}
