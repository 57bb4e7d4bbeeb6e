#include "languages/messages.h"

#include <gtest/gtest.h>

#include <set>

#include "languages/hints.h"
#include "languages/menutexts.h"
#include "os/cp1250.h"

namespace {

LanguageTables filled(int language)
{
    LanguageTables tables;
    FillMessageTable(tables, language);
    return tables;
}

TEST(MessageTable, EveryEnglishEntryHasGermanAndCzech)
{
    const LanguageTables en = filled(0), de = filled(1), cz = filled(2);
    std::vector<int> missing;
    for (int i = 0; i < kMessageCount; ++i)
        if (!en.messages[i].empty() && (de.messages[i].empty() || cz.messages[i].empty())) missing.push_back(i);
    EXPECT_EQ(missing, std::vector<int>{}) << "entries empty in German or Czech";
}

TEST(MessageTable, SelectedEntriesPerLanguage)
{
    struct Case
    {
        const char* name;
        int language;
        int index;
        std::string_view text;
    };
    const Case cases[] = {
        {"german_keeps_english", 1, 28, "Can't open page for coupled jet !"},
        {"german_lambda_heat", 1, 116, "Lambdawärmung - 0%"},
        {"czech_lambda_heat_full", 2, 118, "Ohřev lambda - 100%"},
        {"czech_102_without_prefix", 2, 102, "malé TP nebo IAP - před prvním bodem"},
        {"czech_tuning_prefix", 2, 104, "L: Přidávání"},
        {"german_tuning_prefix", 1, 83, "E: rpm=0"},
        {"czech_tacho_lambda", 2, 70, "Tacho/Lambda"},
        {"english_test", 0, 128, "Test"},
        {"czech_test", 2, 128, "Test"},
        {"english_open_error", 0, MSG_OPEN_FILE_ERROR, "Open file error!"},
        {"german_open_error", 1, MSG_OPEN_FILE_ERROR, "Fehler beim Öffnen der Datei!"},
        {"english_default_question", 0, 29, "Do you want default setting?"},
        {"german_default_question", 1, 29, "Wollen Sie Standardeinstellungen öffnen?"},
        {"czech_default_question", 2, 29, "Chcete nastavit základní hodnoty?"},
        {"german_refused_version", 1, 34, "Datendatei *.ign ist nicht kompatiebel!"},
        {"czech_156_without_final_break", 2, 156,
         "V setovacím programu je vybrán jiný motocykl než aktuálně nastavený v zapalování,\n jste si jist že "
         "chcete provést v zapalování tuto změnu ?"},
        {"english_edge_blank", 0, 49, "Exhaust servo "},
        {"unknown_language_is_english", 7, 20, "YES"},
        {"unnamed_51_empty", 1, 51, ""},
        {"unnamed_61_empty", 2, 61, ""},
        {"position_left_to_captions", 0, MSG_POSITION, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(filled(c.language).messages[c.index], c.text);
    }
}

TEST(MessageTable, SwitchingRefillsAndSwitchingTwiceChangesNothing)
{
    LanguageTables tables;
    FillMessageTable(tables, 2);
    const auto czech = tables.messages;
    FillMessageTable(tables, 1);
    EXPECT_NE(tables.messages, czech);
    const auto german = tables.messages;
    FillMessageTable(tables, 1);
    EXPECT_EQ(tables.messages, german);
    FillMessageTable(tables, 2);
    EXPECT_EQ(tables.messages, czech);
    for (int i = 0; i < kInputNameCount; ++i) EXPECT_TRUE(tables.inputNames[i].empty()) << i;
}

TEST(MessageTable, EveryTextHasAWindows1250Form)
{
    for (const MessageRow& row : messageRows())
        for (std::string_view text : row.text)
            EXPECT_TRUE(os::utf8ToCp1250(text).has_value()) << row.index << ": " << text;
}

}  // namespace

TEST(HintTable, EveryRowHasThreeTextsWithAWindows1250Form)
{
    for (const HintRow& row : hintRows()) {
        SCOPED_TRACE(row.destinations[0]);
        EXPECT_FALSE(row.destinations[0].empty());
        for (std::string_view text : row.text) {
            EXPECT_FALSE(text.empty());
            EXPECT_TRUE(os::utf8ToCp1250(text).has_value()) << text;
        }
    }
}

TEST(MenuTextTable, EveryItemOnceWithThreeTextsWithAWindows1250Form)
{
    std::set<std::string_view> items;
    for (const MenuTextRow& row : menuTextRows()) {
        SCOPED_TRACE(row.item);
        EXPECT_TRUE(items.insert(row.item).second);
        for (std::string_view text : row.text) {
            EXPECT_FALSE(text.empty());
            EXPECT_TRUE(os::utf8ToCp1250(text).has_value()) << text;
        }
    }
    EXPECT_TRUE(items.contains(kMenuRowBeforeLanguageMarks));
}
