#pragma once
// The external monitor window with its watch picker, offscreen, driven as a person drives it: pointer and key
// messages to its picture, the 100 ms timer fired by the test, dialogs answered by the scripted hook.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "os/lngtext.h"
#include "vcl/dialogs.h"

class MonitorWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetMonitorVariables();
        SetLanguageIndex(LNG_ENGLISH);
        char pattern[] = "/tmp/kelvora_monitor_XXXXXX";
        dir = mkdtemp(pattern);
        vcl::SetKeyStateSource([this] { return keys; });
        picker = std::make_unique<TFormCIDList>();
        form = std::make_unique<TFormEM>();
        form->watchPicker = picker.get();
        form->monitorIni = dir / "monitor.ini";
        form->hasLiveData = [this] { return live; };
        form->enableStoreItem = [this] { ++storeItemEnabled; };
        form->logError = [this](const std::string& text) { errors.push_back(text); };
    }
    void TearDown() override
    {
        form.reset();
        picker.reset();
        vcl::SetKeyStateSource(nullptr);
        std::filesystem::remove_all(dir);
        ResetMonitorVariables();
        SetLanguageIndex(LNG_ENGLISH);
    }

    [[nodiscard]] TMonImg& image() const { return *form->image; }
    [[nodiscard]] CMyGroup& layout() const { return *form->image->place; }

    void send(TMsg msg, int x, int y, int key = 0, int wheel = 0)
    {
        TMessage m;
        m.msg = msg;
        m.x = x;
        m.y = y;
        m.key = key;
        m.wheelDelta = wheel;
        m.shift = keys;
        image().Perform(m);
    }
    void click(int x, int y)
    {
        send(TMsg::MouseMove, x, y);
        send(TMsg::LButtonDown, x, y);
        send(TMsg::LButtonUp, x, y);
    }
    void drag(int x0, int y0, int x1, int y1)
    {
        send(TMsg::MouseMove, x0, y0);
        send(TMsg::LButtonDown, x0, y0);
        send(TMsg::MouseMove, (x0 + x1) / 2, (y0 + y1) / 2);
        send(TMsg::MouseMove, x1, y1);
        send(TMsg::LButtonUp, x1, y1);
    }
    // Qt's order for a double click: press, release, double click, release.
    void doubleClick(int x, int y)
    {
        click(x, y);
        send(TMsg::LButtonDblClk, x, y);
        send(TMsg::LButtonUp, x, y);
    }
    void rightClick(int x, int y)
    {
        send(TMsg::MouseMove, x, y);
        send(TMsg::RButtonDown, x, y);
        send(TMsg::RButtonUp, x, y);
    }
    void key(int vk) { send(TMsg::KeyDown, 0, 0, vk); }
    void tick() { form->TimerMonitor->Fire(); }
    // The Edit button of the bar, pressed as the user does; the next tick switches the mode.
    void toggleEditButton()
    {
        const CMyButt& b = *image().editButton;
        click(b.Left + b.Width / 2, b.Top + 8);
        tick();
    }
    // The widget under a layout point, topmost first.
    [[nodiscard]] CMyComponent* widgetOf(int id, int kind) const
    {
        for (int i = layout().Count() - 1; i >= 0; --i)
            if (layout().Item(i)->id == id && layout().Item(i)->kind == kind) return layout().Item(i);
        return nullptr;
    }
    [[nodiscard]] std::vector<std::string> menuItems() const
    {
        std::vector<std::string> names;
        TMenuItem& items = form->PopupMenu1->Items();
        for (int i = 0; i < items.Count(); ++i) names.push_back(items.Item(i)->Name());
        return names;
    }
    void chooseMenuItem(const std::string& name)
    {
        TMenuItem* item = form->PopupMenu1->Items().FindItem(name);
        ASSERT_NE(item, nullptr) << name;
        item->Click();
    }
    // Keeps a picture of the monitor's window content for a person to look at (build/screenshots).
    void screenshot(const std::string& name)
    {
        const std::filesystem::path folder(SCREENSHOT_DIR);
        std::filesystem::create_directories(folder);
        const TBitmap shot = image().Picture().CopyInclusive(0, 0, image().Width() - 1, image().Height() - 1);
        EXPECT_TRUE(shot.SaveToFile((folder / name).string()));
    }

    std::filesystem::path dir;
    unsigned keys = 0;
    bool live = false;
    int storeItemEnabled = 0;
    std::vector<std::string> errors;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<TFormCIDList> picker;
    std::unique_ptr<TFormEM> form;
};
