#pragma once
// Formats of the program settings files: escaped paths in application.ini, the last settings image
// "default.ini" and the lambda-learning files "Lambda<serial>.ini".
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/image.h"

// A path (UTF-8) as escaped 8-bit text: every backslash doubled, characters above U+00FF as "\xHHLL".
[[nodiscard]] std::string EscapePath(std::string_view utf8Path);
// The reverse. A value that looks like an old unescaped Windows path ("\\server\..." or "C:\x...") is taken
// literally; an escape cut off at the end is dropped; only the first 8190 characters count.
[[nodiscard]] std::string UnescapePath(std::string_view escaped);

// default.ini: each image byte as "%5u ", a line end after every 10th value and another after every 100th.
[[nodiscard]] std::string DefaultIniText(const Image& image);
// Reads up to 5100 numbers (low 8 bits each) as the old runtime's scanner did; returns how many were read.
int ReadDefaultIniText(std::string_view text, Image& image);

// A lambda-learning block: byte row * 50 + column holds the value of row 0..9, column 0..19.
using LambdaBlock = std::array<std::uint8_t, 500>;
// Each block: its running number, 10 rows of 20 values, an empty line.
[[nodiscard]] std::string LambdaFileText(std::span<const LambdaBlock> blocks);
// Fills the blocks in order until a running number is missing or wrong; returns how many were started.
int ReadLambdaFileText(std::string_view text, std::span<LambdaBlock> blocks);
