#include "shell/mainform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdlib>
#include <string_view>

#include "monitors/pickupmon.h"
#include "os/lngtext.h"
#include "pages/mapside.h"
#include "settings/errorlog.h"
#include "settings/newbike.h"
#include "shell/appsettings.h"
#include "shell/livedisplay.h"
#include "shell/loader.h"
#include "shell/pickupmonitor.h"
#include "shell/printing.h"
#include "shell/player.h"
#include "shell/toolicons.h"
#include "vcl/qtcolor.h"

namespace {

// Controls that start hidden or shown whatever their page made of them. Names of controls that a page has not
// built yet are skipped.
constexpr const char* kStartHidden[] = {
    "LabelResult", "CGaugeProgram", "LabelEeDataErr", "CheckBoxFallEnable", "CheckBoxBlokEnable",
    "CheckBoxBlokInvert", "GroupBoxActivation", "RadioGroupPinEngine23", "RadioGroupPinEngine14",
    "RadioGroupPinBody11", "RadioGroupPinBody1", "RadioGroupPinBody35", "RadioGroupPinEngine13", "CheckBoxInvInput",
    "LabelInputKlika", "LabelInputVacka", "CheckBoxCheckPickup", "ComboBoxInputKlikaPol", "ComboBoxInputKlikaType",
    "ComboBoxInputVackaPol", "ComboBoxInputVackaType", "EditIdleRpmMez", "UpDownIdleRpmMez", "LabelIdleRpmMez",
    "EditCompLimit", "UpDownCompLimit", "LabelCompLimit", "RadioGroupLadeniOnByTLS", "CheckBoxGas",
    "UpDownN2O_Repeat", "LabelN2O_Repeat", "EditN2O_Repeat", "LabelMonTlStartIn", "LabelMonNeutral",
    "LabelMonPinBody1In", "LabelMonPinBody11In", "LabelMonPinEngine14In", "LabelMonPinEngine23In",
    "LabelMonPinBody35In", "Label2", "LabelMonSideStand", "LabelMonTlStartOut", "LabelMonFan1", "LabelMonFan2",
    "LabelOilOk", "LabelMonLambda1Heat", "CheckBoxTestInjFuelOn", "CheckBoxTestIgnFuelOn", "ButtonTestStart",
    "ButtonTestFan1", "ButtonTestFan2", "LabelTestInjText", "LabelMonInput11In", "CheckBoxInverseInput11",
    "LabelMonInput10In", "CheckBoxInverseInput10", "LabelMonInput9In", "CheckBoxInverseInput9", "LabelSwingLimits",
    "LabelSwingLambda", "LabelRPMLabel", "ComboBoxInput1", "ComboBoxInput2", "ComboBoxInput3", "LabelTest1",
    "LabelTest2", "LabelTest3", "LabelTest4", "LabelTest5", "LabelTest6", "LabelTest7", "LabelTest8", "LabelTest9",
    "LabelTest10", "LabelTest11", "LabelTest12", "LabelTmp", "GroupBoxPlayer",
};
constexpr const char* kStartShown[] = {
    "CGaugeLambda2", "CGaugeLambda3", "CGaugeLambda4", "CheckBoxInvInputKlika", "CheckBoxInvInputVacka",
    "CheckBoxZamenaPickup", "GroupBoxRaceQuickShiftDown",
};
// The six controls whose design-time places the swing settings move and put back.
constexpr const char* kSwingControls[] = {
    "EditKyvaniMinRpm", "UpDownKyvaniMinRpm", "LabelKyvaniMinRpm",
    "EditKyvaniPocOtacek", "UpDownKyvaniPocOtacek", "LabelKyvaniPocOtacek",
};

constexpr int kTopStrip = 66;

TControl* findControl(const TForm& form, std::string_view name)
{
    return static_cast<TControl*>(form.FindComponent(name));
}

}  // namespace

