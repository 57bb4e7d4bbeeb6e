#include "monitors/monvars.h"

#include <algorithm>

#include "os/lngtext.h"

namespace {

using S = MonSource;

// One row: identifier, name, parent, units, position, source, decimals, width, scale, min, max[, cylinder mask,
// display kind]. Group rows have no position, scale or format.
constexpr CLngStr row(int id, const char* name, int parent, const char* units, int position, S source, int decimals,
                      int width, double scale, double min, double max, int mask = 15, int kind = kMonShowNumber)
{
    CLngStr r;
    r.id = id;
    r.name = name;
    r.parent = parent;
    r.units = units;
    r.position = position;
    r.source = source;
    r.decimals = decimals;
    r.width = width;
    r.scale = scale;
    r.min = min;
    r.max = max;
    r.cylinderMask = mask;
    r.displayKind = kind;
    return r;
}
constexpr CLngStr group(int id, const char* name, int parent = 0, const char* units = nullptr, double max = 100,
                        int kind = kMonShowNumber)
{
    return row(id, name, parent, units, 0, S::Byte, 0, 0, 0, 0, max, 15, kind);
}

// Identifiers 7000, 7010 and 7020 occur twice (launch control and track control); every look-up finds the first.
// Files and the watch picker rely on exactly this, so the second group stays as it is.
constexpr std::array<CLngStr, kMonVarCount> kInitialRows{{
    group(0, "?ID not found?"),
    group(1000, "###Basic####Základní"),
    row(1010, "RPM", 1000, nullptr, 2, S::Word, 0, 5, 1, 0, 20000),
    row(1020, "TPS", 1000, "[%]", 47, S::Word, 1, 5, 0.1, 0, 100),
    row(1030, "LAMBDA1", 1000, "[AFR]", 203, S::Byte, 1, 4, 0.1, 10, 18),
    row(1031, "LAMBDA2", 1000, "[AFR]", 204, S::Byte, 1, 4, 0.1, 10, 18),
    row(1032, "LAMBDA3", 1000, "[AFR]", 205, S::Byte, 1, 4, 0.1, 10, 18),
    row(1033, "LAMBDA4", 1000, "[AFR]", 206, S::Byte, 1, 4, 0.1, 10, 18),
    group(1090, "###System connection####Připojení systému", 0, nullptr, 1, kMonShowRunning),
    group(1100, "###Extended####Rozšířené"),
    row(1110, "TW", 1100, "[°C]", 195, S::Byte, 0, 3, 1, 0, 100),
    row(1120, "TA", 1100, "[°C]", 196, S::Byte, 0, 3, 1, -100, 100),
    row(1130, "AP", 1100, "[kPa]", 4, S::Word, 1, 4, 0.1, 80, 120),
    row(1140, "IAP", 1100, "[kPa]", 69, S::Word, 1, 4, 0.1, 0, 100),
    row(1150, "U", 1100, "[V]", 10, S::Word, 1, 4, 0.001, 0, 20),
    row(1160, "###Speed##Geschwindigkeit##Rychlost", 1100, "[km/h]", 36, S::Word, 0, 3, 1, 0, 200),
    row(1162, "###Speed front##Vorderradgeschwindigkeit##Rychlost přední", 1100, "[km/h]", 65, S::Word, 0, 3, 1, 0,
        200),
    row(1170, "###Gear##Gang##Rychl. stupeň", 1100, nullptr, 197, S::Byte, 0, 1, 1, 0, 9),
    group(1200, "###Sumary Adv.+Inj.##Resümee Vorzünd.+Einspritz.##Souhrn předstih+vstřik"),
    row(1210, "###Advance##Vorzündung##Předstih", 1200, "[°]", 20, S::Derived, 0, 2, 1, 0, 60),
    row(1220, "###Max.Inj. A##Max.Einspritz A##Max.vstřik A", 1200, "[%]", 8, S::Derived, 0, 3, 1, 0, 100),
    row(1221, "###Max.Inj. B##Max.Einspritz B##Max.vstřik B", 1200, "[%]", 25, S::Derived, 0, 3, 1, 0, 100),
    row(1230, "###Inj. Time A##Einspritzzeit A##Čas vstřiku A", 1200, "[ms]", 10, S::Derived, 1, 4, 0.001, 0, 20),
    row(1240, "###Inj. Time B##Einspritzzeit B##Čas vstřiku B", 1200, "[ms]", 11, S::Derived, 1, 4, 0.001, 0, 20),
    group(5000, "Servo"),
    row(5010, "###Intake servo##Ansaugservo##Sací servo", 5000, "[mV]", 13, S::Word, 0, 4, 1, 0, 5000),
    row(5030, "###Exhaust servo##Abblaseservo##Výfukové servo", 5000, "[mV]", 11, S::Word, 0, 4, 1, 0, 5000),
    row(5040, "###Step servo position##Schrittmotorlage##Poloha krokového motoru", 5000, nullptr, 49, S::Word, 0, 4, 1,
        0, 5000),
    group(6000, "###Corrections####Korekce"),
    group(6100, "###Injection cor.####korekce vstřiku", 6000),
    row(6110, "###Starting cor.####startovací korekce", 6100, "[%]", 31, S::Word, 0, 3, 0.1, 0, 200),
    row(6120, "###TW cor.####TW korekce", 6100, "[%]", 28, S::Word, 0, 3, 0.1, 0, 200),
    row(6130, "###AP cor.####AP korekce", 6100, "[%]", 30, S::Word, 0, 3, 0.1, 0, 200),
    row(6140, "###U cor.####korekce U", 6100, "[us]", 32, S::Word, 0, 5, 1, -10000, 10000),
    row(6150, "###AT cor.####korekce AT", 6100, "[%]", 29, S::Word, 0, 3, 0.1, 0, 200),
    row(6160, "###Potentiometer cor.####korekce potenciometrem", 6100, "[%]", 35, S::Word, 0, 3, 0.1, 0, 200),
    row(6170, "###Start Jet####", 6100, "[ms]", 55, S::Word, 1, 4, 0.1, 0, 10),
    row(6180, "###Size####", 6100, "[ms]", 53, S::Word, 1, 4, 0.1, 0, 10),
    group(6200, "###Advance cor.####korekce předstihu", 6000),
    row(6210, "###TW cor.####TW korekce", 6200, "[°]", 33, S::Word, 1, 3, 0.1, -20, 20),
    row(6220, "###AT cor.####AT korekce", 6200, "[°]", 51, S::Word, 1, 3, 0.1, -20, 20),
    row(6230, "###Potentiometer cor.####korekce potenciometrem", 6200, "[°]", 34, S::Word, 1, 3, 0.1, -20, 20),
    row(6240, "###Idle cor.####korekce volnoběhu", 6200, "[°]", 45, S::Word, 1, 3, 0.1, -20, 20),
    group(6300, "###Acceleration cor.####korekce zrychlení", 6000),
    row(6310, "###Acc cor.####", 6300, "[%]", 48, S::Word, 0, 4, 0.1, 0, 200),
    row(6320, "###Acc TW cor.####", 6300, "[%]", 54, S::Word, 0, 3, 0.1, 0, 200),
    row(6330, "###Acc Inj cor.####", 6300, "[%]", 52, S::Word, 0, 3, 0.1, 0, 200),
    row(6340, "###Threshold####", 6300, "[%/s]", 207, S::Byte, 0, 4, 10, 0, 200),
    group(7000, "Launch control"),
    row(7010, "###Launch accel.####Launch zrychlení", 7000, nullptr, 63, S::Word, 0, 5, 1, 0, 50000),
    row(7020, "###Launch retard####Launch retard", 7000, nullptr, 64, S::Word, 1, 4, 0.1, 0, 60),
    group(7000, "Track control"),
    row(7010, "###Launch accel.##Launch zrychlení", 7000, nullptr, 63, S::Word, 0, 5, 1, 0, 20000),
    row(7020, "###Launch retard####Launch retard", 7000, nullptr, 64, S::Word, 1, 4, 0.1, 0, 60),
    row(7030, "###Slip####Prokluz", 7000, nullptr, 66, S::Word, 1, 4, 0.01, 0, 40),
    row(7040, "###Track retard####Track retard", 7000, nullptr, 67, S::Word, 1, 4, 0.1, 0, 60),
    group(3000, "###More Sensors####Další senzory"),
    row(3010, "###Pick-up (CKPS)##Geber (CKPS)##Snímač CKPS", 3000, nullptr, 2, S::Derived, 0, 1, 1, 0, 1, 15,
        kMonShowRunning),
    row(3020, "###Pick-up (CMPS)##Geber (CMPS)##Snímač CMPS", 3000, nullptr, 3, S::Derived, 0, 1, 1, 0, 1, 15,
        kMonShowRunning),
    row(3030, "###Fall Sensor##Not Aus Sensor##Pádový senzor", 3000, nullptr, 4, S::Derived, 0, 1, 1, 0, 1),
    row(3040, "###Blocking##Blockierung##Blokování", 3000, nullptr, 5, S::Derived, 0, 1, 1, 0, 1),
    row(3050, "###Cooling##Kühlung##Chlazení", 3000, nullptr, 6, S::Derived, 0, 1, 1, 0, 1),
    row(3060, "###Potentiometer####Potenciometr", 3000, "[mV]", 15, S::Word, 0, 4, 1, 0, 5000),
    row(3070, "###Retard Limiter##Spätzündungbegrenzer##Omezovač zpožděním zážehu", 3000, nullptr, 7, S::Derived, 0, 1,
        1, 0, 1),
    row(3080, "###Gear sensor##Gangsensor##Sensor převodového stupně", 3000, "[mV]", 37, S::Word, 0, 4, 1, 0, 5000),
    group(9000, "###Injection##Einspritzung##Vstřikování"),
    group(9010, "###Inj. time A##Einspritzzeit A##Vstřik. čas A", 9000, "[ms]"),
    row(9011, "1A", 9010, nullptr, 187, S::Byte, 1, 4, 0.1, 0, 20, 1),
    row(9012, "2A", 9010, nullptr, 188, S::Byte, 1, 4, 0.1, 0, 20, 2),
    row(9013, "3A", 9010, nullptr, 189, S::Byte, 1, 4, 0.1, 0, 20, 4),
    row(9014, "4A", 9010, nullptr, 190, S::Byte, 1, 4, 0.1, 0, 20, 8),
    group(9020, "###Inj. time B##Einspritzzeit B##Vstřik. čas B", 9000, "[ms]", 0),
    row(9021, "1B", 9020, nullptr, 191, S::Byte, 1, 4, 0.1, 0, 20, 1),
    row(9022, "2B", 9020, nullptr, 192, S::Byte, 1, 4, 0.1, 0, 20, 2),
    row(9023, "3B", 9020, nullptr, 193, S::Byte, 1, 4, 0.1, 0, 20, 4),
    row(9024, "4B", 9020, nullptr, 194, S::Byte, 1, 4, 0.1, 0, 20, 8),
    row(9030, "###Position A##Lage A##Poloha A", 9000, "[°]", 26, S::Word, 0, 3, 1, 0, 720),
    row(9040, "###Position B##Lage B##Poloha B", 9000, "[°]", 27, S::Word, 0, 3, 1, 0, 720),
    row(9050, "###Inj. acording TP##Einspritz. aus TP##Vstřik odpovídá TP", 9000, "[%]", 198, S::Byte, 0, 3, 1, 0, 100),
    group(9200, "###Advance##Vorzündung##Přestih", 0, "[°]"),
    row(9211, "1", 9200, nullptr, 21, S::Derived, 0, 2, 1, 0, 60),
    row(9212, "2", 9200, nullptr, 22, S::Derived, 0, 2, 1, 0, 60),
    row(9213, "3", 9200, nullptr, 23, S::Derived, 0, 2, 1, 0, 60),
    row(9214, "4", 9200, nullptr, 24, S::Derived, 0, 2, 1, 0, 60),
    group(59000, "###Proprietary values####"),
    row(59010, "VAL1", 59000, "", 70, S::Word, 0, 5, 1, 0, 65535),
    row(59020, "VAL2", 59000, "", 71, S::Word, 0, 5, 1, 0, 65535),
    row(59030, "VAL3", 59000, "", 72, S::Word, 0, 5, 1, 0, 65535),
    row(59040, "VAL4", 59000, "", 73, S::Word, 0, 5, 1, 0, 65535),
    row(59050, "VAL5", 59000, "", 74, S::Word, 0, 5, 1, 0, 65535),
}};

struct MonitorTable
{
    std::array<CLngStr, kMonVarCount> rows = kInitialRows;
    bool valuesArrived = false;
};

MonitorTable& table()
{
    static MonitorTable t;
    return t;
}

}  // namespace

