#pragma once
// The main window against a simulated unit on a pseudo-terminal (COM 200), offscreen, its main timer fired by the
// test so that the tick counter (and with it the link clock) follows real time.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "os/lngtext.h"
#include "settings/helpers.h"
#include "shell/mainform.h"
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
        const std::string path = startUnit();
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, [path] {
            return os::ComPortMap{{kCom, path}};
        });
        form->FormCreate(form.get());
        form->link->selectedPort = kCom;
        start = std::chrono::steady_clock::now();
        firstTick = form->tickCounter + 100;  // past the link's first port enumeration
    }
    void TearDown() override
    {
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

    // Fires the main timer so that one tick passes each 50 ms of real time, until done() or the time-out.
    bool runUntil(const std::function<bool()>& done, int timeoutMs = 20000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            while (form->tickCounter < firstTick + static_cast<int>(ms / 50)) form->Timer1->Fire();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
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
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<unitsim::UnitSim> sim;
    std::unique_ptr<TMainForm> form;
    std::chrono::steady_clock::time_point start;
    int firstTick = 0;
};
