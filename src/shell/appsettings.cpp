#include "shell/appsettings.h"

#include <QCoreApplication>

#include <sstream>

#include "os/files.h"
#include "settings/diffreport.h"
#include "settings/impetcmd.h"
#include "monitors/cidlist.h"
#include "monitors/extmon.h"
#include "monitors/monvars.h"
#include "settings/errorlog.h"
#include "shell/about.h"
#include "settings/newbike.h"
#include "os/lngtext.h"
#include "mapeditor/tab.h"
#include "pages/injectionpage.h"
#include "pages/mapside.h"
#include "pages/pages.h"
#include "shell/livedisplay.h"
#include "shell/mainform.h"
#include "shell/settingsfiles.h"
#include "vcl/qtcolor.h"

namespace {

constexpr const char* kBasic = "BASIC";
constexpr const char* kPageKey = "PageControl1->ActivePageIndex";
constexpr int kRecentMax = 10;

std::string historyKey(int i)
{
    char key[16];
    std::snprintf(key, sizeof key, "MenuHistory%02i", i);
    return key;
}

// Stored language numbers: Czech is 3 in the file, 2 in the program.
int languageToFile(int language) { return language == LNG_CZECH ? 3 : language; }

// Pages whose map editor's current sheet is stored with the page.
bool keepsSheet(int page)
{
    return page == PAGE_ADVANCE || page == PAGE_INJECTION || page == PAGE_CORRECTIONS || page == PAGE_SERVOS ||
           page == PAGE_POWER_OUT || page == PAGE_KNOCK;
}

// The check box once its page has built it; until then the value read at start, so that it is kept.
bool extMonitorChecked(const TMainForm& w)
{
    const auto* box = static_cast<TCheckBox*>(w.FindComponent("CheckBoxExtMonitor"));
    return box ? box->Checked() : w.extMonitorChecked;
}

}  // namespace

void InitSettingsFolder(TMainForm& w)
{
    w.settingsFolder = os::openSettingsFolder(RS_KEY_309);
    w.iniPath = w.settingsFolder.path / "application.ini";
    w.defaultPath = w.settingsFolder.path / "default.ini";
    w.monitorPath = w.settingsFolder.path / "monitor.ini";
    w.ini = std::make_unique<TIniFile>(w.iniPath);
}

void SaveAppSettings(TMainForm& w)
{
    TIniFile& ini = *w.ini;
    ini.WriteInteger(kBasic, "Left", w.Left());
    ini.WriteInteger(kBasic, "Top", w.Top());
    ini.WriteInteger(kBasic, "Height", w.Height());
    ini.WriteInteger(kBasic, "Width", w.Width());
    ini.WriteInteger(kBasic, "ComPort", w.link->selectedPort);
    ini.WriteInteger(kBasic, "ComPortAuto", w.link->nextPort);
    ini.WriteInteger(kBasic, "Language", languageToFile(GetLanguageIndex()));
    ini.WriteInteger(kBasic, "UpdateNumber", w.updateNumber);
    ini.WriteString(kBasic, "File", EscapePath(w.currentFileName));
    ini.WriteString(kBasic, "IniFileDir", EscapePath(w.lastFileName));
    // Page and, for pages with a map editor, the editor's sheet.
    const int page = w.PageControl1->ActivePageIndex();
    ini.WriteInteger(kBasic, kPageKey, page * 100 + (keepsSheet(page) ? w.mapEditorSheets[std::size_t(page)] : 0));
    ini.WriteInteger(kBasic, "CheckBoxExtMonitor->Checked", extMonitorChecked(w) ? 1 : 0);
    ini.WriteInteger(kBasic, "FormEM->Visible", w.externalMonitorVisible ? w.externalMonitorVisible() : 0);
    ini.WriteInteger(kBasic, "NEWINSTAL", w.NEWINSTAL);
    // The check mark, not the box: the box starts hidden, and only the mark carries the choice to the next start.
    const TMenuItem* player = w.MainMenu1->Find("MenuMonitorPlayer");
    ini.WriteInteger(kBasic, "MONITORPLAYER", player && player->Checked() ? 1 : 0);
    const int count = static_cast<int>(std::min<std::size_t>(w.recentFiles.size(), kRecentMax));
    for (int i = 0; i < count; ++i)
        ini.WriteString(kBasic, historyKey(i), EscapePath(w.recentFiles[std::size_t(i)]));
    // Keys past the list's end would bring removed entries back at the next start.
    for (int i = count; i < kRecentMax; ++i)
        ini.DeleteKey(kBasic, historyKey(i));
    if (const os::FileResult result = ini.UpdateFile(); !result.ok)
        std::fprintf(stderr, "kelvora: %s\n", result.error.c_str());
    if (const os::FileResult result = os::atomicWriteFile(w.defaultPath, DefaultIniText(w.images.image)); !result.ok)
        std::fprintf(stderr, "kelvora: %s\n", result.error.c_str());
    // The monitor set of this run, once one was shown.
    if (w.externalMonitor && w.externalMonitor->monitorSetLoaded != 0)
        (void)w.externalMonitor->image->WriteSet(w.monitorPath);
}

