#pragma once
// The settings image of the control unit (parameter structure 309): 5100 bytes, the first 2500 of them 1250
// 16-bit little-endian words addressed by word index, the rest byte parameters addressed by byte offset.
#include <array>
#include <cstdint>
#include <span>

inline constexpr int RS_LEN_EXE = 5100;
inline constexpr int RS_WORD_COUNT = 1250;     // words 0..1249 fill bytes 0..2499
inline constexpr int RS_FIRST_BYTE_PARAM = 2500;
inline constexpr int RS_KEY_309 = 309;          // the structure key this program speaks
inline constexpr int RS_SUBVERSION = 0;
inline constexpr int RS_BLOCK = 300;            // link transfer block; the image is 17 of them
inline constexpr int RS_BIKE_BYTE = 2500;       // motorcycle model, 0..68
inline constexpr int RS_MODEL_COUNT = 69;
inline constexpr int RS_SIGNED = 0x8000;        // added to a parameter address: read the value as signed

static_assert(RS_LEN_EXE % RS_BLOCK == 0);

using Image = std::array<std::uint8_t, RS_LEN_EXE>;

[[nodiscard]] inline std::uint16_t imageWord(const Image& image, int wordIndex)
{
    return static_cast<std::uint16_t>(image[2 * wordIndex] | (image[2 * wordIndex + 1] << 8));
}

inline void setImageWord(Image& image, int wordIndex, std::uint16_t value)
{
    image[2 * wordIndex] = static_cast<std::uint8_t>(value & 0xFF);
    image[2 * wordIndex + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A parameter address: a word index (below 1250) or a byte offset (2500 and up), plus RS_SIGNED for signed.
[[nodiscard]] inline bool isParamAddressValid(int address)
{
    const int a = address & ~RS_SIGNED;
    return (address & ~(RS_SIGNED | 0x7FFF)) == 0 &&
           ((a >= 0 && a < RS_WORD_COUNT) || (a >= RS_FIRST_BYTE_PARAM && a < RS_LEN_EXE));
}

[[nodiscard]] inline bool isWordAddress(int address) { return (address & ~RS_SIGNED) < RS_WORD_COUNT; }

// The value at a parameter address, sign-extended when the address carries RS_SIGNED. The address must be valid.
[[nodiscard]] inline int readParam(const Image& image, int address)
{
    const bool isSigned = (address & RS_SIGNED) != 0;
    const int a = address & ~RS_SIGNED;
    if (a < RS_WORD_COUNT) {
        const std::uint16_t w = imageWord(image, a);
        return isSigned ? static_cast<std::int16_t>(w) : w;
    }
    return isSigned ? static_cast<std::int8_t>(image[a]) : image[a];
}

// Stores the low 16 or 8 bits of value at a parameter address. The address must be valid.
inline void writeParam(Image& image, int address, int value)
{
    const int a = address & ~RS_SIGNED;
    if (a < RS_WORD_COUNT)
        setImageWord(image, a, static_cast<std::uint16_t>(value));
    else
        image[a] = static_cast<std::uint8_t>(value);
}
