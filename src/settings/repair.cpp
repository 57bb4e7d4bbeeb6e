#include "settings/repair.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "os/lngtext.h"
#include "settings/layout.h"

namespace {

// Image positions by layout name, looked up while compiling.
consteval int b(std::string_view name)
{
    return layoutOffset(name);
}
consteval int w(std::string_view name)
{
    return layoutWord(name);
}

constexpr int kUnsignedRising = 1;
constexpr int kUnsignedFalling = -1;
constexpr int kUnsignedBounded = 0;
constexpr int kSignedBounded = 100;

template <class Get, class Set>
void forceRowOrder(int mode, int length, int min, int max, int step, Get get, Set set)
{
    const bool isSigned = mode >= 99;
    const int d = isSigned ? mode - 100 : mode;
    const int direction = (d > 0) - (d < 0);
    for (int i = 0; i < length; ++i) {
        int lo = min;
        int hi = max;
        if (direction > 0) {
            lo = min + step * i;
            hi = max - step * (length - 1 - i);
        } else if (direction < 0) {
            lo = min + step * (length - 1 - i);
            hi = max - step * i;
        }
        int v = get(i, isSigned);
        if (v < lo) v = lo;
        if (v > hi) v = hi;
        set(i, v);
    }
    for (int i = 1; i < length; ++i) {
        const int prev = get(i - 1, isSigned);
        const int cur = get(i, isSigned);
        if (direction > 0 && cur <= prev)
            set(i, prev + step);
        else if (direction < 0 && cur >= prev)
            set(i, prev - step);
    }
}

void rising(Image& image, int pos, int min, int max, int length)
{
    ForceRowOrderBytes(image, kUnsignedRising, pos, 0, min, max, length, 1);
}

void bounded(Image& image, int pos, int min, int max, int length)
{
    ForceRowOrderBytes(image, kUnsignedBounded, pos, 0, min, max, length, 1);
}

void atMost(Image& image, int pos, int max)
{
    if (image[pos] > max) image[pos] = static_cast<std::uint8_t>(std::max(max, 0));
}

void zeroBecomesOne(Image& image, int pos)
{
    if (image[pos] == 0) image[pos] = 1;
}

void raiseTo(Image& image, int pos, int floorPos)
{
    image[pos] = std::max(image[pos], image[floorPos]);
}

std::uint16_t saturated16(int v)
{
    return static_cast<std::uint16_t>(std::clamp(v, 0, 0xFFFF));
}

// The three throttle points: TPS_0 and TPS_100 apart, TPS_X between them. Sums saturate so that a second
// repair finds nothing left to change.
void repairThrottlePoints(Image& image)
{
    const int i0 = w("TPS_0"), iX = w("TPS_X"), i100 = w("TPS_100");
    int t0 = imageWord(image, i0), tx = imageWord(image, iX), t100 = imageWord(image, i100);
    if (image[b("TPS_USEX")] == 0) {
        if (t0 == t100) {
            if (t100 <= 4990)
                t100 += 10;
            else
                t0 -= 10;
        }
    } else {
        if (t0 == t100) {
            if (t100 <= 4980)
                t100 += 20;
            else
                t0 -= 20;
        }
        if (t0 < t100) {
            if (t0 + 10 == t100) {
                if (t100 <= 4990)
                    t100 += 10;
                else
                    t0 -= 10;
            }
            if (tx <= t0) tx = saturated16(t0 + 10);
            if (tx >= t100) tx = saturated16(t100 - 10);
        } else if (t0 > t100) {
            if (t0 - 10 == t100) {
                if (t0 <= 4990)
                    t0 += 10;
                else
                    t100 -= 10;
            }
            if (tx <= t100) tx = saturated16(t100 + 10);
            if (tx >= t0) tx = saturated16(t0 - 10);
        }
    }
    setImageWord(image, i0, saturated16(t0));
    setImageWord(image, iX, saturated16(tx));
    setImageWord(image, i100, saturated16(t100));
}

struct TailTable
{
    int table;  // byte offset of the table
    int count;  // byte offset of its count of used columns
    bool isWord;
    int columns;
};
constexpr int kTableRows = 10;
constexpr TailTable kTailTables[] = {
    {b("ADV"), b("ADV_RPM_N"), false, 15},           {b("ADV2"), b("ADV2_RPM_N"), false, 15},
    {b("SERVO_IN"), b("SERVO_IN_RPM_N"), false, 15}, {b("SERVO_EX"), b("SERVO_EX_RPM_N"), false, 15},
    {b("INJ_1"), b("INJ_1_RPM_N"), true, 20},        {b("INJ_2"), b("INJ_2_RPM_N"), true, 20},
    {b("INJ_3"), b("INJ_3_RPM_N"), true, 20},        {b("INJ_4"), b("INJ_4_RPM_N"), true, 20},
    {b("INJ_B"), b("INJ_B_RPM_N"), false, 20},       {b("INJ_IAP"), b("INJ_IAP_RPM_N"), true, 20},
};

constexpr bool tailTablesMatchLayout()
{
    for (const TailTable& t : kTailTables) {
        int found = -1;
        for (int i = 0; i < kLayoutRowCount; ++i)
            if (kLayoutRows[i].offset == t.table && kLayoutRows[i].type != LayoutType::Free) found = i;
        if (found < 0) return false;
        const LayoutRow& row = kLayoutRows[found];
        if (row.length != t.columns * kTableRows * (t.isWord ? 2 : 1)) return false;
        if ((row.type == LayoutType::Word) != t.isWord) return false;
    }
    return true;
}
static_assert(tailTablesMatchLayout());

// Start-up checks of the layout constants, evaluated at build time too.
constexpr int kLargestLinkBuffer = 8000;

constexpr int rowEnd(const LayoutRow& row)
{
    return row.offset + row.length;
}

constexpr int wordAreaEnd()
{
    int end = 0;
    for (const LayoutRow& row : kLayoutRows)
        if (row.offset < RS_FIRST_BYTE_PARAM) end = std::max(end, rowEnd(row));
    return end;
}

constexpr int byteAreaEnd()
{
    int end = 0;
    for (const LayoutRow& row : kLayoutRows) end = std::max(end, rowEnd(row));
    return end;
}

// Bytes of an area that lie beyond its last parameter but are not declared free.
constexpr int undeclaredReserve(int areaStart, int areaEnd)
{
    int last = areaStart;
    for (const LayoutRow& row : kLayoutRows)
        if (row.offset >= areaStart && row.offset < areaEnd) last = std::max(last, rowEnd(row));
    return areaEnd - std::min(last, areaEnd);
}

struct EnumCheck
{
    std::string_view text;
    int value;
    bool failed;
};

constexpr std::array<EnumCheck, 5> enumChecks()
{
    const int reserveWord = undeclaredReserve(0, RS_FIRST_BYTE_PARAM);
    const int reserveByte = undeclaredReserve(RS_FIRST_BYTE_PARAM, RS_LEN_EXE);
    const int overrunWord = wordAreaEnd() - RS_FIRST_BYTE_PARAM;
    const int overrunByte = byteAreaEnd() - RS_LEN_EXE;
    return {{
        {"Software warning: unexpected Reserve Word - ", reserveWord, reserveWord != 0},
        {"Software warning: unexpected Reserve Byte - ", reserveByte, reserveByte != 0},
        {"Software error: Enum Adrw to long - ", overrunWord, overrunWord > 0},
        {"Software error: Enum Adrb to long - ", overrunByte, overrunByte > 0},
        {"Software error: RS_LEN_EXE>COMMAXBUF - ", RS_LEN_EXE, RS_LEN_EXE > kLargestLinkBuffer},
    }};
}

constexpr bool allEnumChecksPass()
{
    for (const EnumCheck& c : enumChecks())
        if (c.failed) return false;
    return true;
}
static_assert(allEnumChecksPass(), "the parameter layout does not fit the image");

}  // namespace