void LoadAppSettings(TMainForm& w)
{
    const TIniFile& ini = *w.ini;
    // 1. Window place, pulled onto a screen.
    w.SetBounds(ini.ReadInteger(kBasic, "Left", w.Left()), ini.ReadInteger(kBasic, "Top", w.Top()),
                ini.ReadInteger(kBasic, "Width", w.Width()), ini.ReadInteger(kBasic, "Height", w.Height()));
    w.FitToScreen();
    // 2. Ports.
    w.link->selectedPort = ini.ReadInteger(kBasic, "ComPort", 0);
    w.link->nextPort = ini.ReadInteger(kBasic, "ComPortAuto", w.link->nextPort);
    // 3. Language: 0, 1 and 3 stand for English, German and Czech; anything else changes nothing.
    const int language = ini.ReadInteger(kBasic, "Language", languageToFile(GetLanguageIndex()));
    if (language == 0)
        SetLanguageIndex(LNG_ENGLISH);
    else if (language == 1)
        SetLanguageIndex(LNG_GERMAN);
    else if (language == 3)
        SetLanguageIndex(LNG_CZECH);
    // 4.-5.
    w.updateNumber = ini.ReadInteger(kBasic, "UpdateNumber", -1);
    const std::string fileRaw = ini.ReadString(kBasic, "File", "");
    w.currentFileName = UnescapePath(fileRaw);
    w.lastFileName = UnescapePath(ini.ReadString(kBasic, "IniFileDir", fileRaw));
    w.OpenDialog1->FileName = w.lastFileName;
    w.SaveDialog1->FileName = w.lastFileName;
    // 6. The page; one the page control does not have, or one whose tab is hidden, gives the first page.
    const int pageValue = ini.ReadInteger(kBasic, kPageKey, w.PageControl1->ActivePageIndex() * 100);
    int page = pageValue / 100;
    if (page >= 0 && page < kPageCount && keepsSheet(page)) w.mapEditorSheets[std::size_t(page)] = pageValue % 100;
    if (page < 0 || page >= w.PageControl1->PageCount() || page == PAGE_KNOCK || page == PAGE_OBD)
        page = 0;
    w.PageControl1->SetActivePageIndex(page);
    w.currentPage = page;
    // 7.-8.
    w.extMonitorChecked = ini.ReadInteger(kBasic, "CheckBoxExtMonitor->Checked", extMonitorChecked(w) ? 1 : 0) != 0;
    if (auto* box = static_cast<TCheckBox*>(w.FindComponent("CheckBoxExtMonitor"))) {
        ++w.settingGuard;
        box->SetChecked(w.extMonitorChecked);
        --w.settingGuard;
    }
    w.showExternalMonitorAtStart = ini.ReadInteger(kBasic, "FormEM->Visible", 0) != 0;
    w.NEWINSTAL = ini.ReadInteger(kBasic, "NEWINSTAL", 1);
    w.monitorPlayerShown = ini.ReadInteger(kBasic, "MONITORPLAYER", 0) != 0;
    if (TMenuItem* player = w.MainMenu1->Find("MenuMonitorPlayer")) player->SetChecked(w.monitorPlayerShown);
    // 9. Recent files: the first entry is taken even when empty, a later empty one ends the list.
    w.recentFiles.clear();
    for (int i = 0; i < kRecentMax; ++i) {
        const std::string raw = ini.ReadString(kBasic, historyKey(i), "");
        if (raw.empty() && i > 0)
            break;
        w.recentFiles.push_back(UnescapePath(raw));
    }
    // 10. The last settings image. A short file is kept aside for the user, never deleted.
    if (const auto text = os::readWholeFile(w.defaultPath, std::size_t(1) << 20)) {
        Image image = w.images.image;
        if (ReadDefaultIniText(*text, image) == RS_LEN_EXE) {
            w.images.image = image;
        } else {
            std::error_code ec;
            std::filesystem::rename(w.defaultPath, w.defaultPath.string() + ".bad", ec);
            w.images.image[RS_BIKE_BYTE] = 11;
            NewBikeSettings(w);
        }
    }
    // 11.-12.
    w.repairState = NormalizeSettingsImage(w.images.image);
    if (w.images.image[RS_BIKE_BYTE] > RS_MODEL_COUNT - 1) {
        w.images.image[RS_BIKE_BYTE] = 0;
        NewBikeSettings(w);
    }
}

