// Small settings files, one per structure version the reader converts, checked field by field. Each expected
// value is worked out by hand from the file's numbers and the version's rules.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "settings/notes.h"
#include "settings/settingsreader.h"

namespace {

std::string fixture(const std::string& name)
{
    std::ifstream in(std::string(TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Check {
    int at;  // byte offset, or word index when word
    int value;
    bool word = false;
};
Check w(int index, int value) { return {index, value, true}; }

struct FixtureCase {
    const char* file;
    int version;
    bool olderMessage;
    int syncCalls;  // new synchronisation settings of the model, for files below 305
    std::vector<Check> checks;
};

std::vector<Check> fill(int first, int last, int value)
{
    std::vector<Check> c;
    for (int a = first; a <= last; ++a)
        c.push_back({a, value});
    return c;
}
std::vector<Check> operator+(std::vector<Check> a, const std::vector<Check>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<FixtureCase>& cases()
{
    static const std::vector<FixtureCase> kCases = {
        {"current_309.ign", 309, false, 0,
         std::vector<Check>{{2500, 22}, {4052, 1}, {4053, 0}, {4054, 1}, {4057, 0}, w(1068, 100), w(1071, 4500),
                            w(1072, 10), w(1075, 4600), {3838, 7}, {3844, 1},
                            // LIMITER: b4628 x100, its copy into b4629, then b4629 and the bike limits
                            {4628, 90}, {4629, 15}, {2660, 100}, {2661, 105}, {2662, 20}, {2663, 12},
                            {2668, 255}, {2669, 140},
                            // SYNCHRO
                            {2501, 0}, {2681, 2}, {2682, 1}, {2683, 4}, {2684, 0xFF}, {2685, 0}, {2680, 2},
                            {2687, 1}, {2688, 0}, {2692, 0}, w(1000, 360), {2690, 34}, {2691, 95}, {2686, 1},
                            // RPM_ADV: three values, the rest of the axis repeats the last, copied to ADV2
                            {2755, 10}, {2757, 30}, {2769, 30}, {3089, 3}, {2770, 10}, {2784, 30}, {3090, 3},
                            // JET_COMP_TP: two short rows, then an empty line: the other rows are untouched
                            {3417, 1}, {3419, 3}, {3436, 3}, {3437, 4}, {3456, 6}, {3457, 0},
                            {4042, 236}, {4043, 100},
                            {4998, 25}, {4999, 7}, {5007, 255},
                            {4444, 3}, {4448, 10}, {4449, 20}, {4450, 30}, {4460, 1}, {4464, 10}, {4465, 20},
                            {4472, 5}, {4473, 10}, {4474, 15},
                            {4569, 7}, {4570, 1},
                            // IDLE in mode 4: the sixth number goes to b4562, rounded up to even
                            {4559, 4}, {4560, 30}, {4561, 1}, {4562, 14}, {4563, 5}, w(1123, 800), w(1105, 1),
                            w(1113, 9), {4565, 11}, {4568, 14}, {4571, 1}, {4579, 9},
                            w(1126, 1), w(1131, 6), {4802, 10}, {4811, 19}, {4812, 1}, {4821, 10}, {4822, 56},
                            {4823, 0},
                            {4735, 2}, {4737, 1}, {4738, 2}, {4751, 2}, {4752, 5}, {4753, 6}, {4766, 6},
                            w(1132, 0xFFFF), w(1136, 5), {kRskeyModify, 1}}},
        {"unusual_order.ign", 309, false, 0,
         {{2667, 5}, {2677, 1}, {2678, 0}, {2679, 1}, {2500, 7}, w(1080, 802), w(1083, 805), {2676, 3},
          {2670, 60}, {2671, 0}}},
        {"v308.ign", 308, true, 0,
         std::vector<Check>{{2500, 22},
                            // TUNING of 308: the input byte first, then the long layout
                            {4580, 0}, {4613, 20}, {4614, 2}, {4612, 2}, {4615, 20}, {4616, 60}, {4617, 1},
                            {4618, 10}, {4619, 100}, {4620, 200}, {4621, 0}, {4622, 8}, {4623, 140}, {4624, 205},
                            // ACC_LIMITER: its three numbers fill the tables (low bytes); b4632 in hundreds
                            {4631, 0}, {4634, 100}, {4635, 0}, {4632, 10},
                            // TPS: the middle point derived from the ends
                            {4059, 0}, {4058, 50}, w(1084, 500), w(1086, 4420), w(1085, 2460),
                            {4067, 4}, w(1076, 0xFFFB), w(1077, 7), w(1078, 0), w(1079, 0),
                            {4061, 1}, {4066, 6}, w(1062, 10), w(1067, 60),
                            // POWER_OUT_SEC_COOL of an older file: two numbers, POWER_OUT_SPEED keeps its own
                            {4929, 90}, {4930, 100}, {4931, 0}, w(1139, 77),
                            // INPUTS and INPUT-BLOCK_INVERT
                            {3844, 0x44}, {3842, 11}, {3841, 10}, {3838, 3}, {3839, 1}, {3840, 5},
                            // LIMITER2 averages the two start-limiter bytes
                            {4628, 70}, {4629, 70}, {2665, 12}, {2666, 80}, w(1137, 1000), w(1104, 1234),
                            {4800, 7}, {4801, 8}, {4872, 1}, {4875, 4},
                            {4950, 5}, {4951, 6}, {4952, 7}, w(1150, 1000), w(1151, 2000), {4968, 9}, {4969, 2},
                            {4970, 15},
                            // POWER_OUT6 reads nothing; its numbers are words of the key loop
                            {2667, 3}} +
             fill(4641, 4665, 40) + fill(4671, 4695, 10) + fill(4701, 4725, 10)},
        {"v306.ign", 306, true, 0, {{4067, 4}, w(1076, 100), w(1077, 0), w(1078, 250), {4066, 60}, w(1067, 600)}},
        {"v305.ign", 305, true, 0,
         {{4628, 60}, {4629, 60}, {2660, 90}, {2661, 91}, {2662, 92}, {2663, 5},
          // SENSOR_LAMBDA below 306: the last point follows the one before
          {4065, 50}, {4066, 51}, w(1066, 500), w(1067, 500),
          // POTENTIOMETER below 306: one range, negated; the 77 is no field
          {4067, 1}, w(1076, 300), w(1077, 0), {3971, 1}, {3976, 0}}},
        {"v304.ign", 304, true, 1,
         {{2501, 0}, {2681, 1}, {2682, 2}, {2683, 3}, {2684, 0xFE}, {2685, 4}, {2680, 5},
          // the old synchronisation mode 3
          {2708, 1}, {2709, 0}, {2710, 0}, {2711, 1}, {2731, 0},
          {2687, 6}, {2688, 7}, {2692, 8}, {2700, 11}, {2703, 14}, w(1000, 1500), {2690, 8}, {2691, 50},
          {2686, 2},
          {3971, 1}, {3975, 5}, {3976, 10}, {3977, 20}, {3978, 50}, {3979, 100},
          {2664, 33},
          {4628, 80}, {4629, 80}, {2660, 90}, {2661, 91}, {2662, 92}, {2663, 5}}},
        {"v302.ign", 302, true, 1,
         {{3907, 100}, {3908, 101}, {3909, 102}, {3910, 100}, {3911, 98}, {3912, 97}, {3913, 96}, {3914, 95},
          {3915, 94}, {3916, 93}, {3957, 50}, {3960, 80}, {3961, 86}, {3962, 90}, {3963, 93},
          {3947, 77}, {3956, 77}, {3980, 1},
          {3917, 100}, {3920, 100}, {3921, 98}, {3926, 93},
          // SERVO_IN from 301 on carries the controller bytes
          {4411, 1}, {4413, 3}, {4420, 4}, {4424, 5}, {4422, 6}, {4426, 7}, {4427, 8}, {4417, 9}, {4418, 10},
          {4428, 12},
          {3840, 5}, {4580, 1}, {4613, 20}, {4614, 2}, {4612, 3}, {4618, 10}, {4619, 100}, {4624, 205}}},
        {"v300.ign", 300, true, 1,
         std::vector<Check>{{4411, 1}, {4413, 3}, {4417, 9}, {4418, 10}, {4428, 12}, {4420, 0},
                            {3840, 5}, {4580, 1}, {4613, 20}, {4614, 2}, {4587, 33}, {4582, 10}, {4583, 20},
                            {4584, 40}, {4585, 80}, {4586, 160}, {4612, 3}, {4615, 20}, {4616, 60}, {4617, 1},
                            {4618, 10}, {4619, 0}, {2667, 4}} +
             fill(4588, 4611, 33)},
        {"letter_R.ign", 82, true, 1,
         std::vector<Check>{{4411, 1}, {4413, 3}, {4417, 9}, {4428, 12}, {4420, 0}, {4587, 33}, {4586, 160},
                            {4618, 10}, {4619, 0}, {2667, 4}} +
             fill(4588, 4611, 33)},
        {"letter_S.ign", 83, true, 1,
         {{4420, 4}, {4427, 8}, {4417, 9}, {4428, 12}, {4618, 10}, {4619, 100}, {4624, 205}, {4587, 0}}},
        {"letter_E.ign", 69, true, 1,
         {{4497, 1}, {4511, 3}, {4512, 4}, {4498, 1}, {4503, 6}, {4895, 3}, {4905, 4},
          {4559, 0}, w(1053, 1), w(1061, 9),
          {4628, 80}, {4629, 0}, {2660, 90}, {2663, 5}, {4580, 0}, {2667, 4}}},
        {"letter_A.ign", 65, true, 1, {w(1044, 0), w(1053, 0), {2667, 4}}},
    };
    return kCases;
}

TEST(SettingsFixtures, EachVersionFieldByField)
{
    for (const FixtureCase& c : cases()) {
        SCOPED_TRACE(c.file);
        const std::string text = fixture(c.file);
        ASSERT_FALSE(text.empty());
        Image image{};
        image[RS_BIKE_BYTE] = 11;
        int older = 0, syncCalls = 0, lambdaMode = -1;
        ReaderHooks hooks;
        hooks.showMessage = [&](ReaderMessage m, int) { older += m == ReaderMessage::OlderVersion; };
        hooks.newSynchronisationSettings = [&](Image&) { ++syncCalls; };
        hooks.setLambdaSensorDefaults = [&](Image& im, int mode) {
            lambdaMode = mode;
            std::fill_n(im.begin() + 4061, 6, 99);
        };
        const ParseResult r = ParseSettingsText(image, text, PageImportFlags::all(), hooks);
        EXPECT_EQ(r.version, c.version);
        EXPECT_EQ(older, c.olderMessage ? 1 : 0);
        EXPECT_EQ(syncCalls, c.syncCalls);
        for (const Check& k : c.checks) {
            SCOPED_TRACE((k.word ? "word " : "byte ") + std::to_string(k.at));
            EXPECT_EQ(k.word ? imageWord(image, k.at) : image[k.at], k.value);
        }
        if (std::string(c.file) == "v308.ign") {
            EXPECT_EQ(lambdaMode, 1);
        }
        if (std::string(c.file) == "current_309.ign") {
            EXPECT_EQ(notesLinesOfImage(image), (std::vector<NotesLine>{u"First line", u"Te\u010Dka \\ end"}));
        }
        if (std::string(c.file) == "unusual_order.ign") {
            EXPECT_EQ(notesLinesOfImage(image), (std::vector<NotesLine>{u"COOLING 9", u"CAN 4 4 4", u"BIKE 3"}));
        }
    }
}

TEST(SettingsFixtures, OlderFilesReadForOnePageKeepOtherPages)
{
    // The (always) steps of older keys touch other pages only when those pages are read.
    struct Case {
        const char* file;
        PageFlag page;
        std::vector<Check> unchanged;
    };
    const Case cases[] = {
        {"v304.ign", PageFlag::Synchronisation, {{3976, 0xAA}, {4628, 0xAA}, {4629, 0xAA}}},
        {"v308.ign", PageFlag::Inputs, {{4629, 0xAA}, w(1137, 0xAAAA), {4066, 0xAA}}},
        {"v308.ign", PageFlag::LambdaTuning, {{3840, 0xAA}, {3844, 0xAA}}},
        {"letter_E.ign", PageFlag::Bike, {{4895, 0xAA}, {4629, 0xAA}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Image image;
        image.fill(0xAA);
        image[RS_BIKE_BYTE] = 11;
        ASSERT_TRUE(ParseSettingsText(image, fixture(c.file), PageImportFlags::only(c.page)).accepted());
        for (const Check& k : c.unchanged) {
            SCOPED_TRACE(std::to_string(k.at));
            EXPECT_EQ(k.word ? imageWord(image, k.at) : image[k.at], k.value);
        }
    }
}

}  // namespace