TMainForm::TMainForm(os::LinkClock& clock, std::vector<std::string> args, PortLister ports, LinkThreads threads)
    : TMR(clock), arguments(std::move(args))
{
    BuildForm();
    printLists = std::make_unique<PrintLists>();
    link = std::make_unique<CCOMCOM>(TMR, std::move(ports), threads);
    InitSettingsFolder(*this);
    // Faults that escape an event handler, and math errors, go to the error log in the settings folder.
    SetErrorLogFolder(settingsFolder.path);
    vcl::SetExceptionHook([folder = settingsFolder.path](const std::string& text) { LogError(folder, text); });
    // A malformed trilingual literal is a developer fault: shown once per literal and logged.
    SetLngTextErrorHook([folder = settingsFolder.path](std::string_view message) {
        LogError(folder, message);
        MsgBox(message, "Error", MB_OK);
    });
    newNameFormat = "\\NEW_" + std::to_string(RS_KEY_309);
    mapNameFormat = "\\MAP_" + std::to_string(RS_KEY_309);
    // Every free row of the probe table tries the newest protocol at 115200 Bd.
    link->FillProtocolSlots(3300, 115200, 175);
    link->RSKEY = RS_KEY_309;
    link->subVersion = RS_SUBVERSION;
    link->hooks.showStatus = [this](int slot, const std::string& text, int ms, std::uint32_t font,
                                    std::uint32_t back, int priority) {
        SetStatusSlot(*this, slot, text, ms, font, back, priority);
    };
    identity.note = "settings not from unit";
    pageHooks.noteImageChangeAndProgram = [this] { NoteImageChangeAndProgram(); };
    pageHooks.logPageRecord = [this] { LogPageRecord(*this); };
    pageHooks.showLiveData = [this] { ShowLiveData(*this); };
    pageHooks.hasLiveData = [this] { return HasLiveData(*this); };
    pageHooks.versionLabelShown = [this] { return PortInUse(*this) || link->selectedPort == -1; };
    tabList.logFault = [folder = settingsFolder.path](std::string_view message) { LogError(folder, message); };
    pageHooks.newSettings = [this](int page, int mode) { return NewSettings(page, mode); };
    pageHooks.applyLanguage = [this] { ApplyLanguage(*this); };
    pageHooks.message = [this](int index) { return Message(index); };
    pageHooks.unitIdentity = [this]() -> const IdentityTexts& { return identity; };
    pageHooks.checkMenuItem = [this](std::string_view name, bool checked) {
        if (TMenuItem* item = MainMenu1 ? MainMenu1->Find(name) : nullptr) item->SetChecked(checked);
    };
    // A played recording is no unit that could fire an output.
    pageHooks.unitAnswers = [this] {
        return PortInUse(*this) && connectionState == kConnectionOwnKey && (recording.State() & 3) != kRecPlaying;
    };
    for (const std::string& problem : SelfCheckEnums())
        MsgBoxError(problem, MB_OK);
}

TMainForm::~TMainForm()
{
    vcl::SetExceptionHook(nullptr);
    SetLngTextErrorHook(nullptr);
    Timer1->SetEnabled(false);
    pickupMonitor.reset();  // its window before the main window
    DestroyWindow();
}

