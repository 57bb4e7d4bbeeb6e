#pragma once
// The per-user folder of the program settings and the error log:
// $XDG_CONFIG_HOME/Quorvane/Kelvora_12/309/ (default ~/.config/...), never an all-users folder.
#include <filesystem>
#include <string>

namespace os {

struct SettingsFolder {
    std::filesystem::path path;  // ends without a separator
    bool created = false;        // the folder exists (it was there or was made now)
    std::string error;           // why it could not be made; then path is the current folder
};

// Works the folder out from the environment and creates it with its parents on demand. When that fails,
// the current folder is used, so the program still starts and says where its settings went.
[[nodiscard]] SettingsFolder openSettingsFolder(int rsKey = 309);

}  // namespace os