CImpet& ProgramArchive()
{
    // The one archive of the program, alive from before the main window to after it.
    static CImpet impet;
    return impet;
}

bool OpenArchive(TMainForm& w)
{
    const std::filesystem::path program = ProgramFile();
    std::ostringstream quiet;
    const bool attached = AttachProgramArchive(ProgramArchive(), program, DefaultArchiveImportRoots(program),
                                               w.settingsFolder.path, quiet);
    return attached;
}

void NewBikeSettings(TMainForm& w, int page)
{
    NewBikePage which;
    which.page = page;
    which.injectionSheet = InjectionEditorSheet(w);
    const NewBikeResult result = NewBikeSettings(w.images.image, ProgramArchive(), which);
    if (!result.error.empty()) {
        MsgBoxError(result.error, MB_OK);
        return;
    }
    w.repairState = result.repair;
}

void LoadLambdaFile(TMainForm&) {}

std::string ProgramFolder()
{
    return QCoreApplication::instance() ? vcl::S(QCoreApplication::applicationDirPath()) : std::string(".");
}

std::filesystem::path ProgramFile()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self;
    return QCoreApplication::instance() ? vcl::S(QCoreApplication::applicationFilePath()) : std::string();
}


int SelectedBikeTag(const TMainForm& w)
{
    if (auto* combo = static_cast<TComboBox*>(w.FindComponent("ComboBoxBike")))
        return combo->ItemIndex() < 0 ? combo->ItemIndex() : combo->ItemTag(combo->ItemIndex());
    return w.images.image[RS_BIKE_BYTE];
}

int InjectionEditorSheet(const TMainForm& w)
{
    const TTab* editor = w.mapEditors[kInjectionEditorId];
    return editor && editor->current >= 0 ? editor->current : 0;
}

PageImportFlags CurrentPageImportFlags(const TMainForm& w)
{
    NewBikePage page;
    page.page = w.currentPage;
    page.injectionSheet = InjectionEditorSheet(w);
    return SetPageImportFlags(w.images.image, page);
}

ReaderHooks SilentReaderHooks(TMainForm&)
{
    ReaderHooks hooks;
    hooks.setLambdaSensorDefaults = [](Image& image, int sensorMode) { SetLambdaSensorDefaults(image, sensorMode); };
    hooks.newSynchronisationSettings = [](Image& image) {
        NewBikePage page;
        page.page = PAGE_SYNCHRO;
        (void)NewBikeSettings(image, ProgramArchive(), page);
    };
    return hooks;
}

ReaderHooks ReaderHooksFor(TMainForm& w)
{
    ReaderHooks hooks = SilentReaderHooks(w);
    hooks.showMessage = [&w](ReaderMessage message, int number) {
        switch (message) {
            case ReaderMessage::OlderVersion:
                MessageBox(w.Message(MSG_OLDER_IGN_VERSION), w.Message(MSG_WARNING), MB_OK | MB_ICONWARNING);
                break;
            case ReaderMessage::UnmatchedVersion:
                ShowMessage(w.Message(MSG_UNMATCHED_IGN_VERSION));
                break;
            case ReaderMessage::UnsupportedModel:
                MessageBox("Motocycle #" + std::to_string(number) + " is not supported", "Error", MB_OK | MB_ICONSTOP);
                break;
        }
    };
    return hooks;
}

SettingsFileTexts SettingsTextsFor(const TMainForm& w)
{
    SettingsFileTexts texts;
    texts.firmware = w.identity.firmware;
    texts.key = w.device ? w.device->UnitKeyText() : std::string();
    texts.serialNumber = w.identity.serialNumber;
    texts.lastUpdate = w.identity.lastUpdate;
    texts.unit = w.identity.unit;
    return texts;
}

std::string ReportNameFor(const std::string& fileName)
{
    return DifferenceReportFileName(fileName);
}

