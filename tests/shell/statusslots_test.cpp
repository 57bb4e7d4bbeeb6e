#include "shell/statusslots.h"

#include <gtest/gtest.h>

#include "os/lngtext.h"
#include "vcl/controls.h"
#include "vcl/forms.h"

namespace {

class StatusSlotsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        connection = form.Make<TLabel>(nullptr, "LabelConnection");
        result = form.Make<TLabel>(nullptr, "LabelResult");
        congruence = form.Make<TLabel>(nullptr, "LabelCongruence");
        gauge = form.Make<TCGauge>(nullptr, "CGaugeProgram");
        SetupStatusSlots(slots, connection, result, congruence, gauge);
    }
    void TearDown() override { SetLanguageIndex(LNG_ENGLISH); }

    void show(int slot, std::optional<std::string_view> text, int ms, int priority)
    {
        SetStatusSlot(slots, tick, slot, text, ms, kColorUnchanged, kColorUnchanged, priority);
    }

    TForm form;
    TLabel* connection = nullptr;
    TLabel* result = nullptr;
    TLabel* congruence = nullptr;
    TCGauge* gauge = nullptr;
    StatusSlots slots;
    int tick = 100;
};

TEST_F(StatusSlotsTest, SetupHidesEverySlot)
{
    EXPECT_FALSE(connection->Visible());
    EXPECT_FALSE(result->Visible());
    EXPECT_FALSE(congruence->Visible());
    EXPECT_EQ(slots.slot[0].expiryTick, -1);
}

TEST_F(StatusSlotsTest, PriorityRefusalAndExpiry)
{
    show(2, "###Searching##Suche##Hledání", 2000, kStatusPriorityPortSearch);
    show(2, "###Read: OK##Lesen: OK##Čtení: OK", 2000, kStatusPriorityNormal);
    EXPECT_EQ(result->Caption(), "Searching");  // lower priority refused while visible

    // 2000 ms = 40 ticks: still shown at tick 140, hidden once the counter passed it.
    for (tick = 101; tick <= 140; ++tick) ExpireStatusSlots(slots, tick);
    EXPECT_TRUE(result->Visible());
    ExpireStatusSlots(slots, 141);
    EXPECT_FALSE(result->Visible());

    tick = 142;
    show(2, "###Read: OK##Lesen: OK##Čtení: OK", 2000, kStatusPriorityNormal);
    EXPECT_TRUE(result->Visible());
    EXPECT_EQ(result->Caption(), "Read: OK");
}

TEST_F(StatusSlotsTest, NegativePriorityAlwaysShownAndReplacedByAnyOther)
{
    show(1, "###Searching##Suche##Hledání", -1, kStatusPriorityPortSearch);
    show(1, "###No connection with PC...##Keine Verbindung zum PC...##Není spojení s PC...", -1, kStatusPriorityAlways);
    EXPECT_EQ(connection->Caption(), "No connection with PC...");
    show(1, "###Connected##Verbunden##Připojeno", -1, 0);
    EXPECT_EQ(connection->Caption(), "Connected");
    for (tick = 100; tick < 2000; tick += 100) ExpireStatusSlots(slots, tick);
    EXPECT_TRUE(connection->Visible());  // -1 duration: until replaced
}

TEST_F(StatusSlotsTest, ClearingSlotTwoHidesTheGauge)
{
    gauge->SetVisible(true);
    show(2, "###Programming##Programmieren##Programování", -1, kStatusPriorityNormal);
    show(2, std::nullopt, 0, kStatusPriorityNormal);
    EXPECT_FALSE(result->Visible());
    EXPECT_FALSE(gauge->Visible());
}

TEST_F(StatusSlotsTest, BadSlotsAreIgnored)
{
    for (int slot : {0, 3, 5, -1}) show(slot, "###x##y##z", 1000, 0);
    EXPECT_FALSE(connection->Visible());
    EXPECT_FALSE(result->Visible());
    EXPECT_FALSE(congruence->Visible());
}

