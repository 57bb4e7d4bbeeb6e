#include "os/ports.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace os {

namespace {
struct Family
{
    std::string_view prefix;
    int firstCom;
};
// Each family gets 32 numbers so that they never overlap.
constexpr Family kFamilies[] = {{"ttyS", 1}, {"ttyUSB", 33}, {"ttyACM", 65}, {"rfcomm", 97}};
constexpr int kFamilySize = 32;

std::optional<int> parseInt(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A /dev/ttyS node exists for every possible legacy port; only those with a UART behind them count.
bool hasUart(const std::filesystem::path& sysTtyDir, const std::string& name)
{
    std::ifstream type(sysTtyDir / name / "type");
    int value = 0;
    if (type >> value) return value != 0;
    std::error_code ec;
    return std::filesystem::exists(sysTtyDir / name / "device", ec);
}
}  // namespace

std::optional<int> comNumberForDevice(std::string_view name)
{
    for (const Family& family : kFamilies) {
        if (!name.starts_with(family.prefix)) continue;
        const auto n = parseInt(name.substr(family.prefix.size()));
        if (!n || *n < 0 || *n >= kFamilySize) return std::nullopt;
        return family.firstCom + *n;
    }
    return std::nullopt;
}

ComPortMap parsePortOverrides(std::string_view text)
{
    ComPortMap ports;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view entry = trim(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        const auto eq = entry.find('=');
        if (eq == std::string_view::npos) continue;
        const auto number = parseInt(trim(entry.substr(0, eq)));
        const std::string_view path = trim(entry.substr(eq + 1));
        if (!number || *number < 1 || *number >= kComPortCount || path.empty()) continue;
        ports[*number] = std::string(path);
    }
    return ports;
}

std::optional<ComPortMap> listComPorts(const PortListPlaces& places)
{
    std::error_code ec;
    std::filesystem::directory_iterator it(places.devDir, ec);
    if (ec) return std::nullopt;
    ComPortMap ports;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) return std::nullopt;
        const std::string name = it->path().filename().string();
        const auto number = comNumberForDevice(name);
        if (!number) continue;
        if (name.starts_with("ttyS") && !hasUart(places.sysTtyDir, name)) continue;
        ports[*number] = it->path().string();
    }
    std::string overrides;
    if (places.overrides) {
        overrides = *places.overrides;
    } else if (const char* env = std::getenv("KELVORA_PORTS")) {
        overrides = env;
    }
    for (auto& [number, path] : parsePortOverrides(overrides)) ports[number] = path;
    return ports;
}

}  // namespace os
