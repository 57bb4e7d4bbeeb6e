// File and device menus, the recent-file list and the menus of modes, tools, monitors, languages and help.
// No menu talks to the unit: a device command stores a request code that the device step takes on a later tick.
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include "os/files.h"
#include "os/lngtext.h"
#include "pages/mapside.h"
#include "pages/tuningpage.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"
#include "shell/about.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "shell/player.h"
#include "vcl/qtcolor.h"

namespace {

constexpr int kRecentMax = 10;
constexpr int kInjectionModeByte = 3817;
constexpr const char* kWebError = "###Error by opening www link##Fehler beim öffnen der www Link##Chyba při otevírání www odkazu";

bool ctrlHeld() { return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier; }

// The coupled injection page shows sheets that only the whole file can fill.
bool coupledInjectionPage(const TMainForm& w)
{
    return w.currentPage == PAGE_INJECTION && InjectionEditorSheet(w) < 4 &&
           w.images.image[kInjectionModeByte] == 1;
}

// The image no longer is what the unit holds: the file and the connection line say so.
void markSettingsNotFromUnit(TMainForm& w)
{
    w.identity.serialNumber.clear();
    w.identity.lastUpdate.clear();
    w.identity.note = "settings not from unit";
}

void hideResult(TMainForm& w)
{
    w.LabelResult->SetVisible(false);
    w.CGaugeProgram->SetVisible(false);
}

// Entry caption: "%i name" with the name's last path part, cut to 128 characters and at its last point.
std::string recentCaption(int index, const std::string& name)
{
    std::size_t cut = name.find_last_of('\\');
    if (cut == std::string::npos)
        cut = name.find_last_of('/');
    std::string part = cut == std::string::npos ? name : name.substr(cut + 1);
    if (part.size() > 128)
        part.resize(128);
    if (const auto dot = part.find_last_of('.'); dot != std::string::npos)
        part.resize(dot);
    return std::to_string(index) + " " + part;
}

void openWebPage(const char* path)
{
    const std::string address = std::string(kWebHost) + (GetLanguageIndex() == LNG_CZECH ? "/cz" : "/en") + path;
    if (!QDesktopServices::openUrl(QUrl(vcl::Q(address))))
        ShowMessage(std::string(GetLngText(kWebError)) + " " + address + " !");
}

// The pass that shows the reader's messages. A text the reader refuses without a word of its own (one that is no
// settings file at all) is told with the same text as a version the reader does not take.
bool parseWithMessages(TMainForm& w, std::string_view text, PageImportFlags pages)
{
    ReaderHooks hooks = ReaderHooksFor(w);
    bool readerSpoke = false;
    hooks.showMessage = [&readerSpoke, show = std::move(hooks.showMessage)](ReaderMessage message, int number) {
        readerSpoke = true;
        show(message, number);
    };
    const ParseResult result = ParseSettingsText(w.images.image, text, pages, hooks);
    if (!result.accepted() && !readerSpoke) ShowMessage(w.Message(MSG_UNMATCHED_IGN_VERSION));
    return result.accepted();
}

}  // namespace

std::string TMainForm::Message(int index) const
{
    return index >= 0 && index < kMessageCount ? languageTables.messages[std::size_t(index)] : std::string();
}

// ---------------------------------------------------------------- new, open, save

int TMainForm::NewSettings(int page, int mode)
{
    if (page >= 0 && coupledInjectionPage(*this))
        return 2;
    int answer = IDOK;
    if (mode == 0) {
        if (SelectedBikeTag(*this) == 0xFFFF)
            return 1;
        answer = MessageBox(Message(29), "", MB_YESNOCANCEL | MB_ICONQUESTION);
    } else {
        answer = MessageBox(Message(31), "", MB_OKCANCEL | MB_ICONQUESTION);
    }
    if (answer == IDYES || answer == IDOK) {
        CommitChangeNow(*this);
        NewBikeSettings(*this, page);
        if (page < 0)
            NEWINSTAL = 0;
        hideResult(*this);
        currentFileName.clear();
        UpdateCaption(*this);
        AddRecentFile("");
        tabList.guideRefresh |= 1;
        ShowImageOnPages(*this, 1);
        NoteImageChange();
    }
    return answer == IDCANCEL ? 1 : 0;
}