TEST_F(StatusSlotsTest, ColoursDurationZeroAndLanguage)
{
    SetLanguageIndex(LNG_CZECH);
    SetStatusSlot(slots, tick, 4, "###Identical##Identisch##Shodné", 1000, clWhite, clGreen, 10);
    EXPECT_EQ(congruence->Caption(), "Shodné");
    EXPECT_EQ(congruence->FontColor(), clWhite);
    EXPECT_EQ(congruence->Color(), clGreen);
    EXPECT_FALSE(congruence->Transparent());
    EXPECT_EQ(slots.slot[3].expiryTick, 120);

    SetStatusSlot(slots, tick + 5, 4, "###Different##Unterschiedlich##Rozdílné", 0, kColorUnchanged, clRed, 10);
    EXPECT_EQ(congruence->FontColor(), clWhite);
    EXPECT_EQ(congruence->Color(), clRed);
    EXPECT_EQ(slots.slot[3].expiryTick, 120);  // duration 0 keeps the expiry
}

TEST_F(StatusSlotsTest, SlotKeepsItsOwnCopyOfTheText)
{
    std::string text = "###Verify: OK##Vergleichen: OK##Verifikace: OK";
    const std::string copy = text;
    show(2, text, 1000, 10);
    EXPECT_EQ(text, copy);
    text.assign("changed");
    EXPECT_EQ(*slots.slot[1].text, copy);
}

TEST(Caption, FileAndReleasedInEachLanguage)
{
    struct Case
    {
        bool fileShown;
        bool released;
        int language;
        std::string expected;
    };
    const std::string head = "  Kelvora_12 (v309)       ";
    const Case cases[] = {
        {false, false, 0, head},
        {true, false, 0, head + "/home/r/bike.ign"},
        {false, true, 1, head + "(Von Bootloader getrennt)"},
        {true, true, 2, head + "/home/r/bike.ign   (Dočasně odpojeno bootloaderem)"},
        {true, true, 0, head + "/home/r/bike.ign   (Disconnected by bootloader)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        SetLanguageIndex(c.language);
        EXPECT_EQ(BuildCaption(c.fileShown, "/home/r/bike.ign", c.released), c.expected);
    }
    SetLanguageIndex(LNG_ENGLISH);
}

TEST(VersionLines, DatesVersionAndConnection)
{
    EXPECT_EQ(CompileDateText("Nov 26 2024"), "2024_11_26");
    EXPECT_EQ(CompileDateText("Nov  6 2024"), "2024_11_06");
    EXPECT_EQ(CompileDateText("Jan  1 2030"), "2030_01_01");
    // 2024-03-05 12:00 UTC: Unix seconds plus the 1601-1970 offset, in 100 ns ticks.
    constexpr std::int64_t k20240305 = (11'644'473'600LL + 1'709'596'800LL + 43'200) * 10'000'000LL;
    EXPECT_EQ(FileTimeDateText(k20240305), "2024_03_05");
    EXPECT_EQ(FileTimeDateText(0), "1601_01_01");
    const std::int64_t times[] = {k20240305, k20240305 - 864'000'000'000LL * 40};
    EXPECT_EQ(NewestDateText(times), "2024_03_05");
    EXPECT_EQ(NewestDateText({}), "");

    EXPECT_EQ(GetVersionText("2024_11_26", ""), "Kelvora_12   RSKEY=309   COMPILE=2024_11_26");
    EXPECT_EQ(GetVersionText("2024_11_26", "2024_03_05"),
              "Kelvora_12   RSKEY=309   COMPILE=2024_11_26   NEW=2024_03_05");

    ConnectionInfo info;
    EXPECT_EQ(GetConnectionText(info), "not connected");
    info.state = 1;
    info.labelVersion = "IGN300 v3.09";
    EXPECT_EQ(GetConnectionText(info), "IGN300 v3.09");
    info.state = 2;
    info.unitText = "Unit", info.dateText = "2024-01-02", info.timeText = "10:11";
    EXPECT_EQ(GetConnectionText(info), "Unit   2024-01-02   10:11   IGN300 v3.09");
    info.firmwareText = "FW 3.09", info.serialText = "1234", info.lastUpdateText = "2024-02-03", info.noteText = "note";
    EXPECT_EQ(GetConnectionText(info), "FW 3.09   RSKEY=309   (1234)   2024-02-03   note");
}

}  // namespace