void TMainForm::BuildForm()
{
    SetCaption("  Kelvora_12 (v309)       ");
    Widget()->setMinimumSize(640, 480);

    GroupBoxToolBar = Make<TGroupBox>(nullptr, "GroupBoxToolBar");
    GroupBoxToolBar->SetBounds(4, 2, 196, 40);
    // Hints come with the language (ApplyLanguage).
    struct ToolButton {
        TSpeedButton** member;
        const char* name;
        ToolPicture picture;
    };
    const ToolButton tools[] = {
        {&SpeedButtonNew, "SpeedButtonNew", ToolPicture::New},
        {&SpeedButtonOpen, "SpeedButtonOpen", ToolPicture::Open},
        {&SpeedButtonSave, "SpeedButtonSave", ToolPicture::Save},
        {&SpeedButtonPrint, "SpeedButtonPrint", ToolPicture::Print},
        {&SpeedButtonZpet, "SpeedButtonZpet", ToolPicture::Undo},
        {&SpeedButtonZnovu, "SpeedButtonZnovu", ToolPicture::Redo},
    };
    int x = 6;
    for (const ToolButton& t : tools) {
        *t.member = Make<TSpeedButton>(GroupBoxToolBar, t.name);
        (*t.member)->SetBounds(x, 8, 28, 28);
        (*t.member)->SetIcon(ToolIconName(t.picture), DrawToolPicture(t.picture));
        x += 31;
    }
    SpeedButtonNew->OnClick = [this](TObject* s) { MenuNewClick(s); };
    SpeedButtonOpen->OnClick = [this](TObject* s) { MenuOpenClick(s); };
    SpeedButtonSave->OnClick = [this](TObject* s) { MenuSaveClick(s); };
    SpeedButtonPrint->OnClick = [this](TObject* s) { SpeedButtonPrintClick(s); };
    SpeedButtonZpet->OnClick = [this](TObject* s) { SpeedButtonZpetClick(s); };
    SpeedButtonZnovu->OnClick = [this](TObject* s) { SpeedButtonZnovuClick(s); };

    // Captions come with the language; the widest is German "Programmieren".
    ButtonRead = Make<TButton>(nullptr, "ButtonRead");
    ButtonRead->SetBounds(206, 8, 84, 28);
    ButtonVerify = Make<TButton>(nullptr, "ButtonVerify");
    ButtonVerify->SetBounds(294, 8, 84, 28);
    ButtonProgram = Make<TButton>(nullptr, "ButtonProgram");
    ButtonProgram->SetBounds(382, 8, 102, 28);
    ButtonRead->OnClick = [this](TObject* s) { MenuReadClick(s); };
    ButtonVerify->OnClick = [this](TObject* s) { MenuVerifyClick(s); };
    ButtonProgram->OnClick = [this](TObject* s) { MenuProgramClick(s); };
    // Under the tool bar: the pickup monitor, which draws the pickup and ignition signals the unit samples.
    ButtonMonPu = Make<TButton>(nullptr, "ButtonMonPu");
    ButtonMonPu->SetBounds(4, 44, 120, 21);
    ButtonMonPu->SetCaption("PickUp monitor");
    ButtonMonPu->OnClick = [this](TObject* s) { ButtonMonPuClick(s); };
    CheckBoxProgHned = Make<TCheckBox>(nullptr, "CheckBoxProgHned");
    // Wide enough for its German caption; the status column starts right of it.
    CheckBoxProgHned->SetBounds(488, 12, kStatusLeft - 4 - 488, 20);
    CheckBoxProgHned->SetCaption("Programming after change");

    // Under the device buttons: the port the link uses or probes, then the unit's version.
    LabelCom = Make<TLabel>(nullptr, "LabelCom");
    LabelCom->SetBounds(206, 44, 134, 16);
    LabelVersion = Make<TLabel>(nullptr, "LabelVersion");
    LabelVersion->SetBounds(346, 44, 290, 16);
    LabelConnection = Make<TLabel>(nullptr, "LabelConnection");
    constexpr int kRightEdge = kFormWidth - 6;
    LabelConnection->SetBounds(kStatusLeft, 4, kRightEdge - kStatusLeft, 18);
    LabelResult = Make<TLabel>(nullptr, "LabelResult");
    LabelResult->SetBounds(kStatusLeft, 24, kRightEdge - 150 - kStatusLeft, 18);
    CGaugeProgram = Make<TCGauge>(nullptr, "CGaugeProgram");
    CGaugeProgram->SetBounds(kRightEdge - 144, 24, 144, 18);
    CGaugeProgram->SetForeColor(clNavy);
    LabelCongruence = Make<TLabel>(nullptr, "LabelCongruence");
    LabelCongruence->SetBounds(kStatusLeft, 44, kRightEdge - kStatusLeft, 18);

    // The settings pages at their design size, and the controls beside them.
    BuildPageControl(*this, 0, kTopStrip);
    PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };

    StatusBar1 = Make<TStatusBar>(nullptr, "StatusBar1");
    for (int width : {300, 30, 400, 30, 300})
        StatusBar1->AddPanel(width);
    StatusBar1->SetPanelText(1, "EXE");
    StatusBar1->SetPanelText(3, "HEX");

    OpenDialog1 = Own(std::make_unique<TOpenDialog>(), "OpenDialog1");
    OpenDialog1->Filter = "IGN file|*.ign";
    OpenDialog1->DefaultExt = "ign";
    SaveDialog1 = Own(std::make_unique<TSaveDialog>(), "SaveDialog1");
    SaveDialog1->Filter = "IGN file|*.ign";
    SaveDialog1->DefaultExt = "ign";

    BuildMenu();
    BuildPlayerBox(*this);

    Timer1 = Own(std::make_unique<TTimer>(*this), "Timer1");
    Timer1->SetInterval(kMainTimerMs);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    OnClose = [this](TObject* s, TCloseAction& action) { FormClose(s, action); };
    // The application starts the window up while it creates it, before any other window exists.
    OnCreate = [this](TObject* s) { FormCreate(s); };
    SetClientSize(kFormWidth, kFormHeight);
}

