#include "link/ignlog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "os/cp1250.h"
#include "os/lngtext.h"

namespace {

std::uint32_t getLe(std::span<const std::uint8_t> bytes, std::size_t at, int size)
{
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | bytes[at + static_cast<std::size_t>(i)];
    return v;
}

void putLe(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::int16_t getS16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::int16_t>(getLe(bytes, at, 2));
}

// The texts of a refused file; each takes the numbers named in its comment.
constexpr const char* kTextTooShort =
    "###The file is too short to be a live recording.##Die Datei ist zu kurz für eine Live-Aufzeichnung.##"
    "Soubor je příliš krátký na živý záznam.";
constexpr const char* kTextNotALog =
    "###The file is not a live recording.##Die Datei ist keine Live-Aufzeichnung.##Soubor není živý záznam.";
// bytes present, bytes the header says
constexpr const char* kTextTruncated =
    "###The file is cut short: it holds %lld of its %lld bytes.##Die Datei ist abgeschnitten: sie enthält %lld von "
    "%lld Bytes.##Soubor je useknutý: obsahuje %lld z %lld bajtů.";
// records, start records
constexpr const char* kTextCounts =
    "###The file's record counts are impossible (%lld records, %lld start records).##Die Satzzahlen der Datei "
    "sind unmöglich (%lld Sätze, %lld Startsätze).##Počty záznamů v souboru jsou nemožné (%lld záznamů, %lld "
    "počátečních záznamů).";
// data length
constexpr const char* kTextDataLength =
    "###The file claims %lld bytes of data, more than a recording can hold.##Die Datei gibt %lld Datenbytes an, "
    "mehr als eine Aufzeichnung fassen kann.##Soubor udává %lld bajtů dat, víc, než záznam může obsahovat.";
// record number (from 1)
constexpr const char* kTextRecord =
    "###Record %lld of the file is damaged or lies outside its data.##Satz %lld der Datei ist beschädigt oder "
    "liegt außerhalb ihrer Daten.##Záznam %lld souboru je poškozený nebo leží mimo jeho data.";

LiveLogRead refuse(std::string text, bool keyMismatch = false)
{
    return {std::nullopt, std::move(text), keyMismatch};
}

}  // namespace

int LogRecordLength(int type)
{
    switch (type) {
        case kLogConnection:
            return kLogRecordHead + 1 + kLogConnectionTextBytes;
        case kLogSettingsImage:
        case kLogDeviceImage:
            return kLogRecordHead + RS_LEN_EXE;
        case kLogLiveFrame:
            return kLogRecordHead + kLogFrameBytes;
        case kLogPage:
            return kLogRecordHead + 4 + 2 * kLogEditorPlaces;
        default:
            return 0;
    }
}

std::vector<std::uint8_t> PageRecordPayload(const LogPage& page)
{
    std::vector<std::uint8_t> p(static_cast<std::size_t>(LogRecordLength(kLogPage) - kLogRecordHead), 0);
    p[0] = static_cast<std::uint8_t>(page.page);
    std::copy(page.editorIds.begin(), page.editorIds.end(), p.begin() + 4);
    std::copy(page.sheets.begin(), page.sheets.end(), p.begin() + 4 + kLogEditorPlaces);
    return p;
}

LogPage PageFromPayload(std::span<const std::uint8_t> payload)
{
    LogPage page;
    if (payload.size() < static_cast<std::size_t>(4 + 2 * kLogEditorPlaces)) return page;
    page.page = payload[0];
    std::copy_n(payload.begin() + 4, kLogEditorPlaces, page.editorIds.begin());
    std::copy_n(payload.begin() + 4 + kLogEditorPlaces, kLogEditorPlaces, page.sheets.begin());
    return page;
}

std::vector<std::uint8_t> ConnectionRecordPayload(int port, const std::string& connectionLine)
{
    std::vector<std::uint8_t> p(1 + kLogConnectionTextBytes, 0);
    p[0] = static_cast<std::uint8_t>(port & 0xFF);
    const std::string text = os::utf8ToCp1250Lossy(connectionLine);
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), kLogConnectionTextBytes), p.begin() + 1);
    return p;
}

std::string ConnectionLineFromPayload(std::span<const std::uint8_t> payload)
{
    if (payload.empty()) return {};
    const auto text = payload.subspan(1, std::min<std::size_t>(payload.size() - 1, kLogConnectionTextBytes));
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    return os::cp1250ToUtf8(std::string(text.begin(), end));
}

// ---------------------------------------------------------------- writing

