#include "settings/impet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "os/cp1250.h"
#include "os/files.h"

namespace {

constexpr std::int64_t kFiletimeUnixOffset = 11644473600LL;  // seconds from 1601-01-01 to 1970-01-01
constexpr std::size_t kScanChunk = 0x40000;
constexpr std::size_t kScanStep = 256;
// deflate cannot expand data by more than about 1032:1, so a stored size beyond that is a damaged record.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// Record field offsets.
constexpr int kOffName = 0, kOffOffset = 53, kOffSize = 57, kOffPacked = 61, kOffTime = 65, kOffFlags = 73,
              kOffSlot = 75;
static_assert(kOffSlot + 4 == IMPET_RECORD_LEN);

std::uint32_t getLe32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint64_t getLe64(const std::uint8_t* p)
{
    return getLe32(p) | (std::uint64_t(getLe32(p + 4)) << 32);
}
void putLe(std::uint8_t* p, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

std::string_view cutName(std::string_view name)
{
    return name.substr(0, IMPET_NAME_LEN);
}

// Folder path and name of an archive path, split at its last backslash; without one, the root and the whole text.
std::pair<std::string_view, std::string_view> splitArchivePath(std::string_view path)
{
    const auto slash = path.rfind('\\');
    if (slash == std::string_view::npos) return {std::string_view{}, path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

std::string joinArchivePath(std::string_view folder, std::string_view name)
{
    if (folder.empty() || folder == "\\") return std::string(name);
    std::string path(folder);
    path += '\\';
    path += name;
    return path;
}

// Disk names are UTF-8; archive names are Windows-1250 like the rest of the program's files.
std::string archiveNameFromDisk(const std::string& diskName)
{
    if (auto cp = os::utf8ToCp1250(diskName)) return *cp;
    return diskName;
}

std::string diskNameFromArchive(std::string_view name)
{
    return os::cp1250ToUtf8(name);
}

ImpetTime diskTimeOf(const std::filesystem::path& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) return 0;
    return impetTimeFromUnix(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
}

void setDiskTime(const std::filesystem::path& path, ImpetTime time)
{
    const ImpetTime units = time % 10000000ULL;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(unixFromImpetTime(time));
    times[1].tv_nsec = static_cast<long>(units * 100);
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Inflates a zlib stream into exactly `size` bytes. The stream must end, with a good checksum, exactly there.
std::optional<std::vector<std::uint8_t>> inflateExactly(std::span<const std::uint8_t> packed, std::uint32_t size)
{
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return std::nullopt;
    std::vector<std::uint8_t> out(size);
    std::uint8_t spare = 0;  // room for one byte past the size, to see a stream that runs on
    zs.next_in = const_cast<Bytef*>(packed.data());
    zs.avail_in = static_cast<uInt>(packed.size());
    zs.next_out = out.data();
    zs.avail_out = size;
    int rc = inflate(&zs, Z_FINISH);
    if (rc == Z_BUF_ERROR && zs.avail_out == 0) {
        zs.next_out = &spare;
        zs.avail_out = 1;
        rc = inflate(&zs, Z_FINISH);
    }
    const bool ok = rc == Z_STREAM_END && zs.total_out == size;
    inflateEnd(&zs);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

// ---- Byte sources: the program file or bytes in memory, read through one interface ----

class ImpetSource
{
public:
    virtual ~ImpetSource() = default;
    [[nodiscard]] virtual std::uint64_t length() const = 0;
    // Reads up to n bytes at pos; returns how many were read.
    virtual std::size_t read(std::uint64_t pos, void* buffer, std::size_t n) = 0;
};

namespace {

class FileSource final : public ImpetSource
{
public:
    explicit FileSource(const std::filesystem::path& path) : m_file(std::fopen(path.c_str(), "rb"), &std::fclose)
    {
        if (m_file) {
            struct stat st
            {
            };
            if (::fstat(fileno(m_file.get()), &st) == 0 && S_ISREG(st.st_mode))
                m_length = static_cast<std::uint64_t>(st.st_size);
            else
                m_file.reset();
        }
    }
    [[nodiscard]] bool isOpen() const { return m_file != nullptr; }
    [[nodiscard]] std::uint64_t length() const override { return m_length; }
    std::size_t read(std::uint64_t pos, void* buffer, std::size_t n) override
    {
        if (!m_file || ::fseeko(m_file.get(), static_cast<off_t>(pos), SEEK_SET) != 0) return 0;
        return std::fread(buffer, 1, n, m_file.get());
    }

private:
    std::unique_ptr<FILE, int (*)(FILE*)> m_file;
    std::uint64_t m_length = 0;
};

class MemorySource final : public ImpetSource
{
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    [[nodiscard]] std::uint64_t length() const override { return m_bytes.size(); }
    std::size_t read(std::uint64_t pos, void* buffer, std::size_t n) override
    {
        if (n == 0 || pos >= m_bytes.size()) return 0;
        const std::size_t got = std::min<std::uint64_t>(n, m_bytes.size() - pos);
        std::memcpy(buffer, m_bytes.data() + pos, got);
        return got;
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

// Reads the tree sequentially from the first byte after the marker, checking every count, size and name
// against the bytes that are left and every offset against the depth-first layout.
class TreeReader
{
public:
    TreeReader(ImpetSource& source, std::uint64_t base, bool headersOnly)
        : m_source(source), m_base(base), m_headersOnly(headersOnly), m_end(source.length() - base)
    {
    }

    bool readRoot(IMPET_FILE& root)
    {
        std::array<std::uint8_t, IMPET_RECORD_LEN> bytes{};
        if (!take(bytes.data(), bytes.size(), "root record")) return false;
        if (!decodeRecord(bytes.data(), root)) return false;
        if (!root.isFolder()) return failWith("the root record is not a folder");
        return readBody(root, 0);
    }

    [[nodiscard]] const std::string& error() const { return m_error; }

private:
    bool failWith(std::string text)
    {
        if (m_error.empty()) m_error = std::move(text);
        return false;
    }

    bool take(void* buffer, std::size_t n, const char* what)
    {
        if (n > m_end - m_pos)
            return failWith(std::string(what) + " at offset " + std::to_string(m_pos) +
                            " runs past the end of the file");
        if (m_source.read(m_base + m_pos, buffer, n) != n)
            return failWith(std::string("cannot read the ") + what + " at offset " + std::to_string(m_pos));
        m_pos += n;
        return true;
    }

    bool decodeRecord(const std::uint8_t* p, IMPET_FILE& record)
    {
        const void* nul = std::memchr(p + kOffName, 0, IMPET_NAME_LEN + 1);
        if (!nul)
            return failWith("a record name at offset " + std::to_string(m_pos - IMPET_RECORD_LEN) +
                            " has no terminator");
        record.name.assign(reinterpret_cast<const char*>(p), static_cast<const std::uint8_t*>(nul) - p);
        record.offset = getLe32(p + kOffOffset);
        record.size = getLe32(p + kOffSize);
        record.packedSize = getLe32(p + kOffPacked);
        record.time = getLe64(p + kOffTime);
        record.flags = static_cast<std::uint16_t>(p[kOffFlags] | (p[kOffFlags + 1] << 8));
        return true;
    }

    bool readBody(IMPET_FILE& record, int depth)
    {
        const std::string label = "\"" + record.name + "\"";
        if (depth > IMPET_MAX_DEPTH)
            return failWith("folders nested deeper than " + std::to_string(IMPET_MAX_DEPTH) + " at " + label);
        if (record.offset != m_pos)
            return failWith("entry " + label + " claims offset " + std::to_string(record.offset) + " where " +
                            std::to_string(m_pos) + " was expected");
        if (record.isFolder()) {
            const std::uint64_t count = record.flags & 0x0FFF;
            record.packedSize = 0;
            record.size = static_cast<std::uint32_t>(count * IMPET_RECORD_LEN);
            if (count * IMPET_RECORD_LEN > m_end - m_pos)
                return failWith("folder " + label + " claims " + std::to_string(count) + " entries, more than the " +
                                std::to_string(m_end - m_pos) + " bytes left hold");
            std::vector<std::uint8_t> array(count * IMPET_RECORD_LEN);
            if (!take(array.data(), array.size(), "children array")) return false;
            record.children.resize(count);
            for (std::size_t i = 0; i < count; ++i)
                if (!decodeRecord(array.data() + i * IMPET_RECORD_LEN, record.children[i])) return false;
            for (IMPET_FILE& child : record.children)
                if (!readBody(child, depth + 1)) return false;
            return true;
        }
        if (record.packedSize > record.size) return failWith("file " + label + " claims a packed size above its size");
        if (record.packedSize != 0 && record.size > record.packedSize * kMaxInflateRatio + 1024)
            return failWith("file " + label + " claims a size its packed bytes cannot hold");
        const std::uint64_t n = record.storedLength();
        if (n > m_end - m_pos)
            return failWith("file " + label + " claims " + std::to_string(n) + " bytes, more than the " +
                            std::to_string(m_end - m_pos) + " left");
        if (m_headersOnly) {
            m_pos += n;
            return true;
        }
        record.stored.resize(n);
        if (!take(record.stored.data(), n, "file data")) return false;
        record.isLoaded = true;
        return true;
    }

    ImpetSource& m_source;
    std::uint64_t m_base;
    bool m_headersOnly;
    std::uint64_t m_end;
    std::uint64_t m_pos = 0;
    std::string m_error;
};

void encodeRecord(std::uint8_t* p, const IMPET_FILE& record)
{
    std::memset(p, 0, IMPET_RECORD_LEN);
    const std::string_view name = cutName(record.name);
    std::memcpy(p + kOffName, name.data(), name.size());
    putLe(p + kOffOffset, record.offset, 4);
    // A folder's size field held its in-memory capacity and the slot a pointer: fixed values keep saves reproducible.
    putLe(p + kOffSize, record.isFolder() ? record.children.size() * IMPET_RECORD_LEN : record.size, 4);
    putLe(p + kOffPacked, record.isFolder() ? 0 : record.packedSize, 4);
    putLe(p + kOffTime, record.time, 8);
    const std::uint16_t flags =
        record.isFolder() ? static_cast<std::uint16_t>(IMPET_FOLDER_FLAG | record.children.size()) : record.flags;
    putLe(p + kOffFlags, flags, 2);
    putLe(p + kOffSlot, 0, 4);
}

std::uint64_t layOut(IMPET_FILE& record, std::uint64_t pos)
{
    record.offset = static_cast<std::uint32_t>(pos);
    if (!record.isFolder()) return pos + record.storedLength();
    pos += record.children.size() * IMPET_RECORD_LEN;
    for (IMPET_FILE& child : record.children) pos = layOut(child, pos);
    return pos;
}

void writeBody(const IMPET_FILE& record, std::vector<std::uint8_t>& out)
{
    if (!record.isFolder()) {
        out.insert(out.end(), record.stored.begin(), record.stored.end());
        return;
    }
    const std::size_t at = out.size();
    out.resize(at + record.children.size() * IMPET_RECORD_LEN);
    for (std::size_t i = 0; i < record.children.size(); ++i)
        encodeRecord(out.data() + at + i * IMPET_RECORD_LEN, record.children[i]);
    for (const IMPET_FILE& child : record.children) writeBody(child, out);
}

IMPET_FILE newRootFolder()
{
    IMPET_FILE root;
    root.flags = IMPET_FOLDER_FLAG;
    return root;
}

void countBelow(const IMPET_FILE& entry, int& folders, int& files, bool recordsFlag, std::uint64_t& bytes)
{
    for (const IMPET_FILE& child : entry.children) {
        if (!recordsFlag) bytes += IMPET_RECORD_LEN;
        if (child.isFolder()) {
            ++folders;
            countBelow(child, folders, files, recordsFlag, bytes);
        } else {
            ++files;
            bytes += child.storedLength();
        }
    }
}

bool contains(const IMPET_FILE& folder, const IMPET_FILE* target)
{
    if (&folder == target) return true;
    for (const IMPET_FILE& child : folder.children)
        if (contains(child, target)) return true;
    return false;
}

}  // namespace

// ---- Times and marker ----

ImpetTime impetTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds)
{
    const std::int64_t s = std::max<std::int64_t>(seconds + kFiletimeUnixOffset, 0);
    return static_cast<ImpetTime>(s) * 10000000ULL + nanoseconds / 100;
}

std::int64_t unixFromImpetTime(ImpetTime time)
{
    return static_cast<std::int64_t>(time / 10000000ULL) - kFiletimeUnixOffset;
}

ImpetTime impetTimeNow()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    return impetTimeFromUnix(ns / 1000000000LL, static_cast<std::uint32_t>(ns % 1000000000LL));
}

std::array<std::uint8_t, IMPET_MARKER_LEN> ImpetMarker()
{
    std::array<std::uint8_t, IMPET_MARKER_LEN> marker{};
    // Built piece by piece: the whole marker must never stand in the program file, or the scan would find it there.
    const char* words[] = {"##", "IMPET", "_HEA", "DER##"};
    std::size_t at = 0;
    for (const char* w : words)
        for (const char* c = w; *c; ++c) marker[at++] = static_cast<std::uint8_t>(*c);
    for (std::uint8_t c = 0x21; c <= 0x2E; ++c) marker[at++] = c;
    marker[at++] = 0x3A;
    marker[at++] = 0x3E;
    return marker;
}

// ---- CImpet ----

CImpet::CImpet() : m_root(newRootFolder()) {}

int CImpet::fail(std::string text)
{
    m_error = std::move(text);
    return 1;
}

int CImpet::openSource(ImpetSource& source, bool headersOnly)
{
    m_start = 0;
    m_root = newRootFolder();
    const auto marker = ImpetMarker();
    const std::uint64_t length = source.length();
    std::vector<std::uint8_t> chunk(std::min<std::uint64_t>(kScanChunk, length));
    bool found = false;
    for (std::uint64_t chunkStart = 0; chunkStart < length && !found; chunkStart += kScanChunk) {
        const std::size_t got = source.read(chunkStart, chunk.data(), chunk.size());
        if (got == 0) break;
        for (std::size_t j = 0; j < got; j += kScanStep) {
            if (got - j >= IMPET_MARKER_LEN && std::memcmp(chunk.data() + j, marker.data(), IMPET_MARKER_LEN) == 0) {
                m_start = chunkStart + j;
                found = true;
                break;
            }
        }
        if (got < kScanChunk) break;
    }
    if (!found) {
        m_start = length;  // where a save appends
        m_error = "no archive in " + (m_path.empty() ? std::string("the bytes") : m_path.string());
        return 2;
    }
    TreeReader reader(source, m_start + IMPET_MARKER_LEN, headersOnly);
    IMPET_FILE root;
    if (!reader.readRoot(root)) {
        m_root = newRootFolder();
        m_error = "archive in " + (m_path.empty() ? std::string("the bytes") : m_path.string()) +
                  " is damaged: " + reader.error();
        return 3;
    }
    m_root = std::move(root);
    m_error.clear();
    return 0;
}

int CImpet::Open(const std::filesystem::path& path, bool headersOnly)
{
    FileSource source(path);
    if (!source.isOpen()) {
        m_error = os::fileErrorText("Cannot open", path, errno ? errno : ENOENT);
        return 1;
    }
    m_path = path;
    return openSource(source, headersOnly);
}

int CImpet::OpenBytes(std::span<const std::uint8_t> bytes)
{
    m_path.clear();
    MemorySource source(bytes);
    return openSource(source, false);
}

bool CImpet::loadData(IMPET_FILE& file)
{
    if (file.isLoaded) return true;
    FileSource source(m_path);
    const std::uint64_t at = m_start + IMPET_MARKER_LEN + file.offset;
    const std::uint64_t n = file.storedLength();
    if (!source.isOpen() || at > source.length() || n > source.length() - at) {
        m_error = "cannot read \"" + file.name + "\" from " + m_path.string();
        return false;
    }
    std::vector<std::uint8_t> bytes(n);
    if (source.read(at, bytes.data(), n) != n) {
        m_error = "cannot read \"" + file.name + "\" from " + m_path.string();
        return false;
    }
    file.stored = std::move(bytes);
    file.isLoaded = true;
    return true;
}

std::optional<std::vector<std::uint8_t>> CImpet::GetFile(std::string_view folderPath, std::string_view name)
{
    IMPET_FILE* file = FindFile(folderPath, name);
    if (!file || !loadData(*file)) return std::nullopt;
    if (file->packedSize == 0) {
        if (file->stored.size() != file->size) return std::nullopt;
        return file->stored;
    }
    auto bytes = inflateExactly(file->stored, file->size);
    if (!bytes) m_error = "\"" + file->name + "\" does not inflate to its " + std::to_string(file->size) + " bytes";
    return bytes;
}

IMPET_FILE* CImpet::FindChild(IMPET_FILE* folder, std::string_view name)
{
    if (!folder || !folder->isFolder()) return nullptr;
    name = cutName(name);
    for (IMPET_FILE& child : folder->children)
        if (sameName(child.name, name)) return &child;
    return nullptr;
}

IMPET_FILE* CImpet::walkPath(IMPET_FILE* start, std::string_view path, bool wantFile)
{
    IMPET_FILE* folder = start ? start : &m_root;
    for (;;) {
        if (!folder->isFolder()) return nullptr;
        if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
        if (path.empty()) return folder;
        const auto slash = path.find('\\');
        IMPET_FILE* child = FindChild(folder, path.substr(0, slash));
        if (!child) return nullptr;
        if (!child->isFolder()) return wantFile && slash == std::string_view::npos ? child : folder;
        folder = child;
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash);
    }
}

IMPET_FILE* CImpet::FindFolder(IMPET_FILE* start, std::string_view path) { return walkPath(start, path, false); }

IMPET_FILE* CImpet::FindEntry(IMPET_FILE* start, std::string_view path) { return walkPath(start, path, true); }

IMPET_FILE* CImpet::FindFile(std::string_view folderPath, std::string_view name)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    if (!folder || name.empty()) return nullptr;
    IMPET_FILE* entry = FindEntry(folder, name);
    return entry && !entry->isFolder() ? entry : nullptr;
}

int CImpet::AddBytes(std::string_view folderPath, std::string_view name, std::span<const std::uint8_t> bytes,
                     ImpetTime time)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    if (!folder) return fail("no archive folder \"" + std::string(folderPath) + "\"");
    if (name.empty()) return fail("an archive entry needs a name");
    IMPET_FILE* existing = FindChild(folder, name);
    if (existing && existing->isFolder()) return fail("\"" + std::string(name) + "\" is a folder");
    if (bytes.size() > IMPET_MAX_ADD)
        return fail("\"" + std::string(name) + "\" is larger than " + std::to_string(IMPET_MAX_ADD) + " bytes");
    if (!existing && folder->children.size() >= IMPET_MAX_CHILDREN)
        return fail("folder \"" + folder->name + "\" already holds " + std::to_string(IMPET_MAX_CHILDREN) + " entries");

    IMPET_FILE record;
    record.name = std::string(cutName(name));
    record.size = static_cast<std::uint32_t>(bytes.size());
    record.time = time ? time : clock();
    record.isLoaded = true;
    if (bytes.size() > IMPET_RAW_LIMIT) {
        std::vector<std::uint8_t> packed(bytes.size());
        uLongf packedLength = static_cast<uLongf>(packed.size());
        if (compress(packed.data(), &packedLength, bytes.data(), static_cast<uLong>(bytes.size())) == Z_OK) {
            packed.resize(packedLength);
            record.packedSize = static_cast<std::uint32_t>(packedLength);
            record.stored = std::move(packed);
        }
    }
    if (record.packedSize == 0) record.stored.assign(bytes.begin(), bytes.end());
    if (existing)
        *existing = std::move(record);
    else
        folder->children.push_back(std::move(record));
    ++itemCounter;
    return 0;
}

int CImpet::AddFile(std::string_view folderPath, const std::filesystem::path& sourceFolder, std::string_view name,
                    ImpetTime time, std::uint32_t highSize, std::uint32_t size, std::string_view suffix)
{
    if (!FindFolder(nullptr, folderPath)) return fail("no archive folder \"" + std::string(folderPath) + "\"");
    if (highSize != 0 || size > IMPET_MAX_ADD)
        return fail("\"" + std::string(name) + "\" is larger than " + std::to_string(IMPET_MAX_ADD) + " bytes");
    std::string diskName(name);
    diskName += suffix;
    const std::filesystem::path diskPath = sourceFolder / diskName;
    std::string readError;
    const auto bytes = os::readWholeFile(diskPath, IMPET_MAX_ADD, &readError);
    if (!bytes) return fail(readError);
    const std::string archiveName = archiveNameFromDisk(std::string(name));
    return AddBytes(folderPath, archiveName,
                    std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()), time);
}

int CImpet::AddEmptyFile(std::string_view folderPath, std::string_view name)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    if (!folder) return fail("no archive folder \"" + std::string(folderPath) + "\"");
    if (name.empty()) return fail("an archive entry needs a name");
    if (IMPET_FILE* existing = FindChild(folder, name))
        return existing->isFolder() ? fail("\"" + std::string(name) + "\" is a folder") : 0;
    if (folder->children.size() >= IMPET_MAX_CHILDREN) return fail("folder \"" + folder->name + "\" is full");
    IMPET_FILE record;
    record.name = std::string(cutName(name));
    record.time = clock();
    record.isLoaded = true;
    folder->children.push_back(std::move(record));
    ++itemCounter;
    return 0;
}

int CImpet::MakeFolder(std::string_view folderPath, std::string_view name, ImpetTime time)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    if (!folder) return fail("no archive folder \"" + std::string(folderPath) + "\"");
    if (name.empty()) return fail("an archive folder needs a name");
    if (IMPET_FILE* existing = FindChild(folder, name))
        return existing->isFolder() ? 0 : fail("\"" + std::string(name) + "\" is a file");
    if (folder->children.size() >= IMPET_MAX_CHILDREN) return fail("folder \"" + folder->name + "\" is full");
    IMPET_FILE record;
    record.name = std::string(cutName(name));
    record.time = time ? time : clock();
    record.flags = IMPET_FOLDER_FLAG;
    folder->children.push_back(std::move(record));
    ++itemCounter;
    return 0;
}

