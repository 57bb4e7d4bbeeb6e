#include "link/csvlog.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>

#include "os/cp1250.h"

namespace {

constexpr CsvColumn W(int word, std::string_view name, std::string_view unit)
{
    return {CsvKind::Word, word, 0, name, unit};
}
constexpr CsvColumn B(int byte, std::string_view name, std::string_view unit)
{
    return {CsvKind::Byte, byte, 0, name, unit};
}
constexpr CsvColumn Bit(int byte, int bit, std::string_view name)
{
    return {CsvKind::Bit, byte, bit, name, "0/1"};
}

// The columns in file order. Some names repeat (the unit reports the same quantity in two places) and some
// units are those of the tools that read these logs; both are kept as they are.
constexpr std::array<CsvColumn, kCsvColumnCount> kColumns{{
    {CsvKind::HardwareKey, 296, 0, "HWKEY", ""},
    {CsvKind::StructureKey, 299, 0, "RSKEY", ""},
    {CsvKind::Model, 0, 0, "BIKE", "enumeration"},
    W(2, "RPM", "1/min"),
    W(3, "AP", "mV"),
    W(4, "AP", "0.1kPa"),
    W(5, "IAP", "mV"),
    W(6, "GAS HANDLE", "mV"),
    W(7, "LAMBDA", "mV"),
    W(8, "T_WATER", "mV"),
    W(9, "T_AIR", "mV"),
    W(10, "BATTERY", "mV"),
    W(11, "SER_EX", "mV"),
    W(12, "SER_EX_TG", "mV"),
    W(13, "SER_IN", "mV"),
    W(14, "SER_IN_TG", "mV"),
    W(15, "POTI", "mV"),
    W(25, "START_CHOKE", "0,1s"),
    W(26, "POS_A", "°"),
    W(27, "POS_B", "°"),
    W(28, "COR_TW_JET", "0,1%"),
    W(29, "COR_TA_JET", "0,1%"),
    W(30, "COR_AP_JET", "0,1%"),
    W(31, "COR_CHOKE", "0,1%"),
    W(32, "COR_UBAT", "0,1%"),
    W(33, "COR_TW_IGN", "0,1%"),
    W(34, "COR_POT_IGN", "0,1%"),
    W(35, "COR_POT_JET", "0,1%"),
    W(36, "SPEED_REAR", "km/h"),
    W(37, "GEAR", "mV"),
    W(38, "GEAR_RATIO", "1"),
    W(39, "GEAR_RATIO_AUTO 0", "1"),
    W(40, "GEAR_RATIO_AUTO 1", "1"),
    W(41, "GEAR_RATIO_AUTO 2", "1"),
    W(42, "GEAR_RATIO_AUTO 3", "1"),
    W(43, "GEAR_RATIO_AUTO 4", "1"),
    W(44, "GEAR_RATIO_AUTO 5", "1"),
    W(45, "COR_IDLE_ADV", "0,1%"),
    W(46, "IAP", "0.1kPa"),
    W(47, "TPS", "0,1%"),
    W(48, "COR_ACC_JET", "0,1%"),
    W(49, "STEP_SERVO_POS", "1"),
    W(51, "COR_TA_IGN", "0,1%"),
    W(52, "COR_TW_ACC", "0,1%"),
    W(53, "ACC_JET", "0,1ms"),
    W(54, "COR_TW_ACC_K+", "0,1%"),
    W(55, "COR_TW_START_JET", "0,1%"),
    W(57, "COR_GASS", "0,1%"),
    W(58, "DWELL", "0,1ms"),
    W(59, "ADV_MAX 1", "°"),
    W(60, "ADV_MAX 2", "°"),
    W(61, "ADV_MAX 3", "°"),
    W(62, "ADV_MAX 4", "°"),
    W(63, "MAX_LAUNCH_ACC", "10 rpm/s"),
    W(64, "MAX_LAUNCH_RETARD", "10 rpm/s"),
    W(65, "SPEED_FRONT", "km/h"),
    W(66, "SLIP", "0,01%"),
    W(67, "TRACK_RETARD", "0,1%"),
    W(68, "Moto_min_LO", "min"),
    B(223, "Moto_min_HI", "min"),
    W(69, "IAP", "0.1kPa"),
    W(70, "PROP1", "1"),
    W(71, "PROP2", "1"),
    W(72, "PROP3", "1"),
    W(73, "PROP4", "1"),
    W(74, "PROP5", "1"),
    W(79, "FUEL", "mV"),
    W(80, "OSAN", "mV"),
    W(81, "OVERVOLTAGE_COUNTER", "1"),
    B(183, "IGN1", "°"),
    B(184, "IGN2", "°"),
    B(185, "IGN3", "°"),
    B(186, "IGN4", "°"),
    B(187, "JET_TIME_1A", "0,1ms"),
    B(188, "JET_TIME_2A", "0,1ms"),
    B(189, "JET_TIME_3A", "0,1ms"),
    B(190, "JET_TIME_4A", "0,1ms"),
    B(191, "JET_TIME_1B", "0,1ms"),
    B(192, "JET_TIME_2B", "0,1ms"),
    B(193, "JET_TIME_3B", "0,1ms"),
    B(194, "JET_TIME_4B", "0,1ms"),
    B(195, "TEMP_WATER", "°C+100"),
    B(196, "TEMP_AIR", "°C+100"),
    B(197, "GEAR_NUMBER", "1"),
    B(198, "INJ_ACORDING_TP", "%"),
    B(203, "LAMBDA_AF1", "0,1"),
    B(204, "LAMBDA_AF2", "0,1"),
    B(205, "LAMBDA_AF3", "0,1"),
    B(206, "LAMBDA_AF4", "0,1"),
    B(207, "ACC_TRESHOLD", "1"),
    B(208, "POUT1", "enum"),
    B(209, "POUT2", "enum"),
    B(210, "N2O_PERCENT", "%"),
    B(211, "LAUNCH_SPEED_SRC", "enum"),
    B(212, "ACC_TRESHOLD", "various"),
    B(213, "ACC_PROP_EFFECT", "various"),
    B(214, "ACC_SPEED_RETURN", "?"),
    B(215, "ACC_POT_TRESHOLD", "?"),
    B(216, "ACC_POT_PROP_EFFECT", "?"),
    B(217, "ACC_POT_SPEED_RETURN", "?"),
    B(218, "ACC_POT_COR_MIN_ADV", "°"),
    B(219, "ACC_MIN_ADV", "°"),
    B(220, "POUT3", "enum"),
    B(221, "POUT4", "enum"),
    B(222, "SYNC_INFO", "enum"),
    B(224, "SER_IN", "%"),
    B(225, "SER_IN_TG", "%"),
    B(226, "SER_EX", "%"),
    B(227, "SER_EX_TG", "%"),
    B(228, "DUTY_JET_1A", "%"),
    B(229, "DUTY_JET_1B", "%"),
    B(230, "FUEL", "%"),
    B(231, "POUT5", "enum"),
    B(232, "OIL_PRESSURE", "10kPa"),
    B(233, "TEMPOMAT", "20mV"),
    Bit(175, 0, "FALL_IN"),
    Bit(175, 1, "FALL_OUT"),
    Bit(175, 2, "BLOK2_IN"),
    Bit(175, 3, "BLOK2_OUT"),
    Bit(175, 4, "START_LIMITER_IN"),
    Bit(175, 5, "START_LIMITER_OUT"),
    Bit(175, 6, "CLUTCH_IN"),
    Bit(175, 7, "CLUTCH_OUT"),
    Bit(176, 0, "RPM_LAMBDA_IN"),
    Bit(176, 1, "RPM_LAMBDA_OUT"),
    Bit(176, 2, "LIMITER_IGN"),
    Bit(176, 3, "LIMITER_JET"),
    Bit(176, 4, "LIMITER_RETARD"),
    Bit(176, 5, "MONALT"),
    Bit(176, 6, "SERVO_EX_OK"),
    Bit(176, 7, "SERVO_IN_OK"),
    Bit(177, 0, "NO_MAP"),
    Bit(177, 1, "N2O_ENABLE"),
    Bit(177, 3, "EDGE"),
    Bit(177, 4, "COOLING"),
    Bit(177, 5, "SENSOR_CKPS"),
    Bit(177, 6, "SENSOR_CMPS"),
    Bit(177, 7, "EE_DATA_ERR"),
    Bit(178, 0, "TPS_ERR"),
    Bit(178, 1, "IAP_ERR"),
    Bit(178, 2, "PRESSURE_ERR"),
    Bit(178, 3, "RUNNING"),
    Bit(178, 4, "IDLE_BY_SERVO"),
    Bit(178, 5, "PIT_RETARD"),
    Bit(178, 6, "PIT_IGN"),
    Bit(179, 0, "TPS_BY_SERVO_IN"),
    Bit(179, 0, "TPS_BY_SERVO_EX"),
    Bit(179, 1, "SENSOR_OFF_TPS"),
    Bit(179, 2, "SENSOR_OFF_AP"),
    Bit(179, 3, "SENSOR_OFF_IAP"),
    Bit(179, 4, "SENSOR_OFF_TW"),
    Bit(179, 5, "SENSOR_OFF_TA"),
    Bit(179, 6, "SENSOR_OFF_AFR"),
    Bit(179, 7, "FUEL_EMPTY"),
    Bit(180, 0, "START_LIM_RETARD_OUT"),
    Bit(180, 1, "SERVO_IN_PORCENTS"),
    Bit(180, 2, "SERVO_EX_PORCENTS"),
    Bit(180, 3, "IDLE_IN_RANGE_TPS"),
    Bit(180, 4, "IDLE_IN_RANGE_RPM"),
    Bit(180, 5, "ADV_USED_IAP0"),
    Bit(180, 6, "ADV_USED_IAP1"),
    Bit(180, 7, "SECOND_ADV"),
    Bit(181, 0, "INPUT1"),
    Bit(181, 1, "INPUT2"),
    Bit(181, 2, "INPUT3"),
    Bit(181, 3, "INPUT4"),
    Bit(181, 4, "INPUT5"),
    Bit(181, 5, "INPUT6"),
    Bit(181, 6, "INPUT7"),
    Bit(181, 7, "INPUT8"),
}};

void appendInt(std::string& out, long value, int base = 10)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    out.append(buffer, end);
}