std::array<CLngStr, kMonVarCount>& MonitorVariables()
{
    return table().rows;
}

void ResetMonitorVariables()
{
    table() = MonitorTable{};
}

CLngStr* GetDef(int id)
{
    auto& rows = MonitorVariables();
    for (int i = 1; i < kMonVarCount; ++i)
        if (rows[static_cast<std::size_t>(i)].id == id) return &rows[static_cast<std::size_t>(i)];
    return &rows[0];
}

CLngStr* GetDefByName(std::string_view englishName)
{
    auto& rows = MonitorVariables();
    for (int i = 1; i < kMonVarCount; ++i)
        if (GetLngText(rows[static_cast<std::size_t>(i)].name, LNG_ENGLISH) == englishName)
            return &rows[static_cast<std::size_t>(i)];
    return &rows[0];
}

void GetDefPath(std::string& text, int id, bool withUnits)
{
    const CLngStr* r = GetDef(id);
    // Parents are looked up by identifier; a row that named itself (or a loop of them) must not recurse forever.
    if (r->parent != 0 && r->parent != id) {
        std::string parentPath;
        GetDefPath(parentPath, r->parent, false);
        text += parentPath;
    }
    text += '/';
    text += GetLngText(r->name);
    if (withUnits && r->units) {
        text += ' ';
        text += r->units;
    }
}