int CImpet::Delete(std::string_view folderPath, std::string_view name)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    if (!folder) return fail("no archive folder \"" + std::string(folderPath) + "\"");
    IMPET_FILE* child = FindChild(folder, name);
    if (!child) return fail("no entry \"" + std::string(name) + "\"");
    folder->children.erase(folder->children.begin() + (child - folder->children.data()));
    ++itemCounter;
    return 0;
}

int CImpet::Rename(std::string_view oldPath, std::string_view newPath)
{
    const auto [oldFolderPath, oldName] = splitArchivePath(oldPath);
    const auto [newFolderPath, newName] = splitArchivePath(newPath);
    IMPET_FILE* oldFolder = FindFolder(nullptr, oldFolderPath);
    IMPET_FILE* newFolder = FindFolder(nullptr, newFolderPath);
    if (!oldFolder || !newFolder) {
        fail("no archive folder for the rename");
        return 1;
    }
    if (newName.empty()) {
        fail("an archive entry needs a name");
        return 3;
    }
    IMPET_FILE* entry = FindChild(oldFolder, oldName);
    if (!entry) {
        fail("no entry \"" + std::string(oldPath) + "\"");
        return 2;
    }
    if (oldFolder == newFolder) {
        IMPET_FILE* other = FindChild(oldFolder, newName);
        if (other && other != entry) {
            oldFolder->children.erase(oldFolder->children.begin() + (other - oldFolder->children.data()));
            entry = FindChild(oldFolder, oldName);  // the removal may have moved it
        }
        entry->name = std::string(cutName(newName));
        ++itemCounter;
        return 0;
    }
    if (FindChild(newFolder, newName)) {
        fail("\"" + std::string(newPath) + "\" exists");
        return 3;
    }
    if (entry->isFolder() && contains(*entry, newFolder)) {
        fail("a folder cannot move into itself");
        return 4;
    }
    if (newFolder->children.size() >= IMPET_MAX_CHILDREN) {
        fail("folder \"" + newFolder->name + "\" is full");
        return 3;
    }
    IMPET_FILE moved = std::move(*entry);
    oldFolder->children.erase(oldFolder->children.begin() + (entry - oldFolder->children.data()));
    moved.name = std::string(cutName(newName));
    // oldFolder's erase cannot move newFolder: it is not below the moved entry and not a sibling record's copy.
    newFolder = FindFolder(nullptr, newFolderPath);
    newFolder->children.push_back(std::move(moved));
    ++itemCounter;
    return 0;
}

