// Image -> file -> image, and file -> image -> file, over a few hundred random images.
#include <gtest/gtest.h>

#include <random>

#include "settings/settingsreader.h"
#include "settings/settingswriter.h"
#include "testimages.h"

namespace {

std::string firstDifference(const Image& a, const Image& b)
{
    for (int i = 0; i < RS_LEN_EXE; ++i)
        if (a[i] != b[i])
            return "byte " + std::to_string(i) + ": " + std::to_string(a[i]) + " vs " + std::to_string(b[i]);
    return "none";
}

TEST(SettingsRoundTrip, ImageFileImageKeepsEveryCarriedField)
{
    std::mt19937 rng(309);
    const SettingsFileTexts texts = testimages::fixedTexts();
    for (int n = 0; n < 300; ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        Image image = testimages::randomRepairedImage(rng);
        const std::string file = WriteSettingsText(image, texts);
        Image read = image;
        const ParseResult result = ParseSettingsText(read, file);
        ASSERT_EQ(result.version, 309);
        EXPECT_TRUE(result.modelRead);
        const Image expected = testimages::settled(image);
        ASSERT_EQ(read, expected) << firstDifference(read, expected);
    }
}

TEST(SettingsRoundTrip, FileImageFileGivesTheSameBytes)
{
    std::mt19937 rng(4920);
    const SettingsFileTexts texts = testimages::fixedTexts();
    for (int n = 0; n < 300; ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        Image image = testimages::randomRepairedImage(rng);
        // Any image settles after one cycle; a settled image's file is a fixed point.
        Image first = image;
        ParseResult r = ParseSettingsText(first, WriteSettingsText(image, texts));
        ASSERT_TRUE(r.accepted());
        const std::string file = WriteSettingsText(first, texts);
        Image second = image;  // a different starting image: nothing of it may show in the file
        std::fill(second.begin(), second.end(), 0x5A);
        r = ParseSettingsText(second, file);
        ASSERT_TRUE(r.accepted());
        const std::string again = WriteSettingsText(second, texts);
        ASSERT_EQ(again, file);
    }
}

TEST(SettingsRoundTrip, UnrepairedImagesSettleToo)
{
    // The writer must not depend on the repair for a readable file: counts of 0 or past their row included.
    std::mt19937 rng(65);
    const SettingsFileTexts texts = testimages::fixedTexts();
    for (int n = 0; n < 100; ++n) {
        SCOPED_TRACE("image " + std::to_string(n));
        Image image;
        for (auto& b : image)
            b = static_cast<std::uint8_t>(rng());
        image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(n % RS_MODEL_COUNT);
        storeNotesLines(image, {u"notes"});
        const std::string file = WriteSettingsText(image, texts);
        Image read = image;
        ASSERT_TRUE(ParseSettingsText(read, file).accepted());
        const Image expected = testimages::settled(image);
        ASSERT_EQ(read, expected) << firstDifference(read, expected);
    }
}

TEST(SettingsRoundTrip, LineFeedOnlyFileGivesTheSameImage)
{
    std::mt19937 rng(1250);
    Image image = testimages::randomValidImage(rng);
    std::string file = WriteSettingsText(image, testimages::fixedTexts());
    std::string lf;
    for (char c : file)
        if (c != '\r')
            lf += c;
    Image a = image, b = image;
    ASSERT_TRUE(ParseSettingsText(a, file).accepted());
    ASSERT_TRUE(ParseSettingsText(b, lf).accepted());
    EXPECT_EQ(a, b);
}

}  // namespace
