#pragma once
// Image repair: brings every value of the settings image into the range and order the unit can use, in one
// pass of fixed rules. Runs after every load into the image and before every save, verify and program. It
// never reports anything; it only changes image bytes.
#include <string>
#include <vector>

#include "settings/image.h"

// Main-window fields that the repair derives from the image; the caller copies them into the main window.
struct RepairState
{
    int cylinderCount = 0;  // CHANNELS after repair, 0..4
    bool fidFlag = false;   // one of power outputs 1-4 works as FID valve (function 14)
};

// Repairs the image in place and returns the derived fields. Also brings the program's language index back
// to English when it is not one of the three languages.
RepairState NormalizeSettingsImage(Image& image);

// Row repair. mode below 99: unsigned elements, direction = sign(mode); 99 and above: signed elements,
// direction = sign(mode - 100). Direction 1 makes the row strictly rising by at least `step`, -1 strictly
// falling, 0 only bounds it; min and max hold for every element afterwards (room for the steps is reserved).
// The row is `length` elements from position base + offset (byte offset, or word index for the word variant).
void ForceRowOrderBytes(Image& image, int mode, int base, int offset, int min, int max, int length, int step);
void ForceRowOrderWords(Image& image, int mode, int base, int offset, int min, int max, int length, int step);

// In a table of `rows` rows of `columns` elements at `base`, every column from `used` on takes the value of
// column used - 1 of its row. Nothing happens for used below 1.
void FillRowTailBytes(Image& image, int base, int columns, int used, int rows);
void FillRowTailWords(Image& image, int base, int columns, int used, int rows);

// Start-up check of the layout constants: the failure texts, each followed by the number the check computed.
// Empty for this structure (the same checks are made at build time).
[[nodiscard]] std::vector<std::string> SelfCheckEnums();
