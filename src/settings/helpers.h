#pragma once
// Small shared helpers: the byte swap of 16-bit words for the link, a bounded chained copy, colour scaling and
// the lambda colours of the mixture gauge. No window code here; the shell applies the results to controls.
#include <array>
#include <cstdint>
#include <span>

#include "settings/image.h"

// Swaps the two bytes of every word from `first` to `last` (word w = bytes 2w and 2w + 1), narrowed to the
// byte range from..to (inclusive; -1 leaves that end open). Returns 2 x the last word index. Words outside the
// buffer are never touched.
int SwapWordBytes(std::span<std::uint8_t> buffer, int first, int last, int from = -1, int to = -1);

// Copies source (up to sourceEnd, or its NUL) to destination and writes a NUL after it. With a limit (one past
// the buffer) the NUL lands at limit - 1 at the latest, so chained calls with the same limit stay inside the
// buffer; a limit at or before the destination writes nothing. Returns the position of the NUL written (the
// destination unchanged when either pointer is null or nothing was written).
char* CopyBounded(char* destination, const char* limit, const char* source, const char* sourceEnd = nullptr);

// Framework colour 0x00BBGGRR with each channel multiplied by its factor (0..1), truncated toward zero.
[[nodiscard]] std::uint32_t ScaleColor(std::uint32_t color, double red, double green, double blue);

// One colour per mixture step above the first lambda bar threshold, stored 0xRRGGBB; the lambda page fills it.
inline constexpr int kLambdaColorCount = 102;
using LambdaColorTable = std::array<std::uint32_t, kLambdaColorCount>;

inline constexpr std::uint32_t kColorButtonFace = 0xFF00000F;  // system colour of the button face
inline constexpr std::uint32_t kColorMagenta = 0x00FF00FF;

// 0xRRGGBB to the framework's 0x00BBGGRR (and back).
[[nodiscard]] constexpr std::uint32_t SwapRedBlue(std::uint32_t c)
{
    return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}

// What the mixture gauge shows for a mixture value (air-fuel ratio x 10; 255 = no value).
struct LambdaGaugeView
{
    int progress = 0;  // percent
    bool isVisible = true;
    std::uint32_t color = kColorButtonFace;  // framework colour
};
[[nodiscard]] LambdaGaugeView LambdaGaugeFor(const Image& image, const LambdaColorTable& table, int value);

// The framework colour of a mixture value, as on the gauge but without the button face for 0.
[[nodiscard]] std::uint32_t LambdaColor(const Image& image, const LambdaColorTable& table, int value);