os::FileResult LiveLogWriter::Create(const std::filesystem::path& path, const LogHeaderInfo& info)
{
    m_header.assign(kLogHeaderMax, 0);
    m_data.clear();
    m_data.reserve(kLogDataCapacity);
    m_count = 0;
    putLe(m_header, kLogOffLength, kLogHeaderFixed, 2);
    putLe(m_header, kLogOffStart, static_cast<std::uint32_t>(info.startSeconds), 4);
    for (std::size_t i = 0; i < info.osVersion.size(); ++i)
        putLe(m_header, kLogOffOsVersion + 4 * i, static_cast<std::uint32_t>(info.osVersion[i]), 4);
    for (std::size_t i = 0; i < info.monitors.size(); ++i) {
        const LogMonitorRect& m = info.monitors[i];
        const std::size_t at = kLogOffMonitors + 8 * i;
        putLe(m_header, at, static_cast<std::uint16_t>(m.left), 2);
        putLe(m_header, at + 2, static_cast<std::uint16_t>(m.width), 2);
        putLe(m_header, at + 4, static_cast<std::uint16_t>(m.top), 2);
        putLe(m_header, at + 6, static_cast<std::uint16_t>(m.height), 2);
    }
    putLe(m_header, kLogOffKey, static_cast<std::uint32_t>(info.key), 2);
    const std::string version = os::utf8ToCp1250Lossy(info.versionLine);
    std::copy_n(version.begin(), std::min<std::size_t>(version.size(), kLogVersionLineBytes - 1),
                m_header.begin() + kLogOffVersionLine);
    os::FileResult result = m_file.create(path);
    if (result.ok) result = m_file.append(std::span(m_header).first(kLogHeaderFixed));
    if (!result.ok) (void)m_file.close();
    return result;
}

LiveLogWriter::Append LiveLogWriter::AppendRecord(int type, std::uint32_t timeMs, std::span<const std::uint8_t> payload,
                                                  std::string& error)
{
    if (m_count >= kLogMaxRecords) return Append::TooManyRecords;
    const std::size_t length = kLogRecordHead + payload.size();
    if (m_data.size() + length > kLogDataCapacity) return Append::DataFull;
    const auto offset = static_cast<std::uint32_t>(m_data.size());
    m_data.resize(m_data.size() + length);
    const std::span<std::uint8_t> record = std::span(m_data).subspan(offset);
    putLe(record, 0, static_cast<std::uint32_t>(length), 2);
    record[2] = static_cast<std::uint8_t>(type);
    record[3] = 0;
    putLe(record, 4, timeMs, 4);
    std::copy(payload.begin(), payload.end(), record.begin() + kLogRecordHead);
    putLe(m_header, kLogOffLowOffsets + 2 * static_cast<std::size_t>(m_count), offset & 0xFFFF, 2);
    putLe(m_header, kLogOffHighOffsets + 2 * static_cast<std::size_t>(m_count), offset >> 16, 2);
    ++m_count;
    putLe(m_header, kLogOffDataLength, static_cast<std::uint32_t>(m_data.size()), 4);
    putLe(m_header, kLogOffCount, static_cast<std::uint32_t>(m_count), 2);
    // The record first, then its offset, then the counts that make it part of the file: a crash between two of
    // these writes leaves the file as it was before the record.
    const std::size_t entry = kLogOffLowOffsets + 2 * static_cast<std::size_t>(m_count - 1);
    os::FileResult result = m_file.writeAt(kLogHeaderFixed + offset, record);
    if (result.ok) result = m_file.writeAt(entry, std::span(m_header).subspan(entry, 2));
    if (result.ok) result = writeCounts();
    if (result.ok) return Append::Ok;
    error = result.error;
    return Append::WriteFailed;
}

os::FileResult LiveLogWriter::SetStartRecords(int count)
{
    putLe(m_header, kLogOffStartRecords, static_cast<std::uint32_t>(count), 2);
    return writeCounts();
}

os::FileResult LiveLogWriter::writeCounts()
{
    return m_file.writeAt(kLogOffDataLength, std::span(m_header).subspan(kLogOffDataLength, 8));
}

std::vector<std::uint8_t> LiveLogWriter::FinalBytes() const
{
    const std::size_t headerLength = kLogHeaderFixed + 2 * static_cast<std::size_t>(m_count);
    std::vector<std::uint8_t> bytes(m_header.begin(), m_header.begin() + static_cast<std::ptrdiff_t>(headerLength));
    putLe(bytes, kLogOffLength, static_cast<std::uint32_t>(headerLength), 2);
    bytes.insert(bytes.end(), m_data.begin(), m_data.end());
    return bytes;
}

