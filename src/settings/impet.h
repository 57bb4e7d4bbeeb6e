#pragma once
// The archive of named files in folders that the program file carries after its own last byte: the model
// settings files and the parameter layout. Byte layout, from the archive start S (a multiple of 256):
//   S        32-byte marker
//   S + 32   root record (79 bytes); every offset counts from here, so the root's children start at 79
//   ...      depth first: a folder's children array (count x 79 bytes), then each child's subtree or data
// Records are 79 packed little-endian bytes (see impet.cpp). Everything read from a file is checked against
// the file before it is used: a damaged archive gives a result and an error text, never a crash.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int IMPET_MARKER_LEN = 32;
inline constexpr int IMPET_RECORD_LEN = 79;
inline constexpr int IMPET_NAME_LEN = 52;                 // characters; the field holds 53 with the terminator
inline constexpr int IMPET_MAX_CHILDREN = 4095;           // 12 bits of the flags word
inline constexpr std::uint32_t IMPET_MAX_ADD = 0x500000;  // largest file that can be added
inline constexpr std::uint16_t IMPET_FOLDER_FLAG = 0x8000;
inline constexpr int IMPET_RAW_LIMIT = 100;  // files of this many bytes or fewer are stored raw
inline constexpr int IMPET_MAX_DEPTH = 64;   // folders nested deeper are refused as damaged

// Times are Windows FILETIMEs: 100 ns steps since 1601-01-01 UTC.
using ImpetTime = std::uint64_t;
[[nodiscard]] ImpetTime impetTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds = 0);
[[nodiscard]] std::int64_t unixFromImpetTime(ImpetTime time);
[[nodiscard]] ImpetTime impetTimeNow();

// The marker, put together at run time so that the 32 bytes never stand in a program file as one constant
// (the scan takes the first 256-byte boundary at which they appear).
[[nodiscard]] std::array<std::uint8_t, IMPET_MARKER_LEN> ImpetMarker();

// One record of the archive, file or folder. Names are 8-bit (Windows-1250), compared case-insensitively.
struct IMPET_FILE
{
    std::string name;
    std::uint32_t offset = 0;      // as read or as laid out by the last save
    std::uint32_t size = 0;        // files: length of the file
    std::uint32_t packedSize = 0;  // files: length of the zlib stream; 0 = stored raw
    ImpetTime time = 0;
    std::uint16_t flags = 0;           // IMPET_FOLDER_FLAG for folders; the child count is kept in `children`
    std::vector<IMPET_FILE> children;  // folders
    std::vector<std::uint8_t> stored;  // files: the stored bytes (raw or packed, as in the file)
    bool isLoaded = false;             // files: `stored` holds the bytes (false after a headers-only open)

    [[nodiscard]] bool isFolder() const { return (flags & IMPET_FOLDER_FLAG) != 0; }
    [[nodiscard]] std::uint32_t storedLength() const { return packedSize != 0 ? packedSize : size; }
};

class CImpet final
{
public:
    CImpet();

    // 0 opened, 1 file cannot be opened, 2 no marker (start = the file's length), 3 tree unreadable.
    int Open(const std::filesystem::path& path, bool headersOnly = false);
    // The same scan and tree reader over bytes in memory (path stays empty; headers-only makes no sense here).
    int OpenBytes(std::span<const std::uint8_t> bytes);

    // The bytes of a file, inflated; nothing for a missing entry, an unreadable file or a stream that does not
    // inflate to exactly the stored size.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> GetFile(std::string_view folderPath, std::string_view name);

    [[nodiscard]] IMPET_FILE* FindFolder(IMPET_FILE* start, std::string_view path);
    [[nodiscard]] IMPET_FILE* FindEntry(IMPET_FILE* start, std::string_view path);
    [[nodiscard]] IMPET_FILE* FindChild(IMPET_FILE* folder, std::string_view name);
    [[nodiscard]] IMPET_FILE* FindFile(std::string_view folderPath, std::string_view name);

    // Editing. `time` 0 means the present time. Results as the archive commands print them.
    int AddFile(std::string_view folderPath, const std::filesystem::path& sourceFolder, std::string_view name,
                ImpetTime time = 0, std::uint32_t highSize = 0, std::uint32_t size = 0,
                std::string_view suffix = {});  // 0 added/replaced, 1 failed
    int AddBytes(std::string_view folderPath, std::string_view name, std::span<const std::uint8_t> bytes,
                 ImpetTime time = 0);                                      // 0 added/replaced, 1 failed
    int AddEmptyFile(std::string_view folderPath, std::string_view name);  // 0 added or present, 1 failed
    int MakeFolder(std::string_view folderPath, std::string_view name, ImpetTime time = 0);  // 0, 1 failed
    int Delete(std::string_view folderPath, std::string_view name);                          // 0 deleted, 1 failed
    // 0 done, 1 folder missing, 2 entry missing, 3 new name taken, 4 a folder cannot move into itself.
    int Rename(std::string_view oldPath, std::string_view newPath);
    int ImportFolder(std::string_view folderPath, const std::filesystem::path& diskFolder, ImpetTime time);
    // 0 written, 2 no such entry, 3 target not writable.
    int ExportFile(std::string_view folderPath, const std::filesystem::path& diskFolder, std::string_view name,
                   std::string_view suffix = {});
    int ExportFolder(std::string_view folderPath, const std::filesystem::path& diskFolder);
    // Stored bytes below the entry: 79 per record (unless recordsFlag) plus each file's stored length.
    std::uint64_t CountTree(std::string_view folderPath, std::string_view name, int& folders, int& files,
                            bool recordsFlag = false);
    int SetText(std::string_view folderPath, std::string_view name, std::string_view text);  // 0 done, 1 failed
    // Writes the archive into the file at `path`, at `start`: a new file beside it, renamed over it, with the
    // old file's mode. 0 saved, 1 failed (see error()).
    int Save();
    void Clear();  // drops every entry; the root stops being a folder until the next open

    // The archive as it would be saved: marker, root and tree, without the program part.
    [[nodiscard]] std::vector<std::uint8_t> SerializeArchive(ImpetTime rootTime);

    [[nodiscard]] const IMPET_FILE& root() const { return m_root; }
    [[nodiscard]] IMPET_FILE& root() { return m_root; }
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::uint64_t start() const { return m_start; }
    [[nodiscard]] const std::string& error() const { return m_error; }  // why the last operation failed

    int itemCounter = 0;  // what the last operation added, made, extracted, deleted or moved
    // The present time for new records and the root at save; tests replace it.
    std::function<ImpetTime()> clock = impetTimeNow;

private:
    // Follows a backslash path from `start`; a file met on the way gives its folder, or with `wantFile` the file
    // itself when it is the path's last part.
    IMPET_FILE* walkPath(IMPET_FILE* start, std::string_view path, bool wantFile);
    int openSource(class ImpetSource& source, bool headersOnly);
    bool loadData(IMPET_FILE& file);
    int fail(std::string text);

    std::filesystem::path m_path;
    std::uint64_t m_start = 0;
    IMPET_FILE m_root;
    std::string m_error;
};

// Opens the archive on the program's own file (/proc/self/exe on Linux), everything loaded.
int OpenImpet(CImpet& impet, const std::filesystem::path& programPath);
