// BMP pictures as monitor sets keep them: what the writer makes reads back pixel for pixel, the other layouts a
// stream may hold read as they should, and damaged streams are refused.
#include "vcl/bmp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s)
{
    return {s.begin(), s.end()};
}

void put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP with an info header: width, height (negative: top-down), depth, compression, palette, pixel rows as given.
std::vector<std::uint8_t> handMade(int width, int height, int bpp, int compression,
                                   const std::vector<std::uint32_t>& extra, const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> b{'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(extra.size());
    put(b, offset + static_cast<std::uint32_t>(pixels.size()), 4);
    put(b, 0, 4);
    put(b, offset, 4);
    put(b, 40, 4);
    put(b, static_cast<std::uint32_t>(width), 4);
    put(b, static_cast<std::uint32_t>(height), 4);
    put(b, 1, 2);
    put(b, static_cast<std::uint32_t>(bpp), 2);
    put(b, static_cast<std::uint32_t>(compression), 4);
    for (int i = 0; i < 5; ++i) put(b, 0, 4);
    for (std::uint32_t e : extra) put(b, e, 4);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

}  // namespace

TEST(Bmp, WrittenPictureReadsBackPixelForPixelAndTellsItsLength)
{
    TBitmap picture(5, 3);  // rows of 15 bytes padded to 16
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.SetPixel(x, y, static_cast<TColor>(0x102030 * (x + 1) + 0x40 * y));
    std::string bytes = WriteBmp(picture);
    EXPECT_EQ(bytes.size(), 14u + 40u + 3u * 16u);
    bytes += "trailing block";
    const auto read = ReadBmp(bytesOf(bytes));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, 14u + 40u + 48u);
    ASSERT_EQ(read->bitmap.Width(), 5);
    ASSERT_EQ(read->bitmap.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(read->bitmap.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
}

TEST(Bmp, OtherLayoutsOfTheStream)
{
    // 2 x 2, 1 bit per pixel, bottom-up: the bottom row black-white, the top row white-black.
    const auto mono = handMade(2, 2, 1, 0, {0x000000, 0xFFFFFF}, {0x40, 0, 0, 0, 0x80, 0, 0, 0});
    auto read = ReadBmp(mono);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bitmap.Pixel(0, 1), clBlack);
    EXPECT_EQ(read->bitmap.Pixel(1, 1), clWhite);
    EXPECT_EQ(read->bitmap.Pixel(0, 0), clWhite);
    EXPECT_EQ(read->bitmap.Pixel(1, 0), clBlack);

    // 2 x 1 top-down, 16 bits 5-6-5 by bit fields: pure red, pure blue.
    const auto fields = handMade(2, -1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0x1F, 0x00});
    read = ReadBmp(fields);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bitmap.Pixel(0, 0), clRed);
    EXPECT_EQ(read->bitmap.Pixel(1, 0), clBlue);

    // 8 bits with a two-colour palette (the rest of the 256 entries absent).
    auto palette = handMade(1, 1, 8, 0, {0x00FF00, 0x0000FF}, {1, 0, 0, 0});
    palette[14 + 32] = 2;  // colours used
    read = ReadBmp(palette);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bitmap.Pixel(0, 0), clBlue);
}

TEST(Bmp, DamagedStreamsAreRefused)
{
    const std::string good = WriteBmp(TBitmap(4, 4));
    struct Case
    {
        const char* name;
        std::size_t keep;  // bytes of the good picture kept
        std::size_t at;    // a byte changed (at 0: none)
        std::uint8_t value;
    };
    const Case cases[] = {
        {"empty", 0, 0, 0},
        {"header_only", 20, 0, 0},
        {"cut_in_the_pixels", good.size() - 1, 0, 0},
        {"not_bm", good.size(), 1, 'X'},
        {"size_beyond_the_data", good.size(), 5, 0x7F},
        {"huge_width", good.size(), 21, 0x7F},
        {"zero_height", good.size(), 22, 0},
        {"rle_compressed", good.size(), 30, 1},
        {"depth_7", good.size(), 28, 7},
        {"pixels_past_the_end", good.size(), 11, 0x10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(c.keep));
        if (c.at != 0) bytes[c.at] = c.value;
        if (std::string(c.name) == "zero_height") bytes[23] = bytes[24] = bytes[25] = 0;
        std::string why;
        EXPECT_FALSE(ReadBmp(bytes, &why));
        EXPECT_FALSE(why.empty());
    }
}
