#include "link/devicestep.h"

#include <algorithm>
#include <cstdio>

#include "os/lngtext.h"
#include "settings/helpers.h"
#include "settings/repair.h"

namespace {

constexpr const char* kTextNoConnection =
    "###No connection with PC...##Keine Verbindung zum PC...##Není spojení s PC...";
constexpr const char* kTextCheckingError = "###Checking error !##Geräteprüfung Fehler !##Chyba kontroly jednotky !";
constexpr const char* kTextReadError = "###Read error !##Lesefehler !##Chyba čtení !";
constexpr const char* kTextVerifyError = "###Verify error !##Vergleichsfehler !##Chyba verifikace !";
constexpr const char* kTextResetError = "###Reset error !##Reset Fehler !##Chyba resetu !";
constexpr const char* kTextChecking = "###Checking:##Geräteprüfung:##Kontrola jednotky:";
constexpr const char* kTextCheckingOk = "###Checking: OK##Geräteprüfung: OK##Kontrola jednotky: OK";
constexpr const char* kTextRead = "###Read:##Lesen:##Čtení:";
constexpr const char* kTextVerify = "###Verify:##Vergleichen:##Verifikace:";
constexpr const char* kTextVerifyOk = "###Verify: OK##Vergleichen: OK##Verifikace: OK";
constexpr const char* kTextProgram = "###Program device:##Programmieren:##Programování:";
constexpr const char* kTextProgramOk = "###Program device: OK##Programmieren: OK##Programování: OK";
constexpr const char* kTextSaving = "###Saving:##Speichern:##Ukládání:";
constexpr const char* kTextNone = "###none##kain##žádný";
constexpr const char* kTextNotProgrammed =
    "###Not programmed after the change: the unit was not checked as one of this version##Nach der Änderung nicht "
    "programmiert: die Einheit wurde nicht als eine dieser Version geprüft##Po změně nenaprogramováno: jednotka "
    "nebyla ověřena jako jednotka této verze";

constexpr int kStatusMs = 2000;
constexpr int kPriorityNormal = 10;
constexpr int kPriorityAlways = -5;

bool isCheckRead(int op)
{
    return op >= 48 && op <= 63;
}
bool isCheckStage(int op)
{
    return op == 32 || op == 33 || isCheckRead(op);
}
bool isLiveBeforeRead(int op)
{
    return (op >= 52 && op <= 55) || (op >= 60 && op <= 63);
}

// The error text of an operation whose jobs failed for good; none for idle and the live cycles.
const char* operationErrorText(int op)
{
    if (isCheckStage(op)) return kTextCheckingError;
    if (op == 64 || op == 65) return kTextReadError;
    if (op == 80 || (op >= 96 && op <= 99)) return kTextVerifyError;
    if (op == kRequestReset || op == kRequestResetRelease) return kTextResetError;
    return nullptr;
}

// Image parts of the unit check: k * 1275 rounded up to whole 300-byte blocks (0, 1500, 2700, 3900, 5100).
int partBoundary(int k)
{
    return (k * 1275 + RS_BLOCK - 1) / RS_BLOCK * RS_BLOCK;
}

std::string fallbackMessage(int index)
{
    return index == 7 ? "Unmatched version of PC and Ignition programs!"
                      : "Unmatched subversion of PC and Ignition programs!";
}

}  // namespace

void DeviceOps::status(int slot, const std::string& text, int ms, std::uint32_t font, std::uint32_t back, int priority)
{
    if (hooks.showStatus) hooks.showStatus(slot, text, ms, font, back, priority);
}

void DeviceOps::result(const char* text, std::uint32_t back)
{
    status(2, text, kStatusMs, kDevColorKept, back, kPriorityNormal);
}

void DeviceOps::gauge(int progress, std::uint32_t color, bool show)
{
    if (hooks.gauge) hooks.gauge(progress, color, show);
}

void DeviceOps::failWith(const char* text, std::uint32_t back)
{
    result(text, back);
    gauge(100, kDevColorRed);
    m_operation = kOpIdle;
}

bool DeviceOps::startJob(int code, int start, int length, int flags)
{
    if (!m_c.link.StartJob(code, start, length, flags)) return false;
    m_startedJob = code;
    return true;
}

void DeviceOps::swapRange(std::span<std::uint8_t> data) const
{
    SwapWordBytes(data.first(RS_LEN_EXE), 0, RS_WORD_COUNT - 1, m_rangeStart, m_rangeEnd - 1);
}

