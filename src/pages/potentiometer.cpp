#include "pages/potentiometer.h"

#include <algorithm>
#include <string>

#include "pages/binding.h"
#include "pages/commit.h"
#include "pages/pages.h"

namespace {

constexpr int kRangeWord = 1076;  // the four ranges, signed words 1076..1079
constexpr int kLaunchBySpeedByte = 4631;
constexpr int kMinAdvanceByte = 4627;  // the launch control's minimum advance, degrees + 100
constexpr int kMinAdvanceLow = 40, kMinAdvanceHigh = 160;
constexpr int kTableMax = 250;
// The three 5 x 5 launch-control tables and which of the knob's offsets each takes.
constexpr struct
{
    int first;
    int offset;
} kLaunchTables[] = {{4641, 0}, {4671, 2}, {4701, 1}};
constexpr int kTableCells = 25;

constexpr int kMessageRange = 161;
constexpr int kMessageThreshold = 163;
constexpr int kMessageEffect = 165;
constexpr int kMessageReturn = 166;
constexpr int kMessageMinAdvance = 182;

constexpr std::string_view kRangeUpDowns[] = {"UpDownPotencRozsah", "UpDownPotencRozsah2", "UpDownPotencRozsah3",
                                              "UpDownPotencRozsah4"};

TUpDown* range(TPageForm& w, int k)
{
    return FindControl<TUpDown>(w, kRangeUpDowns[k]);
}

void setRange(TPageForm& w, int k, int increment, int max, int min)
{
    if (TUpDown* upDown = range(w, k)) {
        upDown->SetIncrement(increment);
        upDown->SetRange(min, max);
    }
}

int mode(const TPageForm& w)
{
    return w.images.image[kPotiModeByte];
}

bool bySpeed(const TPageForm& w)
{
    return w.images.image[kLaunchBySpeedByte] != 0;
}

int position(TPageForm& w, int k)
{
    TUpDown* upDown = range(w, k);
    return upDown ? upDown->Position() : 0;
}

int signedWord(const TPageForm& w, int k)
{
    return static_cast<std::int16_t>(imageWord(w.images.image, kRangeWord + k));
}

void setWord(TPageForm& w, int k, int value)
{
    setImageWord(w.images.image, kRangeWord + k, static_cast<std::uint16_t>(value));
}

void setCaption(TPageForm& w, std::string_view name, const std::string& text)
{
    if (auto* label = FindControl<TLabel>(w, name)) label->SetCaption(text);
}

void setVisible(TPageForm& w, std::string_view name, bool visible)
{
    if (auto* control = FindControl<TControl>(w, name)) control->SetVisible(visible);
}

std::string message(TPageForm& w, int index)
{
    return w.pageHooks.message ? w.pageHooks.message(index) : std::string();
}

}  // namespace

void PotiRanges(TPageForm& w)
{
    switch (mode(w)) {
        case 1:
            setRange(w, 0, 1, 100, -100);
            setRange(w, 1, 1, 100, 0);
            break;
        case 2:
            setRange(w, 0, 1, 60, -60);
            setRange(w, 1, 1, 100, 0);
            break;
        case 3:
            setRange(w, 0, 50, 10000, -10000);
            break;
        case 4:
            if (bySpeed(w))
                setRange(w, 0, 1, 250, -250);
            else
                setRange(w, 0, 100, 25000, -25000);
            for (int k = 1; k < 4; ++k) setRange(w, k, 1, 250, -250);
            break;
        default:
            break;
    }
}

void StorePotentiometer(TPageForm& w)
{
    for (int k = 0; k < 4; ++k) setWord(w, k, 0);
    switch (mode(w)) {
        case 1:
        case 2:
            setWord(w, 1, position(w, 1));
            setWord(w, 0, position(w, 0));
            break;
        case 3:
            setWord(w, 0, position(w, 0) / 50);
            break;
        case 4:
            setWord(w, 0, bySpeed(w) ? position(w, 0) : position(w, 0) / 100);
            for (int k = 1; k < 4; ++k) setWord(w, k, position(w, k));
            break;
        default:
            setWord(w, 0, position(w, 0));
            break;
    }
}

void ShowPotentiometer(TPageForm& w)
{
    PotiRanges(w);
    switch (mode(w)) {
        case 1:
        case 2:
            SetControlQuiet(w, range(w, 1), signedWord(w, 1));
            SetControlQuiet(w, range(w, 0), signedWord(w, 0));
            break;
        case 3:
            SetControlQuiet(w, range(w, 0), signedWord(w, 0) * 50);
            break;
        case 4:
            SetControlQuiet(w, range(w, 0), bySpeed(w) ? signedWord(w, 0) : signedWord(w, 0) * 100);
            for (int k = 1; k < 4; ++k) SetControlQuiet(w, range(w, k), signedWord(w, k));
            break;
        default:
            SetControlQuiet(w, range(w, 0), signedWord(w, 0));
            break;
    }
}

