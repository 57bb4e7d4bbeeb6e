#pragma once
// Pictures in the Windows BMP layout, as the old framework's bitmap saved them into streams (monitor-set files keep
// their pictures so). The reader takes what such a stream can hold: 1, 4, 8, 16, 24 and 32 bits per pixel,
// uncompressed or with bit-field masks, bottom-up or top-down, with a core or an info header of any later version.
// It checks every size against the bytes it was given, so a damaged or hostile stream gives nothing, never a crash.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "vcl/graphics.h"

// The largest picture the reader accepts, in pixels (a 4096 x 4096 picture).
inline constexpr std::int64_t kBmpMaxPixels = std::int64_t(4096) * 4096;

struct BmpRead
{
    TBitmap bitmap;
    std::size_t bytes = 0;  // the stream bytes the picture took, as its file header says
};

// The picture at the start of `bytes`, or nothing (then `error`, when given, says why).
[[nodiscard]] std::optional<BmpRead> ReadBmp(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
// The picture as a 24-bit uncompressed BMP with its file header.
[[nodiscard]] std::string WriteBmp(const TBitmap& bitmap);
