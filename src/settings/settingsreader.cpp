#include "settings/settingsreader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "os/files.h"
#include "settings/notes.h"

namespace {

constexpr int kNumberRunLimit = 99;        // characters of one number taken for its value
constexpr std::size_t kNotesLineLimit = 1000;
constexpr double kNumberLimit = 1e15;      // numbers beyond this are out of every field's range anyway

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

std::uint8_t evenSaturated(std::uint8_t b) { return b >= 254 ? 254 : static_cast<std::uint8_t>(b + (b & 1)); }

class Parser final {
public:
    Parser(Image& image, std::string_view text, PageImportFlags pages, const ReaderHooks& hooks)
        : m_image(image), m_text(text.substr(0, text.find('\0'))), m_pages(pages), m_hooks(hooks)
    {
    }

    ParseResult run()
    {
        if (!findVersion())
            return m_result;
        m_image[kRskeyModify] = 1;
        bool ended = false;
        while (!ended) {
            const std::optional<std::string_view> token = readToken();
            if (!token)
                break;
            const std::string_view word = token->substr(0, token->find('\r'));
            if (word.empty())
                continue;
            const KeyRow* row = findKeyRow(word);
            if (row == nullptr || !isKnown(*row))
                continue;
            ended = !readKey(*row);
        }
        if (!m_result.unsupportedModel && m_result.version < 305 && m_pages.has(PageFlag::Synchronisation) &&
            (m_image[2501] == 0 || m_oldLetter) && m_hooks.newSynchronisationSettings)
            m_hooks.newSynchronisationSettings(m_image);
        return m_result;
    }

private:
    void message(ReaderMessage m, int number)
    {
        if (m_hooks.showMessage)
            m_hooks.showMessage(m, number);
    }

    bool findVersion()
    {
        for (;;) {
            const std::optional<std::string_view> token = readToken();
            if (!token)
                return false;
            if (token->substr(0, token->find('\r')) == "QUORVANE_KEY")
                break;
        }
        const std::optional<long long> number = readNumber();
        const long long v = number.value_or(0);
        const int version = v >= 0 && v <= 0xFFFF ? static_cast<int>(v) : 0;
        if (version == RS_KEY_309) {
            m_result.version = version;
        } else if (version != 0 && isAcceptedVersion(version)) {
            message(ReaderMessage::OlderVersion, version);
            m_result.version = version;
            m_oldLetter = isLetterVersion(version);
        } else {
            message(ReaderMessage::UnmatchedVersion, static_cast<int>(std::clamp<long long>(v, -99999, 99999)));
            return false;
        }
        return true;
    }

    [[nodiscard]] bool isKnown(const KeyRow& row) const
    {
        const int v = m_result.version;
        if (row.role == KeyRole::Header)
            return false;
        if (row.knownAbove != 0 && v <= row.knownAbove)
            return false;
        if (row.knownBelow != 0 && v >= row.knownBelow)
            return false;
        if ((row.knownOnlyWhenStored || row.role == KeyRole::Legacy) && !m_pages.any(row.pages))
            return false;
        return true;
    }

    // ---- Reading primitives -------------------------------------------------------------------------------