void appendPadded(std::string& out, long value, int width)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(static_cast<std::size_t>(std::max<long>(0, width - (end - buffer))), '0');
    out.append(buffer, end);
}

}  // namespace

std::span<const CsvColumn, kCsvColumnCount> CsvColumns()
{
    return kColumns;
}

std::string CsvHeaderLines()
{
    std::string names = "Time;";
    std::string units = "ms;";
    for (const CsvColumn& c : kColumns) {
        names.append(c.name).push_back(';');
        units.append(c.unit).push_back(';');
    }
    return os::utf8ToCp1250Lossy(names + "\n" + units + "\n");
}

std::string FormatCsvLine(const LiveBlock& block, const CsvFrameContext& context, std::int64_t epochMs)
{
    std::string line;
    line.reserve(1024);
    // Floor division, so a time before 1970 still gives a valid time of day.
    const std::int64_t seconds = epochMs >= 0 ? epochMs / 1000 : -((-epochMs + 999) / 1000);
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    appendPadded(line, local.tm_hour, 2);
    line.push_back(':');
    appendPadded(line, local.tm_min, 2);
    line.push_back(':');
    appendPadded(line, local.tm_sec, 2);
    line.push_back('.');
    appendPadded(line, static_cast<long>(epochMs - seconds * 1000), 3);
    line.push_back(';');
    for (const CsvColumn& c : kColumns) {
        switch (c.kind) {
            case CsvKind::Bit:
                appendInt(line, (block.Monb(c.position) >> c.bit) & 1);
                break;
            case CsvKind::Byte:
                appendInt(line, block.Monb(c.position));
                break;
            case CsvKind::Word:
                appendInt(line, block.Monw(c.position));
                break;
            case CsvKind::HardwareKey:
                line.append("0x");
                appendInt(line, block.Monb(c.position) | (block.Monb(c.position + 1) << 8), 16);
                break;
            case CsvKind::StructureKey: {
                const int key = block.Monb(c.position) | (block.Monb(c.position + 1) << 8);
                appendInt(line, key != 0 ? key : context.unitHeaderKey);
                line.push_back('.');
                appendInt(line, block.Monb(c.position - 1));
                break;
            }
            case CsvKind::Model:
                appendInt(line, context.model);
                break;
        }
        line.push_back(';');
    }
    line.push_back('\n');
    return line;
}

os::FileResult CsvLog::Open(const std::filesystem::path& path)
{
    if (m_file.isOpen()) (void)m_file.close();
    os::FileResult result = m_file.create(path);
    if (result.ok) result = m_file.append(CsvHeaderLines());
    if (!result.ok) (void)m_file.close();
    return result;
}

os::FileResult CsvLog::WriteLine(std::string_view line)
{
    if (!m_file.isOpen()) return {true, {}};
    os::FileResult result = m_file.append(line);
    if (!result.ok) (void)m_file.close();
    return result;
}

os::FileResult CsvLog::Close()
{
    return m_file.close();
}
