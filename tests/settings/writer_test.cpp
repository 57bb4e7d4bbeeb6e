// The writer's bytes, checked against excerpts worked out by hand from the format.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "settings/notes.h"
#include "settings/settingswriter.h"
#include "testimages.h"

namespace {

Image zeroImage(int model = 11)
{
    Image image{};
    image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(model);
    for (int c : {3089, 3090, 4408, 4409, 4735, 4736})
        image[c] = 15;
    for (int c = 3822; c <= 3827; ++c)
        image[c] = 20;
    return image;
}

// The text from the line end before `key` (as a key line) to the next key line.
std::string keyBlock(const std::string& file, const std::string& key)
{
    const std::string start = "\r\n" + key + " ";
    const std::size_t at = file.find(start);
    if (at == std::string::npos)
        return "";
    std::size_t end = at + 2;
    for (;;) {
        end = file.find("\r\n", end);
        if (end == std::string::npos || file.compare(end + 2, 15, std::string(15, ' ')) != 0)
            break;
        end += 2;
    }
    return file.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

const std::string kBreak = "\r\n" + std::string(15, ' ');

TEST(SettingsWriter, HeaderBytes)
{
    Image image = zeroImage(11);
    const std::string file = WriteSettingsText(image, testimages::fixedTexts());
    const std::string expected = "\r\nQUORVANE_KEY     309 " + kBreak + "\r\nBIKE" + std::string(11, ' ') + "   11 " + kBreak;
    EXPECT_EQ(file.substr(0, expected.size()), expected);
}

TEST(SettingsWriter, KeyLinesAndValues)
{
    Image image = zeroImage();
    image[4008] = 100;          // CORR_TW_INJ_T o-100: 0
    image[3971] = 12;           // ACCEL_THRESHOLD x10: 120
    image[4553] = 7;            // iADR_GEAR_KOR_TRACKRETARD
    image[4998] = 255;          // POWER_OUT_PWM_T: one decimal
    image[4999] = 7;
    image[3844] = 64;           // INPUT_INV: complemented in the file
    image[4472] = 0x05;         // output 1, first switch byte: bits 0..3
    image[4415] = 0;            // servo IN percent 0: table in units of 20
    image[4258] = 28;
    image[2684] = 0xFD;         // signed byte
    image[2669] = 100;          // RPM correction o-100: 0
    setImageWord(image, 1132, 0xFFFF);  // PROPRIETARY, signed words
    const std::string file = WriteSettingsText(image, testimages::fixedTexts());
    struct Case {
        const char* name;
        std::string key;
        std::string expected;
    };
    const Case cases[] = {
        {"13 characters pad to 15", "CORR_TW_INJ_T",
         "\r\nCORR_TW_INJ_T      0  -100  -100  -100  -100  -100  -100  -100  -100  -100 "},
        {"15 characters pad to 21", "ACCEL_THRESHOLD", "\r\nACCEL_THRESHOLD        120     0     0     0     0 "},
        {"25 characters pad to 27", "iADR_GEAR_KOR_TRACKRETARD",
         "\r\niADR_GEAR_KOR_TRACKRETARD      7     0     0     0     0     0 "},
        {"one decimal", "POWER_OUT_PWM_T",
         "\r\nPOWER_OUT_PWM_T       25.5   0.7   0.0   0.0   0.0   0.0   0.0   0.0   0.0   0.0 "},
        {"complemented input byte", "INPUT_INV", "\r\nINPUT_INV        191 "},
        {"signed byte and offset", "RPM", "\r\nRPM                0     0 "},
        {"signed words", "PROPRIETARY", "\r\nPROPRIETARY       -1     0     0     0     0 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keyBlock(file, c.key).substr(0, c.expected.size()), c.expected);
    }
    EXPECT_EQ(image[3844], 64) << "the image keeps its byte";
    EXPECT_NE(keyBlock(file, "SYNCHRO").find("   -3 "), std::string::npos);
    const std::string out1 = keyBlock(file, "POWER_OUT1");
    EXPECT_NE(out1.find(kBreak + "    1     0     1     0 " + kBreak + "    0     0     0     0 "), std::string::npos)
        << out1;
    const std::string servo = "\r\nSERVO_IN_VALUE" + std::string(7, ' ') + kBreak + "  560     0 ";
    EXPECT_EQ(keyBlock(file, "SERVO_IN_VALUE").substr(0, servo.size()), servo);
}

TEST(SettingsWriter, AxesAndGridsCarryTheirCountAndEndWithTwoBreaks)
{
    Image image = zeroImage();
    image[3822] = 15;
    for (int i = 0; i < 20; ++i)
        image[3097 + i] = static_cast<std::uint8_t>(10 + i);
    image[3089] = 0;  // an empty axis is written with one number, never with none
    const std::string file = WriteSettingsText(image, testimages::fixedTexts());
    // (10..24) x 100 are four digits: right-aligned in five columns.
    std::string axis = "\r\nRPM_JET_1A     ";
    for (int i = 0; i < 15; ++i) {
        const std::string v = std::to_string((10 + i) * 100);
        axis += std::string(5 - v.size(), ' ') + v + " ";
    }
    axis += kBreak + kBreak;
    EXPECT_EQ(keyBlock(file, "RPM_JET_1A"), axis);
    std::string row;
    for (int i = 0; i < 15; ++i)
        row += "    0 ";
    std::string grid = "\r\nJET_1A         " + row;
    for (int r = 1; r < 10; ++r)
        grid += kBreak + row;
    grid += kBreak + kBreak;
    EXPECT_EQ(keyBlock(file, "JET_1A"), grid);
    EXPECT_EQ(keyBlock(file, "RPM_ADV"), "\r\nRPM_ADV            0 " + kBreak + kBreak);
}

TEST(SettingsWriter, InjectionModeTwoCopiesTable1A)
{
    Image image = zeroImage();
    image[3817] = 2;
    image[3822] = 12;
    for (int i = 0; i < 20; ++i)
        image[3097 + i] = static_cast<std::uint8_t>(i + 1);
    for (int w = 0; w < 200; ++w)
        setImageWord(image, w, static_cast<std::uint16_t>(1000 + w));
    const std::string file = WriteSettingsText(image, testimages::fixedTexts());
    for (int t = 1; t <= 3; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(image[3822 + t], 12);
        EXPECT_TRUE(std::equal(image.begin() + 3097, image.begin() + 3117, image.begin() + 3097 + 20 * t));
        EXPECT_TRUE(std::equal(image.begin(), image.begin() + 400, image.begin() + 400 * t));
        const std::string table = keyBlock(file, "JET_" + std::to_string(t + 1) + "A");
        EXPECT_EQ(table.substr(15), keyBlock(file, "JET_1A").substr(15));
    }
}

TEST(SettingsWriter, ClosingSectionsAndNotes)
{
    Image image = zeroImage();
    storeNotesLines(image, {u"Plain \\ line", u"Te\u010Dka", u"", u"last"});
    const std::string file = WriteSettingsText(image, testimages::fixedTexts());
    const std::string expected = "\r\nVERSIONS       \r\nHEX    5. 1.2024\t14:07\tABC07"
                                 "\r\nHW/FW  010203A+ABC07   AB~C~D   (240615-301203-0071f)   1.2.2025   ABC07"
                                 "\r\nEXE    Nov 26 2024\t09:07:03" +
                                 kBreak + "\r\nPROPRIETARY        0     0     0     0     0 " +
                                 "\r\nMEMO           \r\nPlain \\\\ line\r\nTe\\x010Dka\r\nlast";
    ASSERT_GE(file.size(), expected.size());
    EXPECT_EQ(file.substr(file.size() - expected.size()), expected);

    Image empty = zeroImage();
    const std::string noNotes = WriteSettingsText(empty, testimages::fixedTexts());
    EXPECT_TRUE(noNotes.ends_with("\r\nMEMO           "));
}

TEST(SettingsWriter, CaptionsAreOneLineOfWindows1250)
{
    Image image = zeroImage();
    SettingsFileTexts texts = testimages::fixedTexts();
    texts.versionName = "Te\u010Dka\r\nMEMO \u4E2D";  // a line end in a caption must not start a line
    const std::string file = WriteSettingsText(image, texts);
    EXPECT_NE(file.find("\tTe\xE8ka  MEMO ?\r\nHW/FW"), std::string::npos);
}

TEST(SettingsWriter, NumbersIgnoreTheProcessLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "cs_CZ.UTF-8", "de_DE", "cs_CZ"})
        if (std::setlocale(LC_ALL, name) != nullptr) {
            comma = true;
            break;
        }
    Image image = zeroImage();
    image[4998] = 25;
    const std::string file = WriteSettingsText(image, testimages::fixedTexts());
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(keyBlock(file, "POWER_OUT_PWM_T").find("  2.5 "), std::string::npos);
    if (!comma)
        GTEST_SKIP() << "no comma locale installed; the point format was checked in the C locale only";
}

TEST(SettingsWriter, SaveReportsAFailedWriteAndKeepsTheOldFile)
{
    const auto dir = std::filesystem::temp_directory_path() / ("kelvora_writer_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Image image = zeroImage();
    const auto target = dir / "a.ign";
    ASSERT_TRUE(SaveSettingsFile(target, image, testimages::fixedTexts()).ok);
    EXPECT_EQ(std::filesystem::file_size(target), WriteSettingsText(image, testimages::fixedTexts()).size());
    const os::FileResult missing = SaveSettingsFile(dir / "no" / "such" / "b.ign", image, testimages::fixedTexts());
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("b.ign"), std::string::npos) << missing.error;
    std::filesystem::remove_all(dir);
}

}  // namespace