void DifferenceReport(TMainForm& w, const Image& second)
{
    std::string fileName = w.reportFileName;
    if (fileName.empty()) {
        w.SaveDialog1->Filter = "TXT file|*.txt";
        w.SaveDialog1->DefaultExt = "txt";
        w.SaveDialog1->FilterIndex = 1;
        const std::string kept = w.SaveDialog1->FileName;
        const bool chosen = w.SaveDialog1->Execute();
        fileName = w.SaveDialog1->FileName;
        w.SaveDialog1->FileName = kept;
        w.SaveDialog1->Filter = "IGN file|*.ign";
        w.SaveDialog1->DefaultExt = "ign";
        if (!chosen)
            return;
    }
    const auto layout = ProgramArchive().GetFile(std::string(kLayoutMapFolder).substr(1), std::string(kLayoutMapName));
    std::optional<std::string_view> layoutText;
    if (layout)
        layoutText = std::string_view(reinterpret_cast<const char*>(layout->data()), layout->size());
    const DifferenceReportText report = BuildDifferenceReport(w.images.image, second, layoutText);
    if (report.isLayoutMissing)
        MessageBox(std::string(kMapMissingText), "Error", MB_OK | MB_ICONSTOP);
    // A report that cannot be written is said, not dropped silently.
    if (const os::FileResult result = os::atomicWriteFile(fileName, report.text); !result.ok)
        MessageBox(w.Message(MSG_OPEN_FILE_ERROR) + "\n" + result.error, "Error", MB_OK | MB_ICONSTOP);
}

void SetInjectionMode(TMainForm& w, int mode)
{
    Image& image = w.images.image;
    // The injection page shows the image only while it is current: from another page its maps may be older than
    // the image (a Read, an undo since), and they are about to be copied and stored. They take the image first.
    if (w.currentPage != PAGE_INJECTION) ShowInjectionPage(w);
    // One map for all injectors, entered or left: maps 2 to 4 are map 1 again, and the editor shows it at once.
    auto copyMapOne = [&w] {
        CopyInjectionSheets(w);
        if (TTab* editor = w.mapEditors[kInjectionEditorId]) {
            editor->BuildSideBar();
            editor->dirty |= kDirtyRecompute;
        }
        w.tabList.guideRefresh |= 1;
        FeedLiveValuesToMapEditors(w, HasLiveData(w));
    };
    if (mode == 2) {
        image[kImageInjectionMode] = 2;
        copyMapOne();
    } else {
        if (image[kImageInjectionMode] == 2) copyMapOne();
        image[kImageInjectionMode] = static_cast<std::uint8_t>(mode);
        // Coupled: maps 2 to 4 take map 1's points, their values re-sampled onto them; every time it is chosen.
        if (mode == 1) AlignInjectionSheets(w);
    }
    StoreInjectionPage(w);
    ShowImageOnPages(w, 1);
    w.repairState = NormalizeSettingsImage(image);
    w.NoteImageChangeAndProgram();
}

void ShowExternalMonitorWindow(TMainForm& w, int set)
{
    w.showExternalMonitorAtStart = false;
    if (w.externalMonitor)
        ShowExternalMonitor(*w.externalMonitor, set);
}

void StoreExternalMonitorSet(TMainForm& w)
{
    if (!w.externalMonitor || w.externalMonitor->monitorSetLoaded == 0) return;
    w.externalMonitor->image->StoreSet();
    ShowExternalMonitor(*w.externalMonitor, 0);
}

void AttachMonitorWindows(TMainForm& w, TFormEM* monitor, TFormCIDList* picker)
{
    w.externalMonitor = monitor;
    w.watchPicker = picker;
    w.externalMonitorVisible = [monitor] { return monitor && monitor->Visible() ? 1 : 0; };
    w.updateMonitorVariables = [&w] {
        static const LiveBlock kNoFrame;
        const LiveBlock& block = w.device ? w.device->live : kNoFrame;
        if (UpdateMonitorVariables(w.images.image, block, w.derivedLiveValues))
            MarkMonitorValuesChanged(w.externalMonitor);
    };
    if (!monitor) return;
    monitor->watchPicker = picker;
    monitor->monitorIni = w.monitorPath;
    monitor->hasLiveData = [&w] { return HasLiveData(w); };
    monitor->enableStoreItem = [&w] {
        if (TMenuItem* item = w.MainMenu1->Find("MenuMonitorStore")) item->SetEnabled(true);
    };
    monitor->logError = [&w](const std::string& text) { LogError(w.settingsFolder.path, text); };
}

void ShowAboutWindow(TMainForm& w)
{
    if (w.aboutForm)
        w.aboutForm->ShowModal();
}