int CImpet::ImportFolder(std::string_view folderPath, const std::filesystem::path& diskFolder, ImpetTime time)
{
    std::string disk = diskFolder.string();
    while (disk.size() > 1 && (disk.back() == '/' || disk.back() == '\\')) disk.pop_back();
    if (disk.empty()) return fail("no folder to import");
    const auto sep = disk.find_last_of("/\\");
    const std::string name = archiveNameFromDisk(sep == std::string::npos ? disk : disk.substr(sep + 1));
    (void)MakeFolder(folderPath, name, time);
    const std::string target = joinArchivePath(folderPath, name);

    std::error_code ec;
    std::vector<std::filesystem::directory_entry> entries;
    for (std::filesystem::directory_iterator it(disk, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    if (ec) return fail("Cannot list " + disk + ": " + ec.message());
    // Directory order differs between file systems; a fixed order makes the same folder give the same archive.
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        const std::string x = a.path().filename().string(), y = b.path().filename().string();
        const auto lx = [](char c) { return foldAscii(c); };
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                            [&](char p, char q) { return lx(p) < lx(q); }) ||
               (sameName(x, y) && x < y);
    });
    int result = 0;
    for (const auto& entry : entries) {
        const std::string entryName = entry.path().filename().string();
        if (entryName.empty() || entryName.front() == '.') continue;
        if (entry.is_directory(ec)) {
            if (ImportFolder(target, entry.path(), diskTimeOf(entry.path())) != 0) result = 1;
            continue;
        }
        const std::uint64_t size = entry.file_size(ec);
        if (ec) {
            result = 1;
            continue;
        }
        if (AddFile(target, disk, entryName, diskTimeOf(entry.path()), static_cast<std::uint32_t>(size >> 32),
                    static_cast<std::uint32_t>(size)) != 0)
            result = 1;
    }
    return result;
}

