#pragma once
// The class name of a control without its first letter ("TLabel" gives "Label"), as the printing code and the
// binding helpers compare it.
#include <string>

#include "vcl/core.h"

[[nodiscard]] inline std::string ControlClassName(const TObject& control)
{
    constexpr std::size_t kMaxName = 8190;
    std::string name = control.ClassName();
    name.erase(0, name.empty() ? 0 : 1);
    if (name.size() > kMaxName) name.resize(kMaxName);
    return name;
}
