#include "shell/commenu.h"

#include <cctype>

#include "shell/appsettings.h"
#include "shell/mainform.h"

namespace {

std::string portCaption(const ComMenuInput& input, int port)
{
    std::string caption = "COM&" + std::to_string(port);
    const std::string device = input.deviceName ? input.deviceName(port) : std::string();
    if (!device.empty())
        caption += "   " + device;
    return caption;
}

}  // namespace

std::array<ComMenuItem, kComMenuItems> ComMenuLayout(const ComMenuInput& input)
{
    std::array<ComMenuItem, kComMenuItems> items;
    const int selected = input.selectedPort;
    auto listed = [&](int p) { return input.present(p) || (selected > 0 && p == selected); };
    int count = 0;
    for (int p = 0; p < 256; ++p)
        count += listed(p) ? 1 : 0;
    const int n = std::min(count + 3, kComMenuItems);
    items[0] = {input.offlineCaption, 0, true, selected == -1, false, true};
    items[1] = {input.autoCaption, 0, true, selected == 0, false, true};
    items[2] = {"-", 0, true, false, false, true};
    const int reference = selected == 0 ? input.portInUse : selected;
    int j = 3;
    for (int p = 0; p < 256 && j < n; ++p) {
        if (!listed(p))
            continue;
        ComMenuItem& item = items[std::size_t(j)];
        item.visible = true;
        item.radio = selected == 0;
        item.port = p;
        item.caption = portCaption(input, p);
        item.checked = selected == 0 ? p == input.portInUse : p == selected;
        item.enabled = input.present(p);
        if (j == n - 1 && p < reference) {
            // The last place shows the port in use, which lies beyond the ports that fit.
            item.port = reference;
            item.caption = portCaption(input, reference);
            item.checked = true;
            item.enabled = input.present(reference);
        }
        ++j;
    }
    return items;
}

int ComCaptionPort(const std::string& caption)
{
    std::string text = caption;
    if (const auto amp = text.find('&'); amp != std::string::npos)
        text.erase(amp, 1);
    std::size_t i = 0;
    while (i < text.size() && !std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    int port = 0;
    bool any = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && port < 100000) {
        port = port * 10 + (text[i] - '0');
        any = true;
        ++i;
    }
    return any ? port : 0;
}

void TMainForm::BuildComMenu()
{
    for (int i = 0; i < kComMenuItems; ++i) {
        TMenuItem* item = MenuCom->Insert(i, "MenuCom" + std::to_string(i + 1), "COM" + std::to_string(i + 1));
        item->OnClick = [this](TObject* sender) { MenuCom1Click(sender); };
        item->SetVisible(false);
        comItems[std::size_t(i)] = item;
    }
    RefreshRecentMenu();
}

void TMainForm::RebuildComMenu()
{
    link->portTableChanged = 0;
    ComMenuInput input;
    input.present = [this](int p) { return p > 0 && p < kPortCount && link->Port(p).presence != 0; };
    input.deviceName = [this](int p) {
        return p > 0 && p < kPortCount ? link->Port(p).devicePath : std::string();
    };
    input.selectedPort = link->selectedPort;
    input.portInUse = link->portInUse.load(std::memory_order_relaxed);
    input.offlineCaption = Message(159);
    input.autoCaption = Message(160);
    const auto layout = ComMenuLayout(input);
    for (int i = 0; i < kComMenuItems; ++i) {
        TMenuItem* item = comItems[std::size_t(i)];
        const ComMenuItem& want = layout[std::size_t(i)];
        item->SetVisible(want.visible);
        if (!want.visible)
            continue;
        item->SetRadioItem(want.radio);
        item->SetCaption(want.caption);
        item->SetChecked(want.checked);
        item->SetEnabled(want.enabled);
    }
}

void TMainForm::MenuCom1Click(TObject* Sender)
{
    int position = -1;
    for (int i = 0; i < kComMenuItems; ++i)
        if (Sender == comItems[std::size_t(i)])
            position = i;
    if (position < 0)
        return;
    if (position == 0) {
        link->selectedPort = -1;
    } else if (position == 1) {
        link->selectedPort = 0;
    } else if (position == 2) {
        return;
    } else if (const int port = ComCaptionPort(comItems[std::size_t(position)]->Caption()); port > 0) {
        link->selectedPort = port;
    }
    if (releasedPort >= 0)
        ReclaimPort(*this);
    const int inUse = link->portInUse.load(std::memory_order_relaxed);
    if (inUse != 0 && link->selectedPort != 0 && link->selectedPort != inUse)
        DisconnectUnit(*this);
    RebuildComMenu();
}
