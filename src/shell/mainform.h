#pragma once
// The main window: holds the program's state, starts it up, runs the 55 ms main timer and shuts it down.
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "languages/messages.h"
#include "link/comcom.h"
#include "link/csvlog.h"
#include "link/devicestep.h"
#include "link/identity.h"
#include "link/livedata.h"
#include "link/liverecording.h"
#include "link/livetexts.h"
#include "monitors/pickup.h"
#include "os/clock.h"
#include "os/settingsdir.h"
#include "pages/pages.h"
#include "shell/status.h"
#include "vcl/controls.h"
#include "vcl/dialogs.h"
#include "vcl/forms.h"
#include "vcl/inifile.h"
#include "vcl/menus.h"
#include "vcl/timer.h"

inline constexpr int kMainTimerMs = 55;
// The main window's client area (the player box, when shown, adds to its height).
inline constexpr int kFormWidth = kDesignFormWidth;
inline constexpr int kFormHeight = 700;  // the page control at its design size, below the top strip
inline constexpr int kTmrPerTick = 50;
// Left edge of the status column of the top strip (connection, result with its gauge, congruence).
inline constexpr int kStatusLeft = 716;

class TMainForm final : public TPageForm {
public:
    // `clock` is the link clock TMR this window drives; `arguments` the command line without the program name.
    TMainForm(os::LinkClock& clock, std::vector<std::string> arguments, PortLister ports = {},
              LinkThreads threads = LinkThreads::Run);
    ~TMainForm() override;

