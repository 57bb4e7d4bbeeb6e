#pragma once
// The device-operation step: each main-timer tick it evaluates the link's transfer job, moves the current
// operation (unit check, read, verify, program, reset, live cycle) on by one stage and starts that stage's job.
// It works on plain data (the image set, the link and a few fields of the main window) and tells the window
// what to show through hooks. It never waits for the unit.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "link/comcom.h"
#include "link/identity.h"
#include "link/livedata.h"
#include "settings/undo.h"

// Request codes stored by the user interface.
inline constexpr int kRequestRead = 64;
inline constexpr int kRequestVerify = 80;
inline constexpr int kRequestProgram = 96;
inline constexpr int kRequestProgramChanged = 98;
inline constexpr int kRequestReset = 128;
inline constexpr int kRequestResetRelease = 129;

// Operations (stages) of the step.
inline constexpr int kOpNoPort = 0;
inline constexpr int kOpIdle = 1;
inline constexpr int kOpLive = 2;
inline constexpr int kOpChangedBlock = 3;
inline constexpr int kOpCheckFirst = 32;
inline constexpr int kOpCheckSecond = 33;

inline constexpr int kLiveCycleTicks = 7;
inline constexpr int kSaveCounterFull = 10200;
inline constexpr int kConnectionNone = 0;
inline constexpr int kConnectionOtherKey = 1;
inline constexpr int kConnectionOwnKey = 2;

// Colours handed to the status hook (0x00BBGGRR; 0xFF0000nn a system colour).
inline constexpr std::uint32_t kDevColorKept = 0x1FFFFFFF;
inline constexpr std::uint32_t kDevColorFace = 0xFF00000F;
inline constexpr std::uint32_t kDevColorRed = 0x0000FF;
inline constexpr std::uint32_t kDevColorAqua = 0xFFFF00;
inline constexpr std::uint32_t kDevColorBlack = 0x000000;

// Fields of the main window that the step reads and writes.
struct DeviceContext
{
    CCOMCOM& link;
    ImageSet& images;
    int& requestCode;
    int& programAll;
    int& newInstal;
    int& connectionState;
    int& releasedPort;
    std::array<std::uint8_t, 4>& testCommands;
    const int& tickCounter;
};

// What goes upward to the window. Every hook may stay empty.
struct DeviceHooks
{
    // Status slot text "###English##German##Czech" (empty: hide), duration ms (-1 until replaced), colours, priority.
    std::function<void(int slot, const std::string& text, int durationMs, std::uint32_t fontColor,
                       std::uint32_t backColor, int priority)>
        showStatus;
    // The progress gauge: progress 0..100 (-1 keeps it), colour (kDevColorKept keeps it), shown.
    std::function<void(int progress, std::uint32_t color, bool show)> gauge;
    std::function<void(const std::string&)> portText;  // the port label
    std::function<void()> showImageOnPages;            // the current page
    std::function<void()> normalizeImage;              // repair the settings image (and keep what repair derived)
    std::function<void()> compareUnitAndPc;
    std::function<void()> noteImageChange;
    std::function<void()> saveAppSettings;
    std::function<void(int start, int end)> copyImageRangeToMaps;
    // The changed block to re-read for a changed-block mask: block index 0..16, or -1 for none.
    std::function<int(int mask)> chooseChangedBlock;
    std::function<void(const std::string&)> showMessage;
    std::function<std::string(int)> message;  // message-table text
    std::function<void()> identityChanged;
    std::function<void()> liveFrameStored;  // connection line, recording, live display
    std::function<void()> updateCaption;
    std::function<void()> unitDisconnected;  // version and connection lines after the port closed
    std::function<bool()> playerPlaying;     // the live player plays or is paused in playing
    std::function<LiveRequestInputs()> liveInputs;
};

class DeviceOps final
{
public:
    DeviceOps(DeviceContext context, DeviceHooks deviceHooks) : hooks(std::move(deviceHooks)), m_c(context) {}

    // One tick.
    void Step();
    // Closes the port in use and resets the unit state.
    void DisconnectUnit();
    // A live frame of a recording being played takes the road of a frame stored from the unit, from the block
    // on: `blockBytes` are block bytes 0..299, which a recording keeps.
    void ReplayLiveFrame(std::span<const std::uint8_t> blockBytes);
    // Hands the port to a loader program, and takes it back.
    void ReleasePort();
    void ReclaimPort();

    [[nodiscard]] int Operation() const { return m_operation; }
    [[nodiscard]] int FailureCount() const { return m_failureCount; }
    [[nodiscard]] int SaveCounter() const { return m_saveCounter; }
    [[nodiscard]] int ChangedBlockMask() const { return m_changedMask; }
    [[nodiscard]] bool UnitChecked() const { return m_unitChecked; }
    [[nodiscard]] const std::string& UnitKeyText() const { return m_unitKeyText; }
    [[nodiscard]] const std::array<std::uint8_t, kUnitHeaderKept>& UnitHeader() const { return m_unitHeader; }

    IdentityTexts identity;
    LiveBlock live;
    DeviceHooks hooks;

private:
    void evaluateFailure();
    void unitLost();
    void evaluateDone();
    void finishStage();
    void takeRequest();
    void startStage();
    void savingDisplay();
    void showProgress();
    void storeLiveFrame();
    void requestLiveData();
    bool startJob(int code, int start, int length, int flags);
    void checkHeader();
    // Ends the operation with an error text on `back` (red for a unit that stopped answering, face for a compare).
    void failWith(const char* text, std::uint32_t back = kDevColorFace);

    void status(int slot, const std::string& text, int ms, std::uint32_t font, std::uint32_t back, int priority);
    void result(const char* text, std::uint32_t back = kDevColorFace);
    void gauge(int progress, std::uint32_t color = kDevColorKept, bool show = false);
    void gaugeOn() { gauge(0, kDevColorAqua, true); }
    [[nodiscard]] std::string portSearchText() const;
    void swapRange(std::span<std::uint8_t> data) const;
    [[nodiscard]] bool rangeEquals(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) const;
    void call(const std::function<void()>& f) const
    {
        if (f) f();
    }

    DeviceContext m_c;
    int m_operation = kOpNoPort;
    int m_failureCount = 0;
    int m_attempts = 0;
    int m_rangeStart = 0;
    int m_rangeEnd = 0;
    int m_lastLiveTick = 0;
    int m_saveCounter = 0;
    int m_changedMask = 0;
    int m_startedJob = 0;
    bool m_programDone = false;
    bool m_firstCallDone = false;
    // The header check of this connection passed with this program's key and sub-version.
    bool m_unitChecked = false;
    // The user was told that a change is not programmed into this unit (once per connection).
    bool m_toldNotProgrammed = false;
    Image m_readBuffer{};
    std::array<std::uint8_t, kUnitHeaderKept> m_unitHeader{};
    std::string m_unitKeyText;
};
