#pragma once
// The key table of the ".ign" settings file: one row per key word, in the order the writer puts them, with the
// image fields its numbers stand for. The writer, the reader and the checks all walk this one table.
//
// Four places of the format can be written in two ways; this table settles them so that a file written here
// reads back and writes again byte for byte, and stays readable by the unit's Windows tools:
//  - An axis row ("the first N of ...") is written as one grid row, which ends with a continuation line, and the
//    row's trailing slash adds a second one, exactly as for the grids.
//  - VERSIONS: each of the "HEX", "HW/FW" and "EXE" lines starts with its own line end; no tab after the time.
//  - HW/FW carries the texts the caller passes as `key` (the unit's note text); see SettingsFileTexts.
//  - In a list such as "b4411 b4415 b4413 x5" a scale or offset belongs to the one item it follows, except the
//    three rpm bytes of every power output, which are all in hundreds.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "settings/image.h"

// The page import flags: a file read for one page stores only the keys of that page's flag.
enum class PageFlag : std::uint8_t {
    Bike = 0,
    Synchronisation,
    Advance,
    Injection1A,
    Injection2A,
    Injection3A,
    Injection4A,
    InjectionB,
    InjectionIap,
    InjectionTpCorrection,
    InjectionIapCorrection,
    InjectionPosition,
    Corrections,
    Inputs,
    Sensors,
    ServosIn,
    ServosEx,
    PowerOutputs,
    ClutchQuickShift,
    Gear,
    Idle,
    N2O,
    LambdaTuning,
    LaunchTraction,
    CruiseControl,
    Monitor,
    OutputTest,
    OilPressure,
};
inline constexpr int kPageFlagCount = 28;

using PageMask = std::uint32_t;
[[nodiscard]] constexpr PageMask pageBit(PageFlag flag) { return PageMask(1) << static_cast<int>(flag); }
inline constexpr PageMask kAllPages = (PageMask(1) << kPageFlagCount) - 1;

// The 28 flags of one parse. All set: the whole file is read (page -1).
struct PageImportFlags {
    PageMask mask = kAllPages;
    [[nodiscard]] static constexpr PageImportFlags all() { return {kAllPages}; }
    [[nodiscard]] static constexpr PageImportFlags only(PageFlag flag) { return {pageBit(flag)}; }
    [[nodiscard]] constexpr bool isWholeFile() const { return (mask & kAllPages) == kAllPages; }
    [[nodiscard]] constexpr bool any(PageMask pages) const { return (mask & pages) != 0; }
    [[nodiscard]] constexpr bool has(PageFlag flag) const { return any(pageBit(flag)); }
};

enum class ItemKind : std::uint8_t {
    None,        // end of the item list
    Field,       // one image field
    Row,         // `count` fields from `address` on, one number each
    Fixed,       // a constant number the writer always puts here and the reader discards
    Break,       // a continuation line: line end and 15 spaces
    Table,       // like Row, with a continuation line before every `perLine`-th number
    Axis,        // the first (count byte) of `count` bytes, one grid row; the reader sets the count byte
    Grid,        // 10 rows of 20 fields, (count byte) numbers per row, each row ending with a continuation line
    CountedRow,  // (count byte) numbers of a row of 15, at most 15
    Bits,        // four numbers 0 or 1: bits 0 to 3 of one byte
    Action,      // no number of its own: a step of the reader at this place
};

// Where a scale depends on the image as it stands when the number is written or read.
enum class ScaleRule : std::uint8_t {
    Fixed,
    ServoIn,     // 1 while b4415 is not 0, else 20
    ServoEx,     // 1 while b4414 is not 0, else 20
    AccLimiter,  // 100 while b4631 is 0, else 1
    ClutchTime,  // 5; 10 in files of version 69 and below
};

// Versions in which an item is present. A letter version (65..83) counts as lower than 300.
enum class Cond : std::uint8_t {
    Always,
    ServoController,  // 301 and above, or the letter version 83
    Upto304,
    From305,
    From70,
    Is305,
    Is309,
    Before309,
    From307,
    Before307,
    TuningPrefix,  // 81 to 308
    LegacyTuning,  // (not a letter version and below 301) or below 83
};

enum class ReadAction : std::uint8_t {
    None,
    LambdaDefaults,     // the sensor characteristic follows the lambda mode just read
    LimiterCopy,        // b4629 := b4628
    LimiterAverage,     // b4628 and b4629 := their mean
    LegacySynchroMode,  // one number expanded into the lobe and edge settings
    IdleModeForModels,  // idle mode 4 for the models that need it when the file has no idle regulation
    PotiClear,          // w1076-1079 := 0
    PotiLegacy,         // the one- or two-range potentiometer lines of versions 306 and below
    SecCoolOld,         // up to five numbers, each only while one follows
    TuningInputPrefix,  // the number older TUNING lines carry first
    LegacyTuningTable,  // one number, then the fixed lambda-tuning rpm table
};