os::FileResult LiveLogWriter::Finish()
{
    const std::vector<std::uint8_t> bytes = FinalBytes();
    os::FileResult result =
        os::atomicWriteFile(m_file.path(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!result.ok) {
        // The running form is complete; make sure it reaches the disk before it is all the user has.
        (void)m_file.sync();
        (void)m_file.close();
        return result;
    }
    return m_file.close();
}

os::FileResult LiveLogWriter::Abandon()
{
    return m_file.close();
}

// ---------------------------------------------------------------- reading

int LiveLog::Type(int record) const
{
    return data[offsets[static_cast<std::size_t>(record)] + 2];
}

std::uint32_t LiveLog::TimeMs(int record) const
{
    return getLe(data, offsets[static_cast<std::size_t>(record)] + 4, 4);
}

std::span<const std::uint8_t> LiveLog::Payload(int record) const
{
    const std::size_t at = offsets[static_cast<std::size_t>(record)];
    const auto length = static_cast<std::size_t>(getS16(data, at));
    return std::span(data).subspan(at + kLogRecordHead, length - kLogRecordHead);
}

LiveLogRead ParseLiveLog(std::span<const std::uint8_t> bytes)
{
    const auto size = static_cast<long long>(bytes.size());
    if (size < kLogOffLowOffsets) return refuse(std::string(GetLngText(kTextTooShort)));
    const int headerLength = static_cast<int>(getLe(bytes, kLogOffLength, 2));
    if (headerLength < kLogHeaderFixed || headerLength > kLogHeaderMax || bytes[2] != 0 || bytes[3] != 0)
        return refuse(std::string(GetLngText(kTextNotALog)));
    if (size < headerLength) return refuse(FormatLngText(kTextTruncated, size, static_cast<long long>(headerLength)));
    const int key = static_cast<int>(getLe(bytes, kLogOffKey, 2));
    if (key != RS_KEY_309) {
        char text[64];
        std::snprintf(text, sizeof text, "RS keys are not equal (%i!=%i)", key, RS_KEY_309);
        return refuse(text, true);
    }
    const int count = getS16(bytes, kLogOffCount);
    const int startRecords = getS16(bytes, kLogOffStartRecords);
    if (count < 1 || count > kLogMaxRecords || startRecords < 1 || startRecords > count)
        return refuse(FormatLngText(kTextCounts, static_cast<long long>(count), static_cast<long long>(startRecords)));
    const std::uint32_t dataLength = getLe(bytes, kLogOffDataLength, 4);
    if (dataLength > kLogDataCapacity)
        return refuse(FormatLngText(kTextDataLength, static_cast<long long>(dataLength)));
    if (size - headerLength < static_cast<long long>(dataLength))
        return refuse(FormatLngText(kTextTruncated, size, static_cast<long long>(headerLength) + dataLength));

    LiveLogRead read;
    LiveLog& log = read.log.emplace();
    log.info.startSeconds = static_cast<std::int32_t>(getLe(bytes, kLogOffStart, 4));
    for (std::size_t i = 0; i < log.info.osVersion.size(); ++i)
        log.info.osVersion[i] = static_cast<std::int32_t>(getLe(bytes, kLogOffOsVersion + 4 * i, 4));
    for (std::size_t i = 0; i < log.info.monitors.size(); ++i) {
        const std::size_t at = kLogOffMonitors + 8 * i;
        log.info.monitors[i] = {getS16(bytes, at), getS16(bytes, at + 2), getS16(bytes, at + 4), getS16(bytes, at + 6)};
    }
    log.info.key = key;
    const auto version = bytes.subspan(kLogOffVersionLine, kLogVersionLineBytes);
    log.info.versionLine =
        os::cp1250ToUtf8(std::string(version.begin(), std::find(version.begin(), version.end(), std::uint8_t{0})));
    log.startRecords = startRecords;
    log.data.assign(bytes.begin() + headerLength, bytes.begin() + headerLength + dataLength);

    // High offsets the header lacks follow from the wrap-arounds of the low offsets, records being shorter than
    // 65536 bytes.
    std::array<std::uint32_t, kLogMaxRecords> high{};
    for (int i = 0; i < kLogMaxRecords; ++i) {
        const int at = kLogOffHighOffsets + 2 * i;
        if (at + 2 <= headerLength) high[static_cast<std::size_t>(i)] = getLe(bytes, static_cast<std::size_t>(at), 2);
    }
    std::uint32_t wraps = 0;
    for (int i = 1; i < kLogMaxRecords; ++i) {
        if (getLe(bytes, kLogOffLowOffsets + 2 * static_cast<std::size_t>(i), 2) <
            getLe(bytes, kLogOffLowOffsets + 2 * static_cast<std::size_t>(i - 1), 2))
            ++wraps;
        if (high[static_cast<std::size_t>(i)] == 0) high[static_cast<std::size_t>(i)] = wraps;
    }
    log.offsets.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::uint32_t offset = getLe(bytes, kLogOffLowOffsets + 2 * static_cast<std::size_t>(i), 2) +
                                     (high[static_cast<std::size_t>(i)] << 16);
        if (static_cast<std::uint64_t>(offset) + kLogRecordHead > dataLength)
            return refuse(FormatLngText(kTextRecord, static_cast<long long>(i) + 1));
        const int length = getS16(log.data, offset);
        const int type = log.data[offset + 2];
        if (LogRecordLength(type) != length ||
            static_cast<std::uint64_t>(offset) + static_cast<unsigned>(length) > dataLength)
            return refuse(FormatLngText(kTextRecord, static_cast<long long>(i) + 1));
        log.offsets[static_cast<std::size_t>(i)] = offset;
    }
    return read;
}

LiveLogRead ReadLiveLog(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return refuse(os::fileErrorText("Cannot open", path, errno ? errno : ENOENT));
    // A recording is never longer than this; anything behind it (or a huge foreign file) is not read.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kLogHeaderMax) + kLogDataCapacity);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return refuse(os::fileErrorText("Cannot read", path, EIO));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ParseLiveLog(bytes);
}
