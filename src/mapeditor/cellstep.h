#pragma once
// The change of one cell for n presses of + or - (negative n), including the 1 % steps of percent-stepping
// sheets.
#include <array>
#include <cstdint>

#include "mapeditor/sheet.h"

inline constexpr int kPercentSteps = 1200;

// Entry i = 100 * 1.01^i, computed in double by repeated multiplication and kept as float.
[[nodiscard]] const std::array<float, kPercentSteps>& percentStepTable();

// The amount to add to the cell (column, row) for n steps. On a percent-stepping sheet a step works on the
// value's magnitude (+ grows it, also on negative values; - shrinks it and stops at zero): about 1 % per step,
// landing on a multiple of 10, by n where 1 % is less than that rounding; it never moves the magnitude against n,
// never swings back and forth and never reads outside the table. Other sheets step by n.
[[nodiscard]] std::int32_t CellStep(const CSheet& sheet, int column, int row, int n);
