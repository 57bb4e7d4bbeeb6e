#include "link/csvlog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../filefaults.h"
#include "os/files.h"

namespace {

// The fields of one line: every field is followed by ";", the line by "\n".
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (c == ';') {
            fields.push_back(field);
            field.clear();
        } else if (c != '\n') {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty()) << "the line does not end with ';': " << line;
    return fields;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
    return lines;
}

int ColumnOf(std::string_view name)
{
    const auto columns = CsvColumns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name) return static_cast<int>(i) + 1;  // after the time column
    return -1;
}

class CsvTime : public testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

}  // namespace

TEST(CsvLog, ColumnTableReadsInsideTheBlock)
{
    const auto columns = CsvColumns();
    std::set<std::pair<int, int>> bits;
    for (const CsvColumn& c : columns) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_FALSE(c.name.empty());
        switch (c.kind) {
            case CsvKind::Word:
                EXPECT_TRUE(c.position >= 1 && c.position <= kLiveWordCount);
                break;
            case CsvKind::Byte:
                EXPECT_TRUE(c.position >= 174 && c.position <= 300);
                break;
            case CsvKind::Bit:
                EXPECT_TRUE(c.bit >= 0 && c.bit <= 7);
                EXPECT_EQ(c.unit, "0/1");
                bits.insert({c.position, c.bit});
                break;
            default:
                break;
        }
    }
    // 55 bit columns over 54 bits: the throttle-by-servo bit is logged twice, under both of its names.
    EXPECT_EQ(bits.size(), 54u);
    EXPECT_EQ(columns[static_cast<std::size_t>(ColumnOf("TPS_BY_SERVO_IN") - 1)].position,
              columns[static_cast<std::size_t>(ColumnOf("TPS_BY_SERVO_EX") - 1)].position);
}

TEST(CsvLog, HeaderHasTwoLinesOf171FieldsInWindows1250)
{
    const std::vector<std::string> lines = Lines(CsvHeaderLines());
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<std::string> names = Fields(lines[0]);
    const std::vector<std::string> units = Fields(lines[1]);
    ASSERT_EQ(names.size(), 171u);
    ASSERT_EQ(units.size(), 171u);
    EXPECT_EQ(names[0], "Time");
    EXPECT_EQ(units[0], "ms");
    EXPECT_EQ(names[1], "HWKEY");
    EXPECT_EQ(names[4], "RPM");
    EXPECT_EQ(units[4], "1/min");
    EXPECT_EQ(names[170], "INPUT8");
    EXPECT_EQ(units[170], "0/1");
    EXPECT_EQ(units[static_cast<std::size_t>(ColumnOf("POS_A"))], "\xB0");  // the degree sign, one byte
    EXPECT_EQ(lines[0].find('\r'), std::string::npos);
}

