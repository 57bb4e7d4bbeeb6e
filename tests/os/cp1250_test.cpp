#include "os/cp1250.h"

#include <gtest/gtest.h>

TEST(Cp1250, EveryByteSurvivesRoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = os::cp1250ToUtf8(all);
    const auto back = os::utf8ToCp1250(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1250, CzechAndGermanLetters)
{
    struct Case { const char* utf8; const char* cp1250; };
    const Case cases[] = {
        {"Napěťí", "Nap\xEC\x9D\xED"},
        {"Spannung ÄÖÜß", "Spannung \xC4\xD6\xDC\xDF"},
        {"€ č Ř ů", "\x80 \xE8 \xD8 \xF9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(os::cp1250ToUtf8(c.cp1250), c.utf8);
        EXPECT_EQ(os::utf8ToCp1250(c.utf8).value_or("<none>"), c.cp1250);
    }
}

TEST(Cp1250, CharactersWithoutCp1250FormAreRefusedOrReplaced)
{
    EXPECT_FALSE(os::utf8ToCp1250("日本").has_value());
    EXPECT_EQ(os::utf8ToCp1250Lossy("a日b"), "a?b");
    EXPECT_EQ(os::unicodeToCp1250(U'ñ'), -1);
}

TEST(Utf8, MalformedInputDecodesToReplacementCharacters)
{
    EXPECT_EQ(os::decodeUtf8("a\xC3"), (std::u32string{U'a', 0xFFFD}));
    EXPECT_EQ(os::decodeUtf8("\xE2\x82"), (std::u32string{0xFFFD, 0xFFFD}));
    EXPECT_EQ(os::decodeUtf8("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));  // overlong '/'
    EXPECT_EQ(os::encodeUtf8(os::decodeUtf8("Ř€😀")), "Ř€😀");
}
