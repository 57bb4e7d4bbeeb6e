// The main menu: one row per item, in menu order. Captions here are the English ones; the language pass
// replaces them.
#include "os/lngtext.h"
#include "shell/appsettings.h"
#include "shell/mainform.h"

namespace {

using Handler = void (TMainForm::*)(TObject*);

struct MenuRow {
    const char* parent;  // null: an item of the menu bar
    const char* name;    // empty: a separator
    const char* caption;
    const char* shortCut;
    Handler handler;
    bool enabled = true;
};

constexpr MenuRow kMenu[] = {
    {nullptr, "MenuFile", "&File", "", nullptr},
    {"MenuFile", "MenuNew", "&New", "Ctrl+N", &TMainForm::MenuNewClick},
    {"MenuFile", "MenuNewActPage", "New for actual page", "Ctrl+Alt+N", &TMainForm::MenuNewActPageClick},
    {"MenuFile", "MenuOpen", "&Open...", "F3", &TMainForm::MenuOpenClick},
    {"MenuFile", "MenuOpenExeDir", "Open from exe dir...", "Ctrl+F3", &TMainForm::MenuOpenExeDirClick},
    {"MenuFile", "MenuOpenActPage", "Open for actual page...", "Shift+F3", &TMainForm::MenuOpenActPageClick},
    {"MenuFile", "MenuOpenCompare", "Compare with file...", "", &TMainForm::MenuOpenCompareClick},
    {"MenuFile", "", "-", "", nullptr},
    {"MenuFile", "MenuSave", "&Save...", "F2", &TMainForm::MenuSaveClick},
    {"MenuFile", "MenuSaveExeDir", "Save to exe dir...", "Ctrl+F2", &TMainForm::MenuSaveExeDirClick},
    {"MenuFile", "", "-", "", nullptr},
    {"MenuFile", "MenuPrint", "&Print", "", &TMainForm::SpeedButtonPrintClick},
    {"MenuFile", "MenuPrintAll", "Print All", "", &TMainForm::MenuPrintAllClick},
    {"MenuFile", "MenuHistoryBegin", "-", "", nullptr},
    {"MenuFile", "MenuHistory1", "1", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory2", "2", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory3", "3", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory4", "4", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory5", "5", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory6", "6", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory7", "7", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory8", "8", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistory9", "9", "", &TMainForm::MenuHistoryClick},
    {"MenuFile", "MenuHistoryEnd", "-", "", nullptr},
    {"MenuFile", "MenuExit", "E&xit", "", &TMainForm::MenuExitClick},

    {nullptr, "MenuCom", "&Com", "", nullptr},

    {nullptr, "MenuDevice", "&Ignition", "", nullptr},
    {"MenuDevice", "MenuRead", "&Read", "F7", &TMainForm::MenuReadClick},
    {"MenuDevice", "MenuVerify", "&Verify", "F8", &TMainForm::MenuVerifyClick},
    {"MenuDevice", "MenuProgram", "&Program", "F9", &TMainForm::MenuProgramClick},
    {"MenuDevice", "", "-", "", nullptr},
    {"MenuDevice", "MenuCompareDevice", "&Compare with unit", "", &TMainForm::MenuCompareDeviceClick},
    {"MenuDevice", "MenuReset", "Reset", "", &TMainForm::MenuResetClick},
    {"MenuDevice", "", "-", "", nullptr},
    {"MenuDevice", "MenuStop", "&Stop motor", "F12", &TMainForm::MenuStopClick},

    {nullptr, "MenuTools", "&Tools", "", nullptr},
    {"MenuTools", "MenuZpet", "&Undo", "Ctrl+Z", &TMainForm::SpeedButtonZpetClick},
    {"MenuTools", "MenuZnovu", "&Redo", "Ctrl+Y", &TMainForm::SpeedButtonZnovuClick},
    {"MenuTools", "", "-", "", nullptr},
    {"MenuTools", "MenuToolsMinus", "Minus ", "F4", &TMainForm::MenuToolsMinusClick},
    {"MenuTools", "MenuToolsPlus", "Plus", "F5", &TMainForm::MenuToolsPlusClick},
    {"MenuTools", "MenuInterpol", "Interpolace", "Ctrl+I", &TMainForm::MenuToolsInterpolOnClick},
    {"MenuTools", "", "-", "", nullptr},
    {"MenuTools", "MenuLadeniOn", "Tunning On-Off", "F6", &TMainForm::MenuLadeniOnClick},
    {"MenuTools", "MenuMonitorPlayer", "Monitor Player", "Ctrl+M", &TMainForm::MenuMonitorPlayerClick},
    {"MenuTools", "MenuCSVout", "CSV output monitor", "", &TMainForm::MenuCSVoutClick},
    {"MenuTools", "", "-", "", nullptr},
    {"MenuTools", "Menu_Jet123Mode", "Jet 14-23", "", nullptr},
    {"Menu_Jet123Mode", "Menu_Jet123Normal", "Normal", "", &TMainForm::Menu_Jet123NormalClick},
    {"Menu_Jet123Mode", "Menu_Jet123Coupled", "Coupled", "", &TMainForm::Menu_Jet123CoupledClick},
    {"Menu_Jet123Mode", "Menu_Jet123Stejny", "1=2=3=4", "", &TMainForm::Menu_Jet123StejnyClick},

    {nullptr, "MenuServis", "&Service", "", nullptr},
    {"MenuServis", "MenuSaveAllNew", "&Save All New", "", &TMainForm::MenuSaveAllNewClick},
    {"MenuServis", "MenuCompareAll", "&Compare All New", "", &TMainForm::MenuCompareAllClick},

    {nullptr, "MenuExternalMonitor", "&Monitor", "", nullptr},
    {"MenuExternalMonitor", "MenuMonitorView", "View monitor", "", &TMainForm::MenuExtMonClick},
    {"MenuExternalMonitor", "MenuMonitorLoad", "Load Monitor", "", &TMainForm::MenuExtMonLoadClick},
    {"MenuExternalMonitor", "MenuMonitorStore", "Store monitor", "", &TMainForm::MenuExtMonStoreClick, false},
    {"MenuExternalMonitor", "", "-", "", nullptr},
    {"MenuExternalMonitor", "MenuMonitorSet1", "Set1", "", &TMainForm::MenuMonitorSetClick},
    {"MenuExternalMonitor", "MenuMonitorSet2", "Set2", "", &TMainForm::MenuMonitorSetClick},
    {"MenuExternalMonitor", "MenuMonitorSet3", "Set3", "", &TMainForm::MenuMonitorSetClick},
    {"MenuExternalMonitor", "MenuMonitorSet0", "Empty", "", &TMainForm::MenuMonitorSetClick},

    {nullptr, "MenuLanguage", "&Language", "", nullptr},
    {"MenuLanguage", "MenuEnglish", "&English", "", &TMainForm::MenuEnglishClick},
    {"MenuLanguage", "MenuGerman", "&Deutsch", "", &TMainForm::MenuGermanClick},
    {"MenuLanguage", "MenuCzech", "Č&esky", "", &TMainForm::MenuCzechClick},

    {nullptr, "MenuHelp", "&Help", "", nullptr},
    {"MenuHelp", "MenuContens", "&Contens", "F1", &TMainForm::MenuContensClick},
    {"MenuHelp", "MenuUpdate", "Download update", "", &TMainForm::MenuUpdateClick},
    {"MenuHelp", "", "-", "", nullptr},
    {"MenuHelp", "MenuAbout", "&About...", "", &TMainForm::MenuAboutClick},
};

constexpr const char* kLanguageItems[] = {"MenuEnglish", "MenuGerman", "MenuCzech"};

}  // namespace