bool DeviceOps::rangeEquals(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) const
{
    return std::equal(a.begin() + m_rangeStart, a.begin() + m_rangeEnd, b.begin() + m_rangeStart);
}

std::string DeviceOps::portSearchText() const
{
    const CCOMCOM& link = m_c.link;
    char text[64];
    if (link.linkEnabled.load() == 0) {
        std::snprintf(text, sizeof text, "COM=%i (DISCONECTED)", m_c.releasedPort);
        return text;
    }
    if (link.selectedPort == -1) return "COM=OFF";
    const bool automatic = link.selectedPort == 0;
    std::string ports;
    for (int s = 0; s < 3; ++s) {
        const LinkSlot& slot = link.SearchSlot(s);
        if (slot.port == 0 || slot.state == kSlotIdle) continue;
        if (!ports.empty()) ports += ',';
        ports += std::to_string(slot.port);
    }
    if (automatic && ports.empty()) return "COM=" + std::string(GetLngText(kTextNone));
    return automatic ? "COM=(auto " + ports + ")" : "COM=" + ports;
}

void DeviceOps::Step()
{
    CCOMCOM& link = m_c.link;
    // 1. Until the first unit answers, the user sees that there is none.
    if (!m_firstCallDone) {
        m_firstCallDone = true;
        if (link.linkEnabled.load() != 0)
            status(1, kTextNoConnection, -1, kDevColorBlack, kDevColorRed, kPriorityAlways);
    }
    // 2.-4. The link's own tick; without a port nothing more.
    link.Tick();
    if (link.TakePortLost()) unitLost();
    const int port = link.portInUse.load();
    if (port == 0) {
        m_operation = kOpNoPort;
        m_c.testCommands.fill(0);
        if (hooks.portText) hooks.portText(portSearchText());
    }
    if (port == 0 || link.linkEnabled.load() == 0) return;
    // 5. A port has just come into use: check the unit first. Failures of an earlier connection do not count.
    if (m_operation == kOpNoPort) {
        m_operation = kOpCheckFirst;
        m_attempts = 0;
        m_lastLiveTick = 0;
        m_programDone = false;
        m_failureCount = 0;
        m_unitChecked = false;
        m_toldNotProgrammed = false;
        if (hooks.portText) hooks.portText("COM=" + std::to_string(port));
    }
    // 6. The job's outcome.
    const int job = link.JobField();
    if (job == kJobRead || job == kJobProgram)
        showProgress();
    else if (job == kJobFailed)
        evaluateFailure();
    else if (job == kJobDone)
        evaluateDone();
    if (link.portInUse.load() == 0) return;  // the live cycle gave the unit up
    // 7. Idle: a waiting request, or a live cycle when it is due.
    if (m_operation == kOpIdle) takeRequest();
    // 8. The stage's job.
    if (link.JobField() == 0) startStage();
    // 9. The unit storing programmed settings.
    savingDisplay();
}

void DeviceOps::showProgress()
{
    const int span = m_rangeEnd - m_rangeStart;
    int p = span > 0 ? (m_c.link.Position() - m_rangeStart) * 100 / span : 0;
    if (isCheckRead(m_operation) && !isLiveBeforeRead(m_operation)) {
        const int k = m_operation % 4;
        const int j = (m_operation >= 56 ? 5700 : 600) + 1275 * k;
        p = (j * 100 + 1275 * p) / 10800;
    }
    gauge(std::clamp(p, 0, 100));
}

void DeviceOps::evaluateFailure()
{
    m_c.link.TakeJobResult();
    ++m_failureCount;
    if (m_failureCount < 3) return;  // the stage's job starts again below
    const int op = m_operation;
    if (op == kOpLive) {
        DisconnectUnit();
        return;
    }
    // A unit that stopped answering is an alarm (red); a compare that found differences is not.
    if (const char* text = operationErrorText(op)) failWith(text, kDevColorRed);
    // A reset that never got through is said so; the loader still gets its port.
    if (op == kRequestResetRelease) ReleasePort();
    m_operation = kOpIdle;
}

void DeviceOps::unitLost()
{
    // The port went away under the unit: the running operation ends as its third failed job would, and the
    // unit is disconnected as after a lost live cycle.
    if (const char* text = operationErrorText(m_operation)) failWith(text, kDevColorRed);
    DisconnectUnit();
}