void PotentiometerLayout(TPageForm& w)
{
    const int m = mode(w);
    const bool first = m >= 1 && m <= 4;
    const bool second = m == 1 || m == 2 || m == 4;
    const bool launch = m == 4;
    for (std::string_view name : {"EditPotencRozsah", "UpDownPotencRozsah", "LabelPotencRozsah"})
        setVisible(w, name, first);
    for (std::string_view name : {"EditPotencRozsah2", "UpDownPotencRozsah2", "LabelPotencRozsah2", "LabelUpPotencRozsah2"})
        setVisible(w, name, second);
    for (std::string_view name :
         {"EditPotencRozsah3", "UpDownPotencRozsah3", "LabelPotencRozsah3", "EditPotencRozsah4", "UpDownPotencRozsah4",
          "LabelPotencRozsah4", "LabelUpPotencRozsah", "LabelUpPotencRozsah3", "LabelUpPotencRozsah4"})
        setVisible(w, name, launch);
    setVisible(w, "ButtonLaunchPotiSave", launch);

    const std::string r = message(w, kMessageRange);
    switch (m) {
        case 1:
        case 2:
            setCaption(w, "LabelPotencRozsah", r + (m == 1 ? "  +/- %" : "  +/- °"));
            setCaption(w, "LabelUpPotencRozsah2", "TP min:");
            setCaption(w, "LabelPotencRozsah2", "%");
            break;
        case 3:
            setCaption(w, "LabelPotencRozsah", r + "  +/- RPM");
            break;
        case 4:
            setCaption(w, "LabelUpPotencRozsah", message(w, kMessageThreshold) + ":");
            setCaption(w, "LabelUpPotencRozsah2", message(w, kMessageReturn) + ":");
            setCaption(w, "LabelPotencRozsah2", r + "  +/- °/s");
            setCaption(w, "LabelUpPotencRozsah3", message(w, kMessageEffect) + ":");
            setCaption(w, "LabelUpPotencRozsah4", message(w, kMessageMinAdvance) + ":");
            setCaption(w, "LabelPotencRozsah4", r + " °");
            setCaption(w, "LabelPotencRozsah", r + (bySpeed(w) ? "  +/- km/h/s" : "  +/- rpm/s"));
            setCaption(w, "LabelPotencRozsah3", r + (bySpeed(w) ? "  +/- 0.1°/km/h/s" : "  +/- °/10 krpm/s"));
            break;
        default:
            break;
    }

    // The launch control's speed source changed since the ranges were shown: the first range changes its unit
    // (rpm/s in steps of 100, km/h/s in steps of 1), its value with it. The lower limit follows the upper, so that
    // the converted value is not cut.
    TUpDown* upDown = range(w, 0);
    if (launch && upDown) {
        const int p = upDown->Position();
        if (bySpeed(w) && upDown->Increment() != 1) {
            upDown->SetIncrement(1);
            upDown->SetRange(-250, 250);
            SetControlQuiet(w, upDown, p / 100);
            setRange(w, 2, 1, 250, -250);
        } else if (!bySpeed(w) && upDown->Increment() != 100) {
            upDown->SetIncrement(100);
            upDown->SetRange(-25000, 25000);
            SetControlQuiet(w, upDown, p * 100);
        }
    }
}

void ButtonPotiSave(TPageForm& w)
{
    const LiveValues& live = w.liveValues;
    if (mode(w) != 4 || (live.potiThreshold == 0 && live.potiEffect == 0)) return;
    // A change still waiting for its commit is stored before the page is shown again from the image.
    if (w.pendingControl) CommitChangeNow(w);
    Image& image = w.images.image;
    image[kPotiModeByte] = 0;
    for (const auto& table : kLaunchTables)
        for (int i = 0; i < kTableCells; ++i) {
            std::uint8_t& cell = image[std::size_t(table.first + i)];
            cell = static_cast<std::uint8_t>(std::clamp(cell + live.potiOffsets[std::size_t(table.offset)], 0, kTableMax));
        }
    // Kept within what the launch page offers (-60..+60 degrees), never wrapped round.
    if (live.potiOffsets[3] != 0)
        image[kMinAdvanceByte] = static_cast<std::uint8_t>(
            std::clamp(image[kMinAdvanceByte] + live.potiOffsets[3], kMinAdvanceLow, kMinAdvanceHigh));
    ShowImageOnPages(w, 1);
    // Taken over like any other change: one undo step, and programmed when asked.
    CommitChangeNow(w);
}