bool MonitorValuesArrived()
{
    return table().valuesArrived;
}

void SetMonitorValuesArrived()
{
    table().valuesArrived = true;
}

namespace {

void adaptRanges(const Image& image, const LiveBlock& live)
{
    CLngStr* iap = GetDefByName("IAP");
    iap->min = imageWord(image, 1021);
    iap->max = imageWord(image, 1030);

    const int limiter = std::max({image[2660], image[2661], image[2662]});
    GetDefByName("RPM")->max = limiter == 0 ? 10000 : 100.0 * limiter;

    CLngStr* launch = GetDefByName("Launch accel.");
    const bool bySpeed = live.Monb(211) != 0;
    launch->units = bySpeed ? "[km/h/s]" : "[rpm/s]";
    launch->max = bySpeed ? 100 : 20000;
    launch->scale = bySpeed ? 0.1 : 10;

    const auto servo = [&](std::string_view name, int percentByte) {
        CLngStr* r = GetDefByName(name);
        const bool percent = image[static_cast<std::size_t>(percentByte)] != 0;
        r->units = percent ? "[%]" : "[mV]";
        r->max = percent ? 100 : 5000;
        r->scale = percent ? 0.02 : 1;
        r->decimals = percent ? 1 : 0;
    };
    servo("Intake servo", 4415);
    servo("Exhaust servo", 4414);

    const bool afr = image[5029] == 0;
    for (std::string_view name : {"LAMBDA1", "LAMBDA2", "LAMBDA3", "LAMBDA4"}) {
        CLngStr* r = GetDefByName(name);
        r->units = afr ? "[AFR]" : "[1]";
        r->decimals = afr ? 1 : 2;
        r->scale = afr ? 0.1 : 1.0 / 147;
        r->min = afr ? 10 : 100.0 / 147;
        r->max = afr ? 18 : 180.0 / 147;
    }
}

}  // namespace

