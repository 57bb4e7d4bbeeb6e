#pragma once
// The indicator: a monitor variable between the minimum and maximum of its row as a horizontal bar, a vertical bar
// or a round dial with ticks, labels and a needle. The face turns yellow, fuchsia or red with the row's alarm flags.
#include <array>

#include "monitors/widgets.h"

inline constexpr int kStyleHorizontal = 0;
inline constexpr int kStyleVertical = 1;
inline constexpr int kStyleDial = 2;

struct MarkerColour
{
    TColor colour;
    const char* name;  // trilingual
};

// The marker colours the indicator properties dialog offers.
inline constexpr std::array<MarkerColour, 15> kMarkerColours{{
    {0x000000, "###Black####Černá"},
    {0xC0C0C0, "###Light gray####Světle šedá"},
    {0x808080, "###Dark gray####Tmavě šedá"},
    {0x00FFFF, "###Yellow####Žlutá"},
    {0x008080, "###Olive####Olivová"},
    {0xFF00FF, "###Fuchsia####Růžová"},
    {0x0000FF, "###Red####Červená"},
    {0x800080, "###Purple####Fialová"},
    {0x000080, "###Maroon####Hnědá"},
    {0x00FF00, "###Lime####Světle zelená"},
    {0x008000, "###Green####Zelená"},
    {0x808000, "###Teal####Modrozelná"},
    {0xFFFF00, "###Aqua####Světle modrá"},
    {0xFF0000, "###Blue####Modrá"},
    {0x800000, "###Navy####Tmavě modrá"},
}};

// The tick budget of a scale `length` pixels long: one tick per 5 pixels, fewer on long scales, at most 20.
[[nodiscard]] double TickBudget(int length);
// The tick step of a range: ticks lie on whole multiples of 1/U. Zero when the range or the budget is not
// positive (nothing is drawn then).
[[nodiscard]] double TickUnit(double range, double budget);

struct DialTick
{
    double value;  // where the tick stands
    double label;  // the number its label shows
    bool labelled;
    int fontSize;
};
// The ticks of a dial `width` x `height` (already scaled) over min..max.
[[nodiscard]] std::vector<DialTick> DialTicks(double min, double max, int width, int height, double budget);

class CMyIndicator final : public CMyObj
{
public:
    CMyIndicator();
    int Style = kStyleHorizontal;
    void Paint() override;

private:
    void PaintBar(double v, TColor face);
    void PaintDial(double v, TColor face, double budget);
};
