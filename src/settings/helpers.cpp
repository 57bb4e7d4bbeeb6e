#include "settings/helpers.h"

#include <algorithm>
#include <cstring>

#include "settings/layout.h"

int SwapWordBytes(std::span<std::uint8_t> buffer, int first, int last, int from, int to)
{
    if (from >= 0 && from / 2 > first) first = from / 2;
    if (to >= 0 && to / 2 < last) last = to / 2;
    const int words = static_cast<int>(buffer.size() / 2);
    for (int w = std::max(first, 0); w <= last && w < words; ++w) std::swap(buffer[2 * w], buffer[2 * w + 1]);
    return 2 * last;
}

char* CopyBounded(char* destination, const char* limit, const char* source, const char* sourceEnd)
{
    if (destination == nullptr || source == nullptr) return destination;
    std::size_t length = sourceEnd != nullptr && sourceEnd >= source ? static_cast<std::size_t>(sourceEnd - source)
                                                                     : std::strlen(source);
    if (limit != nullptr) {
        // A limit at or before the destination leaves no room, not even for the NUL.
        if (limit <= destination) return destination;
        const std::size_t room = static_cast<std::size_t>(limit - destination) - 1;
        length = std::min(length, room);
    }
    std::memmove(destination, source, length);
    destination[length] = '\0';
    return destination + length;
}

std::uint32_t ScaleColor(std::uint32_t color, double red, double green, double blue)
{
    const auto channel = [color](int shift, double factor) {
        return static_cast<std::uint32_t>(static_cast<int>(((color >> shift) & 0xFF) * factor)) & 0xFF;
    };
    return channel(0, red) + 256 * channel(8, green) + 65536 * channel(16, blue);
}

namespace {

constexpr int kBarLow = layoutOffset("LAMBDA_BAR");
constexpr int kBarHigh = kBarLow + 3;

// The table is only as long as it is; thresholds far apart must not read past it.
std::uint32_t tableColor(const LambdaColorTable& table, int index)
{
    return SwapRedBlue(table[std::clamp(index, 0, kLambdaColorCount - 1)]);
}

}  // namespace

std::uint32_t LambdaColor(const Image& image, const LambdaColorTable& table, int value)
{
    const int lo = image[kBarLow], hi = image[kBarHigh];
    if (value < lo) return tableColor(table, 0);
    if (value >= hi) return kColorMagenta;
    return tableColor(table, value - lo);
}

LambdaGaugeView LambdaGaugeFor(const Image& image, const LambdaColorTable& table, int value)
{
    const int lo = image[kBarLow], hi = image[kBarHigh];
    LambdaGaugeView view;
    if (value < lo)
        view.progress = 0;
    else if (value > hi)
        view.progress = 100;
    else
        view.progress = hi == lo ? 0 : (value - lo) * 100 / (hi - lo);
    view.isVisible = value != 255;
    view.color = value == 0 ? kColorButtonFace : LambdaColor(image, table, value);
    return view;
}
