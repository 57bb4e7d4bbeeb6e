#include "os/settingsdir.h"

#include <cstdlib>
#include <system_error>

namespace os {

SettingsFolder openSettingsFolder(int rsKey)
{
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    SettingsFolder folder;
    if (!base.empty()) {
        folder.path = base / "Quorvane" / "Kelvora_12" / std::to_string(rsKey);
        std::error_code ec;
        std::filesystem::create_directories(folder.path, ec);
        if (!ec && std::filesystem::is_directory(folder.path, ec)) {
            folder.created = true;
            return folder;
        }
        folder.error = "Cannot create the settings folder " + folder.path.string() + ": " +
                       (ec ? ec.message() : std::string("not a folder"));
    } else {
        folder.error = "Neither XDG_CONFIG_HOME nor HOME is set";
    }
    std::error_code ec;
    folder.path = std::filesystem::current_path(ec);
    return folder;
}

}  // namespace os