void ForceRowOrderBytes(Image& image, int mode, int base, int offset, int min, int max, int length, int step)
{
    const int start = base + offset;
    forceRowOrder(
        mode, length, min, max, step,
        [&](int i, bool isSigned) {
            const std::uint8_t v = image[start + i];
            return isSigned ? static_cast<int>(static_cast<std::int8_t>(v)) : static_cast<int>(v);
        },
        [&](int i, int v) { image[start + i] = static_cast<std::uint8_t>(v); });
}

void ForceRowOrderWords(Image& image, int mode, int base, int offset, int min, int max, int length, int step)
{
    const int start = base + offset;
    forceRowOrder(
        mode, length, min, max, step,
        [&](int i, bool isSigned) {
            const std::uint16_t v = imageWord(image, start + i);
            return isSigned ? static_cast<int>(static_cast<std::int16_t>(v)) : static_cast<int>(v);
        },
        [&](int i, int v) { setImageWord(image, start + i, static_cast<std::uint16_t>(v)); });
}

void FillRowTailBytes(Image& image, int base, int columns, int used, int rows)
{
    if (used < 1) return;
    for (int j = 0; j < rows; ++j)
        for (int i = used; i < columns; ++i) image[base + columns * j + i] = image[base + columns * j + used - 1];
}

