#pragma once
// The three ready-made monitor sets and the empty one: set 1 a compact speed, RPM, gear and throttle display,
// set 2 an engine overview, set 3 injection and advance per cylinder; 1000 the empty set.
#include <memory>
#include <optional>
#include <vector>

#include "monitors/widgets.h"

struct BuiltInPlace
{
    int left, top, outerWidth, outerHeight;
};

// The window place of a set, or nothing for a number that names no set.
[[nodiscard]] std::optional<BuiltInPlace> BuiltInSetPlace(int set);
// The widgets of set 1, 2 or 3 in drawing order, bound to their variables; the picture gets a copy of the emblem
// (none when there is no emblem). Empty for other numbers.
[[nodiscard]] std::vector<std::unique_ptr<CMyComponent>> BuiltInSetWidgets(int set, const TBitmap* emblem);
