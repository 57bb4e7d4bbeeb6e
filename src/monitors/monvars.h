#pragma once
// The monitor-variable table: every live value the external monitor can show, with its trilingual name, its
// place in the tree of groups, where it comes from in the live-data block or the derived live values, how it is
// scaled and formatted, its indicator range, its alarm flags and its current value. One table for the whole
// program; the widgets point at its rows and monitor-set files name them by identifier.
#include <array>
#include <string>
#include <string_view>

#include "link/livedata.h"
#include "settings/image.h"

enum class MonSource { Byte = 0, Word = 1, Derived = 2 };

// Alarm flags that colour the indicator face.
inline constexpr int kMonFlagAvailable = 0x01;
inline constexpr int kMonFlagWarning = 0x10;  // yellow
inline constexpr int kMonFlagLimiter = 0x40;  // fuchsia
inline constexpr int kMonFlagAlarm = 0x80;    // red

// How a value widget writes the value.
inline constexpr int kMonShowNumber = 0;
inline constexpr int kMonShowYesNo = 1;
inline constexpr int kMonShowRunning = 3;

struct CLngStr
{
    int id = 0;
    const char* name = "";        // trilingual literal or plain text
    int parent = 0;               // identifier of the group row; 0 = top level
    const char* units = nullptr;  // none, or a text such as "[kPa]" (may be empty)
    int position = 0;             // 0 = a group row without a value
    MonSource source = MonSource::Byte;
    int decimals = 0;
    int width = 0;  // minimum characters of the value text
    double scale = 0;
    double min = 0;
    double max = 100;
    int cylinderMask = 15;
    int flags = kMonFlagAvailable;  // 0 would mark the variable unavailable; alarm bits above
    double value = 0;
    int displayKind = kMonShowNumber;
};

inline constexpr int kMonVarCount = 90;

// The rows, row 0 being the not-found row. Lives for the whole program.
[[nodiscard]] std::array<CLngStr, kMonVarCount>& MonitorVariables();
// Puts every row and the values-changed flag back as at program start (tests).
void ResetMonitorVariables();

// The first row from row 1 on with this identifier; row 0 ("?ID not found?") when none.
[[nodiscard]] CLngStr* GetDef(int id);
// The first row from row 1 on whose English name is exactly `englishName`; row 0 when none.
[[nodiscard]] CLngStr* GetDefByName(std::string_view englishName);
// Appends "/group/.../name" in the current language, with " units" when asked for and the row has units.
void GetDefPath(std::string& text, int id, bool withUnits);

// Raised by the first change of live values and kept for the rest of the run: until then value widgets show
// placeholders and indicators their minimum.
[[nodiscard]] bool MonitorValuesArrived();
void SetMonitorValuesArrived();

// Adapts ranges and units to the settings image and the frame, computes every value from the live-data block and
// the derived live values, and raises the alarm flags. True when any value changed.
[[nodiscard]] bool UpdateMonitorVariables(const Image& image, const LiveBlock& live, const DerivedLiveValues& derived);
