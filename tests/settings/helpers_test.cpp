#include "settings/helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "settings/layout.h"

namespace {

TEST(SwapWordBytes, NarrowsToTheByteRange)
{
    struct Case
    {
        const char* name;
        int first, last, from, to, result, swappedFirst, swappedLast;
    };
    constexpr Case kCases[] = {
        {"byte_range_inside", 0, 1249, 1500, 2099, 2098, 750, 1049},
        {"whole_image", 0, 1249, -1, -1, 2498, 0, 1249},
        {"only_upper_end", 0, 1249, -1, 9, 8, 0, 4},
        {"range_wider_than_words", 10, 20, 0, 5000, 40, 10, 20},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> buffer(RS_LEN_EXE);
        std::iota(buffer.begin(), buffer.end(), 0);
        const std::vector<std::uint8_t> before = buffer;
        EXPECT_EQ(SwapWordBytes(buffer, c.first, c.last, c.from, c.to), c.result);
        for (int w = 0; w < RS_LEN_EXE / 2; ++w) {
            const bool swapped = w >= c.swappedFirst && w <= c.swappedLast;
            ASSERT_EQ(buffer[2 * w], before[2 * w + (swapped ? 1 : 0)]) << "word " << w;
        }
    }
}

TEST(SwapWordBytes, NeverWritesPastTheBuffer)
{
    std::vector<std::uint8_t> buffer{1, 2, 3, 4};
    EXPECT_EQ(SwapWordBytes(std::span(buffer).first(4), 0, 1249), 2498);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{2, 1, 4, 3}));
}

TEST(CopyBounded, ChainedCopiesStopBeforeTheLimit)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    const char* limit = buffer + 10;
    char* end = CopyBounded(buffer, limit, "abcdefghijkl");
    EXPECT_EQ(end, buffer + 9);
    EXPECT_STREQ(buffer, "abcdefghi");
    EXPECT_EQ(CopyBounded(end, limit, "more"), end);
    EXPECT_STREQ(buffer, "abcdefghi");
    EXPECT_EQ(buffer[10], 'x');

    const char* source = "path/name.ign";
    end = CopyBounded(buffer, nullptr, source, source + 4);
    EXPECT_STREQ(buffer, "path");
    EXPECT_EQ(end, buffer + 4);
    EXPECT_EQ(CopyBounded(nullptr, limit, "a"), nullptr);
    // A limit at or before the destination leaves no room: nothing is written.
    buffer[12] = 'y';
    EXPECT_EQ(CopyBounded(buffer + 12, buffer + 12, "abc"), buffer + 12);
    EXPECT_EQ(CopyBounded(buffer + 12, buffer + 4, "abc"), buffer + 12);
    EXPECT_EQ(buffer[12], 'y');
    EXPECT_EQ(CopyBounded(buffer, limit, nullptr), buffer);
}

TEST(ScaleColor, EachChannelTruncated)
{
    EXPECT_EQ(ScaleColor(0x00C86432, 0.5, 0.25, 1.0), 0x00C81919u);  // r 0x32 -> 25, g 0x64 -> 25, b 200
    EXPECT_EQ(ScaleColor(0x00FFFFFF, 0.999, 0.0, 0.5), 0x007F00FEu);
}

TEST(LambdaGauge, ProgressVisibilityAndColour)
{
    Image image{};
    image[layoutOffset("LAMBDA_BAR")] = 10;
    image[layoutOffset("LAMBDA_BAR") + 3] = 20;
    LambdaColorTable table{};
    for (int i = 0; i < kLambdaColorCount; ++i) table[i] = 0x010000u * i + 0x000033;  // red = index, blue 0x33
    struct Case
    {
        int value, progress;
        bool visible;
        std::uint32_t color;
    };
    const Case kCases[] = {
        {0, 0, true, kColorButtonFace}, {5, 0, true, 0x00330000u},      {15, 50, true, 0x00330005u},
        {20, 100, true, kColorMagenta}, {21, 100, true, kColorMagenta}, {255, 100, false, kColorMagenta},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        const LambdaGaugeView view = LambdaGaugeFor(image, table, c.value);
        EXPECT_EQ(view.progress, c.progress);
        EXPECT_EQ(view.isVisible, c.visible);
        EXPECT_EQ(view.color, c.color);
    }
    EXPECT_EQ(LambdaColor(image, table, 0), 0x00330000u);
}

TEST(LambdaGauge, WideThresholdsStayInsideTheTable)
{
    Image image{};
    image[layoutOffset("LAMBDA_BAR")] = 0;
    image[layoutOffset("LAMBDA_BAR") + 3] = 250;
    LambdaColorTable table{};
    table.back() = 0x123456;
    EXPECT_EQ(LambdaColor(image, table, 200), SwapRedBlue(0x123456));
    EXPECT_EQ(LambdaGaugeFor(image, table, 249).color, SwapRedBlue(0x123456));
}

}  // namespace
