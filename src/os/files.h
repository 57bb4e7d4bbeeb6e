#pragma once
// Files the program writes for the user: written to a temporary file beside the target, flushed, then renamed
// over it, so a failed or interrupted write never leaves a short file in place of the old one.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "os/uniquefd.h"

namespace os {

struct FileResult {
    bool ok = false;
    std::string error;  // names the file, the action and the cause; empty when ok
};

[[nodiscard]] FileResult atomicWriteFile(const std::filesystem::path& path, std::string_view bytes);

// The whole file, or nothing when it cannot be read or is larger than maxBytes (then `error` says why).
[[nodiscard]] std::optional<std::string> readWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxBytes = std::size_t(64) << 20,
                                                       std::string* error = nullptr);

// A file written as it grows (a log, a running recording). Every write goes to the system at once, so what was
// written survives a crash of the program; every failure is reported with the file's name and the cause.
class OutputFile final
{
public:
    // Creates the file, or empties it when it exists.
    [[nodiscard]] FileResult create(const std::filesystem::path& path);
    // Adds bytes at the end. A failed write cuts the file back to its length before it, so it never ends in a
    // half-written piece.
    [[nodiscard]] FileResult append(std::span<const std::uint8_t> bytes);
    [[nodiscard]] FileResult append(std::string_view bytes);
    // Rewrites bytes that were written before, in place.
    [[nodiscard]] FileResult writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Waits until the system has the bytes on the disk.
    [[nodiscard]] FileResult sync();
    // Closes the file; a close that fails (the system could not store what it held) is reported.
    [[nodiscard]] FileResult close();
    [[nodiscard]] bool isOpen() const { return m_fd.isOpen(); }
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::uint64_t size() const { return m_size; }

private:
    [[nodiscard]] FileResult failed(std::string_view action, int errnoValue);
    UniqueFd m_fd;
    std::filesystem::path m_path;
    std::uint64_t m_size = 0;
};

// Text with a reason, for messages: "Cannot write /x/y: Permission denied".
[[nodiscard]] std::string fileErrorText(std::string_view action, const std::filesystem::path& path, int errnoValue);

}  // namespace os