void TMainForm::ApplyStartVisibility()
{
    for (const char* name : kStartHidden)
        if (TControl* control = findControl(*this, name))
            control->SetVisible(false);
    for (const char* name : kStartShown)
        if (TControl* control = findControl(*this, name))
            control->SetVisible(true);
    // The batch tools serve the people who maintain the archive: their menu shows only when asked for.
    if (TMenuItem* item = MainMenu1->Find("MenuServis")) {
        const char* service = std::getenv("KELVORA_SERVICE_MENU");
        item->SetVisible(service != nullptr && std::string_view(service) == "1");
    }
    monitorPlayerShown = false;  // the player box starts hidden; its menu item keeps the stored check mark
    CGaugeProgram->SetMaxValue(100);
    tabSheets[PAGE_KNOCK]->SetTabVisible(false);
    tabSheets[PAGE_OBD]->SetTabVisible(false);
    tabSheets[PAGE_SYNCHRO]->SetTabVisible(true);
    tabSheets[PAGE_INPUTS]->SetTabVisible(true);
    tabSheets[PAGE_TRACKING]->SetTabVisible(true);
}

void TMainForm::FormCreate(TObject*)
{
    // 1. Design-time places of the swing controls, which their page moves and puts back.
    for (std::size_t i = 0; i < std::size(kSwingControls); ++i)
        if (TControl* control = findControl(*this, kSwingControls[i])) {
            savedPlaces[2 * i] = control->Left();
            savedPlaces[2 * i + 1] = control->Top();
        }
    // 2. The archive of model settings.
    archiveAttached = OpenArchive(*this);
    // 3. Status slots, version and connection lines.
    InitStatusSlots(*this);
    connectionState = 0;
    InitVersionInfo(*this);
    versionLine = GetVersionText(*this);
    connectionLine = GetConnectionText(*this);
    StatusBar1->SetPanelText(4, connectionLine);
    // 5. Centred on the screen, each half rounded toward zero.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        SetLeft((area.width() - Width()) / 2);
        SetTop((area.height() - Height()) / 2);
    }
    // 6. The hint panel.
    StatusBar1->SetPanelText(0, Hint());
    if (Application)
        Application->OnHint = [this](TObject*) { StatusBar1->SetPanelText(0, Application->Hint()); };
    // 7. COM menu and the settings pages.
    BuildComMenu();
    BuildAllPages(*this);
    // 8. Model 11 and its new settings until the program settings say otherwise.
    link->selectedPort = 1;
    images.image[RS_BIKE_BYTE] = 11;
    NewBikeSettings(*this);
    // 9. Where the file dialogs start.
    dialogPath = (std::filesystem::path(ProgramFolder()) / "data.ign").string();
    // 10. Program settings and the last settings image.
    LoadAppSettings(*this);
    // 11. Show everything.
    ShowImageOnPages(*this, 1);
    RefreshRecentMenu();
    PageControl1Change(this);
    if (auto* memo = static_cast<TMemo*>(FindComponent("Memo1")))
        memo->SetMaxLength(150);
    SetBikeDefaults(images.image, images.image[RS_BIKE_BYTE]);
    // 12. The first command-line word may choose the language; case matters.
    if (!arguments.empty()) {
        const std::string& word = arguments.front();
        if (word == "ENGLISH")
            SetLanguageIndex(LNG_ENGLISH);
        else if (word == "DEUTSCH")
            SetLanguageIndex(LNG_GERMAN);
        else if (word == "CESKY")
            SetLanguageIndex(LNG_CZECH);
    }
    // 13. Repair, language, first snapshot.
    repairState = NormalizeSettingsImage(images.image);
    ApplyLanguage(*this);
    ShowImageOnPages(*this, 0);
    ResetUndo();
    ApplyLanguage(*this);
    ShowImageOnPages(*this, 0);
    // 14. Start visibility.
    ApplyStartVisibility();
    ShowImageOnPages(*this, 1);
    // 15. A failure to take the focus does not matter.
    ButtonRead->SetFocus();
    // 16. Dropped files; the warning about a missing archive.
    SetAcceptDrops(true);
    OnDropFiles = [this](const std::vector<std::string>& paths) { OnFilesDropped(*this, paths); };
    loaderEndpoint = std::make_unique<LoaderEndpoint>(*this);
    if (Application)
        vcl::Fire(Application->OnHint, static_cast<TObject*>(this));
    if (!archiveAttached)
        MessageBox("No Impet attached !\nNejsou vloženy NEW soubory - nutne doplnit !!!", "Warning",
                   MB_OK | MB_ICONWARNING);
    // 17. Version line.
    StatusBar1->SetPanelText(2, versionLine);
    // 18. No unit yet; the live display once; nothing recorded or played.
    DisconnectUnit(*this);
    ShowLiveData(*this);
    InitLiveRecording(*this);
    // 19. The main timer may now do its work.
    initialised = 1;
}