bool TMainForm::OpenSettingsFile(const std::string& name, bool bookkeeping)
{
    // The file is read once, without asking the file system anything that could throw; both passes parse this
    // text. Only a file that cannot be read at all is an open error and leaves the recent list.
    const std::optional<std::string> text = os::readWholeFile(name, kMaxSettingsFileBytes);
    if (!text) {
        ShowMessage(Message(MSG_OPEN_FILE_ERROR));
        RemoveRecentFile(name);
        hideResult(*this);
        return false;
    }
    if (bookkeeping) {
        markSettingsNotFromUnit(*this);
        CheckBoxProgHned->SetFocus();
    }
    CommitChangeNow(*this);
    // A silent pass learns the model; its new settings lie under the file's values in the second pass.
    const int modelBefore = images.image[RS_BIKE_BYTE];
    const ParseResult silent = ParseSettingsText(images.image, *text, PageImportFlags::all(), SilentReaderHooks(*this));
    if (silent.modelRead && images.image[RS_BIKE_BYTE] != modelBefore) NewBikeSettings(*this, -1);
    const bool accepted = parseWithMessages(*this, *text, PageImportFlags::all());
    repairState = NormalizeSettingsImage(images.image);
    if (bookkeeping) {
        // Only a file that was read becomes the reference and the current file; a refused one changes no
        // bookkeeping.
        if (accepted) {
            images.reference = images.image;
            fileShown = 1;
        }
        ShowImageOnPages(*this, 1);
        if (accepted) {
            NEWINSTAL = 0;
            NoteImageChange();
            SaveDialog1->FileName = name;
            OpenDialog1->FileName = name;
            currentFileName = name;
            lastFileName = name;
            images.unchanged = 1;
            UpdateCaption(*this);
            AddRecentFile(name);
        }
    }
    hideResult(*this);
    return accepted;
}

void TMainForm::MenuNewClick(TObject*) { NewSettings(-1, 0); }

void TMainForm::MenuNewActPageClick(TObject*) { NewSettings(currentPage, 0); }

void TMainForm::MenuOpenClick(TObject* Sender)
{
    if (Sender == SpeedButtonOpen && ctrlHeld()) {
        OpenDialog1->FileName = dialogPath;
        SaveDialog1->FileName = dialogPath;
    }
    OpenDialog1->Filter = "IGN file|*.ign";
    OpenDialog1->DefaultExt = "ign";
    if (OpenDialog1->Execute())
        OpenSettingsFile(OpenDialog1->FileName, true);
}

void TMainForm::MenuOpenExeDirClick(TObject* Sender)
{
    OpenDialog1->FileName = dialogPath;
    SaveDialog1->FileName = dialogPath;
    MenuOpenClick(Sender);
}

void TMainForm::MenuOpenActPageClick(TObject*)
{
    if (coupledInjectionPage(*this)) {
        ShowMessage(Message(28));
        return;
    }
    OpenDialog1->Filter = "IGN file|*.ign";
    OpenDialog1->DefaultExt = "ign";
    if (!OpenDialog1->Execute())
        return;
    const std::string name = OpenDialog1->FileName;
    markSettingsNotFromUnit(*this);
    const std::optional<std::string> text = os::readWholeFile(name, kMaxSettingsFileBytes);
    if (!text) {
        ShowMessage(Message(MSG_OPEN_FILE_ERROR));
        hideResult(*this);
        return;
    }
    CommitChangeNow(*this);
    const int modelBefore = images.image[RS_BIKE_BYTE];
    const PageImportFlags pages = CurrentPageImportFlags(*this);
    (void)ParseSettingsText(images.image, *text, pages, SilentReaderHooks(*this));
    if (images.image[RS_BIKE_BYTE] != modelBefore)
        NewBikeSettings(*this, -1);
    const bool accepted = parseWithMessages(*this, *text, pages);
    ShowImageOnPages(*this, 1);
    if (accepted) {
        currentFileName = name;
        lastFileName = name;
        SaveDialog1->FileName = name;
        UpdateCaption(*this);
        AddRecentFile(currentFileName);
    }
    hideResult(*this);
}

