#include "shell/settingsfiles.h"

#include <gtest/gtest.h>

TEST(SettingsFiles, PathEscapingRoundTrips)
{
    struct Case {
        const char* name;
        const char* path;
        const char* escaped;
    };
    const Case cases[] = {
        {"degree_sign", "C:\\Data\\Ein°.ign", "C:\\\\Data\\\\Ein\xB0.ign"},
        {"czech_letter", "/home/jan/kolo_č.ign", "/home/jan/kolo_\\x010D.ign"},
        {"linux_path", "/tmp/bike.ign", "/tmp/bike.ign"},
        {"network", "\\\\server\\x", "\\\\\\\\server\\\\x"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EscapePath(c.path), c.escaped);
        EXPECT_EQ(UnescapePath(c.escaped), c.path);
    }
}

TEST(SettingsFiles, OldUnescapedPathsAreReadLiterallyAndBadEscapesAreSafe)
{
    EXPECT_EQ(UnescapePath("C:\\Data\\x.ign"), "C:\\Data\\x.ign");
    EXPECT_EQ(UnescapePath("\\\\server\\share"), "\\\\server\\share");
    EXPECT_EQ(UnescapePath("abc\\x01"), "abc");  // an escape cut off at the end
    EXPECT_EQ(UnescapePath("a\\x00ZZb"), "a");  // a unit 0 ends the text
    EXPECT_EQ(UnescapePath(std::string(20000, 'a')).size(), 8190u);
}

TEST(SettingsFiles, DefaultIniLayout)
{
    Image image;
    for (int i = 0; i < RS_LEN_EXE; ++i)
        image[i] = static_cast<std::uint8_t>(i % 256);
    const std::string text = DefaultIniText(image);
    EXPECT_EQ(text.substr(0, 62), "    0     1     2     3     4     5     6     7     8     9 \r\n");
    // 510 lines of ten values, an empty line after every tenth.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 510 + 51);
    EXPECT_NE(text.find("   99 \r\n\r\n  100 "), std::string::npos);
    Image back{};
    EXPECT_EQ(ReadDefaultIniText(text, back), RS_LEN_EXE);
    EXPECT_EQ(back, image);
}

TEST(SettingsFiles, DefaultIniCounts)
{
    struct Case {
        const char* name;
        std::string text;
        int count;
    };
    std::string many;
    for (int i = 0; i < 5101; ++i)
        many += "300 ";
    const Case cases[] = {
        {"short", "1 2 3", 3},
        {"garbage_after_two", "7 8 x 9", 2},
        {"over_full", many, RS_LEN_EXE},
        {"empty", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image{};
        EXPECT_EQ(ReadDefaultIniText(c.text, image), c.count);
    }
    Image image{};
    ReadDefaultIniText("300", image);
    EXPECT_EQ(image[0], 300 & 0xFF);
}

TEST(SettingsFiles, LambdaFileStopsAtAWrongRunningNumber)
{
    std::array<LambdaBlock, 2> blocks{};
    for (auto& block : blocks)
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::uint8_t>(i % 50 < 20 ? i : 0);
    std::string text = LambdaFileText(blocks);
    std::array<LambdaBlock, 2> back{};
    EXPECT_EQ(ReadLambdaFileText(text, back), 2);
    EXPECT_EQ(back, blocks);
    // The second sheet's number is 5 instead of 1: only the first sheet is filled.
    const std::size_t second = text.find("\r\n\r\n") + 4;
    text.replace(second, 5, "    5");
    std::array<LambdaBlock, 2> partial{};
    EXPECT_EQ(ReadLambdaFileText(text, partial), 1);
    EXPECT_EQ(partial[0], blocks[0]);
    EXPECT_EQ(partial[1], LambdaBlock{});
}
