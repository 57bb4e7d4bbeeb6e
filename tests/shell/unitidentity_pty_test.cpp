// The unit's identity in the window: the connection line in its long form and the "HW/FW" line of a settings file
// saved while the unit is connected.
#include <gtest/gtest.h>

#include "os/files.h"
#include "unitlinktest.h"

namespace {

class IdentifiedUnitTest : public UnitLinkTest
{
protected:
    [[nodiscard]] unitsim::UnitConfig unitConfig() const override
    {
        unitsim::UnitConfig config;
        config.firmwareTag = {'B' | 0x80, 3, 6, 24};
        config.serialNumber = {0x1F, 7, 3, 12, 30, 15, 6, 24};
        config.note = "track bike";
        return config;
    }
};

}  // namespace

TEST_F(IdentifiedUnitTest, FirmwareAndKeyReachTheConnectionLineAndTheSavedFile)
{
    ASSERT_TRUE(resultShows("Checking: OK"));
    ASSERT_TRUE(runUntil([&] { return form->connectionState == 2; }));
    EXPECT_EQ(form->connectionLine, "240603B+QV unit   RSKEY=309   (240615-301203-0071f)      track bike");
    EXPECT_EQ(form->StatusBar1->PanelText(4), form->connectionLine);

    const std::string path = (configDir / "unit.ign").string();
    dialogs.AnswerFile(path);
    form->MenuSaveClick(nullptr);
    const std::string text = os::readWholeFile(path).value_or("");
    EXPECT_NE(text.find("\r\nHW/FW  240603B+QV unit   RSKEY=309   (240615-301203-0071f)      QV unit\r\n"),
              std::string::npos)
        << text.substr(text.find("HW/FW"), 120);
}
