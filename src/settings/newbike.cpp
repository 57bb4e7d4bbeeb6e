#include "settings/newbike.h"

#include <algorithm>
#include <array>
#include <optional>

#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

namespace {

// clang-format off
constexpr BikeModel kBikeModels[] = {
    {0, "Aprilia RSV MILLE                98-"},
    {43, "Aprilia RSV MILLE                04-"},
    {39, "Aprilia SXV 450"},
    {68, "Aprilia Dorsuduro"},
    {58, "Buel XB12 X"},
    {1, "Ducati 996"},
    {30, "Ducati 999"},
    {24, "HD V-rod"},
    {63, "Honda CB 1000 RR"},
    {2, "Honda CBR 600 F               01-02"},
    {3, "Honda CBR 600 RR            03-04"},
    {28, "Honda CBR 600 RR            05-06"},
    {46, "Honda CBR 600 RR            07"},
    {4, "Honda CBR 900 RR            00-03"},
    {21, "Honda CBR 1000 RR          04-07"},
    {56, "Honda CBR 1000 RR          08-"},
    {22, "Honda CBR 1100 XX"},
    {44, "Honda CRF 250 PCE"},
    {31, "Honda VFR 800"},
    {5, "Honda VTR 1000 SP-1       01-02"},
    {6, "Kawasaki  ZX 6R PCE         02"},
    {7, "Kawasaki  ZX6RR               03"},
    {19, "Kawasaki  ZX6RR               04-06"},
    {48, "Kawasaki  ZX6RR               07"},
    {67, "Kawasaki  ZX6RR               19"},
    {8, "Kawasaki  ZX10 R               04-05"},
    {36, "Kawasaki  ZX10 R               06-"},
    {57, "Kawasaki  ZX10 R               08-"},
    {9, "Kawasaki  ZX12 R               00-01"},
    {10, "Kawasaki  ZX12 R               02-"},
    {54, "Kawasaki  ZX12 R               04-"},
    {66, "Kawasaki  ZZR1400            06-"},
    {33, "###One lobe short dwell####Jednopalec krátké buzení"},
    {32, "###One lobe long dwell####Jednopalec dlouhé buzení"},
    {38, "Peugeot"},
    {62, "Suzuki B-King"},
    {52, "Suzuki DL-1000"},
    {11, "Suzuki GSX-R600               01-03"},
    {20, "Suzuki GSX-R600               04-05"},
    {41, "Suzuki GSX-R600               06-07"},
    {64, "Suzuki GSX-R600               09-"},
    {12, "Suzuki GSX-R750               00-03"},
    {23, "Suzuki GSX-R750               04-05"},
    {49, "Suzuki GSX-R750               06-07"},
    {13, "Suzuki GSX-R1000             01-02"},
    {14, "Suzuki GSX-R1000             03-04"},
    {26, "Suzuki GSX-R1000             05-06"},
    {15, "Suzuki GSX-1300               99-01"},
    {29, "Suzuki GSX-1300               02-"},
    {50, "Suzuki GSX-1400"},
    {40, "Suzuki SV 650 S"},
    {37, "Suzuki SV 1000 S"},
    {16, "Suzuki TL 1000 R               98-"},
    {25, "Suzuki TL 1000 S"},
    {45, "Triumph Daytona 675       06-07"},
    {53, "Triumph Speed Triple 1050    06"},
    {35, "Yamaha FZS-600 Fazer"},
    {51, "Yamaha FZS-1000 Fazer"},
    {61, "Yamaha R 125"},
    {60, "Yamaha TDM 900"},
    {42, "Yamaha XT 660"},
    {17, "Yamaha YZF-R1                 02-03"},
    {27, "Yamaha YZF-R1                 04-06"},
    {47, "Yamaha YZF-R1                 07-08"},
    {65, "Yamaha YZF-R1                 09- (Crossplane)"},
    {18, "Yamaha YZF-R6                 03-07"},
    {34, "Yamaha YZF-R6R               06-07"},
    {55, "Yamaha YZF-R6R               08-"},
    {59, "Yamaha YP 400"},
};
// clang-format on
static_assert(std::size(kBikeModels) == RS_MODEL_COUNT);

constexpr int kBikeByte = RS_BIKE_BYTE;
constexpr int kInjMode1234 = 3817;
constexpr int kSynchro1 = 2681;

// LIMITER_BASIC (b2506) by model, in hundreds of rpm; every model not listed (and every number above 68) gets 150.
struct LimiterRow
{
    int value;
    std::array<std::int8_t, 10> models;  // -1 ends the list
};
// clang-format off
constexpr LimiterRow kLimiterRows[] = {
    {80, {60, -1}},
    {95, {52, -1}},
    {100, {24, 53, 58, -1}},
    {105, {16, 25, 37, 62, -1}},
    {108, {1, 30, -1}},
    {109, {15, 29, 50, -1}},
    {110, {0, 5, 9, 10, 40, -1}},
    {113, {43, 68, -1}},
    {115, {39, 54, 66, -1}},
    {120, {4, 13, 14, 22, 31, 38, 51, -1}},
    {124, {21, -1}},
    {127, {8, 36, -1}},
    {130, {26, -1}},
    {133, {56, -1}},
    {135, {45, -1}},
    {136, {12, 23, -1}},
    {138, {17, -1}},
    {140, {2, 6, 7, 11, 20, 32, 35, 44, 63, -1}},
    {143, {27, -1}},
    {148, {49, -1}},
    {150, {3, 18, 28, 33, 42, 57, 59, 61, 64, 65}},
    {152, {48, 67, -1}},
    {154, {41, -1}},
    {155, {19, 46, -1}},
    {158, {34, 47, 55, -1}},
};
// clang-format on
constexpr int kLimiterOther = 150;

// A run of defaults: `count` fields from `first` (word index or byte offset) take the pattern, repeated.
struct DefaultRun
{
    bool isWord;
    int first;
    int count;
    std::array<std::int16_t, 10> pattern;
    int patternLength;
};
constexpr DefaultRun bytes(int first, int count, std::int16_t value)
{
    return {false, first, count, {value}, 1};
}
constexpr DefaultRun words(int first, int count, std::int16_t value)
{
    return {true, first, count, {value}, 1};
}
template <typename... V>
constexpr DefaultRun byteList(int first, V... values)
{
    return {false, first, int(sizeof...(V)), {std::int16_t(values)...}, int(sizeof...(V))};
}
template <typename... V>
constexpr DefaultRun wordList(int first, V... values)
{
    return {true, first, int(sizeof...(V)), {std::int16_t(values)...}, int(sizeof...(V))};
}
constexpr DefaultRun repeated(DefaultRun run, int count)
{
    run.count = count;
    return run;
}

// Defaults written between the two parses of a model file: they stand wherever the file has no key.
// The copy of IDLE_SERVO_TG into IDLE_SERVO_TG_START comes first (see applyBetweenParseDefaults).
// clang-format off
constexpr DefaultRun kBetweenParseDefaults[] = {
    bytes(3417, 400, 100),                                   // INJ_COMP_TP, INJ_COMP_IAP
    bytes(3833, 1, 0), bytes(4581, 1, 0), bytes(3085, 2, 0), // COMP_LIMIT, TUNNING_SOURCE, ADV_USE_IAP
    wordList(1011, 30, 50, 60, 70, 75, 80, 85, 90, 95, 100), // ADV2_IAP
    wordList(1001, 30, 50, 60, 70, 75, 80, 85, 90, 95, 100), // ADV_IAP
    bytes(3834, 1, 0),                                       // COR_RESULT_TIME
    words(1080, 4, 802),                                     // CAN identifiers of the lambda sensors
    bytes(4520, 1, 0), bytes(4525, 1, 0),                    // DEC_ENABLE, DEC_USE_SPEED
    // DEC_SPEED_MIN, DEC_TPS_MIN, DEC_RPM_MIN, DEC_SERVO_PERC, DEC_SERVO_V (byte)
    byteList(4526, 80), byteList(4522, 25), byteList(4521, 50), byteList(4523, 50), byteList(4524, 50),
    words(1137, 1, 500),                                     // DEC_SERVO_V
    words(1124, 2, 0),                                       // DEC_STEP_WOPOT, DEC_STEP_TPSMIN
    bytes(4891, 3, 0),                                       // INJ_B_USECOR, INJ_B_USEFORSTEP, INJ_B_USE_IAP
    bytes(4630, 1, 0), bytes(3832, 1, 0),                    // STARTLIM_IGN_DELAY, B_MODE
    bytes(4051, 1, 65),                                      // DEAD_TIME
    bytes(4042, 9, 0),                                       // COR_U_DWELL
    wordList(1031, 226, 186, 156, 140, 123, 113, 100, 92, 87),  // COR_U
    bytes(4894, 1, 250),                                     // STARTLIM_INJ
    bytes(3836, 8, 0), bytes(3844, 1, 0), bytes(3835, 1, 0), // INPUT, it_INPUT_INV, SENSORS_AP_SRC
    byteList(4513, 0), byteList(4514, 5),                    // QUICKSHIFTDN_TIME_OLD, QUICKSHIFTDN_TPS_OLD
    bytes(4633, 1, 250),                                     // ACCLIM_RPMMAX
    byteList(4008, 90, 120, 150, 180, 190, 195, 200, 205, 210, 215),  // COR_TW_INJ_T
    byteList(4025, 90, 120, 150, 180, 190, 195, 200, 205, 210, 215),  // COR_TW_IGN_T
    byteList(4018, 90, 120, 150, 180, 200, 210, 220),        // COR_TA_INJ_T
    byteList(4035, 90, 120, 150, 180, 200, 210, 220),        // COR_TA_IGN_T
    words(1132, 5, 0),                                       // PROP
    bytes(4726, 3, 0),                                       // ACCLIM_FLT_SECTORS, _OVERLAP, _END
    byteList(4068, 0, 25, 50, 75, 100),                      // FUEL_PERC
    byteList(4073, 0, 62, 125, 187, 250),                    // FUEL_U: 250 * i / 4
    wordList(1087, 125, 375),                                // QS_ANALOG_DOWN, QS_ANALOG_UP
    byteList(4878, 1, 0, 250),                               // GEAR_N_ON, GEAR_N0, GEAR_N1
    byteList(4881, 0), byteList(4885, 10),                   // POUT5_MODE, POUT5_HYSTER
    byteList(4882, 90, 95, 120), byteList(4886, 75, 90), byteList(4888, 0, 0, 0),  // POUT5_RPM, _TPS, _OUT
    bytes(4929, 5, 120),                                     // POUT_SEC_COOL, first five
    words(1139, 1, 100),                                     // POUT_SPEED
    repeated(byteList(4935, 90, 95, 120), 15),               // POUT_IAP_RPM
    repeated(wordList(1140, 30, 100), 10),                   // POUT_IAP_IAP
    bytes(4953, 15, 0),                                      // POUT_IAP_OUT
    byteList(4998, 0, 1, 3, 12, 21, 31, 42, 54, 65, 77),     // POUT_PWMT: (t + 5) / 10 - 17 of the period table
    byteList(5017, 16, 17, 20, 29, 37, 47, 58, 70, 81, 93),  // POUT_PWMS
    bytes(4923, 5, 0),                                       // POUT_INV, first five
    words(1138, 1, 133),                                     // GEAR_ODO
    byteList(4919, 0), byteList(4921, 0, 25),                // QUICKSHIFTUP_OVER, _CANCELAFTER, INHIBIT_REV
    bytes(4971, 3, 20),                                      // TEMP_MAX_DEVIATION, TEMP_I, TEMP_P
    byteList(4974, 28, 48, 88, 110, 130),                    // TEMP_SPEED
    byteList(4979, 75, 90, 110, 150, 225, 250),              // TEMP_V
    bytes(5008, 5, 0),                                       // TEMP_INIP
    byteList(4985, 10, 110),                                 // OILPRESS_SENS_P1, _P2
    wordList(1152, 500, 4600),                               // OILPRESS_SENS_U1, _U2
    byteList(4987, 10, 20, 40, 80, 160),                     // OILPRESS_RPM
    bytes(4992, 5, 0),                                       // OILPRESS_MINP
    bytes(5016, 1, 0), bytes(5028, 2, 0),                    // GPS_FOR_QS and two free bytes
    byteList(4569, 2, 1),                                    // IDLE_REGULATION, IDLE_LOBE
    byteList(4907, 1, 1, 1, 1, 1, 0),                        // QUICKSHIFTDN_TIME
    bytes(4913, 6, 0),                                       // QUICKSHIFTDN_TPS
    bytes(5013, 1, 0), bytes(5015, 1, 0),                    // SERVO_EX_O, SERVO_CHAN
    bytes(5027, 1, 1),                                       // a free byte
};
// clang-format on

void applyRun(Image& image, const DefaultRun& run)
{
    for (int i = 0; i < run.count; ++i) {
        const int value = run.pattern[static_cast<std::size_t>(i % run.patternLength)];
        if (run.isWord)
            setImageWord(image, run.first + i, static_cast<std::uint16_t>(value));
        else
            image[static_cast<std::size_t>(run.first + i)] = static_cast<std::uint8_t>(value);
    }
}

void applyBetweenParseDefaults(Image& image)
{
    for (int i = 0; i < 9; ++i)  // IDLE_SERVO_TG_START := IDLE_SERVO_TG
        setImageWord(image, 1114 + i, imageWord(image, 1105 + i));
    for (const DefaultRun& run : kBetweenParseDefaults) applyRun(image, run);
}

// Synchronisation defaults per trigger type. -1: unchanged; -2: LOBE_END_E2's first element, at most 1.
struct SyncRow
{
    int synchro1;
    std::array<int, 4> edges;  // SYN1_SP_EVAL_EDGE, _TRACKED_EDGES, _CONDITIONS, _PHASE_OUT (b2731..2734)
    std::array<std::pair<int, int>, 10> pairs;  // (SYN1_SP_COEF[k], SYN1_SP_PHASE[k]); (-1, -1) ends
};
constexpr std::pair<int, int> kEnd{-1, -1};
// clang-format off
constexpr SyncRow kSyncRows[] = {
    {0, {1, 0, 1, 0}, {{{2, 1}, {1, 0}, kEnd}}},
    {1, {1, 0, 1, 0}, {{{3, 1}, {2, 0}, kEnd}}},
    {2, {0, 1, 4, 1}, {{{2, 5}, {1, 3}, {2, 1}, {1, 3}, {1, 4}, {1, 3}, {1, 2}, {1, 3}, kEnd}}},
    {5, {-1, -1, 0, -1}, {{kEnd}}},
    {7, {-2, 0, 2, 1}, {{{3, 1}, {2, 0}, {3, 1}, {1, 2}, kEnd}}},
    {8, {-2, 0, 2, 0}, {{{3, 0}, {2, 2}, {3, 1}, {2, 2}, kEnd}}},
    {9, {-2, 1, 3, 0}, {{{1, 1}, {1, 0}, {1, 2}, {1, 0}, {1, 1}, {1, 3}, kEnd}}},
    {10, {-1, -1, -1, -1}, {{kEnd}}},
};
// Trigger types 3, 4, 6 and above 10: ten pairs (2 - k mod 2, k).
constexpr SyncRow kSyncOther = {-1, {0, 0, 2, 0},
    {{{2, 0}, {1, 1}, {2, 2}, {1, 3}, {2, 4}, {1, 5}, {2, 6}, {1, 7}, {2, 8}, {1, 9}}}};
// clang-format on

// For each image byte, the page flags whose keys store it: what a parse for one page may change.
const std::array<PageMask, RS_LEN_EXE>& fieldPages()
{
    static const std::array<PageMask, RS_LEN_EXE> pages = [] {
        std::array<PageMask, RS_LEN_EXE> map{};
        auto markField = [&](int address, PageMask mask) {
            const int a = address & ~RS_SIGNED;
            if (a >= 0 && a < RS_WORD_COUNT) {
                map[static_cast<std::size_t>(2 * a)] |= mask;
                map[static_cast<std::size_t>(2 * a + 1)] |= mask;
            } else if (a >= RS_FIRST_BYTE_PARAM && a < RS_LEN_EXE) {
                map[static_cast<std::size_t>(a)] |= mask;
            }
        };
        for (const KeyRow& row : keyRows()) {
            if (row.role != KeyRole::Written) continue;
            if (row.special == KeySpecial::Memo)
                for (int a = kNotesFirst; a <= kNotesLimit; ++a) markField(a, row.pages);
            for (const KeyItem& item : row.itemList()) {
                const PageMask mask = item.page >= 0 ? pageBit(static_cast<PageFlag>(item.page)) : row.pages;
                int fields = 0;
                switch (item.kind) {
                    case ItemKind::Field:
                    case ItemKind::Bits:
                        fields = 1;
                        break;
                    case ItemKind::Row:
                    case ItemKind::Table:
                        fields = item.count;
                        break;
                    case ItemKind::Axis:
                    case ItemKind::CountedRow:
                        fields = item.count;
                        markField(item.countByte, mask);
                        break;
                    case ItemKind::Grid:
                        fields = 200;
                        markField(item.countByte, mask);
                        break;
                    default:
                        break;
                }
                for (int i = 0; i < fields; ++i) markField(item.address + i, mask);
            }
        }
        return map;
    }();
    return pages;
}

void setStepSixDefaults(Image& image)
{
    for (int b : {2694, 4431, 5014, 4430, 4429})  // SYNCHRO_IGN_EVERY_TURN, servo TPS and polarity bytes
        image[static_cast<std::size_t>(b)] = 0;
    setImageWord(image, 1104, 100);  // SPEED_OUT_CORRECTION
}

void setFinalDefaults(Image& image)
{
    image[4920] = 1;   // RSKEY_MODIFY
    image[4613] = 20;  // TUNNING_RPM
    const int model = image[kBikeByte];
    if (model == 22 || model == 50) {
        image[2693] = 0;  // SYNCHRO_IGN_AFTER_S1
        image[2694] = 1;  // SYNCHRO_IGN_EVERY_TURN
    }
}

ReaderHooks silentHooks()
{
    ReaderHooks hooks;
    hooks.setLambdaSensorDefaults = [](Image& image, int mode) { SetLambdaSensorDefaults(image, mode); };
    return hooks;
}

// The whole procedure on `image`, with the model text at hand. The reader's hook for old files without their
// own synchronisation stays empty here: it would start this procedure again on the same file.
void runNewBike(Image& image, std::string_view text, PageImportFlags flags)
{
    SetBikeDefaults(image, image[kBikeByte]);
    setStepSixDefaults(image);
    const ReaderHooks hooks = silentHooks();
    (void)ParseSettingsText(image, text, flags, hooks);
    applyBetweenParseDefaults(image);
    (void)ParseSettingsText(image, text, flags, hooks);
    setFinalDefaults(image);
}

}  // namespace

