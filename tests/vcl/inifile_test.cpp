#include "vcl/inifile.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "os/files.h"

namespace {

std::filesystem::path tempFile(const std::string& name, const std::string& bytes)
{
    char pattern[] = "/tmp/kelvora_ini_XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern);
    const auto path = dir / name;
    EXPECT_TRUE(os::atomicWriteFile(path, bytes).ok);
    return path;
}

}  // namespace

TEST(IniFile, ReadsAnOddFile)
{
    // Mixed line ends, spaces around names, quotes, a comment, a duplicate key, a key before any section.
    const auto path = tempFile("application.ini",
                               "stray=1\n"
                               "[BASIC]\r\n"
                               "  Language = 2 \r\n"
                               "; a comment=5\r\n"
                               "LastFile=\"C:\\Data\\bike.ign\"\n"
                               "language=1\r\n"
                               "Port=$1F\r"
                               "Broken=12x\r\n"
                               "\r\n"
                               "[ Other ]\r\n"
                               "Port=7");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("basic", "LANGUAGE", -1), 2);  // case-blind, first duplicate wins
    EXPECT_EQ(ini.ReadString("BASIC", "LastFile", ""), "C:\\Data\\bike.ign");
    EXPECT_EQ(ini.ReadInteger("BASIC", "Port", 0), 31);
    EXPECT_EQ(ini.ReadInteger("BASIC", "Broken", -9), -9);
    EXPECT_EQ(ini.ReadInteger("BASIC", "Missing", 4), 4);
    EXPECT_EQ(ini.ReadInteger("Other", "Port", 0), 7);
    EXPECT_EQ(ini.ReadString("Nowhere", "Port", "def"), "def");
    EXPECT_EQ(ini.ReadString("BASIC", "a comment", "none"), "none");
    EXPECT_EQ(ini.ReadSection("BASIC"), (std::vector<std::string>{"Language", "LastFile", "language", "Port", "Broken"}));
}

TEST(IniFile, WriteKeepsEverythingElseAndRoundTrips)
{
    const std::string original = "; kept\r\n[BASIC]\r\nLanguage=0\r\nUnknown=x y\r\n\r\n[Z]\r\nA=1\r\n";
    const auto path = tempFile("application.ini", original);
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.Text(), original);
        ini.WriteInteger("BASIC", "Language", 0);
        EXPECT_FALSE(ini.Modified());  // same value: nothing to write
        ini.WriteInteger("basic", "Language", 2);
        ini.WriteString("BASIC", "NewKey", "C:\\x\\y");
        ini.WriteInteger("New", "Count", -3);
        ASSERT_TRUE(ini.UpdateFile().ok);
    }
    EXPECT_EQ(os::readWholeFile(path).value_or(""),
              "; kept\r\n[BASIC]\r\nLanguage=2\r\nUnknown=x y\r\nNewKey=C:\\x\\y\r\n\r\n[Z]\r\nA=1\r\n"
              "[New]\r\nCount=-3\r\n");
    TIniFile again(path);
    EXPECT_EQ(again.ReadInteger("BASIC", "Language", 0), 2);
    EXPECT_EQ(again.ReadString("BASIC", "NewKey", ""), "C:\\x\\y");
    EXPECT_EQ(again.ReadInteger("New", "Count", 0), -3);
}

TEST(IniFile, KeepsWindows1250BytesAsTheyAre)
{
    const std::string bytes = "[BASIC]\r\nName=Nap\xEC\x9D\xED\r\n";
    const auto path = tempFile("x.ini", bytes);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("BASIC", "Name", ""), "Nap\xEC\x9D\xED");
    EXPECT_EQ(ini.Text(), bytes);
}

TEST(IniFile, MissingOrBinaryFileGivesDefaults)
{
    TIniFile missing("/nonexistent/dir/application.ini");
    EXPECT_EQ(missing.ReadInteger("BASIC", "Language", 1), 1);
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 131) & 0xFF));
    TIniFile binary(tempFile("bin.ini", garbage));
    EXPECT_EQ(binary.ReadInteger("BASIC", "Language", 1), 1);
    missing.WriteInteger("BASIC", "Language", 2);
    EXPECT_FALSE(missing.UpdateFile().ok);  // cannot be written: said so
}

TEST(IniFile, IntegerParsing)
{
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"0", true, 0},           {"-12", true, -12},      {"+7", true, 7},          {" 42 ", true, 42},
        {"$FF", true, 255},       {"0x10", true, 16},      {"$FFFFFFFF", true, -1},  {"2147483647", true, 2147483647},
        {"2147483648", false, 0}, {"-2147483648", true, INT_MIN}, {"", false, 0},    {"1.5", false, 0},
        {"--1", false, 0},        {"0x", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 0;
        EXPECT_EQ(TIniFile::ParseInteger(c.text, value), c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
        }
    }
}