int CImpet::ExportFile(std::string_view folderPath, const std::filesystem::path& diskFolder, std::string_view name,
                       std::string_view suffix)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    IMPET_FILE* file = FindChild(folder, name);
    if (!file || file->isFolder()) {
        m_error = "no file \"" + std::string(name) + "\"";
        return 2;
    }
    const std::string fileName(file->name);
    const auto bytes = GetFile(folderPath, fileName);
    if (!bytes) return 3;
    const std::filesystem::path target = diskFolder / (diskNameFromArchive(fileName) + std::string(suffix));
    const auto written =
        os::atomicWriteFile(target, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (!written.ok) {
        m_error = written.error;
        return 3;
    }
    setDiskTime(target, file->time);
    ++itemCounter;
    return 0;
}

int CImpet::ExportFolder(std::string_view folderPath, const std::filesystem::path& diskFolder)
{
    IMPET_FILE* folder = FindFolder(nullptr, folderPath);
    if (!folder) return 2;
    const std::filesystem::path target = diskFolder / diskNameFromArchive(folder->name);
    std::error_code ec;
    std::filesystem::create_directory(target, ec);
    std::error_code isFolderError;
    if (ec && !std::filesystem::is_directory(target, isFolderError)) {
        m_error = "Cannot create " + target.string() + ": " + ec.message();
        return 3;
    }
    ++itemCounter;
    int result = 0;
    const std::string here(folderPath);
    std::vector<std::pair<std::string, bool>> children;
    for (const IMPET_FILE& child : folder->children) children.emplace_back(child.name, child.isFolder());
    for (const auto& [childName, isFolder] : children) {
        if (isFolder)
            result |= ExportFolder(joinArchivePath(here, childName), target);
        else
            result |= ExportFile(here, target, childName);
    }
    if (IMPET_FILE* again = FindFolder(nullptr, folderPath)) setDiskTime(target, again->time);
    return result;
}