void DeviceOps::evaluateDone()
{
    m_c.link.TakeJobResult();
    m_failureCount = 0;
    if (m_startedJob == kJobLive && !(hooks.playerPlaying && hooks.playerPlaying())) storeLiveFrame();
    if (m_operation == kOpLive) m_operation = kOpIdle;
    finishStage();
}

void DeviceOps::storeLiveFrame()
{
    live.StoreAnswer(std::span(m_c.link.receivedData).first(kLiveFrameLength));
    const int key = live.Monw(kLiveWordKey);
    char text[256];
    if (key == RS_KEY_309) {
        m_c.connectionState = kConnectionOwnKey;
        std::snprintf(text, sizeof text, "RSKEY=%d", key);
    } else {
        m_c.connectionState = kConnectionOtherKey;
        const std::string msg = hooks.message ? hooks.message(7) : fallbackMessage(7);
        std::snprintf(text, sizeof text, "%s  PC-%d, IGN-%d", msg.c_str(), RS_KEY_309, key);
    }
    m_unitKeyText = text;
    m_saveCounter = live.Monw(kLiveWordSaveCounter);
    m_changedMask = live.Monw(kLiveWordChangedBlocks);
    status(1, std::string(), -1, kDevColorKept, kDevColorKept, kPriorityNormal);
    call(hooks.liveFrameStored);
}

void DeviceOps::ReplayLiveFrame(std::span<const std::uint8_t> blockBytes)
{
    const std::span<std::uint8_t, kLiveBlockLength> block = live.MutableBytes();
    std::copy_n(blockBytes.begin(), std::min<std::size_t>(blockBytes.size(), kLiveFrameLength), block.begin());
    // Block byte 300, the high byte of the unit's key at 299-300, is not recorded; the key word the same frame
    // carries gives it back, so the frame does not show another unit's key.
    const int key = live.Monw(kLiveWordKey);
    block[kLiveFrameLength] = live.Monb(kLiveFrameLength - 1) == (key & 0xFF) ? static_cast<std::uint8_t>(key >> 8) : 0;
    call(hooks.liveFrameStored);
}

void DeviceOps::checkHeader()
{
    auto& r = m_c.link.receivedData;
    // The unit sends its key and the next word big-endian.
    std::swap(r[11], r[12]);
    std::swap(r[13], r[14]);
    const bool second = m_operation == 33 || m_operation == 97;
    if (!second) {
        std::copy(r.begin(), r.begin() + RS_BLOCK, m_readBuffer.begin());
        m_operation += 1;
        return;
    }
    if (!std::equal(r.begin(), r.begin() + RS_BLOCK, m_readBuffer.begin())) {
        if (m_attempts < 2) {
            gauge(0);
            m_operation -= 1;
        } else {
            failWith(kTextCheckingError);
        }
        return;
    }
    std::copy_n(r.begin(), kUnitHeaderKept, m_unitHeader.begin());
    BuildIdentityTexts(m_unitHeader, identity);
    call(hooks.identityChanged);
    const int key = m_unitHeader[11] | (m_unitHeader[12] << 8);
    const int subVersion = m_unitHeader[10];
    if (hooks.normalizeImage)
        hooks.normalizeImage();
    else
        NormalizeSettingsImage(m_c.images.image);
    call(hooks.showImageOnPages);
    if (key != RS_KEY_309 || subVersion != RS_SUBVERSION) {
        m_operation = kOpIdle;
        const int index = key != RS_KEY_309 ? 7 : 8;
        const std::string msg = hooks.message ? hooks.message(index) : fallbackMessage(index);
        char text[256];
        std::snprintf(text, sizeof text, "%s  PC-%d.%02d, IGN-%d.%02d", msg.c_str(), RS_KEY_309, RS_SUBVERSION, key,
                      subVersion);
        if (hooks.showMessage) hooks.showMessage(text);
        gauge(100, kDevColorRed);
        return;
    }
    m_unitChecked = true;
    m_toldNotProgrammed = false;
    m_attempts = 0;
    m_operation = m_operation == 33 ? 52 : 98;
}