void TMainForm::FormClose(TObject*, TCloseAction&)
{
    Timer1->SetEnabled(false);
    StopLiveRecording(*this);
    if (csvLog.IsOn()) ToggleCsvLog(*this);
    ShowPendingMessages(*this);
    CloseAllPorts(*this);
    StoreCurrentPage(*this);
    repairState = NormalizeSettingsImage(images.image);
    SaveAppSettings(*this);
    ReleaseStatusSlots(*this);
}

void TMainForm::KeepSpecialControlValues()
{
    SpecialControls& c = special;
    if (c.components != ComponentCount()) {
        c.components = ComponentCount();
        c.channel = static_cast<TEdit*>(FindComponent("EditLadeniKanal"));
        c.channelUpDown = static_cast<TUpDown*>(FindComponent("UpDownLadeniKanal"));
        c.pulses = static_cast<TEdit*>(FindComponent("EditRpmPulsu"));
        c.pulsesUpDown = static_cast<TUpDown*>(FindComponent("UpDownRpmPulsu"));
        const char* const hidden[] = {"LabelMonGearNapeti3", "CheckBoxUseGPSforQS3", "LabelExpLev3"};
        for (std::size_t i = 0; i < c.hidden.size(); ++i) c.hidden[i] = static_cast<TControl*>(FindComponent(hidden[i]));
    }
    if (c.channel && c.channel->Text() == "0") {
        if (c.channelUpDown) c.channelUpDown->SetPosition(0);
        c.channel->SetText("ALL");
        images.image[4617] = 0;  // tuning channel: all
    }
    // The trigger-pulse count also names the two pickups: -1 the crank pickup, -2 the cam pickup.
    if (c.pulses && c.pulses->Text() == "-1") {
        if (c.pulsesUpDown) c.pulsesUpDown->SetPosition(-1);
        c.pulses->SetText("CKPS");
        images.image[2668] = 255;
    }
    if (c.pulses && c.pulses->Text() == "-2") {
        if (c.pulsesUpDown) c.pulsesUpDown->SetPosition(-2);
        c.pulses->SetText("CMPS");
        images.image[2668] = 254;
    }
    for (TControl* control : c.hidden)
        if (control) control->SetVisible(false);
}

