#include "settings/diffreport.h"

#include <algorithm>

namespace {

constexpr std::string_view kHeaderEnd = "======\r\n";
constexpr int kHeaderSeparators = 5;
constexpr std::size_t kLongestEntryLine = 148;
constexpr int kChannelsByte = 2680;

// How a parameter's values are laid out in rows, and how many of each row are in use. A count byte of 0 means
// the fixed count; otherwise each image's own byte says how many values of a row it uses.
struct RowRule {
    std::string_view name;
    int width;
    int countByte;
    int fixedCount = 15;
};

constexpr RowRule kDefaultRule{"", 15, 0};

// clang-format off
constexpr RowRule kRowRules[] = {
    {"ADV_RPM", 15, 3089},       {"ADV", 15, 3089},
    {"ADV2_RPM", 15, 3090},      {"ADV2", 15, 3090},
    {"INJ_1", 20, 3822},         {"INJ_1_RPM", 20, 3822},
    {"INJ_2", 20, 3823},         {"INJ_2_RPM", 20, 3823},
    {"INJ_3", 20, 3824},         {"INJ_3_RPM", 20, 3824},
    {"INJ_4", 20, 3825},         {"INJ_4_RPM", 20, 3825},
    {"INJ_IAP", 20, 3827},       {"INJ_IAP_RPM", 20, 3827},
    {"INJ_B", 20, 3826},         {"INJ_B_RPM", 20, 3826},
    {"INJ_COMP_TP", 20, 0},      {"INJ_COMP_IAP", 20, 0},
    {"POUT_IAP_IAP", 2, 0},
    {"ACC_INJ", 4, 0},
    {"POUT_RPM", 3, 0},          {"POUT_OUT", 3, 0},          {"POUT_IAP_RPM", 3, 0},   {"POUT_IAP_OUT", 3, 0},
    {"TUNNING_LAMBDA_TG", 5, 0}, {"TUNNING_LAMBDA_LEAN", 5, 0}, {"TUNNING_LAMBDA_RICH", 5, 0},
    {"ACCLIM_TRESHOLD_DAT", 5, 0}, {"ACCLIM_SPEED_RETURN_DAT", 5, 0}, {"ACCLIM_PROP_EFFECT_DAT", 5, 0},
    {"TRACK_RETARD", 10, 0},
};
// clang-format on

// Channel tables that the unit does not drive when either image has fewer channels.
struct ChannelRule {
    std::string_view name;
    int channelsNeeded;
};
constexpr ChannelRule kChannelRules[] = {{"INJ_2", 2}, {"INJ_3", 3}, {"INJ_4", 4}};

const RowRule& rowRule(std::string_view name)
{
    for (const RowRule& rule : kRowRules)
        if (rule.name == name)
            return rule;
    return kDefaultRule;
}

int usedCount(const RowRule& rule, const Image& image)
{
    return rule.countByte != 0 ? image[static_cast<std::size_t>(rule.countByte)] : rule.fixedCount;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A decimal number as the old reader took it: an optional sign and the digits that follow, 0 when there are
// none. Digits past what an int holds saturate, so a hostile line cannot overflow.
int readNumber(std::string_view line, std::size_t& pos)
{
    bool negative = false;
    if (pos < line.size() && (line[pos] == '-' || line[pos] == '+'))
        negative = line[pos++] == '-';
    long long value = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        value = std::min<long long>(value * 10 + (line[pos] - '0'), 1'000'000'000);
        ++pos;
    }
    return static_cast<int>(negative ? -value : value);
}

LayoutMapEntry readEntry(std::string_view line)
{
    LayoutMapEntry entry;
    std::size_t pos = 0;
    while (pos < line.size() && !isBlank(line[pos]))
        ++pos;
    entry.name = std::string(line.substr(0, pos));
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    entry.offset = readNumber(line, pos);
    if (pos < line.size() && isBlank(line[pos]))
        ++pos;
    const std::size_t typeStart = pos;
    while (pos < line.size() && !isBlank(line[pos]))
        ++pos;
    entry.isWord = pos > typeStart && line[typeStart] == 'w';
    if (pos < line.size() && isBlank(line[pos]))
        ++pos;
    entry.length = readNumber(line, pos);
    return entry;
}

class ReportWriter {
public:
    ReportWriter(const Image& first, const Image& second) : m_first(first), m_second(second) {}

    void entry(const LayoutMapEntry& e)
    {
        if (e.name.empty() || e.name.front() == '<' || isUnusedChannel(e.name))
            return;
        // An entry outside the image would have the report read past it; such a line is not a parameter.
        if (e.offset < 0 || e.length <= 0 || e.length > RS_LEN_EXE - e.offset)
            return;
        const RowRule& rule = rowRule(e.name);
        const auto begin = static_cast<std::ptrdiff_t>(e.offset);
        const bool bytesDiffer = !std::equal(m_first.begin() + begin, m_first.begin() + begin + e.length,
                                             m_second.begin() + begin);
        const bool countsDiffer = rule.countByte != 0 && usedCount(rule, m_first) != usedCount(rule, m_second);
        if (bytesDiffer || countsDiffer)
            block(e, rule);
    }

    [[nodiscard]] std::string take() { return std::move(m_out); }

private:
    [[nodiscard]] bool isUnusedChannel(std::string_view name) const
    {
        const int channels = std::min(m_first[kChannelsByte], m_second[kChannelsByte]);
        for (const ChannelRule& rule : kChannelRules)
            if (rule.name == name && channels < rule.channelsNeeded)
                return true;
        return false;
    }

    [[nodiscard]] static int value(const Image& image, const LayoutMapEntry& e, int index)
    {
        return e.isWord ? imageWord(image, e.offset / 2 + index) : image[static_cast<std::size_t>(e.offset + index)];
    }

    void number(int v) { m_out += std::to_string(v); }

    // One half of a row: from `start`, the values that image uses, each starred where the images disagree.
    void half(const LayoutMapEntry& e, const Image& image, const Image& other, int start, int width, int used,
              int valueCount)
    {
        const int end = std::min({start + width, start + std::max(used, 0), valueCount});
        for (int i = start; i < end; ++i) {
            const int v = value(image, e, i);
            if (v == value(other, e, i)) {
                number(v);
                m_out += '\t';
            } else {
                m_out += '*';
                number(v);
                m_out += "*\t";
            }
        }
    }

    void row(const LayoutMapEntry& e, const RowRule& rule, int start, int valueCount)
    {
        half(e, m_first, m_second, start, rule.width, usedCount(rule, m_first), valueCount);
        m_out += "\t/\t";
        half(e, m_second, m_first, start, rule.width, usedCount(rule, m_second), valueCount);
    }

    void block(const LayoutMapEntry& e, const RowRule& rule)
    {
        m_out += e.name;
        if (e.length == 1 && !e.isWord) {
            m_out += "(byte)=";
            scalar(e);
        } else if (e.length == 2 && e.isWord) {
            m_out += "(word)=";
            scalar(e);
        } else {
            const int valueCount = e.isWord ? e.length / 2 : e.length;
            m_out += e.isWord ? "(word[" : "(byte[";
            number(valueCount);
            m_out += "])=";
            if (valueCount <= rule.width) {
                row(e, rule, 0, valueCount);
            } else {
                for (int start = 0; start < valueCount; start += rule.width) {
                    m_out += "\r\n";
                    row(e, rule, start, valueCount);
                }
            }
        }
        m_out += "\r\n";
    }

    void scalar(const LayoutMapEntry& e)
    {
        number(value(m_first, e, 0));
        m_out += " / ";
        number(value(m_second, e, 0));
    }

    const Image& m_first;
    const Image& m_second;
    std::string m_out;
};

}  // namespace

std::optional<std::vector<LayoutMapEntry>> ReadLayoutMapEntries(std::string_view layoutText)
{
    std::size_t pos = 0;
    for (int i = 0; i < kHeaderSeparators; ++i) {
        const std::size_t found = layoutText.find(kHeaderEnd, pos);
        if (found == std::string_view::npos)
            return std::nullopt;
        pos = found + kHeaderEnd.size();
    }
    std::vector<LayoutMapEntry> entries;
    while (pos < layoutText.size()) {
        std::size_t end = layoutText.find("\r\n", pos);
        if (end == std::string_view::npos)
            end = layoutText.size();
        const std::string_view line = layoutText.substr(pos, end - pos);
        pos = std::min(end + 2, layoutText.size());
        if (line.size() <= kLongestEntryLine && !line.empty())
            entries.push_back(readEntry(line));
    }
    return entries;
}

DifferenceReportText BuildDifferenceReport(const Image& first, const Image& second,
                                           std::optional<std::string_view> layoutText)
{
    DifferenceReportText result;
    const auto entries = layoutText ? ReadLayoutMapEntries(*layoutText) : std::nullopt;
    if (!entries) {
        result.isLayoutMissing = true;
        return result;
    }
    ReportWriter writer(first, second);
    for (const LayoutMapEntry& e : *entries)
        writer.entry(e);
    result.text = writer.take();
    return result;
}

std::string DifferenceReportFileName(std::string_view comparedFileName)
{
    const std::size_t separator = comparedFileName.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = comparedFileName.rfind('.');
    // A dot that opens the name (".ign") marks a hidden file, not an extension.
    const bool hasExtension = dot != std::string_view::npos && dot > nameStart;
    std::string name(hasExtension ? comparedFileName.substr(0, dot) : comparedFileName);
    name += "-dif.txt";
    return name;
}