void DeviceOps::finishStage()
{
    Image& image = m_c.images.image;
    auto& r = m_c.link.receivedData;
    const int op = m_operation;
    switch (op) {
        case kOpChangedBlock:
            swapRange(r);
            std::copy(r.begin() + m_rangeStart, r.begin() + m_rangeEnd, image.begin() + m_rangeStart);
            if (hooks.copyImageRangeToMaps) hooks.copyImageRangeToMaps(m_rangeStart, m_rangeEnd);
            m_operation = kOpLive;
            return;
        case 32:
        case 33:
        case 96:
        case 97:
            checkHeader();
            return;
        case 52:
        case 53:
        case 54:
        case 55:
            m_operation = op - 4;
            return;
        case 60:
        case 61:
        case 62:
        case 63:
            m_operation = op - 4;
            return;
        case 48:
        case 49:
        case 50:
        case 51:
            swapRange(r);
            std::copy(r.begin() + m_rangeStart, r.begin() + m_rangeEnd, m_readBuffer.begin() + m_rangeStart);
            m_operation = op == 51 ? 60 : op + 5;
            return;
        case 56:
        case 57:
        case 58:
        case 59:
            swapRange(r);
            if (!rangeEquals(r, m_readBuffer)) {
                if (m_attempts < 2) {
                    gauge(5);
                    m_operation = 52;
                } else {
                    failWith(kTextCheckingError);
                }
                return;
            }
            std::copy(r.begin() + m_rangeStart, r.begin() + m_rangeEnd, m_c.images.device.begin() + m_rangeStart);
            if (op != 59) {
                m_operation = op + 5;
                return;
            }
            m_c.images.deviceValid = true;
            call(hooks.compareUnitAndPc);
            result(kTextCheckingOk);
            gauge(100);
            m_operation = kOpIdle;
            return;
        case 64:
            swapRange(r);
            std::copy(r.begin() + m_rangeStart, r.begin() + m_rangeEnd, m_readBuffer.begin() + m_rangeStart);
            m_operation = 65;
            return;
        case 65: {
            swapRange(r);
            if (!rangeEquals(r, m_readBuffer)) {
                if (m_attempts < 2) {
                    gauge(0);
                    m_operation = 64;
                } else {
                    failWith(kTextVerifyError);
                }
                return;
            }
            ImageSet& set = m_c.images;
            std::fill(set.changeMarks.begin() + m_rangeStart, set.changeMarks.begin() + m_rangeEnd, 0);
            std::copy(r.begin() + m_rangeStart, r.begin() + m_rangeEnd, image.begin() + m_rangeStart);
            if (m_c.newInstal != 0) {
                m_c.newInstal = 0;
                call(hooks.saveAppSettings);
            }
            std::copy(image.begin() + m_rangeStart, image.begin() + m_rangeEnd, set.device.begin() + m_rangeStart);
            set.deviceValid = true;
            call(hooks.compareUnitAndPc);
            call(hooks.noteImageChange);
            for (int pass = 0; pass < 2; ++pass) {
                if (hooks.normalizeImage)
                    hooks.normalizeImage();
                else
                    NormalizeSettingsImage(image);
                call(hooks.showImageOnPages);
                if (pass == 0) {
                    result(kTextVerifyOk);
                    gauge(100);
                }
            }
            m_operation = kOpIdle;
            return;
        }
        case 80:
            swapRange(r);
            if (rangeEquals(r, image)) {
                result(kTextVerifyOk);
                gauge(100);
                m_operation = kOpIdle;
            } else if (m_attempts < 2) {
                gauge(0);
            } else {
                failWith(kTextVerifyError);
            }
            return;
        case 98:
            m_operation = 99;
            return;
        case 99: {
            swapRange(r);
            ChangeMarks& marks = m_c.images.changeMarks;
            bool equal = true;
            for (int i = m_rangeStart; i < m_rangeEnd && equal; ++i) {
                const auto at = static_cast<std::size_t>(i);
                if ((m_c.programAll != 0 || marks[at] != 0) && r[at] != image[at]) equal = false;
            }
            if (!equal) {
                if (m_attempts < 2) {
                    gauge(0);
                    m_operation = 98;
                } else {
                    failWith(kTextVerifyError);
                }
                return;
            }
            std::fill(marks.begin() + m_rangeStart, marks.begin() + m_rangeEnd, 0);
            result(kTextVerifyOk);
            gauge(100);
            m_operation = kOpIdle;
            m_programDone = true;
            m_saveCounter = 1;
            return;
        }
        case kRequestReset:
            m_operation = kOpIdle;
            return;
        case kRequestResetRelease:
            ReleasePort();
            m_operation = kOpIdle;
            return;
        default:
            return;
    }
}

