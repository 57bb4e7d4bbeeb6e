#pragma once
// The pickup monitor's window: the back buffer the pickup monitor object paints in, horizontal zoom and origin,
// the pointer state for panning and for measuring dimensions, the nine colours of the picture with their
// choosers, the display mode and the pause switch. The picture itself is an owner-drawn control that fills the
// client area under the buttons and choosers.
#include <array>
#include <functional>
#include <memory>
#include <string_view>

#include "vcl/customcontrol.h"
#include "vcl/forms.h"
#include "vcl/graphics.h"

// The colours of the picture, in chooser order: A1..A3, B1..B3, C1..C3.
enum PickupColor {
    kColorCurve1,
    kColorRise1,
    kColorFall1,
    kColorCurve2,
    kColorRise2,
    kColorFall2,
    kColorIgnition,
    kColorGrid,
    kColorDimensions,
    kPickupColorCount
};

// The choosers' 16 items and their colours: index 0 "(invisible)" is the background, black.
inline constexpr int kChooserItemCount = 16;
[[nodiscard]] TColor ChooserIndexToColor(int index);  // black outside 1..15
[[nodiscard]] int ColorToChooserIndex(TColor color);  // -1 for a colour not in the table
[[nodiscard]] std::string_view ChooserItemText(int index);

// Pointer buttons of the window's bit sets.
inline constexpr unsigned kMonLeft = 1;
inline constexpr unsigned kMonRight = 2;
enum class MonButton { Left, Right, Middle };

class TFormMon final : public TForm
{
public:
    explicit TFormMon(std::string_view caption);
    ~TFormMon() override;

    // OnCreate: a black, small, normal window.
    void Create(TObject* Sender);
    // Draws the back buffer at (0, 0); without one, a black field with a white cross.
    void FormPaint(TCanvas& canvas);
    // The window keeps at least 300 x 200.
    void CanResize(int& width, int& height, bool& resize);
    // The back buffer's canvas, made anew (and the controls placed from the bottom edge) when the client size
    // changed; the buffer comes back cleared to black. Null when no buffer can be made.
    TCanvas* PrepareCanvas();
    // Shows the back buffer in the window.
    void ShowBuffer();

    void BoxChange(TObject* Sender);
    void ReadColorChoosers();
    void WriteColorChoosers();
    void ButtonPauseClick(TObject* Sender);
    void ButtonClearDimClick(TObject* Sender);

    // Pointer in client coordinates; shift holds the ss bits of vcl/customcontrol.h.
    void MouseDown(MonButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(MonButton button, int x, int y);
    void MouseLeave();
    void MouseWheel(unsigned shift, int wheelDelta, int x, int y);

    // ---- controls
    std::array<TComboBox*, kPickupColorCount> colorChoosers{};  // ComboBoxColorA1 .. ComboBoxColorC3
    TButton* ButtonPause = nullptr;
    TButton* ButtonClearDim = nullptr;
    TCustomControl* picture = nullptr;  // the client area the back buffer is shown in

    // ---- state
    std::unique_ptr<TBitmap> backBuffer;  // none until the first redraw
    int bufferWidth = 0;
    int bufferHeight = 0;
    double zoom = 1.0;       // 1 to 1024
    int origin = 0;          // client x of position 0
    int originPercent = 10;  // where position 0 sits at zoom 1.0
    int repaintRequest = 0;  // set by pointer actions; taken by the object's poll
    int bottomArea = 50;     // kept free for the controls
    int panning = 0;         // middle button held
    int panX = 0, panY = 0;
    unsigned buttonsDown = 0;  // kMonLeft, kMonRight held now
    int pressX = 0, pressY = 0;
    int currentX = 0, currentY = 0;
    unsigned buttonsLatched = 0;  // as buttonsDown, but kept after the release until the painter takes it
    int sideMargin = 20;
    int bottomOffset = -35;
    std::array<TColor, kPickupColorCount> colors{};
    int choosersBeingSet = 0;
    int displayMode = 1;  // 1 angle (synchronised), 0 time
    int paused = 0;

    // Clear dim: the object drops its dimensions and redraws.
    std::function<void()> onClearDimensions;

private:
    [[nodiscard]] bool ChooserFocused() const;
    void PlaceControls(int clientHeight);
    [[nodiscard]] int OriginAtZoomOne(int clientWidth) const;
};

// Shows or hides the form where it stands.
void ShowKeepingPlace(TForm& form, bool show);