    // The next word up to a space, tab or line feed, which is consumed; nothing at the end of the text (a word
    // without a delimiter after it is not a word).
    std::optional<std::string_view> readToken()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != ' ' && m_text[m_pos] != '\t' && m_text[m_pos] != '\n')
            ++m_pos;
        if (m_pos >= m_text.size())
            return std::nullopt;
        const std::string_view word = m_text.substr(start, m_pos - start);
        ++m_pos;
        return word;
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
    }

    // True when a number comes before the next word (or the end).
    [[nodiscard]] bool numberAhead() const
    {
        for (std::size_t p = m_pos; p < m_text.size(); ++p) {
            const char c = m_text[p];
            if (c == '-' || isDigit(c))
                return true;
            if (isLetter(c))
                return false;
        }
        return false;
    }

    // The next number wherever it stands, times the divisor, rounded half away from zero.
    std::optional<long long> readNumber()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != '-' && !isDigit(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_text.size())
            return std::nullopt;
        const std::size_t start = m_pos++;
        while (m_pos < m_text.size() && (isDigit(m_text[m_pos]) || m_text[m_pos] == '.'))
            ++m_pos;
        const std::size_t length = std::min<std::size_t>(m_pos - start, kNumberRunLimit);
        double value = 0;
        const char* first = m_text.data() + start;
        const auto res = std::from_chars(first, first + length, value, std::chars_format::fixed);
        if (res.ec != std::errc())
            return std::nullopt;
        value = std::clamp(value * m_divisor, -kNumberLimit, kNumberLimit);
        return static_cast<long long>(value >= 0 ? value + 0.5 : value - 0.5);
    }

    long long readInt() { return readNumber().value_or(0); }

    int scaleOf(const KeyItem& item) const
    {
        switch (item.scaleRule) {
        case ScaleRule::Fixed: return item.scale;
        case ScaleRule::ServoIn: return m_image[4415] != 0 ? 1 : 20;
        case ScaleRule::ServoEx: return m_image[4414] != 0 ? 1 : 20;
        case ScaleRule::AccLimiter: return m_image[4631] == 0 ? 100 : 1;
        case ScaleRule::ClutchTime: return m_result.version <= 69 ? 10 : 5;
        }
        return item.scale;
    }

    // Field `index` of an item: number / scale - offset, truncated. Outside the field's range a byte becomes 0
    // and a word keeps its low 16 bits.
    void readField(const KeyItem& item, int index, bool store)
    {
        m_range = 0;
        const std::optional<long long> number = readNumber();
        if (!number)
            return;
        const long long r = *number / scaleOf(item) - item.offset;
        const int address = item.paramAddress(index);
        const bool word = isWordAddress(address);
        const bool isSigned = item.isSigned();
        const long long lo = isSigned ? (word ? -32768 : -128) : 0;
        const long long hi = isSigned ? (word ? 32767 : 127) : (word ? 65535 : 255);
        m_range = r < lo ? -1 : r > hi ? 1 : 0;
        if (!store)
            return;
        if (m_range == 0)
            writeParam(m_image, address, static_cast<int>(r));
        else if (word)
            writeParam(m_image, address, static_cast<int>(r & 0xFFFF));
        else
            writeParam(m_image, address, 0);
        const int a = address & ~RS_SIGNED;
        if ((item.flags & kItemComplement) != 0)
            m_image[a] = static_cast<std::uint8_t>(~m_image[a]);
        if ((item.flags & kItemOverflow56) != 0 && m_range == 1)
            m_image[a] = 56;
    }

    // One row of a grid or an axis: up to `cols` numbers, ended early by a line end (after the first number)
    // or by a word. A short row repeats its last value to the end of the row. Returns the numbers read.
    int readGridRow(const KeyItem& item, int base, int cols, bool store)
    {
        int i = 0;
        for (; i < cols; ++i) {
            skipBlanks();
            if (m_pos < m_text.size() && (m_text[m_pos] == '\r' || m_text[m_pos] == '\n')) {
                ++m_pos;
                if (i > 0)
                    break;
            }
            // A row never takes its numbers from beyond the next key word.
            if (!numberAhead())
                break;
            readField(item, base + i, store);
        }
        if (store && i > 0) {
            const int last = readParam(m_image, item.paramAddress(base + i - 1));
            for (int j = i; j < cols; ++j)
                writeParam(m_image, item.paramAddress(base + j), last);
        }
        return i;
    }

    // ---- Keys ---------------------------------------------------------------------------------------------

    bool pageStore(const KeyItem& item, bool keyStore) const
    {
        return item.page >= 0 ? m_pages.has(static_cast<PageFlag>(item.page)) : keyStore;
    }

    void readItems(const KeyRow& row, bool store)
    {
        for (const KeyItem& item : row.itemList()) {
            if (!itemPresent(item.cond, m_result.version))
                continue;
            if ((item.flags & kItemIfNumberAhead) != 0 && !numberAhead())
                continue;
            const bool st = pageStore(item, store);
            m_divisor = (item.flags & kItemDecimal) != 0 ? 10 : 1;
            switch (item.kind) {
            case ItemKind::None:
            case ItemKind::Break: break;
            case ItemKind::Field: readField(item, 0, st); break;
            case ItemKind::Row:
            case ItemKind::Table:
                for (int i = 0; i < item.count; ++i)
                    readField(item, i, st);
                break;
            case ItemKind::Fixed:
                if (m_fixedCount < static_cast<int>(m_fixed.size()))
                    m_fixed[m_fixedCount++] = readInt();
                else
                    readInt();
                break;
            case ItemKind::Axis: {
                const int n = readGridRow(item, 0, item.count, st);
                if (st)
                    m_image[item.countByte] = static_cast<std::uint8_t>(n);
                break;
            }
            case ItemKind::Grid:
                for (int r = 0; r < 10; ++r)
                    readGridRow(item, r * 20, 20, st);
                break;
            case ItemKind::CountedRow: {
                const int n = readGridRow(item, 0, item.count, st);
                if (st && (item.flags & kItemSetsCount) != 0)
                    m_image[item.countByte] = static_cast<std::uint8_t>(n);
                break;
            }
            case ItemKind::Bits: {
                if (st)
                    m_image[item.address] = 0;
                for (int bit = 0; bit < 4; ++bit)
                    if (readInt() != 0 && st)
                        m_image[item.address] |= static_cast<std::uint8_t>(1 << bit);
                break;
            }
            case ItemKind::Action: readAction(item.action, st); break;
            }
            m_divisor = 1;
        }
    }

    void readAction(ReadAction action, bool store)
    {
        Image& im = m_image;
        switch (action) {
        case ReadAction::None: break;
        case ReadAction::LambdaDefaults:
            if (store && m_hooks.setLambdaSensorDefaults)
                m_hooks.setLambdaSensorDefaults(im, im[4060]);
            break;
        case ReadAction::LimiterCopy:
            if (m_pages.has(PageFlag::LaunchTraction))
                im[4629] = im[4628];
            break;
        case ReadAction::LimiterAverage: {
            const auto mean = static_cast<std::uint8_t>((im[4628] + im[4629]) / 2);
            if (m_pages.has(PageFlag::LaunchTraction))
                im[4628] = mean;
            if (m_pages.has(PageFlag::Bike))
                im[4629] = mean;
            break;
        }
        case ReadAction::LegacySynchroMode: {
            readField(byteItem(2708), 0, store);
            if (!store)
                break;
            static constexpr std::uint8_t kModes[4][5] = {
                {0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 0, 0, 1, 0}};
            const int mode = im[2708];
            if (mode <= 3) {
                std::copy_n(kModes[mode], 4, im.begin() + 2708);
                im[2731] = kModes[mode][4];
            }
            break;
        }
        case ReadAction::IdleModeForModels:
            if (store && !m_idleRegulationSeen && im[4559] == 0 && (im[RS_BIKE_BYTE] == 38 || im[RS_BIKE_BYTE] == 61))
                im[4559] = 4;
            break;
        case ReadAction::PotiClear:
            if (store)
                for (int w = 1076; w <= 1079; ++w)
                    setImageWord(im, w, 0);
            break;
        case ReadAction::PotiLegacy: {
            readField(signedWordItem(1076), 0, store);
            if (store && m_range == 0)
                setImageWord(im, 1076, static_cast<std::uint16_t>(-static_cast<std::int16_t>(imageWord(im, 1076))));
            if (m_result.version == 306)
                readField(signedWordItem(im[4067] == 4 ? 1078 : 1077), 0, store);
            break;
        }
        case ReadAction::SecCoolOld:
            for (int i = 0; i < 5 && numberAhead(); ++i)
                readField(byteItem(4929 + i, 1, -40), 0, store);
            break;
        case ReadAction::TuningInputPrefix: {
            const long long n = readInt();
            if (m_pages.has(PageFlag::Inputs))
                im[3840] = static_cast<std::uint8_t>(n + 5);
            break;
        }
        case ReadAction::LegacyTuningTable:
            readField(byteItem(4587), 0, store);
            if (store) {
                static constexpr std::uint8_t kRpm[5] = {10, 20, 40, 80, 160};
                std::copy_n(kRpm, 5, im.begin() + 4582);
                std::fill(im.begin() + 4588, im.begin() + 4612, im[4587]);
            }
            break;
        }
    }

    static KeyItem byteItem(int address, int scale = 1, int offset = 0)
    {
        KeyItem k;
        k.kind = ItemKind::Field;
        k.address = static_cast<std::int16_t>(address);
        k.scale = static_cast<std::int16_t>(scale);
        k.offset = static_cast<std::int16_t>(offset);
        return k;
    }
    static KeyItem signedWordItem(int wordIndex)
    {
        KeyItem k = byteItem(wordIndex);
        k.flags = kItemWord | kItemSigned;
        return k;
    }

    // Reads one key; false ends the key loop.
    bool readKey(const KeyRow& row)
    {
        const bool store = m_pages.any(row.pages);
        Image& im = m_image;
        m_fixedCount = 0;
        switch (row.special) {
        case KeySpecial::Bike: return readBike();
        case KeySpecial::Versions: skipVersionsText(); return true;
        case KeySpecial::Memo:
            // The notes run to the end of the file: a word in them is never a key.
            if (store)
                readMemoLines();
            return false;
        case KeySpecial::Inputs: readInputs(store); return true;
        case KeySpecial::InputBlockInvert: {
            const long long n = readInt();
            if (store && n != 0 && im[3841] != 0)
                im[3841] = 10;
            return true;
        }
        case KeySpecial::Tps:
            im[4059] = 0;
            im[4058] = 50;
            break;
        case KeySpecial::StartInj:
        case KeySpecial::InjCorr:
        case KeySpecial::Accel:
        case KeySpecial::AdvanceCorr: readLegacyKey(row.special); return true;
        default: break;
        }
        if (row.special == KeySpecial::IdlePeugeot)
            m_idleRegulationSeen = true;
        const std::uint8_t injectionModeBefore = im[3817];
        readItems(row, store);
        if (!store)
            return true;
        const int v = m_result.version;
        switch (row.special) {
        case KeySpecial::IntakePort: im[2671] = 0; break;
        case KeySpecial::AdvanceMisc: im[3088] = im[3087]; break;
        case KeySpecial::AdvUseIap: im[3086] = im[3085]; break;
        case KeySpecial::AdvIap: std::copy_n(im.begin() + 2002, 20, im.begin() + 2022); break;
        case KeySpecial::RpmAdv:
            std::copy_n(im.begin() + 2755, 15, im.begin() + 2770);
            im[3090] = im[3089];
            break;
        case KeySpecial::Advance: std::copy_n(im.begin() + 2785, 150, im.begin() + 2935); break;
        case KeySpecial::Jet1Misc:
            if (!m_pages.isWholeFile())
                im[3817] = injectionModeBefore;
            break;
        case KeySpecial::SensorLambda:
            if (v < 306) {
                im[4066] = static_cast<std::uint8_t>(std::min(255, im[4065] + 1));
                setImageWord(im, 1067, imageWord(im, 1066));
            }
            break;
        case KeySpecial::AccelThreshold:
            if (v < 305) {
                static constexpr std::uint8_t kRpm[4] = {10, 20, 50, 100};
                std::copy_n(kRpm, 4, im.begin() + 3976);
            }
            break;
        case KeySpecial::ServoIn: im[4428] = evenSaturated(im[4428]); break;
        case KeySpecial::IdlePeugeot: break;
        case KeySpecial::Idle: im[4562] = evenSaturated(im[4562]); break;
        case KeySpecial::N2O: im[4442] = im[4443] = 0; break;
        case KeySpecial::Clutch:
            std::fill_n(im.begin() + 4895, 5, im[4511]);
            std::fill_n(im.begin() + 4901, 5, im[4512]);
            break;
        case KeySpecial::QuickShiftUpTab:
            im[4511] = im[4895];
            im[4512] = im[4901];
            break;
        case KeySpecial::QuickShiftDown:
            std::fill_n(im.begin() + 4907, 5, im[4513]);
            std::fill_n(im.begin() + 4913, 5, im[4514]);
            break;
        case KeySpecial::QuickShiftDownTab:
            im[4513] = im[4907];
            im[4514] = im[4913];
            break;
        case KeySpecial::DecServoV16:
            im[4524] = static_cast<std::uint8_t>(std::min(255, imageWord(im, 1137) / 50 + 25));
            break;
        case KeySpecial::AccLimiter:
            std::fill_n(im.begin() + 4641, 25, static_cast<std::uint8_t>(m_fixed[0]));
            std::fill_n(im.begin() + 4671, 25, static_cast<std::uint8_t>(m_fixed[1]));
            std::fill_n(im.begin() + 4701, 25, static_cast<std::uint8_t>(m_fixed[2]));
            break;
        case KeySpecial::TrackControll:
            for (int a = 4812; a <= 4871; ++a)
                if (im[a] > 128)
                    im[a] = static_cast<std::uint8_t>(256 - im[a]);
            break;
        case KeySpecial::Limiter2: {
            const auto mean = static_cast<std::uint8_t>((im[4628] + im[4629]) / 2);
            im[4628] = im[4629] = mean;
            break;
        }
        case KeySpecial::DecServoVOld:
            setImageWord(im, 1137, static_cast<std::uint16_t>(imageWord(im, 1137) * 50));
            break;
        default: break;
        }
        if (row.special == KeySpecial::Tps)
            setImageWord(im, 1085, static_cast<std::uint16_t>((imageWord(im, 1084) + imageWord(im, 1086)) / 20 * 10));
        return true;
    }

    bool readBike()
    {
        if (!m_pages.isWholeFile())
            return true;  // the model is read only with the whole file; its number is left as a word
        const std::uint8_t previous = m_image[RS_BIKE_BYTE];
        const std::optional<long long> number = readNumber();
        if (!number)
            return true;
        if (*number < 0 || *number >= RS_MODEL_COUNT) {
            message(ReaderMessage::UnsupportedModel, static_cast<int>(std::clamp<long long>(*number, -99999, 99999)));
            m_image[RS_BIKE_BYTE] = previous;
            m_result.unsupportedModel = true;
            return false;
        }
        m_image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(*number);
        m_result.modelRead = true;
        return true;
    }

    void readInputs(bool store)
    {
        Image& im = m_image;
        if (store)
            im[3844] = 0;
        long long n[6];
        for (long long& x : n)
            x = readInt();
        if (!store)
            return;
        if (n[0] != 0)
            im[3842] = 11;
        if (n[1] != 0)
            im[3841] = 9;
        constexpr std::uint8_t kBits[4] = {0x40, 0x08, 0x04, 0x10};
        for (int i = 0; i < 4; ++i)
            if (n[2 + i] == 0)
                im[3844] |= kBits[i];
        im[3838] = 3;
        im[3839] = 1;
        im[3840] = 5;
    }

    // Keys of files below version 303, converted into the temperature and acceleration corrections.
    void readLegacyKey(KeySpecial key)
    {
        Image& im = m_image;
        std::array<int, 10> t{};
        auto scratch = [&](int count) {
            for (int i = 0; i < count; ++i) {
                m_range = 0;
                if (const std::optional<long long> n = readNumber())
                    t[i] = (*n >= 0 && *n <= 255) ? static_cast<int>(*n) : 0;
            }
        };
        auto b = [](int v) { return static_cast<std::uint8_t>(v); };
        auto tempRow = [&](int first, int t3, int t4) {
            const int values[6] = {(4 * t3 + 2 * t4) / 6, (3 * t3 + 3 * t4) / 6, (2 * t3 + 4 * t4) / 6,
                                   (t3 + 5 * t4) / 6, t4, (7 * t4 - t3) / 6};
            for (int i = 0; i < 6; ++i)
                im[first + 4 + i] = b(values[i]);
        };
        switch (key) {
        case KeySpecial::StartInj:
            readField(byteItem(3947), 0, true);
            std::fill_n(im.begin() + 3948, 9, im[3947]);
            break;
        case KeySpecial::InjCorr:
            scratch(10);
            for (int i = 0; i < 4; ++i)
                im[3907 + i] = b(t[i]);
            tempRow(3907, t[3], t[4]);
            for (int i = 0; i < 4; ++i)
                im[3957 + i] = b(t[5 + i]);
            im[3961] = b((t[8] + 2 * t[9]) / 3);
            im[3962] = b(t[9]);
            im[3963] = b((4 * t[9] - t[8]) / 3);
            break;
        case KeySpecial::Accel:
            readInt();
            readField(byteItem(3980, 50), 0, true);
            break;
        case KeySpecial::AdvanceCorr:
            scratch(5);
            for (int i = 0; i < 4; ++i)
                im[3917 + i] = b(t[i]);
            tempRow(3917, t[3], t[4]);
            break;
        default: break;
        }
    }

    // The VERSIONS text holds the unit's and the user's words: nothing in it is a key. It ends at the line that
    // starts with the next section's key.
    void skipVersionsText()
    {
        for (;;) {
            const std::size_t lf = m_text.find('\n', m_pos);
            if (lf == std::string_view::npos) {
                m_pos = m_text.size();
                return;
            }
            m_pos = lf + 1;
            const std::string_view rest = m_text.substr(m_pos);
            for (std::string_view key : {std::string_view("PROPRIETARY"), std::string_view("MEMO")})
                if (rest.starts_with(key) &&
                    (rest.size() == key.size() || rest[key.size()] == ' ' || rest[key.size()] == '\t' ||
                     rest[key.size()] == '\r' || rest[key.size()] == '\n'))
                    return;
        }
    }

    void readMemoLines()
    {
        std::fill(m_image.begin() + kNotesFirst, m_image.begin() + kNotesLimit + 1, 0);
        const std::size_t lf = m_text.find('\n', m_pos > 0 ? m_pos - 1 : 0);
        m_pos = lf == std::string_view::npos ? m_text.size() : lf + 1;
        int position = kNotesFirst;
        std::string line;
        bool full = false;
        while (m_pos < m_text.size() && !full) {
            const char c = m_text[m_pos++];
            if (c == '\r')
                continue;
            if (c == '\n') {
                position = storeNotesLine(m_image, position, UnescapeWide(line));
                line.clear();
                full = position >= kNotesLimit;
                continue;
            }
            if (line.size() < kNotesLineLimit)
                line += c;
        }
        if (!full)
            storeNotesLine(m_image, position, UnescapeWide(line));
        m_image[kNotesLimit] = 0;
    }

    Image& m_image;
    std::string_view m_text;
    PageImportFlags m_pages;
    const ReaderHooks& m_hooks;
    ParseResult m_result;
    std::size_t m_pos = 0;
    int m_divisor = 1;
    int m_range = 0;
    bool m_oldLetter = false;
    bool m_idleRegulationSeen = false;
    std::array<long long, 3> m_fixed{};
    int m_fixedCount = 0;
};

}  // namespace

ParseResult ParseSettingsText(Image& image, std::string_view text, PageImportFlags pages, const ReaderHooks& hooks)
{
    // Parse into a copy, so that a text that turns out not to be a settings text leaves the image as it was.
    Image work = image;
    Parser parser(work, text, pages, hooks);
    const ParseResult result = parser.run();
    if (result.accepted())
        image = work;
    return result;
}

LoadResult LoadSettingsFile(Image& image, const std::filesystem::path& path, PageImportFlags pages,
                            const ReaderHooks& hooks)
{
    LoadResult result;
    const std::optional<std::string> text = os::readWholeFile(path, kMaxSettingsFileBytes, &result.error);
    if (!text) {
        if (result.error.empty())
            result.error = "Cannot read " + path.string();
        return result;
    }
    result.parse = ParseSettingsText(image, *text, pages, hooks);
    if (!result.accepted())
        result.error = "Not a settings file: " + path.string();
    return result;
}
