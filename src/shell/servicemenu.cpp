// The Service menu: the batch tools over all models, run from the program's working folder.
#include <filesystem>

#include "settings/batch.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "shell/status.h"
#include "vcl/dialogs.h"

void TMainForm::MenuSaveAllNewClick(TObject*)
{
    const SaveAllNewResult result = SaveAllNew(ProgramArchive(), std::filesystem::path(kNewIgnFolder),
                                               SettingsTextsFor(*this));
    if (!result.folderError.empty()) {
        MessageBox(Message(MSG_OPEN_FILE_ERROR) + "\n" + result.folderError, "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    for (const std::string& error : result.modelErrors) MsgBoxError(error, MB_OK);
    for (const std::string& error : result.writeErrors)
        MessageBox(Message(MSG_OPEN_FILE_ERROR) + "\n" + error, "Error", MB_OK | MB_ICONSTOP);
}

void TMainForm::MenuCompareAllClick(TObject*)
{
    const std::filesystem::path folder(kNewIgnFolder);
    const os::FileResult written = CompareAllNew(folder, std::filesystem::path(kNewIgnOldFolder));
    if (!written.ok) {
        MessageBox(Message(MSG_OPEN_FILE_ERROR) + "\n" + written.error, "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    ShowMessage(CompareAllNewMessage(folder));
}