inline constexpr std::uint8_t kItemSigned = 0x01;
inline constexpr std::uint8_t kItemWord = 0x02;
inline constexpr std::uint8_t kItemDecimal = 0x04;     // written with one decimal: the value divided by 10
inline constexpr std::uint8_t kItemComplement = 0x08;  // written as 255 minus the byte
inline constexpr std::uint8_t kItemIdleX = 0x10;       // written from b4569 while idle mode is 4
inline constexpr std::uint8_t kItemOverflow56 = 0x20;  // a stored value above the byte's range ends as 56
inline constexpr std::uint8_t kItemSetsCount = 0x40;   // a counted row whose length sets its count byte
inline constexpr std::uint8_t kItemIfNumberAhead = 0x80;  // read only while a number follows before any word

struct KeyItem {
    ItemKind kind = ItemKind::None;
    std::uint8_t flags = 0;
    Cond cond = Cond::Always;
    ScaleRule scaleRule = ScaleRule::Fixed;
    ReadAction action = ReadAction::None;
    std::int8_t page = -1;         // a page flag of its own, else -1 (the key's)
    std::int16_t address = 0;      // word index or byte offset of the first field
    std::int16_t count = 1;        // fields of a row or table; width of an axis
    std::int16_t countByte = 0;    // axis, grid, counted row: the byte that holds the count
    std::int16_t perLine = 0;      // table: numbers per line
    std::int16_t scale = 1;        // written = (stored + offset) * scale
    std::int16_t offset = 0;
    std::int16_t fixedValue = 0;

    [[nodiscard]] constexpr bool isWord() const { return (flags & kItemWord) != 0; }
    [[nodiscard]] constexpr bool isSigned() const { return (flags & kItemSigned) != 0; }
    // The parameter address (image.h) of field i of this item.
    [[nodiscard]] constexpr int paramAddress(int i) const
    {
        return (address + i) | (isSigned() ? RS_SIGNED : 0);
    }
    friend constexpr bool operator==(const KeyItem&, const KeyItem&) = default;
    constexpr KeyItem when(Cond c) const { KeyItem k = *this; k.cond = c; return k; }
    constexpr KeyItem rule(ScaleRule r) const { KeyItem k = *this; k.scaleRule = r; return k; }
    constexpr KeyItem onPage(PageFlag p) const { KeyItem k = *this; k.page = static_cast<std::int8_t>(p); return k; }
    constexpr KeyItem with(std::uint8_t f) const { KeyItem k = *this; k.flags |= f; return k; }
};

enum class KeyRole : std::uint8_t {
    Header,      // QUORVANE_KEY: written first, found by the version search, not a key of the key loop
    Written,     // written by the writer, read by the reader
    ReaderOnly,  // keys of older programs
    Legacy,      // keys of files below version 303, converted into today's fields
};

// What a key does beyond storing its numbers.
enum class KeySpecial : std::uint8_t {
    None,
    Bike,
    IntakePort,
    AdvanceMisc,
    AdvUseIap,
    AdvIap,
    RpmAdv,
    Advance,
    Jet1Misc,
    SensorLambda,
    AccelThreshold,
    ServoIn,
    IdlePeugeot,
    Idle,
    N2O,
    Clutch,
    QuickShiftUpTab,
    QuickShiftDown,
    QuickShiftDownTab,
    DecServoV16,
    AccLimiter,
    TrackControll,
    Versions,
    Memo,
    Inputs,
    InputBlockInvert,
    Limiter2,
    Tps,
    DecServoVOld,
    StartInj,
    InjCorr,
    Accel,
    AdvanceCorr,
};

inline constexpr int kMaxKeyItems = 32;

struct KeyRow {
    std::string_view key;
    PageMask pages = 0;  // the key stores while any of these flags is set
    std::array<KeyItem, kMaxKeyItems> items{};
    KeyRole role = KeyRole::Written;
    KeySpecial special = KeySpecial::None;
    std::int16_t knownAbove = 0;     // known only for versions above this (0: all)
    std::int16_t knownBelow = 0;     // known only for versions below this (0: all)
    bool knownOnlyWhenStored = false;  // unknown (its numbers left to the key loop) while its flag is off

    [[nodiscard]] constexpr int itemCount() const
    {
        int n = 0;
        while (n < kMaxKeyItems && items[n].kind != ItemKind::None)
            ++n;
        return n;
    }
    [[nodiscard]] std::span<const KeyItem> itemList() const { return {items.data(), std::size_t(itemCount())}; }
};

// Every key, in writing order, then the keys only the reader knows.
[[nodiscard]] std::span<const KeyRow> keyRows();

// The first row of a key word (the first match wins), or nothing.
[[nodiscard]] const KeyRow* findKeyRow(std::string_view word);

// Width of a key line's key and padding: 15 for keys of up to 13 characters, then steps of 6.
[[nodiscard]] constexpr int keyFieldWidth(int keyLength)
{
    if (keyLength < 2)
        return 15;
    const int w = 6 * ((keyLength - 2) / 6) + 9;
    return w > 15 ? w : 15;
}

// Whether an item is present in a file of this structure version (309 for the writer).
[[nodiscard]] bool itemPresent(Cond cond, int version);

// Versions the reader accepts: 300 to 309 and the old letter codes.
[[nodiscard]] bool isLetterVersion(int version);
[[nodiscard]] bool isAcceptedVersion(int version);

inline constexpr int kNotesFirst = 2509;  // notes area: bytes 2509..2659, byte 2659 always 0
inline constexpr int kNotesLimit = 2659;
inline constexpr int kRskeyModify = 4920;