void FillRowTailWords(Image& image, int base, int columns, int used, int rows)
{
    if (used < 1) return;
    for (int j = 0; j < rows; ++j)
        for (int i = used; i < columns; ++i)
            setImageWord(image, base + columns * j + i, imageWord(image, base + columns * j + used - 1));
}

std::vector<std::string> SelfCheckEnums()
{
    std::vector<std::string> failures;
    for (const EnumCheck& c : enumChecks()) {
        if (!c.failed) continue;
        std::string text(c.text);
        text += std::to_string(c.value);
        if (c.value == RS_LEN_EXE) text += ">" + std::to_string(kLargestLinkBuffer);
        failures.push_back(std::move(text));
    }
    return failures;
}

RepairState NormalizeSettingsImage(Image& image)
{
    RepairState state;

    image[b("QUICKSHIFTUP_INJ") + 5] = 0;
    image[b("QUICKSHIFTUP_ADV") + 5] = 0;
    if (imageWord(image, w("POUT_SPEED")) == 0) setImageWord(image, w("POUT_SPEED"), 1);
    atMost(image, b("CHANNELS"), 4);

    {
        const int dwell = b("COR_U_DWELL");
        const bool allHundred = std::all_of(&image[dwell], &image[dwell + 9], [](std::uint8_t v) { return v == 100; });
        if (image[b("ADV_RPM_N")] == 0 && allHundred) std::fill(&image[dwell], &image[dwell + 9], std::uint8_t{0});
    }

    rising(image, b("ADV_RPM"), 3, 250, 15);
    rising(image, b("ADV2_RPM"), 3, 250, 15);
    for (int axis : {b("INJ_1_RPM"), b("INJ_2_RPM"), b("INJ_3_RPM"), b("INJ_4_RPM"), b("INJ_B_RPM"), b("INJ_IAP_RPM")})
        rising(image, axis, 3, 250, 20);
    ForceRowOrderWords(image, kUnsignedRising, w("ADV_IAP"), 0, 0, 999, 10, 1);
    for (int axis : {b("POS_A_RPM"), b("POS_B_RPM"), b("SERVO_IN_RPM"), b("SERVO_EX_RPM")})
        rising(image, axis, 3, 250, 15);
    ForceRowOrderWords(image, kUnsignedRising, w("INJ_IAP_IAP"), 0, 0, 1000, 10, 1);
    rising(image, b("STARTLIM_RET_TIM"), 0, 250, 15);
    rising(image, b("STARTLIM_IGN_TIM"), 0, 250, 15);
    zeroBecomesOne(image, b("STARTLIM_INJ"));

    bounded(image, b("ADV"), 0, 60, 150);
    bounded(image, b("ADV2"), 0, 60, 150);
    bounded(image, b("INJ_B"), 0, 100, 200);
    for (auto [table, percent] :
         {std::pair{b("SERVO_IN"), b("SERVO_IN_PERCENT")}, std::pair{b("SERVO_EX"), b("SERVO_EX_PERCENT")}}) {
        if (image[percent] != 0)
            bounded(image, table, 1, 99, 150);
        else
            bounded(image, table, 0, 250, 150);
    }
    zeroBecomesOne(image, b("TPS_PX"));
    atMost(image, b("TPS_PX"), 99);
    for (int i = 0; i < 10; ++i) atMost(image, b("COR_TW_START_INJ") + i, 250);
    rising(image, b("CHOKE_T"), 0, 250, 4);
    bounded(image, b("CHOKE_COR"), 0, 250, 4);
    for (int i = 0; i < 6; ++i) raiseTo(image, b("GEAR_SHIFT_LIGHT2") + i, b("GEAR_SHIFT_LIGHT1") + i);

    atMost(image, b("N2O_GAS1"), 100);
    atMost(image, b("N2O_GAS2"), 100);
    raiseTo(image, b("N2O_GAS2"), b("N2O_GAS1"));
    zeroBecomesOne(image, b("N2O_GAS_T"));
    atMost(image, b("N2O_GAS_D"), 200);
    atMost(image, b("N2O_GAS_T"), 200);
    atMost(image, b("N2O_RETARD1"), 25);
    atMost(image, b("N2O_RETARD2"), 25);
    raiseTo(image, b("N2O_RETARD2"), b("N2O_RETARD1"));
    atMost(image, b("N2O_RETARD_D"), 200);
    zeroBecomesOne(image, b("N2O_RETARD_T"));
    atMost(image, b("N2O_RETARD_T"), 200);
    raiseTo(image, b("N2O_INJ_COR2"), b("N2O_INJ_COR1"));

    atMost(image, b("BASE_ADV"), 60);
    atMost(image, b("COMPENS"), 24);
    atMost(image, b("IAP_TO_TPS_TPS1"), 101);
    raiseTo(image, b("IAP_TO_TPS_TPS2"), b("IAP_TO_TPS_TPS1"));
    raiseTo(image, b("IAP_TO_TPS_RPM2"), b("IAP_TO_TPS_RPM1"));

    ForceRowOrderWords(image, kUnsignedFalling, w("SENSOR_TW"), 0, 0, 5000, 9, 1);
    ForceRowOrderWords(image, kUnsignedFalling, w("SENSOR_TA"), 0, 0, 5000, 9, 1);

    const int lobes = image[b("LOBES")];
    const int channels = image[b("CHANNELS")];
    atMost(image, b("IDLE_LOBE"), 2 * lobes);
    {
        const int limit = image[b("INJ_MODE_1234")] == 0 ? channels : (channels < 2 ? 1 : 0);
        atMost(image, b("TUNNING_CHAN"), limit);
    }

    rising(image, b("SENSOR_LAMBDA_AF"), 0, 250, 6);
    ForceRowOrderWords(image, image[b("SENSOR_LAMBDA_MODE")] == 1 ? kUnsignedRising : kUnsignedFalling,
                       w("SENSOR_LAMBDA_U"), 0, 0, 5000, 6, 1);
    rising(image, b("LAMBDA_TACHO_AF"), 0, 250, 2);
    bounded(image, b("LAMBDA_TACHO_RPM"), 3, 250, 2);
    rising(image, b("LAMBDA_BAR"), 0, 250, 4);
    rising(image, b("TUNNING_LAMBDA_RPM"), 3, 250, 5);
    bounded(image, b("TUNNING_LAMBDA_TG"), 0, 250, 25);
    rising(image, b("ACCLIM_TRESHOLD_RPM"), 3, 250, 5);
    rising(image, b("ACCLIM_SPEED_RETURN_RPM"), 3, 250, 5);
    rising(image, b("ACCLIM_PROP_EFFECT_RPM"), 3, 250, 5);

    {
        const int lobeCount = lobes + image[b("LOBES_SKIPPED")];
        if (image[b("LOBE_MODE")] == 0 && lobeCount != 0) {
            int angle = 3600;
            switch (image[b("LOBE_MULTI")]) {
                case 0:
                    angle = 7200;
                    break;
                case 2:
                    angle = 1800;
                    break;
                case 3:
                    angle = 1200;
                    break;
                default:
                    break;
            }
            setImageWord(image, w("LOBE_ANGLE"), static_cast<std::uint16_t>(angle / lobeCount));
        }
    }
    {
        const int limit = image[b("SYNCHRO2")] == 4 ? lobes : 2 * lobes;
        bounded(image, b("LOBE_BEG"), 1, limit, 4);
        bounded(image, b("LOBE_END"), 1, limit, 4);
    }
    // Phases count from 0 to LOBES - 1; without lobes they stay 0 instead of wrapping to 255.
    const int lastLobe = std::max(lobes - 1, 0);
    bounded(image, b("HUNTING_PHASE1"), 0, lastLobe, 3);
    if (image[b("LOBE_MODE")] != 0)
        image[b("LOBE_VAL_AQUISITION")] = 0;
    else
        atMost(image, b("LOBE_VAL_AQUISITION"), lastLobe);
    atMost(image, b("SYN1_SP_PHASE_OUT"), lastLobe);
    atMost(image, b("SYN1_SP_CONDITIONS"), 5);

    rising(image, b("TUNNING_LAMBDA_RPM"), 1, 250, 5);
    bounded(image, b("TUNNING_LAMBDA_TG"), 1, 250, 25);

    {
        constexpr std::uint16_t kDefaultCanId = 802;
        const int first = w("UEGO_CAN_ID");
        if (image[b("SOFF_AFR")] != 0 || image[b("SENSOR_LAMBDA_MODE")] != 2 || image[b("INJ_MODE_1234")] != 0 ||
            channels < 2) {
            for (int i = 0; i < 4; ++i) setImageWord(image, first + i, kDefaultCanId);
        } else {
            if (channels <= 2) setImageWord(image, first + 2, kDefaultCanId);
            if (channels <= 3) setImageWord(image, first + 3, kDefaultCanId);
        }
        for (int i = 0; i < 4; ++i) {
            const int id = imageWord(image, first + i);
            if (id == 0 || id > 2047) setImageWord(image, first + i, kDefaultCanId);
        }
    }

    repairThrottlePoints(image);

    if (image[b("SERVO_IN_ENABLE")] == 0) image[b("SERVO_IN_TPS")] = 0;
    if (image[b("SERVO_IN_TPS")] == 0) image[b("SERVO_EX_TPS")] = 0;
    if (image[b("SERVO_EX_ENABLE")] == 0) image[b("SERVO_EX_TPS")] = 0;

    {
        constexpr int kFunctionCount = 24;
        constexpr int kFallbackFunction = 3;
        constexpr int kFidValve = 14;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t& mode = image[b("POUT_MODE") + i];
            if (mode >= kFunctionCount) mode = kFallbackFunction;
            if (mode == kFidValve) state.fidFlag = true;
            ForceRowOrderBytes(image, kUnsignedRising, b("POUT_RPM"), 3 * i, 3, 250, 3, 1);
            ForceRowOrderBytes(image, kUnsignedRising, b("POUT_TPS"), 2 * i, 0, 100, 2, 1);
        }
        if (image[b("POUT5_MODE")] >= kFunctionCount) image[b("POUT5_MODE")] = kFallbackFunction;
        rising(image, b("POUT5_RPM"), 3, 250, 3);
        rising(image, b("POUT5_TPS"), 0, 100, 2);
        for (int i = 0; i < 5; ++i) {
            ForceRowOrderBytes(image, kUnsignedRising, b("POUT_IAP_RPM"), 3 * i, 3, 250, 3, 1);
            ForceRowOrderWords(image, kUnsignedRising, w("POUT_IAP_IAP"), 2 * i, 0, 500, 2, 1);
        }
        bounded(image, b("POUT_PWMT"), 0, 99, 10);
        bounded(image, b("POUT_PWMS"), 0, 99, 10);
    }

    {
        std::uint8_t& band = image[b("IDLE_CONTROL_BAND")];
        const int hyster = image[b("IDLE_HYSTER")];
        // Saturates: a hysteresis of 255 would otherwise wrap the band round to 0.
        if (image[b("IDLE_MODE")] == 2 && band <= hyster) band = static_cast<std::uint8_t>(std::min(hyster + 1, 255));
        if (band == 0) band = 1;
        if (band > 250) band = 250;
    }

    {
        const int h = image[b("COMP_LIMIT")];
        for (int base : {b("INJ_COMP_TP"), b("INJ_COMP_IAP")}) {
            for (int i = 0; i < 200; ++i) {
                std::uint8_t& v = image[base + i];
                if (v < 100 - h) v = static_cast<std::uint8_t>(100 - h);
                if (v > 100 + h) v = static_cast<std::uint8_t>(100 + h);
            }
        }
    }

    for (const TailTable& t : kTailTables) {
        std::uint8_t& count = image[t.count];
        if (count == 0 || count > t.columns) count = static_cast<std::uint8_t>(t.columns);
        if (t.isWord)
            FillRowTailWords(image, t.table / 2, t.columns, count, kTableRows);
        else
            FillRowTailBytes(image, t.table, t.columns, count, kTableRows);
    }

    ForceRowOrderBytes(image, kSignedBounded, b("COR_U_DWELL"), 0, -20, 100, 9, 1);

    const int language = GetLanguageIndex();
    if (language != LNG_GERMAN && language != LNG_CZECH) SetLanguageIndex(LNG_ENGLISH);

    image[b("RSKEY_MODIFY")] = 1;

    state.cylinderCount = image[b("CHANNELS")];
    return state;
}