    // Start-up sequence, run once after construction (OnCreate of the old framework).
    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& action);
    // One tick of the main timer.
    void Timer1Timer(TObject* Sender);

    // Undo and the image comparison (the user-visible side of the undo ring).
    void ResetUndo();
    void TakeSnapshot();
    bool NoteImageChange();
    void NoteImageChangeAndProgram();
    void RestoreSnapshot(int pageSource);
    void UpdateUndoButtons();
    void CompareUnitAndPc();
    void SpeedButtonZpetClick(TObject* Sender);
    void SpeedButtonZnovuClick(TObject* Sender);
    void PageControl1Change(TObject* Sender);

    // File and device menus.
    void MenuNewClick(TObject* Sender);
    void MenuNewActPageClick(TObject* Sender);
    void MenuOpenClick(TObject* Sender);
    void MenuOpenExeDirClick(TObject* Sender);
    void MenuOpenActPageClick(TObject* Sender);
    void MenuOpenCompareClick(TObject* Sender);
    void MenuSaveClick(TObject* Sender);
    void MenuSaveExeDirClick(TObject* Sender);
    void MenuExitClick(TObject* Sender);
    void MenuReadClick(TObject* Sender);
    void MenuVerifyClick(TObject* Sender);
    void MenuProgramClick(TObject* Sender);
    void MenuCompareDeviceClick(TObject* Sender);
    void MenuResetClick(TObject* Sender);
    void MenuUpdateClick(TObject* Sender);
    void MenuStopClick(TObject* Sender);
    void MenuHistoryClick(TObject* Sender);
    void MenuSaveAllNewClick(TObject* Sender);
    void SpeedButtonPrintClick(TObject* Sender);
    void MenuPrintAllClick(TObject* Sender);
    void MenuCompareAllClick(TObject* Sender);
    // Mode, tool, monitor, language and help menus.
    void Menu_Jet123NormalClick(TObject* Sender);
    void Menu_Jet123CoupledClick(TObject* Sender);
    void Menu_Jet123StejnyClick(TObject* Sender);
    void MenuToolsMinusClick(TObject* Sender);
    void MenuToolsPlusClick(TObject* Sender);
    void MenuToolsInterpolOnClick(TObject* Sender);
    void MenuLadeniOnClick(TObject* Sender);
    void MenuMonitorPlayerClick(TObject* Sender);
    void MenuExtMonClick(TObject* Sender);
    void MenuExtMonLoadClick(TObject* Sender);
    void MenuExtMonStoreClick(TObject* Sender);
    void MenuMonitorSetClick(TObject* Sender);
    void MenuEnglishClick(TObject* Sender);
    void MenuGermanClick(TObject* Sender);
    void MenuCzechClick(TObject* Sender);
    void MenuAboutClick(TObject* Sender);
    void MenuContensClick(TObject* Sender);
    void MenuCom1Click(TObject* Sender);
    // The live recording's player box and the CSV log (shell/player.cpp).
    void SpeedButtonPlay(TObject* Sender);
    void PlayPosChange(TObject* Sender);
    void MenuCSVoutClick(TObject* Sender);
    void ButtonMonPuClick(TObject* Sender);  // the pickup monitor (shell/pickupmonitor.cpp)

    // 0 done, 1 nothing to do or cancelled, 2 refused for the coupled injection page.
    int NewSettings(int page, int mode);
    // Opens a settings file into the image; with bookkeeping it becomes the current file. True when accepted.
    bool OpenSettingsFile(const std::string& name, bool bookkeeping);
    void AddRecentFile(std::string name);
    void RemoveRecentFile(const std::string& name);
    void RefreshRecentMenu();
    void BuildComMenu();
    void RebuildComMenu();
    [[nodiscard]] std::string Message(int index) const;

    // ---- controls of the form
    TGroupBox* GroupBoxToolBar = nullptr;
    TSpeedButton* SpeedButtonNew = nullptr;
    TSpeedButton* SpeedButtonOpen = nullptr;
    TSpeedButton* SpeedButtonSave = nullptr;
    TSpeedButton* SpeedButtonPrint = nullptr;
    TSpeedButton* SpeedButtonZpet = nullptr;
    TSpeedButton* SpeedButtonZnovu = nullptr;
    TButton* ButtonRead = nullptr;
    TButton* ButtonVerify = nullptr;
    TButton* ButtonProgram = nullptr;
    TButton* ButtonMonPu = nullptr;  // shows or hides the pickup monitor
    TLabel* LabelConnection = nullptr;
    TLabel* LabelResult = nullptr;
    TLabel* LabelCongruence = nullptr;
    TLabel* LabelCom = nullptr;  // which port the link uses or probes
    TCGauge* CGaugeProgram = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TTimer* Timer1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TMenuItem* MenuZpet = nullptr;
    TMenuItem* MenuZnovu = nullptr;
    TMenuItem* MenuRead = nullptr;
    TMenuItem* MenuVerify = nullptr;
    TMenuItem* MenuProgram = nullptr;
    TMenuItem* MenuReset = nullptr;
    TMenuItem* MenuCompareDevice = nullptr;
    TMenuItem* MenuCom = nullptr;
    std::array<TMenuItem*, 30> comItems{};
    std::array<TMenuItem*, 10> historyItems{};  // entries 1..9 of the recent list (0 unused)
    TMenuItem* MenuHistoryEnd = nullptr;
    TMenuItem* MenuCSVout = nullptr;
    TGroupBox* GroupBoxPlayer = nullptr;
    TSpeedButton* SpeedButtonPlay1 = nullptr;  // record
    TSpeedButton* SpeedButtonPlay2 = nullptr;  // play
    TSpeedButton* SpeedButtonPlay3 = nullptr;  // pause
    TSpeedButton* SpeedButtonPlay4 = nullptr;  // stop
    TScrollBar* ScrollBarPlay = nullptr;
    TLabel* LabelPlayFile = nullptr;
    TLabel* LabelPlayPos = nullptr;
    TLabel* LabelPlayDevice = nullptr;
    TOpenDialog* OpenDialog2 = nullptr;  // recordings to play
    TSaveDialog* SaveDialog2 = nullptr;  // recordings and CSV logs

    // ---- state
    os::LinkClock& TMR;
    // The unit link; its constructor starts the protocol thread, its destructor joins every link thread.
    std::unique_ptr<CCOMCOM> link;
    // The device-operation step over the link (made on first use, shell/unitlink.cpp).
    std::unique_ptr<DeviceOps> device;
    std::vector<std::string> arguments;
    UndoRing undoRing;
    bool lastNoteChanged = false;  // outcome of the last noting or restoring
    int requestCode = 0;           // 64 read, 80 verify, 96 program, 98 program after change, 128 reset
    int programAll = 1;            // the device step programs every byte (0: only the marked ones)
    int connectionState = 0;
    int connectionStatePrev = 0;
    int unitModel = -1;
    int releasedPort = -1;
    int NEWINSTAL = 0;
    int fileShown = 0;
    std::string currentFileName;
    std::string lastFileName;
    std::string dialogPath;
    std::string reportFileName;
    std::string versionLine;
    std::string connectionLine;
    std::string newNameFormat;  // archive folder of the model settings: "\NEW_309"
    std::string mapNameFormat;  // archive folder of the parameter layout: "\MAP_309"
    // The unit's identity texts; opening a settings file empties the serial number and the last update and
    // notes "settings not from unit".
    IdentityTexts identity;
    LanguageTables languageTables;  // message table, input names and the language scratch
    StatusSlots statusSlots;
    std::string compileDate;        // "2024_11_26"
    std::string newestArchiveDate;  // of the newest archive entry, or empty
    std::array<int, 12> savedPlaces{};  // design-time Left and Top of the six swing controls
    // The pickup monitor's window is shown and not paused: every live request asks the unit for samples.
    bool pickupWanted = false;
    // The live display: what its labels and gauges show, the controls it found by name (null where no page made
    // one), and whether the last pass showed live data.
    LiveTexts liveTexts;
    std::array<TLabel*, kLiveLabelCount> liveLabels{};
    std::array<TCGauge*, kLiveGaugeCount> liveGauges{};
    std::size_t liveControlsLookedUpAt = 0;  // the component count when the missing ones were last looked up
    bool liveShown = false;
    os::SettingsFolder settingsFolder;
    std::unique_ptr<TIniFile> ini;     // application.ini, open for the window's whole life
    std::filesystem::path iniPath;     // application.ini
    std::filesystem::path defaultPath; // default.ini: the last settings image
    std::filesystem::path monitorPath; // monitor.ini: the last monitor set
    int updateNumber = -1;
    std::vector<std::string> recentFiles;  // newest first, at most 10
    bool monitorPlayerShown = false;       // the player box is shown
    bool extMonitorChecked = false;        // stored state of CheckBoxExtMonitor, kept while its page has not built it
    // The sheet each page's map editor shows, stored with the page; kept for pages whose editor is not built.
    std::array<int, kPageCount> mapEditorSheets{};
    class TFormAbout* aboutForm = nullptr;
    class TFormEM* externalMonitor = nullptr;  // created once at start
    // The pickup monitor, made by the first press of its button and kept to the end; the ring of its samples and
    // the block last taken over from the link.
    std::unique_ptr<class CMonPickup> pickupMonitor;
    PickupRing pickupRing;
    PickupSampleBlock pickupBlock;
    // The printing module's change records and sheet list, kept from start to exit.
    std::unique_ptr<struct PrintLists> printLists;
    class TFormCIDList* watchPicker = nullptr;  // created once at start
    // What the live display derives from each frame for the monitor variables.
    DerivedLiveValues derivedLiveValues{};
    // The external monitor's variables take each pass's values (filled by the monitor windows).
    std::function<void()> updateMonitorVariables;
    std::unique_ptr<class LoaderEndpoint> loaderEndpoint;  // opened when files may be dropped  // created once at start beside the main window
    // Whether the external monitor window is shown (the monitor windows fill it).
    std::function<int()> externalMonitorVisible;
    bool firstTickDone = false;
    bool injectionLookPending = true;
    bool showExternalMonitorAtStart = false;
    bool archiveAttached = true;
    // The live recording and its player (their millisecond clock is the recording's), and the CSV log.
    LiveRecording recording;
    CsvLog csvLog;
    std::function<std::int64_t()> wallClockMs = os::wallMs;  // the time of day that the log and recordings show
    bool deviceImageFromRecording = false;                   // the device image was played from a recording
    std::vector<std::string> pendingMessages;                // raised inside a timer step; shown once the step is done
    bool showingMessages = false;

private:
    void BuildForm();
    void BuildMenu();
    void ApplyStartVisibility();
    void KeepSpecialControlValues();
    // The controls it looks after on every tick, looked up again only when new components came.
    struct SpecialControls {
        std::size_t components = 0;
        TEdit* channel = nullptr;
        TUpDown* channelUpDown = nullptr;
        TEdit* pulses = nullptr;
        TUpDown* pulsesUpDown = nullptr;
        std::array<TControl*, 3> hidden{};
    } special;
};

// Web page host; the paths are the program's own.
inline constexpr const char* kWebHost = "https://www.kelvora.invalid";
