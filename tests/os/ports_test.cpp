#include "os/ports.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(ComPorts, DeviceNamesMapToComNumbers)
{
    struct Case
    {
        const char* name;
        std::optional<int> com;
    };
    const Case cases[] = {
        {"ttyS0", 1},           {"ttyS31", 32},          {"ttyS32", std::nullopt}, {"ttyUSB0", 33},
        {"ttyACM1", 66},        {"rfcomm0", 97},         {"ttyUSB", std::nullopt}, {"ttyUSBx", std::nullopt},
        {"tty0", std::nullopt}, {"ttyS-1", std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(os::comNumberForDevice(c.name), c.com);
    }
}

TEST(ComPorts, OverridesSkipBadEntries)
{
    const os::ComPortMap ports = os::parsePortOverrides(" 200=/tmp/unit0,201=/dev/pts/7,0=/x,256=/y,abc=/z,5=,7");
    const os::ComPortMap expected{{200, "/tmp/unit0"}, {201, "/dev/pts/7"}};
    EXPECT_EQ(ports, expected);
}

TEST(ComPorts, ListingFiltersLegacyPortsWithoutUartAndAppliesOverrides)
{
    const auto root = std::filesystem::temp_directory_path() / ("kelvora_ports_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "dev");
    std::filesystem::create_directories(root / "sys/ttyS0");
    std::filesystem::create_directories(root / "sys/ttyS1");
    for (const char* name : {"ttyS0", "ttyS1", "ttyUSB0", "null", "ttyACM0"})
        std::ofstream(root / "dev" / name).put('x');
    std::ofstream(root / "sys/ttyS0/type") << "4\n";
    std::ofstream(root / "sys/ttyS1/type") << "0\n";  // a phantom port: no UART
    os::PortListPlaces places{root / "dev", root / "sys", std::string("65=/tmp/sim,3=/tmp/other")};
    const auto ports = os::listComPorts(places);
    ASSERT_TRUE(ports.has_value());
    const os::ComPortMap expected{
        {1, (root / "dev/ttyS0").string()}, {3, "/tmp/other"}, {33, (root / "dev/ttyUSB0").string()}, {65, "/tmp/sim"}};
    EXPECT_EQ(*ports, expected);
    places.devDir = root / "missing";
    EXPECT_FALSE(os::listComPorts(places).has_value());
    std::filesystem::remove_all(root);
}
