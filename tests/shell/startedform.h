#pragma once
// A main window started as the program starts it, in a folder of its own (settings under dir/config), with no
// serial ports and every message box answered by the script.
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "noports.h"
#include "os/lngtext.h"
#include "shell/mainform.h"
#include "vcl/dialogs.h"

class StartedFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvora_form_XXXXXX";
        dir = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        SetLanguageIndex(LNG_ENGLISH);
        form = std::make_unique<TMainForm>(clock, std::vector<std::string>{}, NoPorts());
        form->FormCreate(form.get());
    }
    void TearDown() override
    {
        form.reset();
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    os::LinkClock clock;
    vcl::ScopedDialogScript dialogs;
    std::unique_ptr<TMainForm> form;
};