bool UpdateMonitorVariables(const Image& image, const LiveBlock& live, const DerivedLiveValues& derived)
{
    adaptRanges(image, live);
    const int limiterBits = (live.Monb(176) >> 2) & 7;
    bool changed = false;
    auto& rows = MonitorVariables();
    for (int i = 1; i < kMonVarCount; ++i) {
        CLngStr& r = rows[static_cast<std::size_t>(i)];
        if (r.position == 0) continue;
        double v = 0;
        switch (r.source) {
            case MonSource::Byte:
                v = live.Monb(r.position) * r.scale;
                break;
            case MonSource::Word:
                // Launch acceleration and slip are signed words.
                v = (r.id == 7010 || r.id == 7030 ? static_cast<std::int16_t>(live.Monw(r.position))
                                                  : live.Monw(r.position)) *
                    r.scale;
                break;
            case MonSource::Derived:
                v = r.position < kDerivedLiveCount ? derived[static_cast<std::size_t>(r.position)] * r.scale : 0;
                break;
        }
        switch (r.id) {
            case 1110:
            case 1120:
            case 6210:
            case 6220:
            case 6230:
            case 6240:
                v -= 100;
                break;
            case 6140:
                v -= 1000;
                break;
            default:
                break;
        }
        if (r.flags != 0) {
            switch (r.id) {
                case 1010:
                    r.flags = kMonFlagAvailable | (limiterBits != 0 ? kMonFlagLimiter : 0) |
                              (limiterBits == 7 ? kMonFlagAlarm : 0);
                    break;
                case 1220:
                    r.flags = kMonFlagAvailable | (v >= 100 ? kMonFlagWarning : 0);
                    break;
                case 1110:
                    r.flags = kMonFlagAvailable | (v >= 100 ? kMonFlagWarning : 0) | (v == -100 ? kMonFlagAlarm : 0);
                    break;
                case 1120:
                    r.flags = kMonFlagAvailable | (v == -100 ? kMonFlagAlarm : 0);
                    break;
                default:
                    break;
            }
        }
        if (v != r.value) changed = true;
        r.value = v;
    }
    return changed;
}