std::uint64_t CImpet::CountTree(std::string_view folderPath, std::string_view name, int& folders, int& files,
                                bool recordsFlag)
{
    folders = 0;
    files = 0;
    IMPET_FILE* entry = FindFolder(nullptr, folderPath);
    if (entry && !name.empty()) entry = FindChild(entry, name);
    std::uint64_t bytes = 0;
    if (entry) countBelow(*entry, folders, files, recordsFlag, bytes);
    return bytes;
}

int CImpet::SetText(std::string_view folderPath, std::string_view name, std::string_view text)
{
    IMPET_FILE* file = FindFile(folderPath, name);
    if (!file) {
        if (AddEmptyFile(folderPath, name) != 0) return 1;
        file = FindFile(folderPath, name);
        if (!file) return fail("\"" + std::string(name) + "\" cannot be made");
    }
    file->stored.assign(text.begin(), text.end());
    file->size = static_cast<std::uint32_t>(text.size());
    file->packedSize = 0;
    file->isLoaded = true;
    return 0;
}

void CImpet::Clear()
{
    m_root = IMPET_FILE{};
}

std::vector<std::uint8_t> CImpet::SerializeArchive(ImpetTime rootTime)
{
    m_root.time = rootTime;
    layOut(m_root, IMPET_RECORD_LEN);
    const auto marker = ImpetMarker();
    std::vector<std::uint8_t> out(IMPET_MARKER_LEN + IMPET_RECORD_LEN);
    std::copy(marker.begin(), marker.end(), out.begin());
    encodeRecord(out.data() + IMPET_MARKER_LEN, m_root);
    writeBody(m_root, out);
    return out;
}

