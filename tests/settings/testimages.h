#pragma once
// Images for the settings file tests: random valid images, and what a written file reads back as.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "settings/image.h"
#include "settings/notes.h"
#include "settings/repair.h"
#include "settings/settingswriter.h"

namespace testimages {

// Fixed identity texts, so two writes of one image give the same bytes.
inline SettingsFileTexts fixedTexts()
{
    SettingsFileTexts t;
    t.versionDate = " 5. 1.2024";
    t.versionTime = "14:07";
    t.versionName = "ABC07";
    t.firmware = "010203A+ABC07";
    t.key = "AB~C~D";
    t.serialNumber = "240615-301203-0071f";
    t.lastUpdate = "1.2.2025";
    t.unit = "ABC07";
    t.buildDate = "Nov 26 2024";
    t.buildTime = "09:07:03";
    return t;
}

// The counted rows of the format: (first field, width, count byte, is word, rows).
struct CountedRows {
    int first, width, countByte;
    bool word;
    int rows;
    int stride;
};
inline constexpr CountedRows kCounted[] = {
    {2755, 15, 3089, false, 1, 15}, {2770, 15, 3090, false, 1, 15},  // advance axes
    {3097, 20, 3822, false, 1, 20}, {3117, 20, 3823, false, 1, 20}, {3137, 20, 3824, false, 1, 20},
    {3157, 20, 3825, false, 1, 20}, {3177, 20, 3826, false, 1, 20}, {3197, 20, 3827, false, 1, 20},
    {0, 20, 3822, true, 10, 20},    {200, 20, 3823, true, 10, 20},   {400, 20, 3824, true, 10, 20},
    {600, 20, 3825, true, 10, 20},  {3217, 20, 3826, false, 10, 20}, {800, 20, 3827, true, 10, 20},
    {3417, 20, 3822, false, 10, 20}, {3617, 20, 3827, false, 10, 20},
    {4093, 15, 4408, false, 1, 15}, {4078, 15, 4409, false, 1, 15},  // servo axes
    {4737, 15, 4735, false, 1, 15}, {4752, 15, 4735, false, 1, 15},  // after-start rows
    {4767, 15, 4736, false, 1, 15}, {4782, 15, 4736, false, 1, 15},
};

// A random image whose counts lie in their rows, whose notes area is well formed, with a random model.
inline Image randomValidImage(std::mt19937& rng)
{
    Image image;
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(byte(rng));
    for (const CountedRows& c : kCounted)
        image[c.countByte] = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, c.width)(rng));
    image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, RS_MODEL_COUNT - 1)(rng));
    image[3817] = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 3)(rng));
    image[4559] = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 5)(rng));
    std::vector<NotesLine> lines;
    const int lineCount = std::uniform_int_distribution<int>(0, 4)(rng);
    static constexpr char16_t kChars[] = u"aZ 9\\\u010D\u00E9\u00F1\u20AC\u4E2D-_\t";
    for (int i = 0; i < lineCount; ++i) {
        NotesLine line;
        const int n = std::uniform_int_distribution<int>(0, 40)(rng);
        for (int k = 0; k < n; ++k)
            line.push_back(kChars[std::uniform_int_distribution<int>(0, 12)(rng)]);
        lines.push_back(line);
    }
    storeNotesLines(image, lines);
    return image;
}

// A random image after the repair that runs before every save.
inline Image randomRepairedImage(std::mt19937& rng)
{
    Image image = randomValidImage(rng);
    NormalizeSettingsImage(image);
    return image;
}

// What a file written from `written` (the image as it stands after the write) reads back as, over the same
// image. These are all the differences an image may show after a write and a read:
inline Image settled(const Image& written)
{
    Image e = written;
    // 1. The reader marks the image as modified on the PC.
    e[4920] = 1;
    // 2. A counted row carries its first (count) values, at least one and at most the row: the rest of the row
    //    repeats the last value, and the count byte holds the number carried.
    for (const CountedRows& c : kCounted) {
        const int n = std::clamp<int>(written[c.countByte], 1, c.width);
        for (int r = 0; r < c.rows; ++r)
            for (int i = n; i < c.width; ++i) {
                const int at = c.first + r * c.stride;
                if (c.word)
                    setImageWord(e, at + i, imageWord(e, at + n - 1));
                else
                    e[at + i] = e[at + n - 1];
            }
        e[c.countByte] = static_cast<std::uint8_t>(n);
    }
    // 3. Idle mode 4 writes the idle regulation in place of the step period; both step bytes come back even.
    if (written[4559] == 4)
        e[4562] = written[4569];
    for (int a : {4428, 4562})
        e[a] = e[a] >= 254 ? 254 : static_cast<std::uint8_t>(e[a] + (e[a] & 1));
    // 4. The old single quick-shift bytes follow the first entries of their tables.
    e[4511] = e[4895];
    e[4512] = e[4901];
    e[4513] = e[4907];
    e[4514] = e[4913];
    // 5. The old deceleration byte is derived from the word.
    e[4524] = static_cast<std::uint8_t>(std::min(255, imageWord(e, 1137) / 50 + 25));
    // 6. Traction retard above 128 comes back as 256 minus it.
    for (int a = 4812; a <= 4871; ++a)
        if (e[a] > 128)
            e[a] = static_cast<std::uint8_t>(256 - e[a]);
    // 7. Power-output switch bytes carry bits 0 to 3 only.
    for (int a = 4472; a <= 4483; ++a)
        e[a] &= 0x0F;
    for (int a = 4888; a <= 4890; ++a)
        e[a] &= 0x0F;
    for (int a = 4953; a <= 4967; ++a)
        e[a] &= 0x0F;
    // 8. The notes area is stored again from its lines, empty lines dropped.
    storeNotesLines(e, notesLinesOfImage(written));
    return e;
}

}  // namespace testimages
