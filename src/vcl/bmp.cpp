#include "vcl/bmp.h"

#include <array>
#include <bit>
#include <vector>

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void put16(std::string& out, std::uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

std::optional<BmpRead> fail(std::string* error, const char* why)
{
    if (error) *error = why;
    return std::nullopt;
}

// A colour channel under a bit-field mask, widened to 8 bits.
struct Channel
{
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m >> shift);
        if (bits > 8) {
            shift += bits - 8;
            bits = 8;
        }
    }
    [[nodiscard]] std::uint32_t of(std::uint32_t pixel) const
    {
        if (bits == 0) return 0;
        const std::uint32_t v = ((pixel & mask) >> shift) & ((1u << bits) - 1);
        return bits == 8 ? v : v * 255 / ((1u << bits) - 1);
    }
};

}  // namespace

std::optional<BmpRead> ReadBmp(std::span<const std::uint8_t> b, std::string* error)
{
    if (b.size() < kFileHeader + 12 || b[0] != 'B' || b[1] != 'M') return fail(error, "not a BMP picture");
    const std::uint32_t fileSize = le32(b, 2);
    const std::uint32_t pixelOffset = le32(b, 10);
    if (fileSize < kFileHeader + 12 || fileSize > b.size()) return fail(error, "picture size beyond the data");
    const auto pic = b.first(fileSize);
    const std::uint32_t headerSize = le32(pic, kFileHeader);
    if (headerSize != 12 && (headerSize < kInfoHeader || headerSize > 1024)) return fail(error, "unknown BMP header");
    if (kFileHeader + headerSize > pic.size()) return fail(error, "BMP header beyond the data");

    std::int64_t width = 0, height = 0;
    int bpp = 0, planes = 1;
    std::uint32_t compression = kBiRgb, colours = 0;
    std::size_t paletteEntry = 4;
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    std::size_t afterHeader = kFileHeader + headerSize;
    if (headerSize == 12) {
        width = le16(pic, 18);
        height = static_cast<std::int16_t>(le16(pic, 20));
        planes = le16(pic, 22);
        bpp = le16(pic, 24);
        paletteEntry = 3;
    } else {
        width = static_cast<std::int32_t>(le32(pic, 18));
        height = static_cast<std::int32_t>(le32(pic, 22));
        planes = le16(pic, 26);
        bpp = le16(pic, 28);
        compression = le32(pic, 30);
        colours = le32(pic, 46);
        if (compression == kBiBitFields || compression == kBiAlphaBitFields) {
            // Masks follow a plain info header, or lie inside the later ones.
            const std::size_t at = kFileHeader + kInfoHeader;
            if (at + 12 > pic.size()) return fail(error, "BMP masks beyond the data");
            for (int i = 0; i < 3; ++i) masks[i] = le32(pic, at + 4 * static_cast<std::size_t>(i));
            if (headerSize == kInfoHeader) afterHeader += compression == kBiAlphaBitFields ? 16 : 12;
        } else if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        }
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (planes != 1 || width <= 0 || height <= 0 || width * height > kBmpMaxPixels)
        return fail(error, "BMP size out of range");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(error, "BMP colour depth not supported");
    const bool fields = compression == kBiBitFields || compression == kBiAlphaBitFields;
    if (compression != kBiRgb && !(fields && (bpp == 16 || bpp == 32)))
        return fail(error, "compressed BMP not supported");

    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const std::uint32_t maxColours = 1u << bpp;
        const std::uint32_t count = colours == 0 || colours > maxColours ? maxColours : colours;
        if (afterHeader + count * paletteEntry > pic.size()) return fail(error, "BMP palette beyond the data");
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = afterHeader + i * paletteEntry;
            palette.push_back(0xFF000000u | (pic[at + 2] << 16) | (pic[at + 1] << 8) | pic[at]);
        }
        palette.resize(maxColours, 0xFF000000u);
    }
    const std::size_t stride = static_cast<std::size_t>((width * bpp + 31) / 32 * 4);
    if (pixelOffset < afterHeader || pixelOffset > pic.size() ||
        stride * static_cast<std::size_t>(height) > pic.size() - pixelOffset)
        return fail(error, "BMP pixels beyond the data");

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    BmpRead out{TBitmap(static_cast<int>(width), static_cast<int>(height)), fileSize};
    for (std::int64_t row = 0; row < height; ++row) {
        const std::size_t base = pixelOffset + static_cast<std::size_t>(row) * stride;
        std::uint32_t* line = out.bitmap.ScanLine(static_cast<int>(topDown ? row : height - 1 - row));
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t argb = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bpp);
                    const std::uint8_t byte = pic[base + bit / 8];
                    const int index = (byte >> (8 - bpp - static_cast<int>(bit % 8))) & ((1 << bpp) - 1);
                    argb = palette[static_cast<std::size_t>(index)];
                    break;
                }
                case 16: {
                    const std::uint32_t v = le16(pic, base + static_cast<std::size_t>(x) * 2);
                    argb = 0xFF000000u | (red.of(v) << 16) | (green.of(v) << 8) | blue.of(v);
                    break;
                }
                case 24: {
                    const std::size_t at = base + static_cast<std::size_t>(x) * 3;
                    argb = 0xFF000000u | (pic[at + 2] << 16) | (pic[at + 1] << 8) | pic[at];
                    break;
                }
                default: {
                    const std::uint32_t v = le32(pic, base + static_cast<std::size_t>(x) * 4);
                    argb = 0xFF000000u | (red.of(v) << 16) | (green.of(v) << 8) | blue.of(v);
                    break;
                }
            }
            line[x] = argb;
        }
    }
    return out;
}

std::string WriteBmp(const TBitmap& bitmap)
{
    const int width = bitmap.Width(), height = bitmap.Height();
    const std::uint32_t stride = static_cast<std::uint32_t>((width * 24 + 31) / 32 * 4);
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height);
    std::string out;
    out.reserve(kFileHeader + kInfoHeader + pixelBytes);
    out += "BM";
    put32(out, static_cast<std::uint32_t>(kFileHeader + kInfoHeader) + pixelBytes);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(kFileHeader + kInfoHeader));
    put32(out, static_cast<std::uint32_t>(kInfoHeader));
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, kBiRgb);
    put32(out, pixelBytes);
    put32(out, 3780);  // 96 pixels per inch
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    for (int row = height - 1; row >= 0; --row) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            const TColor c = bitmap.Pixel(x, row);  // 0x00BBGGRR
            out.push_back(static_cast<char>((c >> 16) & 0xFF));
            out.push_back(static_cast<char>((c >> 8) & 0xFF));
            out.push_back(static_cast<char>(c & 0xFF));
        }
        out.resize(start + stride, '\0');
    }
    return out;
}
