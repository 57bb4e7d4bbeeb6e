#include "settings/settingswriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "os/cp1250.h"
#include "settings/keytable.h"
#include "settings/notes.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kCaptionLimit = 8190;

int scaleOf(const KeyItem& item, const Image& image)
{
    switch (item.scaleRule) {
    case ScaleRule::Fixed: return item.scale;
    case ScaleRule::ServoIn: return image[4415] != 0 ? 1 : 20;
    case ScaleRule::ServoEx: return image[4414] != 0 ? 1 : 20;
    case ScaleRule::AccLimiter: return image[4631] == 0 ? 100 : 1;
    case ScaleRule::ClutchTime: return item.scale;
    }
    return item.scale;
}

class Writer final {
public:
    Writer(const Image& image, std::string& out) : m_image(image), m_out(out) {}

    void key(std::string_view key)
    {
        m_out += kLineEnd;
        m_out += key;
        m_out.append(static_cast<std::size_t>(keyFieldWidth(static_cast<int>(key.size())) - int(key.size())), ' ');
    }
    void lineBreak() { key(""); }

    // "%5i " in the C locale.
    void value(long long v)
    {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        pad(static_cast<int>(res.ptr - buf));
        m_out.append(buf, res.ptr);
        m_out += ' ';
    }
    // "%5.1f " of v / 10, in the C locale, from the integer so no rounding can differ.
    void decimalValue(long long v)
    {
        const bool negative = v < 0;
        const unsigned long long a = negative ? 0ULL - static_cast<unsigned long long>(v) : v;
        char buf[32];
        auto res = std::to_chars(buf, buf + 24, a / 10);
        std::string text = negative ? "-" : "";
        text.append(buf, res.ptr);
        text += '.';
        text += static_cast<char>('0' + a % 10);
        pad(static_cast<int>(text.size()));
        m_out += text;
        m_out += ' ';
    }
    void field(const KeyItem& item, int index)
    {
        long long stored;
        if ((item.flags & kItemIdleX) != 0)
            stored = m_image[4559] == 4 ? m_image[4569] : m_image[item.address + index];
        else
            stored = readParam(m_image, item.paramAddress(index));
        if ((item.flags & kItemComplement) != 0)
            stored = 255 - stored;
        const long long v = (stored + item.offset) * scaleOf(item, m_image);
        if ((item.flags & kItemDecimal) != 0)
            decimalValue(v);
        else
            value(v);
    }
    void item(const KeyItem& item)
    {
        if (!itemPresent(item.cond, RS_KEY_309))
            return;
        switch (item.kind) {
        case ItemKind::None:
        case ItemKind::Action: break;
        case ItemKind::Field: field(item, 0); break;
        case ItemKind::Row:
            for (int i = 0; i < item.count; ++i)
                field(item, i);
            break;
        case ItemKind::Fixed: value(item.fixedValue); break;
        case ItemKind::Break: lineBreak(); break;
        case ItemKind::Table:
            for (int i = 0; i < item.count; ++i) {
                if (i > 0 && i % item.perLine == 0)
                    lineBreak();
                field(item, i);
            }
            break;
        case ItemKind::Axis: {
            const int n = counted(item, item.count);
            for (int i = 0; i < n; ++i)
                field(item, i);
            lineBreak();
            break;
        }
        case ItemKind::Grid: {
            const int n = counted(item, 20);
            for (int r = 0; r < 10; ++r) {
                for (int c = 0; c < n; ++c)
                    field(item, r * 20 + c);
                lineBreak();
            }
            break;
        }
        case ItemKind::CountedRow: {
            const int n = counted(item, item.count);
            for (int i = 0; i < n; ++i)
                field(item, i);
            break;
        }
        case ItemKind::Bits: {
            const int b = m_image[item.address];
            for (int bit = 0; bit < 4; ++bit)
                value((b >> bit) & 1);
            break;
        }
        }
    }
    void text(std::string_view t) { m_out += t; }

private:
    // A counted row never runs past its row, and never is empty: an empty row would make a reader take the
    // next key's numbers as its own.
    int counted(const KeyItem& item, int width) const { return std::clamp<int>(m_image[item.countByte], 1, width); }
    void pad(int length)
    {
        if (length < 5)
            m_out.append(static_cast<std::size_t>(5 - length), ' ');
    }

    const Image& m_image;
    std::string& m_out;
};

// A caption or identity text as one line of Windows-1250.
std::string lineText(std::string_view utf8)
{
    std::u32string chars = os::decodeUtf8(utf8);
    if (chars.size() > kCaptionLimit)
        chars.resize(kCaptionLimit);
    for (char32_t& c : chars)
        if (c == U'\r' || c == U'\n' || c == 0)
            c = U' ';
    return os::utf8ToCp1250Lossy(os::encodeUtf8(chars));
}

std::string buildDateText()
{
    return __DATE__;  // "Mmm dd yyyy"
}

void copyInjectionTable1A(Image& image)
{
    for (int t = 1; t <= 3; ++t) {
        std::copy_n(image.begin() + 3097, 20, image.begin() + 3097 + 20 * t);
        std::copy_n(image.begin(), 400, image.begin() + 400 * t);
        image[3822 + t] = image[3822];
    }
}

}  // namespace

std::string WriteSettingsText(Image& image, const SettingsFileTexts& texts)
{
    std::string out;
    out.reserve(48 * 1024);
    Writer w(image, out);
    for (const KeyRow& row : keyRows()) {
        if (row.role == KeyRole::ReaderOnly || row.role == KeyRole::Legacy)
            continue;
        switch (row.special) {
        case KeySpecial::Jet1Misc:
            if (image[3817] == 2)
                copyInjectionTable1A(image);
            break;
        case KeySpecial::Versions:
            w.key(row.key);
            w.text(kLineEnd);
            w.text("HEX   ");
            w.text(lineText(texts.versionDate) + "\t" + lineText(texts.versionTime) + "\t" +
                   lineText(texts.versionName));
            w.text(kLineEnd);
            w.text("HW/FW  ");
            w.text(lineText(texts.firmware) + "   " + lineText(texts.key) + "   (" + lineText(texts.serialNumber) +
                   ")   " + lineText(texts.lastUpdate) + "   " + lineText(texts.unit));
            w.text(kLineEnd);
            w.text("EXE    ");
            w.text(lineText(texts.buildDate.empty() ? buildDateText() : texts.buildDate) + "\t" +
                   lineText(texts.buildTime.empty() ? std::string(__TIME__) : texts.buildTime));
            w.lineBreak();
            continue;
        case KeySpecial::Memo:
            w.key(row.key);
            for (const NotesLine& line : notesLinesOfImage(image)) {
                w.text(kLineEnd);
                // A line end inside a line (only a damaged notes area holds one) is escaped like any
                // other character the 8-bit text cannot carry, so the line stays one line.
                std::string escaped = EscapeWide(line);
                std::string safe;
                for (char c : escaped)
                    safe += c == '\r' ? std::string("\\x000D") : c == '\n' ? std::string("\\x000A") : std::string(1, c);
                w.text(safe);
            }
            continue;
        default: break;
        }
        w.key(row.key);
        if (row.role == KeyRole::Header) {
            w.value(RS_KEY_309);
            w.lineBreak();
            continue;
        }
        for (const KeyItem& item : row.itemList())
            w.item(item);
    }
    return out;
}

os::FileResult SaveSettingsFile(const std::filesystem::path& path, Image& image, const SettingsFileTexts& texts)
{
    return os::atomicWriteFile(path, WriteSettingsText(image, texts));
}
