#include "os/lngtext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LngTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetLngTextErrorReports();
        SetLngTextErrorHook([this](std::string_view m) { messages.emplace_back(m); });
        SetLanguageIndex(LNG_ENGLISH);
    }
    void TearDown() override
    {
        SetLngTextErrorHook({});
        SetLanguageIndex(LNG_ENGLISH);
    }
    std::vector<std::string> messages;
};

struct PickCase
{
    const char* name;
    std::string_view text;
    int index;
    std::string_view expected;
};

constexpr PickCase kPickCases[] = {
    {"three_parts_english", "###Voltage##Spannung##Napětí", 0, "Voltage"},
    {"three_parts_german", "###Voltage##Spannung##Napětí", 1, "Spannung"},
    {"three_parts_czech", "###Voltage##Spannung##Napětí", 2, "Napětí"},
    {"longest_is_last_counted_as_35", "###Voltage##Spannung##Napětí", LNG_LONGEST, "Napětí"},
    {"pair_english", "###Launch accel.##Launch zrychlení", 0, "Launch accel."},
    {"pair_second_serves_german", "###Launch accel.##Launch zrychlení", 1, "Launch zrychlení"},
    {"pair_czech_falls_back", "###Launch accel.##Launch zrychlení", 2, "Launch accel."},
    {"empty_part_falls_back", "###Blocking tracking control####Blokování trakční kontroly", 1,
     "Blocking tracking control"},
    {"empty_part_czech_after_it", "###Blocking tracking control####Blokování trakční kontroly", 2,
     "Blokování trakční kontroly"},
    {"trailing_blank_trimmed_en", "###Disable ##Deaktivieren ##Zakázat ", 0, "Disable"},
    {"trailing_blank_trimmed_de", "###Disable ##Deaktivieren ##Zakázat ", 1, "Deaktivieren"},
    {"last_part_not_trimmed", "###Disable ##Deaktivieren ##Zakázat ", 2, "Zakázat "},
    {"dotdot_falls_back", "###Speed##..##Rychlost", 1, "Speed"},
    {"dotdot_prefix_kept", "###Speed##..more##Rychlost", 1, "..more"},
    {"blank_only_part_keeps_one_blank", "###a##  \t##c", 1, " "},
    {"one_part_any_language", "###Only", 2, "Only"},
    {"no_marker_unchanged", "Plain text", 2, "Plain text"},
    {"no_marker_longest_unchanged", "Plain text", LNG_LONGEST, "Plain text"},
    {"empty_text", "", 1, ""},
    {"index_out_of_range_is_english", "###A##B##C", 7, "A"},
    {"index_minus_three_is_english", "###A##B##C", -3, "A"},
    {"more_than_three_separators", "###A##B##C ##D", 2, "C"},
    {"longest_english_over_35_bytes", "###A very long English text of over 35 bytes##Kurz##Krátký", LNG_LONGEST,
     "A very long English text of over 35 bytes"},
    {"longest_first_of_equal", "###Abc##Def##Ghi##", LNG_LONGEST, "Abc"},
    {"longest_dotdot_gives_first", "###A##B##..", LNG_LONGEST, "A"},
};

TEST_F(LngTextTest, PicksThePartOfTheLanguage)
{
    for (const PickCase& c : kPickCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetLngText(c.text, c.index), c.expected);
        EXPECT_EQ(GetLngText(c.text, c.index), c.expected);  // a second call gives the same
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(LngTextTest, CurrentLanguageIndexIsUsedByDefault)
{
    const std::string_view text = "###Voltage##Spannung##Napětí";
    for (int lang : {LNG_ENGLISH, LNG_GERMAN, LNG_CZECH}) {
        SetLanguageIndex(lang);
        EXPECT_EQ(GetLngText(text), GetLngText(text, lang));
    }
}

TEST_F(LngTextTest, ResultViewsTheCallersLiteralWhichStaysUnchanged)
{
    const std::string text = "###Disable ##Deaktivieren ##Zakázat ";
    const std::string copy = text;
    const std::string_view de = GetLngText(text, 1);
    EXPECT_EQ(de.data(), text.data() + text.find("Deak"));
    EXPECT_EQ(text, copy);
}

struct ErrorCase
{
    const char* name;
    std::string_view text;
    std::string_view messageStart;
};

TEST_F(LngTextTest, MalformedLiteralIsReturnedWholeAndReportedOnce)
{
    const std::string longPart = "###" + std::string(256, 'x') + "##kurz##krátký";
    const ErrorCase cases[] = {
        {"two_hashes", "##x##y", "Chybi ### na zacatku v jazykovem retezci !\n##x##y"},
        {"single_hash", "#5 items", "Chybny pocet jazykovych mutaci (53 > 3 || 53==0) !"},
        {"hash_alone", "#", "Chybny pocet jazykovych mutaci (0 > 3 || 0==0) !"},
        {"part_of_256_bytes", longPart, "Prilis dlouha jazykova mutace (>255 chars) !\n###xxx"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        for (int lang : {0, 1, 2, LNG_LONGEST}) EXPECT_EQ(GetLngText(c.text, lang), c.text);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind(c.messageStart, 0), 0u) << messages[0];
    }
}

TEST_F(LngTextTest, PartOf255BytesIsAccepted)
{
    const std::string text = "###" + std::string(255, 'x') + "##kurz";
    EXPECT_EQ(GetLngText(text, 1), "kurz");
    EXPECT_TRUE(messages.empty());
}

}  // namespace