std::span<const BikeModel> BikeModels()
{
    return kBikeModels;
}

std::string_view BikeModelEnglishName(int model)
{
    for (const BikeModel& m : kBikeModels) {
        if (m.tag != model) continue;
        std::string_view name = m.displayName;
        if (name.starts_with("###")) {  // a trilingual text: the English part
            name.remove_prefix(3);
            name = name.substr(0, name.find("##"));
        }
        return name;
    }
    return {};
}

std::string ModelFileName(std::string_view displayName)
{
    std::string out;
    int blanks = 0;
    bool opened = false;
    for (const char c : displayName) {
        if (c == ' ') {
            if (!out.empty() && blanks++ == 0) out += ' ';
            continue;
        }
        // One bracket at most: a second wide gap before a digit would open a bracket that is never closed.
        if (blanks >= 2 && c >= '0' && c <= '9' && !opened) {
            out += '(';
            opened = true;
        }
        blanks = 0;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (opened) out += ')';
    return out;
}

PageImportFlags SetPageImportFlags(const Image& image, const NewBikePage& page)
{
    if (page.page < 0) return PageImportFlags::all();
    const bool singleInjection = image[kInjMode1234] == 0;
    // Injection page by the editor's sheet: 1A, 2A, 3A, 4A (single injection only), TP correction, B, IAP, IAP
    // correction.
    constexpr std::array<PageFlag, 8> kInjectionSheets{
        PageFlag::Injection1A,  PageFlag::Injection2A,           PageFlag::Injection3A,
        PageFlag::Injection4A,  PageFlag::InjectionTpCorrection, PageFlag::InjectionB,
        PageFlag::InjectionIap, PageFlag::InjectionIapCorrection};
    // Pages 0..21 in the main window's order; 3 and 8 depend on the sheet, 15 and 18 have no flag.
    constexpr std::array<int, 22> kPageFlags{0,  1,  2,  -1, 11, 12, 13, 14, -1, 20, 17,
                                             18, 19, 21, 22, -2, 23, 24, -2, 25, 26, 27};
    if (page.page >= static_cast<int>(kPageFlags.size())) return PageImportFlags{0};
    const int direct = kPageFlags[static_cast<std::size_t>(page.page)];
    if (direct >= 0) return PageImportFlags::only(static_cast<PageFlag>(direct));
    if (page.page == 3 && page.injectionSheet >= 0 && page.injectionSheet < 8 &&
        (singleInjection || page.injectionSheet == 0 || page.injectionSheet > 3))
        return PageImportFlags::only(kInjectionSheets[static_cast<std::size_t>(page.injectionSheet)]);
    if (page.page == 8 && (page.servoSheet == 0 || page.servoSheet == 1))
        return PageImportFlags::only(page.servoSheet == 0 ? PageFlag::ServosIn : PageFlag::ServosEx);
    return PageImportFlags{0};
}

void SetBikeDefaults(Image& image, int model)
{
    const int bike = image[kBikeByte];
    image[2507] = (bike == 47 || bike == 55) ? 1 : 0;  // SUCTION_THROAT
    image[2505] = 35;                                  // INJ_NO_MAP
    image[2503] = 55;                                  // COR_P0
    image[2504] = 105;                                 // COR_P1
    int limiter = kLimiterOther;
    for (const LimiterRow& row : kLimiterRows) {
        for (const std::int8_t m : row.models) {
            if (m < 0) break;
            if (m == model) limiter = row.value;
        }
    }
    image[2506] = static_cast<std::uint8_t>(limiter);  // LIMITER_BASIC
}

void SetLambdaSensorDefaults(Image& image, int wideBandFlag)
{
    constexpr std::array<std::uint8_t, 6> kAfNarrow{100, 130, 140, 150, 160, 180};
    constexpr std::array<std::uint8_t, 6> kAfWide{100, 120, 130, 150, 160, 180};
    constexpr std::array<std::uint16_t, 6> kUNarrow{900, 840, 760, 100, 10, 0};
    constexpr std::array<std::uint16_t, 6> kUWide{0, 1250, 1875, 3125, 3750, 5000};
    const bool wide = wideBandFlag != 0;
    for (std::size_t i = 0; i < 6; ++i) {
        image[4061 + i] = (wide ? kAfWide : kAfNarrow)[i];
        setImageWord(image, 1062 + static_cast<int>(i), (wide ? kUWide : kUNarrow)[i]);
    }
}

void SetSyncDefaults(Image& image)
{
    const int synchro1 = image[kSynchro1];
    const SyncRow* row = &kSyncOther;
    for (const SyncRow& r : kSyncRows)
        if (r.synchro1 == synchro1) row = &r;
    for (std::size_t i = 0; i < 4; ++i) {
        const int v = row->edges[i];
        if (v == -2)
            image[2731 + i] = std::min<std::uint8_t>(image[2708], 1);
        else if (v >= 0)
            image[2731 + i] = static_cast<std::uint8_t>(v);
    }
    for (std::size_t k = 0; k < 10; ++k) {
        const auto [coef, phase] = row->pairs[k];
        if (coef < 0) break;
        image[2735 + k] = static_cast<std::uint8_t>(coef);
        image[2745 + k] = static_cast<std::uint8_t>(phase);
    }
    if (synchro1 == 5) image[2683] = 1;  // LOBES
    const int bike = image[kBikeByte];
    if (bike == 48 || bike == 49 || bike == 67) {
        image[kSynchro1] = 10;
        image[2731] = 0;
    }
}

NewBikeResult NewBikeSettings(Image& image, CImpet& impet, const NewBikePage& page)
{
    NewBikeResult result;
    const int model = image[kBikeByte];
    const std::string_view name = BikeModelEnglishName(model);
    if (name.empty()) {
        result.error = "NEW for Motocycle #" + std::to_string(model) + " is missing";
        return result;
    }
    const std::string fileName = ModelFileName(name);
    const auto bytes = impet.GetFile(kNewSettingsFolder, fileName + ".ign");
    if (!bytes) {
        result.error = "NEW for Motocycle " + fileName + " is missing";
        return result;
    }
    // The model files end in a line end or blanks, and their last byte is dropped; an empty file is an empty text.
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    else if (!text.empty())
        text.remove_suffix(1);

    const PageImportFlags flags = SetPageImportFlags(image, page);
    if (flags.isWholeFile()) {
        runNewBike(image, text, flags);
        result.repair = NormalizeSettingsImage(image);
    } else {
        // Only this page's fields change: the defaults the procedure writes elsewhere stay in the copy.
        Image work = image;
        runNewBike(work, text, flags);
        NormalizeSettingsImage(work);
        const auto& owners = fieldPages();
        for (std::size_t i = 0; i < image.size(); ++i)
            if (flags.any(owners[i])) image[i] = work[i];
        result.repair = NormalizeSettingsImage(image);
    }
    result.done = true;
    return result;
}

std::string DefaultModelSettingsText(int model)
{
    Image image{};
    image[kBikeByte] = static_cast<std::uint8_t>(model);
    SetBikeDefaults(image, model);
    setStepSixDefaults(image);
    SetLambdaSensorDefaults(image, 0);
    SetSyncDefaults(image);
    applyBetweenParseDefaults(image);
    setFinalDefaults(image);
    NormalizeSettingsImage(image);
    SettingsFileTexts texts;
    texts.buildDate = "Nov 26 2024";  // fixed, so the shipped files do not change with each build
    texts.buildTime = "00:00:00";
    std::string text = WriteSettingsText(image, texts);
    // Some keys set other fields as they are read; settle the text where new settings from it write it again.
    const std::string name = ModelFileName(BikeModelEnglishName(model)) + ".ign";
    for (int round = 0; round < 4; ++round) {
        CImpet impet;
        impet.MakeFolder({}, kNewSettingsFolder.substr(1));
        impet.AddBytes(kNewSettingsFolder, name,
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        Image again{};
        again[kBikeByte] = static_cast<std::uint8_t>(model);
        if (!NewBikeSettings(again, impet).done) break;
        std::string next = WriteSettingsText(again, texts);
        if (next == text) break;
        text = std::move(next);
    }
    return text;
}
