#pragma once
// Main windows of the tests see no serial ports, so no test ever opens a real port of the machine.
#include "link/comiosys.h"

inline PortLister NoPorts()
{
    return [] { return std::optional<os::ComPortMap>(os::ComPortMap{}); };
}
