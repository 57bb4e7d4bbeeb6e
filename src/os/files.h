#pragma once
// Files the program writes for the user: written to a temporary file beside the target, flushed, then renamed
// over it, so a failed or interrupted write never leaves a short file in place of the old one.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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

// Text with a reason, for messages: "Cannot write /x/y: Permission denied".
[[nodiscard]] std::string fileErrorText(std::string_view action, const std::filesystem::path& path, int errnoValue);

}  // namespace os
