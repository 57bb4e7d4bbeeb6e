#pragma once
// The program's own pictures (map editor backgrounds and buttons, check boxes, the emblem), decoded once and
// kept for the whole run. Callers share the pictures and must not change them.
#include <string_view>

class QImage;

// The picture of that name, or null when the program has none (nothing is cached then, so a later call tries
// again). Both functions share one cache by name: a picture asked for by either is the same object.
[[nodiscard]] const QImage* GetJpgResource(std::string_view name);
[[nodiscard]] const QImage* GetBitmapResource(std::string_view name);