void TMainForm::PageControl1Change(TObject*)
{
    ::PageControl1Change(*this);
}

void TMainForm::Timer1Timer(TObject*)
{
    // 1. The tick counter drives the link clock.
    ++tickCounter;
    TMR.set(static_cast<std::uint32_t>(tickCounter) * kTmrPerTick);
    // 2. Nothing more until the start-up has finished.
    if (!initialised)
        return;
    // 3. No command button holds the focus after start.
    if (!firstTickDone)
        CheckBoxProgHned->SetFocus();
    // 4. The external monitor when it was open at the last end.
    if (showExternalMonitorAtStart)
        ShowExternalMonitorWindow(*this, 0);
    // 5. Injection sheet backgrounds once the pictures can be drawn.
    if (!firstTickDone && injectionLookPending)
        injectionLookPending = false;
    firstTickDone = true;
    // A message box or dialog runs this timer in its nested event loop: the steps that may open one, or that the
    // open one's handler is in the middle of (a commit, a page show, a device operation), wait until it closes.
    const bool modal = vcl::ModalOpen();
    // 6.-7. The unit: device operations and the port table.
    if (!modal)
        DeviceStep(*this);
    if (link->portTableChanged)
        RebuildComMenu();
    // 8. A delayed control change whose time has come.
    if (!modal)
        CommitDueChange(*this);
    // 9. The map editors: the live operating point, the guide values, their own tick (whose committed edits reach
    // the pages, so not while a box is open).
    if (!modal)
        FeedLiveValuesToMapEditors(*this, HasLiveData(*this));
    // 10. Status messages expire.
    ExpireStatusSlots(*this);
    // 11. The current page's periodic work.
    if (!modal)
        TickCurrentPage(*this);
    // 12. A completed pickup sample block goes into the pickup ring.
    TakePickupBlockStep(*this);
    // 13. Device commands while a port is in use; comparing while the unit's image is known.
    const bool portInUse = PortInUse(*this);
    for (TButton* button : {ButtonRead, ButtonVerify, ButtonProgram})
        button->SetEnabled(portInUse);
    for (TMenuItem* item : {MenuRead, MenuVerify, MenuProgram, MenuReset})
        item->SetEnabled(portInUse);
    MenuCompareDevice->SetEnabled(images.deviceValid);
    // 14.-15. Special values of page controls, and controls that stay hidden whatever their page did.
    KeepSpecialControlValues();
    // 16.-17. The pickup monitor: its analysis every 16th tick, its poll and redraw every tick.
    PickupMonitorStep(*this);
    // 18. Follow the connection state; the lambda-learning file of a matching unit is read once per connection.
    if (connectionState != connectionStatePrev) {
        if (connectionState != 2) {
            connectionStatePrev = connectionState;
        } else if (images.deviceValid) {
            connectionStatePrev = 2;
            if (images.identical)
                LoadLambdaFile(*this);
        }
    }
    // 19. The live player's records that are due.
    if (recording.State() == kRecPlaying) PlaybackTick(*this);
    // The display that showed live data is cleared once neither a unit nor a recording feeds it any more.
    if (liveShown && !HasLiveData(*this)) ShowLiveData(*this);
    // What went wrong with a recording or the CSV log during this step.
    ShowPendingMessages(*this);
}