void DeviceOps::takeRequest()
{
    m_attempts = 0;
    // While the unit still stores the last programming, a change waits for it (live cycles bring the counter).
    const bool storing = !m_c.images.deviceValid && (m_saveCounter > 0 || m_programDone);
    if (m_c.requestCode != 0 && !(m_c.requestCode == kRequestProgramChanged && storing)) {
        const int request = m_c.requestCode;
        m_c.requestCode = 0;
        // Programming only the changed bytes skips the unit check, so it is done only for a unit of this program
        // that was checked on this connection and whose image is known. For any other unit nothing is sent, and
        // the user is told why once per connection rather than at every edit.
        if (request == kRequestProgramChanged &&
            !(m_unitChecked && m_c.connectionState == kConnectionOwnKey && m_c.images.deviceValid)) {
            if (!m_toldNotProgrammed) result(kTextNotProgrammed, kDevColorRed);
            m_toldNotProgrammed = true;
            return;
        }
        m_operation = request;
        return;
    }
    if (m_c.tickCounter - m_lastLiveTick >= kLiveCycleTicks) {
        m_lastLiveTick = m_c.tickCounter;
        // A block re-read writes the unit's bytes into the settings image: only from a checked unit of ours.
        const bool ours = m_unitChecked && m_c.connectionState == kConnectionOwnKey;
        m_operation = m_changedMask != 0 && ours ? kOpChangedBlock : kOpLive;
    }
}

void DeviceOps::requestLiveData()
{
    CCOMCOM& link = m_c.link;
    const LiveRequestInputs inputs = hooks.liveInputs ? hooks.liveInputs() : LiveRequestInputs{};
    BuildLiveRequest(link.sendData, m_c.images.image, m_c.testCommands, inputs);
    startJob(kJobLive, 0, kLiveFrameLength, kJobMarkAll | kJobOneTry);
}

