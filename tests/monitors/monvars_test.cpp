// The monitor-variable table checked as a table, and the values it takes from byte-exact live frames.
#include "monitors/monvars.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "os/lngtext.h"

namespace {

// A live answer as the unit sends it: words (answer bytes 1..172) big-endian, the rest bytes; block byte k is
// answer byte k - 1 and block word w is answer bytes 2w - 1 (high) and 2w (low).
class LiveFrame
{
public:
    LiveFrame& word(int w, std::uint16_t v)
    {
        m_answer[static_cast<std::size_t>(2 * w - 1)] = static_cast<std::uint8_t>(v >> 8);
        m_answer[static_cast<std::size_t>(2 * w)] = static_cast<std::uint8_t>(v & 0xFF);
        return *this;
    }
    LiveFrame& byte(int k, std::uint8_t v)
    {
        m_answer[static_cast<std::size_t>(k - 1)] = v;
        return *this;
    }
    [[nodiscard]] LiveBlock block() const
    {
        LiveBlock b;
        b.StoreAnswer(m_answer);
        return b;
    }

private:
    std::array<std::uint8_t, kLiveFrameLength> m_answer{};
};

class MonVars : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetMonitorVariables();
        SetLanguageIndex(LNG_ENGLISH);
    }
    void TearDown() override { ResetMonitorVariables(); }
    bool update(const LiveFrame& frame) { return UpdateMonitorVariables(image, frame.block(), derived); }
    Image image{};
    DerivedLiveValues derived{};
};

}  // namespace

TEST_F(MonVars, TableRowsAreSound)
{
    const auto& rows = MonitorVariables();
    std::map<int, int> firstRowOf;
    std::set<std::string> reported;
    SetLngTextErrorHook([&](std::string_view m) { reported.emplace(m); });
    for (int i = 0; i < kMonVarCount; ++i) {
        const CLngStr& r = rows[static_cast<std::size_t>(i)];
        SCOPED_TRACE(std::to_string(i) + " " + r.name);
        EXPECT_EQ(r.flags, kMonFlagAvailable);
        EXPECT_EQ(r.value, 0);
        EXPECT_FALSE(GetLngText(r.name).empty());
        EXPECT_EQ(r.id == 0, i == 0);
        // Only launch control's three identifiers come twice, and every look-up finds the first of them.
        if (!firstRowOf.emplace(r.id, i).second) {
            EXPECT_TRUE(r.id == 7000 || r.id == 7010 || r.id == 7020);
        }
        if (r.parent != 0) {
            ASSERT_TRUE(firstRowOf.contains(r.parent)) << "parent after child";
            EXPECT_EQ(rows[static_cast<std::size_t>(firstRowOf[r.parent])].position, 0) << "parent has a value";
        }
        if (r.position == 0) continue;
        switch (r.source) {
            case MonSource::Byte:
                EXPECT_LE(r.position, kLiveBlockLength - 1);
                break;
            case MonSource::Word:
                EXPECT_LE(r.position, kLiveWordCount);
                break;
            case MonSource::Derived:
                EXPECT_LT(r.position, kDerivedLiveCount);
                break;
        }
        EXPECT_GT(r.scale, 0);
        EXPECT_LT(r.min, r.max);
        EXPECT_GE(r.width, 1);
        EXPECT_GE(r.decimals, 0);
        EXPECT_LE(r.decimals, 2);
    }
    SetLngTextErrorHook(nullptr);
    EXPECT_TRUE(reported.empty()) << *reported.begin();
}

TEST_F(MonVars, LookUps)
{
    const auto& rows = MonitorVariables();
    EXPECT_EQ(GetDef(0), &rows[0]);
    EXPECT_EQ(GetDef(4711), &rows[0]);
    EXPECT_STREQ(GetDef(4711)->name, "?ID not found?");
    EXPECT_EQ(GetDef(7010), &rows[49]);
    EXPECT_EQ(GetDef(7010)->max, 50000);
    EXPECT_EQ(GetDef(1110), &rows[10]);
    EXPECT_EQ(GetDefByName("Launch accel."), &rows[49]);
    EXPECT_EQ(GetDefByName("Intake servo"), &rows[25]);
    EXPECT_EQ(GetDefByName("Ansaugservo"), &rows[0]);

    struct PathCase
    {
        int id;
        bool units;
        int language;
        const char* path;
    };
    const PathCase paths[] = {
        {1110, true, LNG_ENGLISH, "/Extended/TW [°C]"},
        {1110, false, LNG_ENGLISH, "/Extended/TW"},
        {1000, true, LNG_ENGLISH, "/Basic"},
        {1010, true, LNG_ENGLISH, "/Basic/RPM"},
        {59010, true, LNG_ENGLISH, "/Proprietary values/VAL1 "},
        {6170, true, LNG_CZECH, "/Korekce/korekce vstřiku/Start Jet [ms]"},
        {9011, true, LNG_GERMAN, "/Einspritzung/Einspritzzeit A/1A"},
        {4711, true, LNG_ENGLISH, "/?ID not found?"},
    };
    for (const PathCase& c : paths) {
        SCOPED_TRACE(c.path);
        SetLanguageIndex(c.language);
        std::string text = "Label:";
        GetDefPath(text, c.id, c.units);
        EXPECT_EQ(text, std::string("Label:") + c.path);
    }
}

