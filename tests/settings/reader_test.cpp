// The reader: versions and their messages, the model, page import, and the places where a file could make it
// store numbers where they do not belong.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <unistd.h>

#include "settings/keytable.h"
#include "settings/notes.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"
#include "testimages.h"

namespace {

const std::string kHeader = "\r\nQUORVANE_KEY     309 \r\n               ";

Image baseImage()
{
    Image image{};
    image[RS_BIKE_BYTE] = 11;
    image[2667] = 1;  // COOLING
    return image;
}

struct Messages {
    std::vector<std::pair<ReaderMessage, int>> seen;
    ReaderHooks hooks()
    {
        ReaderHooks h;
        h.showMessage = [this](ReaderMessage m, int n) { seen.emplace_back(m, n); };
        return h;
    }
};

TEST(SettingsReader, VersionCheck)
{
    struct Case {
        const char* name;
        std::string text;
        int version;
        int messages33;
        int messages34;
    };
    const Case cases[] = {
        {"current", "\r\nQUORVANE_KEY     309 \r\nCOOLING 7 \r\n", 309, 0, 0},
        {"rounds down", "\r\nQUORVANE_KEY  309.4 \r\nCOOLING 7 \r\n", 309, 0, 0},
        {"rounds up to 310", "\r\nQUORVANE_KEY  309.5 \r\nCOOLING 7 \r\n", 0, 0, 1},
        {"older", "\r\nQUORVANE_KEY 308 \r\nCOOLING 7 \r\n", 308, 1, 0},
        {"oldest numeric", "\r\nQUORVANE_KEY 300 \r\nCOOLING 7 \r\n", 300, 1, 0},
        {"below 300", "\r\nQUORVANE_KEY 299 \r\nCOOLING 7 \r\n", 0, 0, 1},
        {"newer", "\r\nQUORVANE_KEY 310 \r\nCOOLING 7 \r\n", 0, 0, 1},
        {"letter R", "\r\nQUORVANE_KEY 82 \r\nCOOLING 7 \r\n", 82, 1, 0},
        {"letter C is no version", "\r\nQUORVANE_KEY 67 \r\nCOOLING 7 \r\n", 0, 0, 1},
        {"no number", "\r\nQUORVANE_KEY \r\n", 0, 0, 1},
        {"no key: not a settings file", "\r\nCOOLING 7 \r\nBIKE 3 \r\n", 0, 0, 0},
        {"key cut by the end", "\r\nQUORVANE_KEY", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = baseImage();
        const Image before = image;
        Messages m;
        int syncCalls = 0;
        ReaderHooks hooks = m.hooks();
        hooks.newSynchronisationSettings = [&](Image&) { ++syncCalls; };
        const ParseResult r = ParseSettingsText(image, c.text, PageImportFlags::all(), hooks);
        EXPECT_EQ(r.version, c.version);
        EXPECT_EQ(std::count_if(m.seen.begin(), m.seen.end(),
                                [](auto& p) { return p.first == ReaderMessage::OlderVersion; }),
                  c.messages33);
        EXPECT_EQ(std::count_if(m.seen.begin(), m.seen.end(),
                                [](auto& p) { return p.first == ReaderMessage::UnmatchedVersion; }),
                  c.messages34);
        if (c.version == 0) {
            EXPECT_EQ(image, before) << "a text that is not read changes nothing";
            EXPECT_EQ(syncCalls, 0) << "nor loads the model's synchronisation";
        } else {
            EXPECT_EQ(image[2667], 7);
            EXPECT_EQ(image[kRskeyModify], 1);
        }
    }
}

TEST(SettingsReader, ModelNumber)
{
    struct Case {
        const char* name;
        std::string body;
        bool modelRead;
        int model;
        int cooling;  // COOLING follows BIKE: read only when the parse goes on
        int unsupported;
    };
    const Case cases[] = {
        {"model 11", "\r\nBIKE 0 \r\nCOOLING 7 \r\n", true, 0, 7, 0},
        {"last model", "\r\nBIKE 68 \r\nCOOLING 7 \r\n", true, 68, 7, 0},
        {"past the end", "\r\nBIKE 69 \r\nCOOLING 7 \r\n", false, 11, 1, 69},
        {"negative", "\r\nBIKE -1 \r\nCOOLING 7 \r\n", false, 11, 1, -1},
        {"wraps to 0 as a byte", "\r\nBIKE 256 \r\nCOOLING 7 \r\n", false, 11, 1, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = baseImage();
        const Image before = image;
        Messages m;
        const ParseResult r = ParseSettingsText(image, kHeader + c.body, PageImportFlags::all(), m.hooks());
        EXPECT_EQ(r.modelRead, c.modelRead);
        EXPECT_EQ(r.accepted(), c.modelRead) << "a file of an unknown model is not taken as opened";
        if (!c.modelRead) {
            EXPECT_EQ(image, before);
        }
        EXPECT_EQ(image[RS_BIKE_BYTE], c.model);
        EXPECT_EQ(image[2667], c.cooling);
        if (c.unsupported != 0) {
            ASSERT_EQ(m.seen.size(), 1u);
            EXPECT_EQ(m.seen[0].first, ReaderMessage::UnsupportedModel);
            EXPECT_EQ(m.seen[0].second, c.unsupported);
        }
    }
    // For one page the model is not read at all.
    Image image = baseImage();
    const ParseResult r =
        ParseSettingsText(image, kHeader + "\r\nBIKE 3 \r\nCOOLING 7 \r\n", PageImportFlags::only(PageFlag::Bike));
    EXPECT_FALSE(r.modelRead);
    EXPECT_EQ(image[RS_BIKE_BYTE], 11);
    EXPECT_EQ(image[2667], 7);
}

TEST(SettingsReader, OldFileSynchronisationStepSeesOnlyItsOwnParse)
{
    // The hook stands for new settings for the model, which parse a model file of their own.
    Image image = baseImage();
    ReaderHooks hooks;
    int calls = 0;
    hooks.newSynchronisationSettings = [&](Image& im) {
        ++calls;
        const ParseResult nested = ParseSettingsText(im, "\r\nQUORVANE_KEY 309 \r\nSYNCHRO 0 3 \r\n");
        EXPECT_EQ(nested.version, 309);
    };
    const ParseResult r = ParseSettingsText(image, "\r\nQUORVANE_KEY 304 \r\nCOOLING 7 \r\n", PageImportFlags::all(), hooks);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(r.version, 304) << "the version reported is the version of this file";
    EXPECT_EQ(image[2681], 3);
    image[2501] = 1;  // a special synchronisation of its own is kept
    calls = 0;
    (void)ParseSettingsText(image, "\r\nQUORVANE_KEY 304 \r\n", PageImportFlags::all(), hooks);
    EXPECT_EQ(calls, 0);
}

// Image bytes that a key of this page may change: its fields, and what its actions derive on the same page.
std::set<int> bytesOfPage(PageFlag flag)
{
    std::set<int> bytes{kRskeyModify};
    auto add = [&](int address, bool word) {
        if (word) {
            bytes.insert(2 * address);
            bytes.insert(2 * address + 1);
        } else {
            bytes.insert(address);
        }
    };
    for (const KeyRow& row : keyRows()) {
        for (const KeyItem& item : row.itemList()) {
            const bool mine = item.page >= 0 ? item.page == static_cast<int>(flag) : (row.pages & pageBit(flag)) != 0;
            if (!mine)
                continue;
            const int n = item.kind == ItemKind::Field || item.kind == ItemKind::Bits ? 1 : item.count;
            if (item.kind == ItemKind::Fixed || item.kind == ItemKind::Break || item.kind == ItemKind::Action)
                continue;
            for (int i = 0; i < n; ++i)
                add(item.address + i, item.isWord());
            if (item.countByte != 0)
                bytes.insert(item.countByte);
        }
    }
    if (flag == PageFlag::Bike)
        for (int a = kNotesFirst; a <= kNotesLimit; ++a)
            bytes.insert(a);
    if (flag == PageFlag::ClutchQuickShift)
        bytes.insert(4524);  // the old deceleration byte, derived from its word
    if (flag == PageFlag::LaunchTraction)
        bytes.insert(4629);  // the start limiter's retard follows its ignition limit
    return bytes;
}

TEST(SettingsReader, OnePageChangesOnlyThatPage)
{
    std::mt19937 rng(17);
    Image source = testimages::randomRepairedImage(rng);
    const std::string file = WriteSettingsText(source, testimages::fixedTexts());
    const Image target = testimages::randomRepairedImage(rng);
    for (int f = 0; f < kPageFlagCount; ++f) {
        const PageFlag flag = static_cast<PageFlag>(f);
        SCOPED_TRACE("page flag " + std::to_string(f));
        Image image = target;
        ASSERT_TRUE(ParseSettingsText(image, file, PageImportFlags::only(flag)).accepted());
        const std::set<int> allowed = bytesOfPage(flag);
        for (int i = 0; i < RS_LEN_EXE; ++i) {
            if (image[i] != target[i]) {
                EXPECT_TRUE(allowed.count(i)) << "byte " << i << " changed";
            }
        }
    }
}

TEST(SettingsReader, RowsNeverTakeTheNextKeysNumbers)
{
    struct Case {
        const char* name;
        std::string body;
        std::vector<std::pair<int, int>> bytes;  // (byte, value) afterwards
    };
    const Case cases[] = {
        // An axis written with a count of 0 by another program: no number on its line.
        {"empty axis", "\r\nRPM_ADV        \r\n               \r\n               \r\nADVANCE         5     6 \r\n",
         {{3089, 0}, {2755, 99}, {2785, 5}, {2786, 6}}},
        {"short grid row then a key",
         "\r\nJET_B            1     2 \r\n                 3 \r\nJET_B_MODE       7 \r\n",
         {{3217, 1}, {3218, 2}, {3236, 2}, {3237, 3}, {3256, 3}, {3257, 99}, {3832, 7}}},
        {"grid row of 15 fills to 20",
         "\r\nJET_B      1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 \r\n      1 \r\n",
         {{3231, 15}, {3236, 15}, {3237, 1}}},
        {"empty after-start rows", "\r\nAFTERSTART_RETARD    \r\n   \r\n   \r\nTRACK_ENABLE  4 \r\n",
         {{4735, 0}, {4737, 99}, {4797, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = baseImage();
        std::fill(image.begin() + 2755, image.begin() + 4900, 99);
        ASSERT_TRUE(ParseSettingsText(image, kHeader + c.body).accepted());
        for (auto [at, value] : c.bytes)
            EXPECT_EQ(image[at], value) << "byte " << at;
    }
}

TEST(SettingsReader, WordsInVersionsAndNotesAreNeverKeys)
{
    const std::string body = "\r\nVERSIONS       \r\nHEX   CAN 9 9 9\tLIMITER 77\r\nHW/FW  BIKE 5 COOLING 9"
                             "\r\nEXE    Nov 26 2024\t09:07:03\r\n               "
                             "\r\nPROPRIETARY        1     2     3     4     5 "
                             "\r\nMEMO           \r\nCOOLING 8\r\nCAN 4 4 4";
    for (const PageImportFlags pages : {PageImportFlags::all(), PageImportFlags::only(PageFlag::Sensors)}) {
        SCOPED_TRACE(pages.isWholeFile() ? "whole file" : "sensors page");
        Image image = baseImage();
        ASSERT_TRUE(ParseSettingsText(image, kHeader + body, pages).accepted());
        EXPECT_EQ(image[2677], 0);
        EXPECT_EQ(image[2667], 1);
        EXPECT_EQ(image[RS_BIKE_BYTE], 11);
        EXPECT_EQ(image[2660], 0);
        if (pages.isWholeFile()) {
            EXPECT_EQ(imageWord(image, 1136), 5);
            EXPECT_EQ(notesLinesOfImage(image), (std::vector<NotesLine>{u"COOLING 8", u"CAN 4 4 4"}));
        }
    }
}

TEST(SettingsReader, FieldValues)
{
    struct Case {
        const char* name;
        std::string body;
        int at;        // byte, or word index when word is set
        bool word;
        int expected;
    };
    const Case cases[] = {
        {"byte 256 becomes 0", "\r\nCOOLING 256 \r\n", 2667, false, 0},
        {"byte -1 becomes 0", "\r\nCOOLING -1 \r\n", 2667, false, 0},
        {"signed byte 128 becomes 0", "\r\nRACE_QS_EXPLEVEL 1280 \r\n", 5028, false, 0},
        {"signed byte -128", "\r\nRACE_QS_EXPLEVEL -1280 \r\n", 5028, false, 0x80},
        {"word keeps the low 16 bits", "\r\nGEAR_ODO_CONST 70000 \r\n", 1138, true, 70000 - 65536},
        {"scale truncates after rounding", "\r\nCOOLING 7 \r\nSTART_LIMITER_INJ 3050 \r\n", 4894, false, 30},
        {"half rounds away from zero", "\r\nPOWER_OUT_PWM_T 2.45 \r\n", 4998, false, 25},
        {"offset", "\r\nRPM 1 -60 \r\n", 2669, false, 40},
        {"scale -1", "\r\nSYNCHRO_SPECIAL \r\n 1 2 3 4 \r\n 5 -6 \r\n", 2745, false, 6},
        {"odd step period rounds up", "\r\nSERVO_IN 0 0 0 0 0 0 0 0 0 0 7 0 \r\n", 4428, false, 8},
        {"255 stays a byte", "\r\nSERVO_IN 0 0 0 0 0 0 0 0 0 0 255 0 \r\n", 4428, false, 254},
        {"tuning temperature above range", "\r\nTUNING 0 0 0 0 0 0 0 0 0 0 0 0 200 5 \r\n", 4623, false, 56},
        {"potentiometer with fewer ranges", "\r\nPOTENTIOMETER 0 5 \r\nCOOLING 3 \r\n", 1076, true, 5},
        {"potentiometer clears the rest", "\r\nPOTENTIOMETER 0 5 \r\nCOOLING 3 \r\n", 1077, true, 0},
        {"input inversion is complemented", "\r\nINPUT_INV 191 \r\n", 3844, false, 64},
        {"a number run takes its first value", "\r\nCOOLING 1.2.3 \r\n", 2667, false, 1},
        {"a lone minus is no number", "\r\nCOOLING - \r\nDISPLAY_TYP 4 \r\n", 2667, false, 1},
        {"a key at the very end is not read", "\r\nCOOLING 3 \r\nDISPLAY_TYP", 2676, false, 0},
        {"100000 digits", "\r\nCOOLING " + std::string(100000, '9') + " \r\n", 2667, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = baseImage();
        for (int w = 1076; w <= 1079; ++w)
            setImageWord(image, w, 9);
        ASSERT_TRUE(ParseSettingsText(image, kHeader + c.body).accepted());
        EXPECT_EQ(c.word ? imageWord(image, c.at) : image[c.at], c.expected);
    }
}

TEST(SettingsReader, Notes)
{
    struct Case {
        const char* name;
        std::string lines;
        std::vector<std::uint8_t> area;  // from byte 2509
    };
    const Case cases[] = {
        {"8-bit line", "ab\r\n\r\ncd", {'a', 'b', 0, 'c', 'd', 0, 0}},
        {"Windows-1250 letter stays 8-bit", "\\x010D", {0xE8, 0}},
        {"letter without a byte becomes UTF-16", "\\x00F1", {1, 0xF1, 0, 0, 0, 0}},
        {"escaped backslash", "\\\\", {'\\', 0}},
        {"line starting with byte 1 stays UTF-16", "\x01" "a", {1, 1, 0, 'a', 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = baseImage();
        std::fill(image.begin() + kNotesFirst, image.begin() + kNotesLimit + 1, 0x77);
        ASSERT_TRUE(ParseSettingsText(image, kHeader + "\r\nMEMO           \r\n" + c.lines).accepted());
        const std::vector<std::uint8_t> got(image.begin() + kNotesFirst,
                                            image.begin() + kNotesFirst + static_cast<int>(c.area.size()));
        EXPECT_EQ(got, c.area);
        EXPECT_TRUE(std::all_of(image.begin() + kNotesFirst + static_cast<int>(c.area.size()),
                                image.begin() + kNotesLimit + 1, [](std::uint8_t b) { return b == 0; }));
    }
    // 200 letters: the first 149 fill 2509..2657, then the zero at 2658; later lines are dropped.
    Image image = baseImage();
    ASSERT_TRUE(ParseSettingsText(image, kHeader + "\r\nMEMO\r\n" + std::string(200, 'x') + "\r\nmore").accepted());
    EXPECT_EQ(image[2657], 'x');
    EXPECT_EQ(image[2658], 0);
    EXPECT_EQ(image[2659], 0);
    EXPECT_EQ(notesLinesOfImage(image), std::vector<NotesLine>{NotesLine(149, u'x')});
}

class SettingsFileLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("kelvora_reader_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::filesystem::path write(const std::string& name, const std::string& bytes)
    {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path m_dir;
};

TEST_F(SettingsFileLoad, FilesThatAreNotReadAreNeverAccepted)
{
    const std::string big = kHeader + "\r\nCOOLING 7 \r\n" + std::string(20u << 20, ' ');
    struct Case {
        const char* name;
        std::filesystem::path path;
    };
    const Case cases[] = {
        {"missing", m_dir / "missing.ign"},
        {"a folder", m_dir},
        {"20 MB", write("big.ign", big)},
        {"not a settings file", write("text.ign", "COOLING 7\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = baseImage();
        const Image before = image;
        const LoadResult r = LoadSettingsFile(image, c.path);
        EXPECT_FALSE(r.accepted());
        EXPECT_EQ(r.parse.version, 0);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(image, before);
    }
    Image image = baseImage();
    const LoadResult good = LoadSettingsFile(image, write("good.ign", kHeader + "\r\nCOOLING 7 \r\n"));
    EXPECT_TRUE(good.accepted());
    EXPECT_TRUE(good.error.empty());
    EXPECT_EQ(image[2667], 7);
}

// Hostile input: no crash, no write outside the image (AddressSanitizer checks), and fast enough.
TEST(SettingsReader, BadInputNeverCrashes)
{
    std::mt19937 rng(5100);
    Image source = testimages::randomRepairedImage(rng);
    const std::string file = WriteSettingsText(source, testimages::fixedTexts());
    std::vector<std::string> inputs;
    for (std::size_t cut = 0; cut < file.size(); cut += 97)
        inputs.push_back(file.substr(0, cut));  // truncated
    std::string binary(64 * 1024, '\0');
    for (char& c : binary)
        c = static_cast<char>(rng());
    inputs.push_back(binary);
    inputs.push_back(kHeader + binary);
    std::string noNul = kHeader + binary;
    std::replace(noNul.begin(), noNul.end(), '\0', ' ');
    inputs.push_back(noNul);
    inputs.push_back(kHeader + "\r\nJET_1A " + std::string(100000, '7') + "\r\n");
    inputs.push_back(kHeader + "\r\nMEMO\r\n" + std::string(100000, 'm'));
    inputs.push_back(kHeader + "\r\n" + std::string(100000, 'K') + " 5\r\n");
    inputs.push_back(kHeader + "\r\nSYNCHRO 99999999999999999999999 -99999999999999999999 1e400 \r\n");
    std::string many = kHeader;
    while (many.size() < (20u << 20))
        many += "\r\nJET_1A -1 2 3 \r\nPOWER_OUT_PWM_T 9999.95 \r\nBIKE 3 \r\nVERSIONS \r\nxx";
    inputs.push_back(many);
    for (const std::string& text : inputs) {
        Image image = source;
        (void)ParseSettingsText(image, text);
        Image one = source;
        (void)ParseSettingsText(one, text, PageImportFlags::only(PageFlag::PowerOutputs));
    }
}

}  // namespace
