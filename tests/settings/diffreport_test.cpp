#include "settings/diffreport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "settings/layout.h"
#include "testimages.h"

namespace {

// The report's lines, split at CR LF (the text must end with one).
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "text does not end with CR LF";
        if (end == std::string::npos)
            break;
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

// The block of one parameter: its first line and the row lines that follow, up to the next block.
std::vector<std::string> block(const std::string& text, const std::string& name)
{
    std::vector<std::string> out;
    bool inBlock = false;
    for (const std::string& line : lines(text)) {
        const bool starts = line.starts_with(name + "(");
        if (!inBlock && starts) {
            inBlock = true;
        } else if (inBlock && line.find(")=") != std::string::npos && line.find('(') < line.find(")=")) {
            break;
        }
        if (inBlock)
            out.push_back(line);
    }
    return out;
}

std::string values(int from, int to)  // "from\t...\tto-1\t"
{
    std::string s;
    for (int v = from; v < to; ++v)
        s += std::to_string(v) + "\t";
    return s;
}

std::string zeros(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "0\t";
    return s;
}

std::size_t countOf(const std::string& text, std::string_view what)
{
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

class DifferenceReport : public testing::Test {
protected:
    std::string layout = BuildLayoutMapText();
    Image first{};
    Image second{};

    std::string report()
    {
        const DifferenceReportText r = BuildDifferenceReport(first, second, layout);
        EXPECT_FALSE(r.isLayoutMissing);
        return r.text;
    }
};

TEST_F(DifferenceReport, IdenticalImagesGiveAnEmptyReport)
{
    std::mt19937 rng(7);
    first = testimages::randomValidImage(rng);
    second = first;
    EXPECT_EQ(report(), "");
}

TEST_F(DifferenceReport, ScalarByteAndWordBlocksByteExact)
{
    setImageWord(first, layoutWord("LOBE_ANGLE"), 300);
    setImageWord(second, layoutWord("LOBE_ANGLE"), 65535);  // words are unsigned
    first[layoutOffset("BIKE")] = 3;
    second[layoutOffset("BIKE")] = 5;
    EXPECT_EQ(report(), "LOBE_ANGLE(word)=300 / 65535\r\nBIKE(byte)=3 / 5\r\n");
}

// Bytes 5027 to 5029 carry settings, yet lie in the layout's last free stretch, which the report passes over.
TEST_F(DifferenceReport, BytesOfAFreeStretchAreNotReported)
{
    first[5027] = 1;
    second[5027] = 2;
    first[5028] = 10;
    second[5028] = 12;
    first[5029] = 0;
    second[5029] = 1;
    EXPECT_EQ(report(), "");
}

TEST_F(DifferenceReport, ShortArraysFitOneRowWithStarsInBothHalves)
{
    const int lobe = layoutOffset("LOBE_BEG");  // 4 bytes
    for (int i = 0; i < 4; ++i)
        first[lobe + i] = second[lobe + i] = static_cast<std::uint8_t>(i + 1);
    second[lobe + 1] = 9;
    const int adviap = layoutWord("ADV_IAP");  // 10 words
    for (int i = 0; i < 10; ++i) {
        setImageWord(first, adviap + i, static_cast<std::uint16_t>(1000 + i));
        setImageWord(second, adviap + i, static_cast<std::uint16_t>(1000 + i));
    }
    setImageWord(second, adviap + 9, 40000);
    EXPECT_EQ(report(),
              "ADV_IAP(word[10])=" + values(1000, 1009) + "*1009*\t\t/\t" + values(1000, 1009) + "*40000*\t\r\n" +
                  "LOBE_BEG(byte[4])=1\t*2*\t3\t4\t\t/\t1\t*9*\t3\t4\t\r\n");
}

TEST_F(DifferenceReport, AdvancePointCountAloneReportsAxisAndTable)
{
    const int rpm = layoutOffset("ADV_RPM");
    for (int i = 0; i < 15; ++i)
        first[rpm + i] = second[rpm + i] = static_cast<std::uint8_t>(i + 1);
    first[3089] = 10;
    second[3089] = 12;

    struct Case {
        const char* name;
        int differingPoint;  // -1: the stored points agree
        std::string rpmLine;
    };
    const Case kCases[] = {
        {"count only", -1, "ADV_RPM(byte[15])=" + values(1, 11) + "\t/\t" + values(1, 13)},
        // The eleventh point is in use only in the second image, so only that half can show it.
        {"count and an extra point", 10, "ADV_RPM(byte[15])=" + values(1, 11) + "\t/\t" + values(1, 11) + "*77*\t12\t"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        if (c.differingPoint >= 0)
            second[rpm + c.differingPoint] = 77;
        const std::string text = report();
        EXPECT_EQ(block(text, "ADV_RPM"), std::vector<std::string>{c.rpmLine});
        const std::vector<std::string> adv = block(text, "ADV");
        ASSERT_EQ(adv.size(), 11u);  // header and 10 rows of 15 points
        EXPECT_EQ(adv[0], "ADV(byte[150])=");
        EXPECT_EQ(adv[1], zeros(10) + "\t/\t" + zeros(12));
        EXPECT_EQ(block(text, "ADV_RPM_N"), std::vector<std::string>{"ADV_RPM_N(byte)=10 / 12"});
        EXPECT_TRUE(block(text, "ADV2").empty());
    }
}

TEST_F(DifferenceReport, InjectionTablesOfUnusedChannelsAreLeftOut)
{
    first[2680] = 2;
    second[2680] = 4;
    for (const char* name : {"INJ_2", "INJ_3", "INJ_4"})
        setImageWord(second, layoutWord(name) + 3, 500);
    const std::string text = report();
    EXPECT_EQ(block(text, "CHANNELS"), std::vector<std::string>{"CHANNELS(byte)=2 / 4"});
    EXPECT_FALSE(block(text, "INJ_2").empty());
    EXPECT_TRUE(block(text, "INJ_3").empty());
    EXPECT_TRUE(block(text, "INJ_4").empty());
}

TEST_F(DifferenceReport, OneInjectionWordShowsAllRowsOfUsedColumns)
{
    first[2680] = second[2680] = 4;
    first[3822] = second[3822] = 12;
    const int inj = layoutWord("INJ_1");
    for (int i = 0; i < 200; ++i) {
        setImageWord(first, inj + i, static_cast<std::uint16_t>(i));
        setImageWord(second, inj + i, static_cast<std::uint16_t>(i));
    }
    setImageWord(first, inj + 65, 1000);  // row 3, column 5
    setImageWord(second, inj + 65, 1001);
    const std::string text = report();
    const std::vector<std::string> inj1 = block(text, "INJ_1");
    ASSERT_EQ(inj1.size(), 11u);
    EXPECT_EQ(inj1[0], "INJ_1(word[200])=");
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        const int s = 20 * row;
        const std::string expected = row == 3 ? values(60, 65) + "*1000*\t" + values(66, 72) + "\t/\t" + values(60, 65) +
                                                    "*1001*\t" + values(66, 72)
                                              : values(s, s + 12) + "\t/\t" + values(s, s + 12);
        EXPECT_EQ(inj1[static_cast<std::size_t>(row + 1)], expected);
    }
    EXPECT_EQ(countOf(text, "*"), 4u);
    EXPECT_EQ(lines(text).size(), 11u);  // nothing else differs
}

// Row widths and fixed counts of the tables that are not laid out 15 to a row.
TEST_F(DifferenceReport, RowWidthsPerTable)
{
    struct Case {
        const char* name;
        int rows;
        int valuesPerHalf;
    };
    constexpr Case kCases[] = {
        {"TRACK_RETARD", 6, 10}, {"POUT_IAP_IAP", 6, 2}, {"ACC_INJ", 5, 4},        {"POUT_RPM", 4, 3},
        {"MEMO", 11, 15},        {"INJ_COMP_TP", 10, 15}, {"TUNNING_LAMBDA_TG", 5, 5}, {"SERVO_EX", 10, 15},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        first = {};
        second = {};
        const LayoutRow& row = layoutRow(c.name);
        second[static_cast<std::size_t>(row.offset)] = 1;
        const std::vector<std::string> b = block(report(), c.name);
        ASSERT_EQ(b.size(), static_cast<std::size_t>(c.rows + 1));
        // A full row: valuesPerHalf values, each ending in a tab, on either side of "\t/\t".
        EXPECT_EQ(countOf(b[1], "\t"), static_cast<std::size_t>(2 * c.valuesPerHalf + 2));
        EXPECT_EQ(countOf(b[1], "*"), 4u);
    }
}

TEST(DifferenceReportLayout, MissingOrHeaderlessLayoutIsReportedAsMissing)
{
    Image a{};
    Image b{};
    b[2500] = 1;
    const std::string full = BuildLayoutMapText();
    const std::string separator = std::string(64, '=') + "\r\n";
    const std::string fourSeparators = full.substr(0, full.find("INJ_1") - separator.size());

    struct Case {
        const char* name;
        std::optional<std::string_view> layout;
    };
    const Case kCases[] = {
        {"absent", std::nullopt},
        {"empty", std::string_view()},
        {"header cut short", fourSeparators},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const DifferenceReportText r = BuildDifferenceReport(a, b, c.layout);
        EXPECT_TRUE(r.isLayoutMissing);
        EXPECT_EQ(r.text, "");
    }
}

// Lines that are not parameters of this image (past its end, negative, over-long) are skipped, never read.
TEST(DifferenceReportLayout, EntriesOutsideTheImageAreSkipped)
{
    const std::string header = BuildLayoutMapText().substr(0, BuildLayoutMapText().find("INJ_1"));
    const std::string layout = header + "PAST_END\t 5099\tbyte\t10\t      \r\n" + "NEGATIVE\t -4\tbyte\t8\t      \r\n" +
                               "HUGE\t 0\tword\t99999999999999\t      \r\n" + "LONG" + std::string(150, ' ') +
                               "\t 2500\tbyte\t1\r\n" + "BIKE\t 2500\tbyte\t1\t      // the model\r\n" + "LAST\t5099\tbyte\t1";
    Image a{};
    Image b{};
    b.fill(1);
    EXPECT_EQ(BuildDifferenceReport(a, b, layout).text, "BIKE(byte)=0 / 1\r\nLAST(byte)=0 / 1\r\n");
}

TEST(DifferenceReportLayout, GeneratedLayoutReadsBackToTheTable)
{
    const auto entries = ReadLayoutMapEntries(BuildLayoutMapText());
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), static_cast<std::size_t>(kLayoutRowCount));
    for (int i = 0; i < kLayoutRowCount; ++i) {
        const LayoutRow& row = kLayoutRows[i];
        const LayoutMapEntry& e = (*entries)[static_cast<std::size_t>(i)];
        SCOPED_TRACE(std::string(row.name));
        EXPECT_EQ(e.name, row.name);
        EXPECT_EQ(e.offset, row.offset);
        EXPECT_EQ(e.isWord, row.type == LayoutType::Word);
        EXPECT_EQ(e.length, row.length);
    }
}

TEST(DifferenceReportFileName, ExtensionAfterTheLastSeparatorIsReplaced)
{
    struct Case {
        std::string_view compared, report;
    };
    constexpr Case kCases[] = {
        {"b.ign", "b-dif.txt"},
        {"C:\\a\\b.ign", "C:\\a\\b-dif.txt"},
        {"/home/r/x.IGN", "/home/r/x-dif.txt"},
        {"/home/r/settings", "/home/r/settings-dif.txt"},  // no extension: cutting 4 would eat the name
        {"/home/r/a.b.c", "/home/r/a.b-dif.txt"},
        {"/home/r.d/tune", "/home/r.d/tune-dif.txt"},      // a dot in a folder is no extension
        {"C:\\r.d\\tune", "C:\\r.d\\tune-dif.txt"},
        {"/home/r/.ign", "/home/r/.ign-dif.txt"},          // a hidden file's name is all name
        {"ab", "ab-dif.txt"},
        {"", "-dif.txt"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.compared);
        EXPECT_EQ(DifferenceReportFileName(c.compared), c.report);
    }
}

}  // namespace