int CImpet::Save()
{
    if (m_path.empty()) return fail("the archive has no file to be saved into");
    FileSource source(m_path);
    if (!source.isOpen()) return fail(os::fileErrorText("Cannot open", m_path, errno ? errno : ENOENT));
    const std::uint64_t length = source.length();
    // Every file's bytes are needed to write the tree.
    std::function<bool(IMPET_FILE&)> loadAll = [&](IMPET_FILE& e) {
        if (!e.isFolder()) return loadData(e);
        for (IMPET_FILE& c : e.children)
            if (!loadAll(c)) return false;
        return true;
    };
    if (m_root.isFolder() && !loadAll(m_root)) return 1;

    const bool isEmpty = !m_root.isFolder() || m_root.children.empty();
    std::uint64_t start = m_start;
    if (!isEmpty) start = (start + kScanStep - 1) / kScanStep * kScanStep;
    if (isEmpty && length <= start) return 0;  // no archive in the file and none to write
    std::string content(static_cast<std::size_t>(std::min(start, length)), '\0');
    if (!content.empty() && source.read(0, content.data(), content.size()) != content.size())
        return fail(os::fileErrorText("Cannot read", m_path, EIO));
    if (!isEmpty) {
        content.resize(static_cast<std::size_t>(start), '\0');
        const auto archive = SerializeArchive(clock());
        content.append(reinterpret_cast<const char*>(archive.data()), archive.size());
    }
    const auto written = os::atomicWriteFile(m_path, content);
    if (!written.ok) return fail(written.error);
    m_start = start;
    m_error.clear();
    return 0;
}

int OpenImpet(CImpet& impet, const std::filesystem::path& programPath)
{
    return impet.Open(programPath, false);
}
