#pragma once
// The servos page's row of controls binds the bytes of the servo whose sheet is current.
#include <span>

#include "pages/binding.h"

// The row's bindings for the intake (0) or the exhaust (1) servo; the intake's are the page module's table.
[[nodiscard]] std::span<const FieldBinding> ServoRowBindings(int servo);
