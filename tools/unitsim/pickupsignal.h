#pragma once
// The pickup samples of a running four-cylinder four-stroke engine, as a unit logs them: one 32-bit little-endian
// word at each event (ticks in bits 0-23, the reference phase in 24-25, pickup inputs 1 and 2 in 26 and 27,
// ignition outputs 1-4 in 28-31).
//
// The reference period is 720 / cycleDivisor degrees; each begins at the rising edge of the crank pickup (input 1),
// whose lobe is lobeDegrees long. The cam pickup (input 2) is high for camLobeDegrees from camDegrees after the
// second reference edge of every 720-degree cycle. The cylinders reach top dead centre every 180 degrees from the
// first reference edge on, and output n fires advanceDegrees before the top dead centre of cylinder n.
#include <cstdint>
#include <vector>

namespace unitsim {

struct PickupSignal
{
    int rpm = 3000;
    int cycleDivisor = 2;  // one reference edge a revolution
    int periods = 6;       // reference periods in the block
    double tickSeconds = 7.234e-7;  // angle blocks; time blocks tick in 0.5 us
    double lobeDegrees = 40;
    double camDegrees = 80;
    double camLobeDegrees = 30;
    double advanceDegrees = 32;
    std::uint32_t startTicks = 0x123456;  // the unit's timer at the first sample
};

// The sample bytes of a block: a sample 20 degrees before the first reference edge, then one at every event.
[[nodiscard]] std::vector<std::uint8_t> PickupSamples(const PickupSignal& signal);

}  // namespace unitsim
