#pragma once
// The pickup monitor object: the pickup monitor's model and painter. It owns the window, holds the points that
// the sample path fills, the speed, the axis range and the user's dimension lines, and paints the pickup inputs as
// two logic curves with their edges, the ignition outputs as arrows with their angles, one reference period as a
// frame, the dimensions with their values, the speed header and the legend. Main thread only.
#include <array>
#include <memory>
#include <string>

#include "monitors/formmon.h"
#include "monitors/pickup.h"

// A dimension line between two marks of the picture.
struct PickupDimension
{
    double positionA = 0;
    double positionB = 0;
    int y = 0;  // pixel row of the line
    std::uint32_t flagsA = 0;
    std::uint32_t flagsB = 0;
};

// The value written over a dimension: its length in degrees (angle mode) or milliseconds, shown negative when
// it runs from a mark of the signal up to a reference mark (a mark before the reference).
[[nodiscard]] std::string PickupDimensionText(const PickupDimension& d, bool angleMode);

inline constexpr int kMaxDimensions = 10;
inline constexpr std::uint32_t kDimensionMarks = 0x3FC;  // inputs, ignitions and closing points: what a mark is

class CMonPickup final : public PickupTrace
{
public:
    CMonPickup();
    ~CMonPickup();
    CMonPickup(const CMonPickup&) = delete;
    CMonPickup& operator=(const CMonPickup&) = delete;

    // Creates the window ("PickUp monitor", 800 x 600) with the default colours and shows it.
    void OpenWindow();
    // Shows the window when hidden and hides it when shown, where it stands; showing it ends a pause.
    void Toggle();
    // Every main-timer tick: a new display mode drops the points and dimensions; a pointer action in the window
    // asks for a redraw.
    void Poll();
    [[nodiscard]] bool IsVisible() const;
    // Paints the picture into the window's back buffer and shows it; clears the redraw flag.
    void Redraw();
    void PaintCurves(TCanvas& canvas);
    void ClearDimensions();
    // The live request asks the unit for sample blocks: the window is shown and not paused.
    [[nodiscard]] bool WantsSamples() const;

    std::unique_ptr<TFormMon> window;
    int lastMode = kPickupModeAngle;
    std::array<PickupDimension, kMaxDimensions + 1> dimensions{};  // the last slot holds the one being drawn
    int dimensionCount = 0;

private:
    [[nodiscard]] int pixelOf(double position) const;
    void measure(TCanvas& canvas, int& shown);
    void paintDimensions(TCanvas& canvas, int shown);
    // Painting state of one pass.
    double m_scale = 0;
    int m_origin = 0;
};
