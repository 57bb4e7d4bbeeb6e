#pragma once
// The program keeps serial ports by COM number (menus, settings, texts). This maps the numbers to devices:
// /dev/ttyS<n> is COM n+1 (only with a UART behind it), /dev/ttyUSB<n> COM 33+n, /dev/ttyACM<n> COM 65+n,
// /dev/rfcomm<n> COM 97+n; KELVORA_PORTS ("200=/tmp/unit0,201=/dev/pts/7") adds or overrides numbers.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace os {

inline constexpr int kComPortCount = 256;  // COM numbers 0..255; 0 is never a port

using ComPortMap = std::map<int, std::string>;  // COM number -> device path

// The COM number of a device name under /dev ("ttyUSB0" -> 33), if it is one of the mapped families.
[[nodiscard]] std::optional<int> comNumberForDevice(std::string_view name);

// "200=/tmp/unit0,201=/dev/pts/7": entries with a number outside 1..255 or without a path are skipped.
[[nodiscard]] ComPortMap parsePortOverrides(std::string_view text);

struct PortListPlaces
{
    std::filesystem::path devDir = "/dev";
    std::filesystem::path sysTtyDir = "/sys/class/tty";
    std::optional<std::string> overrides;  // the text of KELVORA_PORTS; unset = read the environment
};

// The ports present now, or nothing when the device folder cannot be read.
[[nodiscard]] std::optional<ComPortMap> listComPorts(const PortListPlaces& places = {});

}  // namespace os
