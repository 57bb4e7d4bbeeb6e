#pragma once
// The COM menu: offline, automatic search, a separator and up to 27 ports.
#include <array>
#include <functional>
#include <string>

inline constexpr int kComMenuItems = 30;

struct ComMenuItem {
    std::string caption;
    int port = 0;  // the port an item stands for; 0 for the first three
    bool visible = false;
    bool checked = false;
    bool radio = false;
    bool enabled = true;
};

struct ComMenuInput {
    std::function<bool(int port)> present;           // the port exists now
    std::function<std::string(int port)> deviceName;  // shown beside the number; may be empty
    int selectedPort = 0;                             // -1 offline, 0 automatic search, n only COMn
    int portInUse = 0;
    std::string offlineCaption;  // "COM &offline"
    std::string autoCaption;     // "COM &auto"
};

// What each of the 30 items shows.
[[nodiscard]] std::array<ComMenuItem, kComMenuItems> ComMenuLayout(const ComMenuInput& input);

// The port number an item's caption names: the first run of digits after the first '&' is removed; 0 if none.
[[nodiscard]] int ComCaptionPort(const std::string& caption);
