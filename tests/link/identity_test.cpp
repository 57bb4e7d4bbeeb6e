#include "link/identity.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

std::array<std::uint8_t, 299> header()
{
    return {};
}

}  // namespace

TEST(IdentityTexts, TypeDateAndTimeFromTheHeader)
{
    struct Case
    {
        std::array<std::uint8_t, 9> bytes;
        const char* unit;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {{'A', 'B', 'C', 7, 5, 25, 24, 14, 7}, "ABC07", " 5. 1.2024", "14:07"},
        {{'Q', 'V', 'I', 12, 31, 38, 9, 0, 59}, "QVI12", "31.10.2009", "00:59"},
        {{'Q', 'V', 'I', 0, 10, 0, 30, 23, 0}, "QVI00", "10.00.2030", "23:00"},
        {{'Q', 'V', 'I', 1, 9, 12, 0, 9, 9}, "QVI01", " 9.12.2000", "09:09"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        auto h = header();
        std::copy(c.bytes.begin(), c.bytes.end(), h.begin());
        IdentityTexts t;
        BuildIdentityTexts(h, t);
        EXPECT_EQ(t.unit, c.unit);
        EXPECT_EQ(t.date, c.date);
        EXPECT_EQ(t.time, c.time);
        EXPECT_EQ(t.firmware, "");
        EXPECT_EQ(t.serialNumber, "");
        EXPECT_EQ(t.lastUpdate, "");
        EXPECT_EQ(t.note, "");
    }
}

TEST(IdentityTexts, NameReplacesTheTypeAndStopsWithinItsField)
{
    auto h = header();
    std::copy_n("ABC", 3, h.begin());
    h[4] = 5;
    h[5] = 25;
    const std::string name = "Race unit";
    std::copy(name.begin(), name.end(), h.begin() + 17);
    IdentityTexts t;
    BuildIdentityTexts(h, t);
    EXPECT_EQ(t.unit, "Race unit");
    EXPECT_EQ(t.date, " 5. 1.2000");
    // Thirty bytes without a terminating zero: at most 29 characters are taken.
    std::fill(h.begin() + 17, h.begin() + 47, std::uint8_t{'N'});
    BuildIdentityTexts(h, t);
    EXPECT_EQ(t.unit, std::string(29, 'N'));
}

TEST(IdentityTexts, FirmwareTagSerialNumberAndNote)
{
    const std::uint8_t tag[4] = {0xC1, 3, 2, 1};
    EXPECT_EQ(FormatFirmwareTag(tag), "010203A+");
    const std::uint8_t plainTag[4] = {0x42, 3, 2, 1};
    EXPECT_EQ(FormatFirmwareTag(plainTag), "010203B_");
    const std::uint8_t erasedTag[4] = {0xC1, 3, 2, 0xFF};
    EXPECT_EQ(FormatFirmwareTag(erasedTag), "");
    const std::uint8_t serial[8] = {0x1F, 7, 3, 12, 30, 15, 6, 24};
    EXPECT_EQ(FormatSerialNumber(serial), "240615-301203-0071f");
    const std::uint8_t noSerial[8] = {1, 0, 0, 0, 0, 0, 0, 0xFF};
    EXPECT_EQ(FormatSerialNumber(noSerial), "none SN");

    auto h = header();
    std::copy_n("ABC", 3, h.begin());
    h[3] = 7;
    std::copy(std::begin(tag), std::end(tag), h.begin() + 30);
    std::copy(std::begin(serial), std::end(serial), h.begin() + 38);
    const std::uint8_t note[] = {'A', 'B', 0, 0, 'C', 0xFF, 'D'};
    std::copy(std::begin(note), std::end(note), h.begin() + 46);
    IdentityTexts t;
    BuildIdentityTexts(h, t);
    EXPECT_EQ(t.firmware, "010203A+ABC07");
    EXPECT_EQ(t.serialNumber, "240615-301203-0071f");
    EXPECT_EQ(t.note, "AB~C~D");
    h[46] = 0;
    BuildIdentityTexts(h, t);
    EXPECT_EQ(t.note, "~B~C~D");
}

TEST(IdentityTexts, FieldsArePresentUnlessWhollyBlankOrErased)
{
    setenv("TZ", "UTC", 1);
    tzset();
    struct Case
    {
        const char* name;
        std::array<std::uint8_t, 8> serial;
        std::array<std::uint8_t, 4> time;
        const char* serialText;
        const char* updateText;
    };
    const Case cases[] = {
        {"blank", {}, {}, "", ""},
        {"erased", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFF}, "", ""},
        // A serial whose last printed part is 00, and a time whose low byte is 0: both are there.
        {"low bytes zero",
         {0x00, 7, 3, 12, 30, 15, 6, 24},
         {0x00, 0x5E, 0x4F, 0x65},
         "240615-301203-00700",
         "(last update: 11.11.2023-10:57:04)"},
        {"only the first byte",
         {1, 0, 0, 0, 0, 0, 0, 0xFF},
         {1, 0, 0, 0},
         "none SN",
         "(last update: 01.01.1970-00:00:01)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = header();
        std::copy(c.serial.begin(), c.serial.end(), h.begin() + 38);
        std::copy(c.time.begin(), c.time.end(), h.begin() + 34);
        IdentityTexts t;
        BuildIdentityTexts(h, t);
        EXPECT_EQ(t.serialNumber, c.serialText);
        EXPECT_EQ(t.lastUpdate, c.updateText);
    }
}