void DeviceOps::startStage()
{
    CCOMCOM& link = m_c.link;
    const int op = m_operation;
    switch (op) {
        case kOpLive:
        case 52:
        case 53:
        case 54:
        case 55:
        case 60:
        case 61:
        case 62:
        case 63:
            requestLiveData();
            return;
        case kOpChangedBlock: {
            int block = -1;
            if (hooks.chooseChangedBlock) {
                block = hooks.chooseChangedBlock(m_changedMask);
            } else {
                for (int n = 0; n < RS_LEN_EXE / RS_BLOCK; ++n)
                    if ((m_changedMask & (1 << n)) != 0) {
                        block = n;
                        break;
                    }
            }
            if (block < 0 || block >= RS_LEN_EXE / RS_BLOCK) {
                m_operation = kOpLive;
                requestLiveData();
                return;
            }
            m_rangeStart = block * RS_BLOCK;
            m_rangeEnd = m_rangeStart + RS_BLOCK;
            startJob(kJobRead, m_rangeStart, RS_BLOCK, kJobMarkAll | kJobClearData);
            return;
        }
        case 32:
        case 96:
            ++m_attempts;
            [[fallthrough]];
        case 33:
        case 97:
            m_rangeStart = 0;
            m_rangeEnd = RS_BLOCK;
            startJob(kJobHeader, 0, RS_BLOCK, kJobMarkAll | kJobClearData);
            result(kTextChecking);
            gaugeOn();
            return;
        case 48:
            ++m_attempts;
            [[fallthrough]];
        case 49:
        case 50:
        case 51:
        case 56:
        case 57:
        case 58:
        case 59: {
            result(kTextChecking);
            const int k = op % 4;
            m_rangeStart = partBoundary(k);
            m_rangeEnd = partBoundary(k + 1);
            startJob(kJobRead, m_rangeStart, m_rangeEnd - m_rangeStart, kJobMarkAll | kJobClearData);
            return;
        }
        case 64:
            m_programDone = false;
            ++m_attempts;
            result(kTextRead);
            gaugeOn();
            call(hooks.updateCaption);
            m_rangeStart = 0;
            m_rangeEnd = RS_LEN_EXE;
            startJob(kJobRead, 0, RS_LEN_EXE, kJobMarkAll | kJobClearData);
            return;
        case 65:
            m_rangeStart = 0;
            m_rangeEnd = RS_LEN_EXE;
            result(kTextVerify);
            gaugeOn();
            startJob(kJobRead, 0, RS_LEN_EXE, kJobMarkAll | kJobClearData);
            return;
        case 80:
            ++m_attempts;
            result(kTextVerify);
            gaugeOn();
            m_rangeStart = 0;
            m_rangeEnd = RS_LEN_EXE;
            startJob(kJobRead, 0, RS_LEN_EXE, kJobMarkAll | kJobClearData);
            return;
        case 98: {
            ++m_attempts;
            result(kTextProgram);
            gaugeOn();
            m_rangeStart = 0;
            m_rangeEnd = RS_LEN_EXE;
            ImageSet& set = m_c.images;
            if (m_c.programAll != 0) {
                set.device = set.image;
            } else {
                // Only the marked bytes go to the unit; the rest of the unit's image stays as last known.
                for (std::size_t i = 0; i < set.device.size(); ++i)
                    if (set.changeMarks[i] != 0) set.device[i] = set.image[i];
            }
            set.deviceValid = false;
            call(hooks.compareUnitAndPc);
            std::copy(set.image.begin(), set.image.end(), link.sendData.begin());
            SwapWordBytes(std::span(link.sendData).first(RS_LEN_EXE), 0, RS_WORD_COUNT - 1, 0, RS_LEN_EXE - 1);
            if (m_c.programAll != 0) {
                startJob(kJobProgram, 0, RS_LEN_EXE, kJobMarkAll);
            } else {
                std::copy(set.changeMarks.begin(), set.changeMarks.end(), link.sendMarks.begin());
                startJob(kJobProgram, 0, RS_LEN_EXE, 0);
            }
            return;
        }
        case 99:
            m_rangeStart = 0;
            m_rangeEnd = RS_LEN_EXE;
            result(kTextVerify);
            if (m_c.programAll != 0) {
                startJob(kJobRead, 0, RS_LEN_EXE, kJobMarkAll | kJobClearData);
            } else {
                std::copy(m_c.images.changeMarks.begin(), m_c.images.changeMarks.end(), link.sendMarks.begin());
                startJob(kJobRead, 0, RS_LEN_EXE, kJobClearData);
            }
            return;
        case kRequestReset:
        case kRequestResetRelease:
            std::fill_n(link.sendData.begin(), kLiveFrameLength, std::uint8_t{0});
            link.sendData[14] = 0xA5;
            link.sendData[15] = 0x10;
            link.rawCommand = 0xF000;
            link.rawAddress = 1600;
            link.rawLength = 0;
            startJob(kJobRaw, 0, 1, kJobMarkAll);
            return;
        default:
            return;
    }
}

void DeviceOps::savingDisplay()
{
    if (m_saveCounter > 0) {
        if (m_c.link.JobField() == 0) {
            result(kTextSaving);
            gauge(std::clamp((kSaveCounterFull - m_saveCounter) * 100 / kSaveCounterFull, 0, 100));
        }
        return;
    }
    if (m_programDone) {
        m_c.images.deviceValid = true;
        call(hooks.compareUnitAndPc);
        m_programDone = false;
        result(kTextProgramOk);
        gauge(100);
    }
}

void DeviceOps::DisconnectUnit()
{
    m_c.link.ClosePort();
    if (m_c.link.linkEnabled.load() != 0)
        status(1, kTextNoConnection, -1, kDevColorBlack, kDevColorRed, kPriorityAlways);
    m_c.images.deviceValid = false;
    call(hooks.compareUnitAndPc);
    m_c.connectionState = kConnectionNone;
    m_unitChecked = false;
    // Whatever the unit was storing, the next connection learns it anew.
    m_saveCounter = 0;
    m_programDone = false;
    m_operation = kOpNoPort;
    // Output tests not yet sent would fire on whatever unit comes next.
    m_c.testCommands.fill(0);
    call(hooks.unitDisconnected);
}

void DeviceOps::ReleasePort()
{
    if (m_c.link.linkEnabled.load() == 0) return;
    m_c.link.linkEnabled = 0;
    m_c.releasedPort = m_c.link.portInUse.load();
    DisconnectUnit();
    call(hooks.updateCaption);
}

void DeviceOps::ReclaimPort()
{
    if (m_c.link.linkEnabled.load() != 0) return;
    m_c.link.linkEnabled = 1;
    m_c.releasedPort = -1;
    call(hooks.updateCaption);
}