// Frames as the live-data block holds them, and the fields they give.
TEST_F(CsvTime, FramesToLines)
{
    struct Case
    {
        const char* name;
        std::function<void(std::span<std::uint8_t, kLiveBlockLength>)> frame;
        CsvFrameContext context;
        std::int64_t epochMs;
        std::vector<std::pair<const char*, const char*>> expected;  // column name (or "Time"), text
    };
    const Case cases[] = {
        {"keys_and_time",
         [](auto b) {
             b[296] = 0x2B;  // hardware key 0x1a2b
             b[297] = 0x1A;
             b[298] = 0;     // sub-version
             b[299] = 0x35;  // structure key 309
             b[300] = 0x01;
         },
         {.unitHeaderKey = 0, .model = 11},
         // 2024-11-26 13:07:05.042 UTC
         1732626425042,
         {{"Time", "13:07:05.042"}, {"HWKEY", "0x1a2b"}, {"RSKEY", "309.0"}, {"BIKE", "11"}}},
        {"key_from_the_unit_header",
         [](auto b) { b[298] = 3; },
         {.unitHeaderKey = 309, .model = -1},
         0,
         {{"Time", "00:00:00.000"}, {"HWKEY", "0x0"}, {"RSKEY", "309.3"}, {"BIKE", "-1"}}},
        {"words_are_unsigned_and_bytes_raw",
         [](auto b) {
             b[4] = 0xB8;  // RPM 3000
             b[5] = 0x0B;
             b[126] = 0xF1;  // word 63: 0xFFF1 stays 65521
             b[127] = 0xFF;
             b[223] = 255;
             b[183] = 200;
         },
         {},
         999,
         {{"Time", "00:00:00.999"},
          {"RPM", "3000"},
          {"MAX_LAUNCH_ACC", "65521"},
          {"Moto_min_HI", "255"},
          {"IGN1", "200"}}},
        {"bits",
         [](auto b) {
             b[175] = 0x81;
             b[179] = 0x01;
             b[177] = 0x04;  // bit 2 has no column
         },
         {},
         86399999,
         {{"Time", "23:59:59.999"},
          {"FALL_IN", "1"},
          {"FALL_OUT", "0"},
          {"CLUTCH_OUT", "1"},
          {"TPS_BY_SERVO_IN", "1"},
          {"TPS_BY_SERVO_EX", "1"},
          {"SENSOR_OFF_TPS", "0"},
          {"EDGE", "0"},
          {"N2O_ENABLE", "0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LiveBlock block;
        c.frame(block.MutableBytes());
        const std::string line = FormatCsvLine(block, c.context, c.epochMs);
        ASSERT_EQ(line.back(), '\n');
        const std::vector<std::string> fields = Fields(line);
        ASSERT_EQ(fields.size(), 171u);
        for (const auto& [column, text] : c.expected) {
            const int index = std::string_view(column) == "Time" ? 0 : ColumnOf(column);
            ASSERT_GE(index, 0) << column;
            EXPECT_EQ(fields[static_cast<std::size_t>(index)], text) << column;
        }
    }
}

TEST_F(CsvTime, OneLinePerFrameWrittenAtOnce)
{
    filefaults::TempFolder folder;
    const auto path = folder.path / "ride.csv";
    CsvLog log;
    ASSERT_TRUE(log.Open(path).ok);
    EXPECT_TRUE(log.IsOn());
    LiveBlock block;
    for (int frame = 0; frame < 25; ++frame) {
        block.MutableBytes()[4] = static_cast<std::uint8_t>(frame);
        ASSERT_TRUE(log.WriteLine(FormatCsvLine(block, {}, 1000 * frame)).ok);
        // Every line is in the file as soon as it is written, before the log is closed.
        const std::string text = os::readWholeFile(path).value_or("");
        ASSERT_EQ(Lines(text).size(), static_cast<std::size_t>(frame) + 3);
    }
    ASSERT_TRUE(log.Close().ok);
    const std::vector<std::string> lines = Lines(os::readWholeFile(path).value_or(""));
    ASSERT_EQ(lines.size(), 27u);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::vector<std::string> fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 171u);
        EXPECT_EQ(fields[4], std::to_string(i - 2));
    }
}

TEST(CsvLog, FullDiskStopsTheLogAndKeepsTheLinesBefore)
{
    // /dev/full takes nothing: the header cannot be written, the log stays off and says which file failed.
    CsvLog full;
    const os::FileResult opened = full.Open("/dev/full");
    EXPECT_FALSE(opened.ok);
    EXPECT_NE(opened.error.find("/dev/full"), std::string::npos) << opened.error;
    EXPECT_FALSE(full.IsOn());

    // A disk that fills while the log runs: the failed line is reported, the file ends with the last whole line.
    filefaults::TempFolder folder;
    const auto path = folder.path / "ride.csv";
    CsvLog log;
    ASSERT_TRUE(log.Open(path).ok);
    const std::string line = FormatCsvLine(LiveBlock{}, {}, 0);
    const std::size_t header = CsvHeaderLines().size();
    const os::FileResult failed = filefaults::WithFileSizeLimit(header + 3 * line.size() + line.size() / 2, [&] {
        for (int i = 0; i < 3; ++i)
            if (!log.WriteLine(line).ok) return os::FileResult{};
        return log.WriteLine(line);
    });
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find(path.string()), std::string::npos) << failed.error;
    EXPECT_FALSE(log.IsOn());
    const std::string text = os::readWholeFile(path).value_or("");
    EXPECT_EQ(text.size(), header + 3 * line.size());
    EXPECT_EQ(Lines(text).size(), 5u);
}

TEST(CsvLog, ReadOnlyFolderIsReported)
{
    filefaults::TempFolder folder;
    EXPECT_TRUE(filefaults::InReadOnlyFolder(folder.path, [&] {
        CsvLog log;
        const os::FileResult opened = log.Open(folder.path / "ride.csv");
        return !opened.ok && !log.IsOn() && opened.error.find("ride.csv") != std::string::npos;
    }));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "ride.csv"));
}