void TMainForm::MenuSaveClick(TObject* Sender)
{
    if (Sender == SpeedButtonSave && ctrlHeld()) {
        OpenDialog1->FileName = dialogPath;
        SaveDialog1->FileName = dialogPath;
    }
    SaveDialog1->Filter = "IGN file|*.ign";
    SaveDialog1->DefaultExt = "ign";
    SaveDialog1->FilterIndex = 1;
    if (!SaveDialog1->Execute())
        return;
    const std::string name = SaveDialog1->FileName;
    StoreCurrentPage(*this);
    repairState = NormalizeSettingsImage(images.image);
    ShowImageOnPages(*this, 0);
    // The file is replaced only after the whole text was written; a failed save keeps the old file and changes
    // no bookkeeping.
    const os::FileResult result = SaveSettingsFile(name, images.image, SettingsTextsFor(*this));
    if (!result.ok) {
        MessageBox(Message(MSG_OPEN_FILE_ERROR) + "\n" + result.error, "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    images.reference = images.image;
    fileShown = 1;
    images.unchanged = 1;
    currentFileName = name;
    lastFileName = name;
    OpenDialog1->FileName = name;
    UpdateCaption(*this);
    AddRecentFile(currentFileName);
}

void TMainForm::MenuSaveExeDirClick(TObject* Sender)
{
    OpenDialog1->FileName = dialogPath;
    SaveDialog1->FileName = dialogPath;
    MenuSaveClick(Sender);
}

void TMainForm::MenuExitClick(TObject*) { Close(); }

void TMainForm::MenuOpenCompareClick(TObject*)
{
    const Image kept = images.image;
    OpenDialog1->Filter = "IGN file|*.ign";
    OpenDialog1->DefaultExt = "ign";
    if (!OpenDialog1->Execute())
        return;
    const std::string name = OpenDialog1->FileName;
    reportFileName = ReportNameFor(name);
    const bool read = OpenSettingsFile(name, false);
    const Image compare = images.image;
    images.image = kept;
    // The repair of the compare file derived its own fields; take them from the image again.
    repairState = NormalizeSettingsImage(images.image);
    // A file that was not read has nothing to compare: a report against the image itself would claim that the
    // two agree.
    if (read) DifferenceReport(*this, compare);
}

void TMainForm::MenuCompareDeviceClick(TObject*)
{
    if (!images.deviceValid) {
        MessageBox("Device reference in not valid", "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    reportFileName.clear();
    DifferenceReport(*this, images.device);
}

// ---------------------------------------------------------------- device requests

void TMainForm::MenuReadClick(TObject*)
{
    if (PortInUse(*this))
        requestCode = 64;
}

void TMainForm::MenuVerifyClick(TObject*)
{
    if (!PortInUse(*this))
        return;
    StoreCurrentPage(*this);
    repairState = NormalizeSettingsImage(images.image);
    ShowImageOnPages(*this, 0);
    requestCode = 80;
}

void TMainForm::MenuProgramClick(TObject*)
{
    if (!PortInUse(*this))
        return;
    if (NEWINSTAL == 1) {
        MessageBox(Message(155), Message(MSG_ATTENTION), MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
        return;
    }
    if (unitModel != -1 && unitModel != images.image[RS_BIKE_BYTE] &&
        MessageBox(Message(156), Message(MSG_WARNING), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SYSTEMMODAL) ==
            IDCANCEL)
        return;
    StoreCurrentPage(*this);
    repairState = NormalizeSettingsImage(images.image);
    ShowImageOnPages(*this, 0);
    programAll = 1;
    requestCode = 96;
}

void TMainForm::MenuResetClick(TObject*) { requestCode = 128; }

void TMainForm::MenuStopClick(TObject*) { testCommands[2] |= 0x20; }

void TMainForm::MenuUpdateClick(TObject*) { openWebPage("/stahnout/upload"); }

void TMainForm::MenuContensClick(TObject*) { openWebPage("/stahnout/manuals"); }

// ---------------------------------------------------------------- recent files

void TMainForm::AddRecentFile(std::string name)
{
    if (!name.empty())
        std::erase(recentFiles, std::string());
    if (const auto it = std::find(recentFiles.begin(), recentFiles.end(), name); it != recentFiles.end())
        recentFiles.erase(it);
    recentFiles.insert(recentFiles.begin(), std::move(name));
    if (recentFiles.size() > std::size_t(kRecentMax))
        recentFiles.resize(kRecentMax);
    RefreshRecentMenu();
}

void TMainForm::RemoveRecentFile(const std::string& name)
{
    if (const auto it = std::find(recentFiles.begin(), recentFiles.end(), name); it != recentFiles.end()) {
        recentFiles.erase(it);
        RefreshRecentMenu();
    }
}

void TMainForm::RefreshRecentMenu()
{
    const int count = static_cast<int>(recentFiles.size());
    for (int i = 1; i <= 9; ++i) {
        TMenuItem* item = historyItems[std::size_t(i)];
        if (!item)
            continue;
        item->SetVisible(i < count);
        item->SetCaption(i < count ? recentCaption(i, recentFiles[std::size_t(i)]) : std::to_string(i));
    }
    if (MenuHistoryEnd)
        MenuHistoryEnd->SetVisible(count > 1);
}

void TMainForm::MenuHistoryClick(TObject* Sender)
{
    for (int i = 1; i <= 9; ++i)
        if (Sender == historyItems[std::size_t(i)] && i < static_cast<int>(recentFiles.size())) {
            const std::string name = recentFiles[std::size_t(i)];  // a copy: opening reorders the list
            OpenSettingsFile(name, true);
            return;
        }
}

// ---------------------------------------------------------------- modes, tools, monitors, languages, help

void TMainForm::Menu_Jet123NormalClick(TObject*) { SetInjectionMode(*this, 0); }
void TMainForm::Menu_Jet123CoupledClick(TObject*) { SetInjectionMode(*this, 1); }
void TMainForm::Menu_Jet123StejnyClick(TObject*) { SetInjectionMode(*this, 2); }
void TMainForm::MenuToolsMinusClick(TObject*) { StepFocusedTab(*this, -1); }
void TMainForm::MenuToolsPlusClick(TObject*) { StepFocusedTab(*this, +1); }
void TMainForm::MenuToolsInterpolOnClick(TObject*) { InterpolateFocusedTab(*this); }

void TMainForm::MenuLadeniOnClick(TObject*)
{
    if (auto* box = static_cast<TCheckBox*>(FindComponent("CheckBoxLadeniPovoleno")))
        box->SetChecked(!box->Checked());
    ShowTuningState(*this);
}

void TMainForm::MenuMonitorPlayerClick(TObject*)
{
    // What is shown is inverted, whatever the check mark said, so every press changes the window.
    monitorPlayerShown = !GroupBoxPlayer->Visible();
    ShowPlayerBox(*this, monitorPlayerShown);
    if (TMenuItem* item = MainMenu1->Find("MenuMonitorPlayer"))
        item->SetChecked(monitorPlayerShown);
    SaveAppSettings(*this);
}

void TMainForm::MenuExtMonClick(TObject*) { ShowExternalMonitorWindow(*this, 0); }
void TMainForm::MenuExtMonLoadClick(TObject*) { ShowExternalMonitorWindow(*this, 1); }
void TMainForm::MenuExtMonStoreClick(TObject*) { StoreExternalMonitorSet(*this); }

void TMainForm::MenuMonitorSetClick(TObject* Sender)
{
    struct SetItem {
        const char* name;
        int set;
    };
    constexpr SetItem kSets[] = {
        {"MenuMonitorSet1", -1}, {"MenuMonitorSet2", -2}, {"MenuMonitorSet3", -3}, {"MenuMonitorSet0", -1000}};
    for (const SetItem& s : kSets)
        if (Sender == MainMenu1->Find(s.name))
            ShowExternalMonitorWindow(*this, s.set);
}

namespace {
void switchLanguage(TMainForm& w, int language)
{
    SetLanguageIndex(language);
    ApplyLanguage(w);
    ShowImageOnPages(w, 0);
}
}  // namespace

void TMainForm::MenuEnglishClick(TObject*) { switchLanguage(*this, LNG_ENGLISH); }
void TMainForm::MenuGermanClick(TObject*) { switchLanguage(*this, LNG_GERMAN); }
void TMainForm::MenuCzechClick(TObject*) { switchLanguage(*this, LNG_CZECH); }

void TMainForm::MenuAboutClick(TObject*) { ShowAboutWindow(*this); }
