#include "settings/layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace {

TEST(Layout, RowsAreContiguousAndCoverTheImageButOneByte)
{
    int next = 0;
    std::vector<int> uncovered;
    for (const LayoutRow& row : kLayoutRows) {
        SCOPED_TRACE(std::string(row.name));
        ASSERT_GE(row.offset, next) << "overlaps the row before";
        for (int gap = next; gap < row.offset; ++gap) uncovered.push_back(gap);
        EXPECT_GT(row.length, 0);
        next = row.offset + row.length;
    }
    EXPECT_EQ(next, RS_LEN_EXE);
    // Byte 2502 has never carried a parameter; the compare ignores it.
    EXPECT_EQ(uncovered, std::vector<int>{2502});
}

TEST(Layout, WordsBelowTheByteAreaAndNamesUnique)
{
    std::set<std::string_view> names;
    int words = 0;
    for (const LayoutRow& row : kLayoutRows) {
        SCOPED_TRACE(std::string(row.name));
        if (row.type == LayoutType::Word) {
            EXPECT_EQ(row.offset % 2, 0);
            EXPECT_EQ(row.length % 2, 0);
            EXPECT_LE(row.offset + row.length, RS_FIRST_BYTE_PARAM);
            words += row.length / 2;
        } else if (row.type == LayoutType::Byte) {
            EXPECT_GE(row.offset, RS_FIRST_BYTE_PARAM);
        } else {
            EXPECT_EQ(row.name, kLayoutFreeName);
            continue;
        }
        // DEC_SERVO_V is both the servo speed word and the older byte copy of it.
        if (row.name != "DEC_SERVO_V") {
            EXPECT_TRUE(names.insert(row.name).second) << "duplicate name";
        }
    }
    EXPECT_EQ(words, 1154);
    EXPECT_EQ(kLayoutRowCount, 396);
}

// The layout is a file other tools read as well: every row stands as recorded, free stretches included.
TEST(Layout, RowsAreTheRecordedLayoutRowForRow)
{
    std::ifstream in(std::string(TEST_DATA_DIR) + "/rs309_layout_rows.txt");
    ASSERT_TRUE(in);
    std::vector<std::string> recorded;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') recorded.push_back(line);
    std::vector<std::string> ours;
    for (const LayoutRow& row : kLayoutRows) {
        const char* type = row.type == LayoutType::Word ? "word" : row.type == LayoutType::Byte ? "byte" : "-";
        ours.push_back(std::to_string(row.offset) + " " + std::string(row.name) + " " + type + " " +
                       std::to_string(row.length));
    }
    EXPECT_EQ(ours, recorded);
}

TEST(Layout, NamedCountsSitWhereTheReportReadsThem)
{
    struct Case
    {
        std::string_view name;
        int offset;
    };
    constexpr Case kCases[] = {{"BIKE", 2500},       {"CHANNELS", 2680},    {"ADV_RPM_N", 3089},
                               {"ADV2_RPM_N", 3090}, {"INJ_1_RPM_N", 3822}, {"INJ_IAP_RPM_N", 3827},
                               {"LAMBDA_BAR", 4872}, {"RSKEY_MODIFY", 4920}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(layoutOffset(c.name), c.offset);
    }
    static_assert(layoutOffset("BIKE") == RS_BIKE_BYTE);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "line without CR LF at " << pos;
        if (end == std::string::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

TEST(LayoutMapText, HeaderEntriesAndMarkers)
{
    const std::string text = BuildLayoutMapText();
    const std::vector<std::string> lines = splitLines(text);
    const std::string separator(64, '=');
    ASSERT_GT(lines.size(), 17u);
    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < 17; ++i)
        if (lines[i] == separator) separators.push_back(i);
    EXPECT_EQ(separators, (std::vector<std::size_t>{0, 1, 7, 15, 16}));
    EXPECT_EQ(lines[2], "RS MAP file, automaticly generated");
    EXPECT_EQ(lines[3], "FILE:\trs309");
    EXPECT_EQ(lines[6], "RSKEY:\t309");
    const std::vector<std::string> figures(lines.begin() + 8, lines.begin() + 15);
    EXPECT_EQ(figures,
              (std::vector<std::string>{"SIZE:\t5100 bytes", "FRAME:\t300 bytes", "bytes:\t2527", "words:\t1154",
                                        "free:\t265 bytes", "free bytes:\t74", "free words:\t95"}));
    EXPECT_EQ(lines.size(), 17u + kLayoutRowCount);

    struct Case
    {
        std::size_t row;
        std::string line;
    };
    const Case kCases[] = {
        {0, "INJ_1" + std::string(32, ' ') + "\t    0\tword\t400\t------"},
        {2, "INJ_3" + std::string(32, ' ') + "\t  800\tword\t400\t======"},
        {53, "<free>" + std::string(31, ' ') + "\t 2308\t\t192\t------"},
        {54, "BIKE" + std::string(33, ' ') + "\t 2500\tbyte\t1\t      "},
        {394, "POUT_PWMS" + std::string(28, ' ') + "\t 5017\tbyte\t10\t      "},
        {395, "<free>" + std::string(31, ' ') + "\t 5027\t\t73\t======"},  // the image ends on a frame
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(lines[17 + c.row], c.line);
    }
}

// Parses an entry line the way the difference report does: name, offset, type letter, length.
TEST(LayoutMapText, EntriesReadBackToTheTable)
{
    const std::vector<std::string> lines = splitLines(BuildLayoutMapText());
    for (int i = 0; i < kLayoutRowCount; ++i) {
        const LayoutRow& row = kLayoutRows[i];
        SCOPED_TRACE(std::string(row.name));
        const std::string& line = lines[17 + i];
        ASSERT_LE(line.size(), 148u);
        std::istringstream in(line);
        std::string name;
        int offset = -1;
        in >> name >> offset;
        EXPECT_EQ(name, row.name);
        EXPECT_EQ(offset, row.offset);
    }
}

// With KELVORA_WRITE_LAYOUT_MAP=1 in the environment the test writes the file first (after a table change).
TEST(LayoutMapText, CommittedFileMatchesTheTable)
{
    const std::string path = std::string(KELVORA_SOURCE_DIR) + "/resources/impet/MAP_309/rs309.map";
    if (const char* write = std::getenv("KELVORA_WRITE_LAYOUT_MAP"); write && std::string_view(write) == "1")
        std::ofstream(path, std::ios::binary) << BuildLayoutMapText();
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "resources/impet/MAP_309/rs309.map is missing";
    std::stringstream buffer;
    buffer << in.rdbuf();
    EXPECT_TRUE(buffer.str() == BuildLayoutMapText())
        << "resources/impet/MAP_309/rs309.map differs from the layout table; regenerate it with "
           "KELVORA_WRITE_LAYOUT_MAP=1 settings_tests --gtest_filter=LayoutMapText.*";
}

}  // namespace
