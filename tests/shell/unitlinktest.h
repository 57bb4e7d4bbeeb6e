#pragma once
// The main window against a simulated unit on a pseudo-terminal (COM 200), offscreen, its main timer fired by the
// test once for every 50 ms that the line was quiet, so that the tick counter (and with it the link clock) never
// runs while a loaded machine carries a request or an answer.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "os/lngtext.h"
#include "settings/helpers.h"
#include "shell/mainform.h"
#include "unitsim/quiettime.h"
#include "unitsim/unitsim.h"
#include "vcl/dialogs.h"

inline constexpr int kCom = 200;

class UnitLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_unitlink_XXXXXX";
        configDir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
        unitPath = startUnit();
        // The port list is read on the main thread, inside the window's tick.
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, [this] {
            return os::ComPortMap{{kCom, unitPath}};
        });
        form->FormCreate(form.get());
        // Offline while the clock is brought past the link's first port enumeration at once.
        form->link->selectedPort = -1;
        for (int i = 0; i < 100; ++i) form->Timer1->Fire();
        form->link->selectedPort = kCom;
        time = sim ? std::make_unique<unitsim::QuietTime>(*sim, *form->link, kCom)
                   : std::make_unique<unitsim::QuietTime>(*form->link, kCom);
    }
    void TearDown() override
    {
        time.reset();
        TCloseAction action = TCloseAction::caHide;
        form->FormClose(form.get(), action);
        form.reset();
        sim.reset();
        std::filesystem::remove_all(configDir);
    }
    // The unit on its pseudo-terminal; returns the path the program opens.
    virtual std::string startUnit()
    {
        sim = std::make_unique<unitsim::UnitSim>(unitConfig());
        return sim->slavePath();
    }
    [[nodiscard]] virtual unitsim::UnitConfig unitConfig() const { return {}; }

    // Fires the main timer once for every 50 ms of quiet line, until done() or timeoutMs of link time.
    bool runUntil(const std::function<bool()>& done, int timeoutMs = 20000)
    {
        return time->runUntil(
            [this](std::uint32_t ms) {
                quietMs += ms;
                for (; quietMs >= 50; quietMs -= 50) form->Timer1->Fire();
            },
            done, timeoutMs);
    }
    bool resultShows(const std::string& text, int timeoutMs = 20000)
    {
        return runUntil([&] { return form->LabelResult->Visible() && form->LabelResult->Caption() == text; },
                        timeoutMs);
    }
    [[nodiscard]] Image unitImage() const
    {
        Image image{};
        const std::vector<std::uint8_t> wire = sim->wireImage();
        std::copy(wire.begin(), wire.end(), image.begin());
        SwapWordBytes(image, 0, RS_WORD_COUNT - 1);
        return image;
    }
    // Leaves a picture of the window for a person to look at (build/screenshots/<fileName>). Not under
    // ThreadSanitizer: Qt converts the grabbed image on its own pooled threads, which the sanitizer cannot see into.
    void saveScreenshot(const std::string& fileName)
    {
#if !defined(__SANITIZE_THREAD__)
        form->Show();
        const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / fileName).string())));
#else
        (void)fileName;
#endif
    }

    std::filesystem::path configDir;
    std::string unitPath;  // the unit's end of its line, as the port list gives it for COM 200
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<unitsim::QuietTime> time;
    std::uint32_t quietMs = 0;
};