void TMainForm::BuildMenu()
{
    MainMenu1 = Own(std::make_unique<TMainMenu>(*this), "MainMenu1");
    for (const MenuRow& row : kMenu) {
        TMenuItem* parent = row.parent ? MainMenu1->Find(row.parent) : &MainMenu1->Items();
        TMenuItem* item = std::string_view(row.caption) == "-" ? parent->AddSeparator() : parent->Add(row.name, row.caption);
        item->SetName(row.name);
        if (*row.shortCut)
            item->SetShortCut(row.shortCut);
        if (row.handler)
            item->OnClick = [this, handler = row.handler](TObject* sender) { (this->*handler)(sender); };
        item->SetEnabled(row.enabled);
    }
    for (const char* name : kLanguageItems) {
        TMenuItem* item = MainMenu1->Find(name);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
    }
    MenuZpet = MainMenu1->Find("MenuZpet");
    MenuZnovu = MainMenu1->Find("MenuZnovu");
    MenuRead = MainMenu1->Find("MenuRead");
    MenuVerify = MainMenu1->Find("MenuVerify");
    MenuProgram = MainMenu1->Find("MenuProgram");
    MenuReset = MainMenu1->Find("MenuReset");
    MenuCompareDevice = MainMenu1->Find("MenuCompareDevice");
    MenuCom = MainMenu1->Find("MenuCom");
    for (int i = 1; i <= 9; ++i)
        historyItems[std::size_t(i)] = MainMenu1->Find("MenuHistory" + std::to_string(i));
    MenuHistoryEnd = MainMenu1->Find("MenuHistoryEnd");
    MenuCSVout = MainMenu1->Find("MenuCSVout");
    for (TMenuItem* item : {MenuRead, MenuVerify, MenuProgram, MenuReset, MenuCompareDevice})
        item->SetEnabled(false);
}