TEST_F(MonVars, ValuesFromALiveFrame)
{
    image[2660] = 95;
    image[2661] = 110;
    setImageWord(image, 1021, 20);
    setImageWord(image, 1030, 110);
    derived[20] = 31;
    derived[10] = 4250;
    const LiveFrame frame = LiveFrame()
                                .word(2, 850)
                                .word(47, 423)
                                .byte(203, 147)
                                .byte(195, 200)
                                .byte(196, 0)
                                .word(69, 987)
                                .word(10, 13800)
                                .word(32, 950)
                                .word(33, 85)
                                .word(63, 0xFFF6)
                                .word(66, 0xFF38)
                                .byte(197, 3)
                                .byte(176, 0x08);
    EXPECT_TRUE(update(frame));
    struct Expect
    {
        int id;
        double value;
        int flags;
    };
    const Expect expected[] = {
        {1010, 850, 0x41},    // one limiter bit set
        {1020, 42.3, 0x01},   //
        {1030, 14.7, 0x01},   //
        {1110, 100, 0x11},    // TW at 100 °C warns
        {1120, -100, 0x81},   // TA's sensor missing (raw 0)
        {1140, 98.7, 0x01},   //
        {1150, 13.8, 0x01},   //
        {1170, 3, 0x01},      //
        {1210, 31, 0x01},     // derived
        {1230, 4.25, 0x01},   //
        {6140, -50, 0x01},    // U correction less 1000
        {6210, -91.5, 0x01},  // advance corrections less 100
        {7010, -100, 0x01},   // signed word times 10 [rpm/s]
        {7030, -2, 0x01},     // signed slip
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.id);
        EXPECT_NEAR(GetDef(e.id)->value, e.value, 1e-9);
        EXPECT_EQ(GetDef(e.id)->flags, e.flags);
    }
    EXPECT_EQ(GetDef(1010)->max, 11000);
    EXPECT_EQ(GetDef(1140)->min, 20);
    EXPECT_EQ(GetDef(1140)->max, 110);
    EXPECT_STREQ(GetDef(7010)->units, "[rpm/s]");
    EXPECT_FALSE(update(frame)) << "an unchanged frame changes nothing";
}

TEST_F(MonVars, RangesFollowTheSettingsAndTheFrame)
{
    struct Case
    {
        const char* name;
        std::function<void(Image&, LiveFrame&)> set;
        int id;
        const char* units;
        double max, value;
        int decimals;
    };
    const Case cases[] = {
        {"rpm_limit_unset", [](Image&, LiveFrame&) {}, 1010, nullptr, 10000, 0, 0},
        {"rpm_limit_largest_of_three",
         [](Image& i, LiveFrame&) {
             i[2662] = 120;
             i[2660] = 40;
         },
         1010, nullptr, 12000, 0, 0},
        {"lambda_afr", [](Image&, LiveFrame& f) { f.byte(204, 147); }, 1031, "[AFR]", 18, 14.7, 1},
        {"lambda_as_lambda",
         [](Image& i, LiveFrame& f) {
             i[5029] = 1;
             f.byte(204, 147);
         },
         1031, "[1]", 180.0 / 147, 1.0, 2},
        {"launch_by_speed", [](Image&, LiveFrame& f) { f.byte(211, 1).word(63, 0xFFF6); }, 7010, "[km/h/s]", 100, -1.0,
         0},
        {"intake_servo_mv", [](Image&, LiveFrame& f) { f.word(13, 2500); }, 5010, "[mV]", 5000, 2500, 0},
        {"intake_servo_percent",
         [](Image& i, LiveFrame& f) {
             i[4415] = 1;
             f.word(13, 2500);
         },
         5010, "[%]", 100, 50, 1},
        {"exhaust_servo_percent",
         [](Image& i, LiveFrame& f) {
             i[4414] = 1;
             f.word(11, 500);
         },
         5030, "[%]", 100, 10, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMonitorVariables();
        image = {};
        LiveFrame frame;
        c.set(image, frame);
        (void)update(frame);
        const CLngStr* r = GetDef(c.id);
        if (c.units) {
            EXPECT_STREQ(r->units, c.units);
        }
        EXPECT_NEAR(r->max, c.max, 1e-9);
        EXPECT_NEAR(r->value, c.value, 1e-9);
        EXPECT_EQ(r->decimals, c.decimals);
    }
}

TEST_F(MonVars, AlarmFlagsOfRpmAndInjection)
{
    for (const auto& [bits, flags] : std::map<int, int>{{0, 0x01}, {0x04, 0x41}, {0x10, 0x41}, {0x1C, 0xC1}}) {
        SCOPED_TRACE(bits);
        (void)update(LiveFrame().byte(176, static_cast<std::uint8_t>(bits)));
        EXPECT_EQ(GetDef(1010)->flags, flags);
    }
    derived[8] = 100;
    (void)update(LiveFrame());
    EXPECT_EQ(GetDef(1220)->flags, 0x11);
    derived[8] = 99;
    (void)update(LiveFrame());
    EXPECT_EQ(GetDef(1220)->flags, 0x01);
}
