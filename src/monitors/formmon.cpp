#include "monitors/formmon.h"

#include <algorithm>
#include <cmath>

#include "vcl/formlayout.h"

namespace {

struct ChooserItem
{
    std::string_view text;
    TColor color;  // 0x00BBGGRR
};

// clang-format off
constexpr std::array<ChooserItem, kChooserItemCount> kChooserItems{{
    {"(invisible)", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000},  {"Olive", 0x008080},
    {"Navy", 0x800000},        {"Purple", 0x800080}, {"Teal", 0x808000},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},      {"Red", 0x0000FF},    {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},        {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White ", 0xFFFFFF},
}};

// Design places; the first redraw places the controls from the bottom edge.
constexpr ControlRow kFormMonLayout[] = {
    // name              kind                  parent left top width height caption
    {"ComboBoxColorA1", ControlKind::ComboBox, "", 144, 499, 121, 21},
    {"ComboBoxColorA2", ControlKind::ComboBox, "", 144, 526, 121, 21},
    {"ComboBoxColorA3", ControlKind::ComboBox, "", 144, 553, 121, 21},
    {"ComboBoxColorB1", ControlKind::ComboBox, "", 344, 499, 121, 21},
    {"ComboBoxColorB2", ControlKind::ComboBox, "", 344, 526, 121, 21},
    {"ComboBoxColorB3", ControlKind::ComboBox, "", 344, 553, 121, 21},
    {"ComboBoxColorC1", ControlKind::ComboBox, "", 552, 499, 121, 21},
    {"ComboBoxColorC2", ControlKind::ComboBox, "", 552, 526, 121, 21},
    {"ComboBoxColorC3", ControlKind::ComboBox, "", 552, 553, 121, 21},
    {"ButtonPause",     ControlKind::Button,   "",  24, 551,  97, 25, "Pause"},
    {"ButtonClearDim",  ControlKind::Button,   "",  24, 520,  97, 25, "Clear dim"},
};
// clang-format on

constexpr int kDesignClientWidth = 726;
constexpr int kDesignClientHeight = 620;
constexpr int kMinWidth = 300;
constexpr int kMinHeight = 200;

// The picture under the controls: paints the form's back buffer and hands the pointer to the form.
class MonPicture final : public TCustomControl
{
public:
    MonPicture(QWidget* parent, TFormMon& form) : TCustomControl(parent), m_form(form) {}
    void Paint() override { m_form.FormPaint(Canvas()); }
    void DefaultHandler(TMessage& m) override
    {
        switch (m.msg) {
            case TMsg::LButtonDown:
            case TMsg::LButtonDblClk:
                m_form.MouseDown(MonButton::Left, m.x, m.y);
                break;
            case TMsg::RButtonDown:
                m_form.MouseDown(MonButton::Right, m.x, m.y);
                break;
            case TMsg::MButtonDown:
                m_form.MouseDown(MonButton::Middle, m.x, m.y);
                break;
            case TMsg::LButtonUp:
                m_form.MouseUp(MonButton::Left, m.x, m.y);
                break;
            case TMsg::RButtonUp:
                m_form.MouseUp(MonButton::Right, m.x, m.y);
                break;
            case TMsg::MButtonUp:
                m_form.MouseUp(MonButton::Middle, m.x, m.y);
                break;
            case TMsg::MouseMove:
                m_form.MouseMove(m.x, m.y);
                break;
            case TMsg::MouseLeave:
                m_form.MouseLeave();
                break;
            case TMsg::MouseWheel:
                m_form.MouseWheel(m.shift, m.wheelDelta, m.x, m.y);
                break;
            default:
                break;
        }
    }

private:
    TFormMon& m_form;
};

}  // namespace

TColor ChooserIndexToColor(int index)
{
    return index >= 1 && index < kChooserItemCount ? kChooserItems[static_cast<std::size_t>(index)].color : clBlack;
}

int ColorToChooserIndex(TColor color)
{
    for (int i = 0; i < kChooserItemCount; ++i)
        if (kChooserItems[static_cast<std::size_t>(i)].color == color) return i;
    return -1;
}

std::string_view ChooserItemText(int index)
{
    return index >= 0 && index < kChooserItemCount ? kChooserItems[static_cast<std::size_t>(index)].text : "";
}

TFormMon::TFormMon(std::string_view caption)
{
    SetCaption("FormMon");
    SetClientSize(kDesignClientWidth, kDesignClientHeight);
    // First, so that the buttons and choosers lie above it.
    auto* view = Own(std::make_unique<MonPicture>(ClientWidget(), *this), "PaintBoxMon");
    picture = view;
    picture->SetBounds(0, 0, kDesignClientWidth, kDesignClientHeight);
    picture->SetTakesFocus(false);
    (void)BuildFormLayout(*this, nullptr, kFormMonLayout);
    for (int i = 0; i < kPickupColorCount; ++i) {
        TComboBox* box = FindControl<TComboBox>(*this, kFormMonLayout[i].name);
        colorChoosers[static_cast<std::size_t>(i)] = box;
        for (int k = 0; k < kChooserItemCount; ++k) box->AddItem(ChooserItemText(k));
        box->OnChange = [this](TObject* s) { BoxChange(s); };
    }
    ButtonPause = FindControl<TButton>(*this, "ButtonPause");
    ButtonClearDim = FindControl<TButton>(*this, "ButtonClearDim");
    ButtonPause->OnClick = [this](TObject* s) { ButtonPauseClick(s); };
    ButtonClearDim->OnClick = [this](TObject* s) { ButtonClearDimClick(s); };
    OnCreate = [this](TObject* s) { Create(s); };
    OnCanResize = [this](TObject*, int& width, int& height, bool& resize) { CanResize(width, height, resize); };
    // A new size: the picture follows the client area, and the next redraw lays the window out anew.
    OnResize = [this](TObject*) {
        picture->SetBounds(0, 0, ClientWidth(), ClientHeight());
        repaintRequest = 1;
    };
    SetCaption(caption);
}

TFormMon::~TFormMon()
{
    picture->Canvas().Release();
    DestroyWindow();
}

void TFormMon::Create(TObject*)
{
    // Black is the picture's, which fills the client area: a black form would hand its colour to the buttons.
    SetWidth(100);
    SetHeight(100);
    Show();
}

void TFormMon::FormPaint(TCanvas& canvas)
{
    const int width = picture->Width(), height = picture->Height();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBlack;
    if (backBuffer) {
        canvas.Draw(0, 0, *backBuffer);
        // Beyond the buffer (the window grew since the last redraw) stays black.
        if (width > bufferWidth) canvas.FillRect({bufferWidth, 0, width, height});
        if (height > bufferHeight) canvas.FillRect({0, bufferHeight, width, height});
        return;
    }
    canvas.FillRect({0, 0, width, height});
    canvas.Pen.Color = clWhite;
    canvas.Pen.Width = 1;
    canvas.MoveTo(0, 0);
    canvas.LineTo(bufferWidth, bufferHeight);
    canvas.MoveTo(bufferWidth, 0);
    canvas.LineTo(0, bufferHeight);
}

void TFormMon::CanResize(int& width, int& height, bool&)
{
    width = std::max(width, kMinWidth);
    height = std::max(height, kMinHeight);
}

int TFormMon::OriginAtZoomOne(int clientWidth) const
{
    if (originPercent == 0) return clientWidth / 2;
    const int x = (clientWidth - 2 * sideMargin) * originPercent / 100 + sideMargin;
    return x < 0 ? clientWidth + x : x;
}

void TFormMon::PlaceControls(int h)
{
    ButtonPause->SetTop(h - 35);
    ButtonClearDim->SetTop(h - 65);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            colorChoosers[static_cast<std::size_t>(3 * column + row)]->SetTop(h - 65 + 20 * row);
}

TCanvas* TFormMon::PrepareCanvas()
{
    const int minWidth = sideMargin + 10;
    const int minHeight = bottomOffset + bottomArea + 10;
    if (ClientWidth() < minWidth || ClientHeight() < minHeight)
        SetClientSize(std::max(ClientWidth(), minWidth), std::max(ClientHeight(), minHeight));
    const int width = ClientWidth(), height = ClientHeight();
    if (width != bufferWidth || height != bufferHeight) {
        backBuffer.reset();
        origin = (width - 2 * sideMargin) * originPercent / 100 + sideMargin;
    }
    if (!backBuffer) {
        if (width <= 0 || height <= 0) return nullptr;
        backBuffer = std::make_unique<TBitmap>(width, height);
        if (backBuffer->Empty()) {
            backBuffer.reset();
            return nullptr;
        }
        bufferWidth = width;
        bufferHeight = height;
        picture->SetBounds(0, 0, width, height);
        PlaceControls(height);
    }
    if (zoom == 1.0) origin = OriginAtZoomOne(width);
    TCanvas& canvas = backBuffer->Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clBlack;
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 1;
    canvas.FillRect({0, 0, width, height});
    return &canvas;
}

void TFormMon::ShowBuffer()
{
    if (backBuffer) backBuffer->Canvas().Release();
    picture->Invalidate();
}

bool TFormMon::ChooserFocused() const
{
    return std::ranges::any_of(colorChoosers, [](const TComboBox* box) { return box->ContainsFocus(); });
}

void TFormMon::BoxChange(TObject*)
{
    ReadColorChoosers();
}

void TFormMon::ReadColorChoosers()
{
    if (choosersBeingSet) return;
    for (std::size_t i = 0; i < colors.size(); ++i) colors[i] = ChooserIndexToColor(colorChoosers[i]->ItemIndex());
}

void TFormMon::WriteColorChoosers()
{
    choosersBeingSet = 1;
    for (std::size_t i = 0; i < colors.size(); ++i) colorChoosers[i]->SetItemIndex(ColorToChooserIndex(colors[i]));
    choosersBeingSet = 0;
}

void TFormMon::ButtonPauseClick(TObject*)
{
    paused = !paused;
    ButtonPause->SetCaption(paused ? "Continue" : "Pause");
}

void TFormMon::ButtonClearDimClick(TObject*)
{
    if (onClearDimensions) onClearDimensions();
}

void TFormMon::MouseDown(MonButton button, int x, int y)
{
    // A press on the picture takes the focus from a chooser, so that the wheel zooms again.
    if (ChooserFocused()) {
        ButtonPause->SetFocus();
        return;
    }
    repaintRequest = 1;
    if (button == MonButton::Middle) {
        panning = 1;
        panX = x;
        panY = y;
        return;
    }
    const unsigned bit = button == MonButton::Left ? kMonLeft : kMonRight;
    buttonsDown |= bit;
    buttonsLatched |= bit;
    pressX = currentX = x;
    pressY = currentY = y;
}

void TFormMon::MouseMove(int x, int y)
{
    if (panning) {
        origin += x - panX;
        panX = x;
        panY = y;
        repaintRequest = 1;
    }
    if (buttonsDown) {
        currentX = x;
        currentY = y;
        repaintRequest = 1;
    }
}

void TFormMon::MouseUp(MonButton button, int, int)
{
    if (button == MonButton::Middle)
        panning = 0;
    else
        buttonsDown &= ~(button == MonButton::Left ? kMonLeft : kMonRight);
    repaintRequest = 1;
}

void TFormMon::MouseLeave()
{
    buttonsDown = 0;
    panning = 0;
    repaintRequest = 1;
}

void TFormMon::MouseWheel(unsigned shift, int wheelDelta, int x, int)
{
    if (ChooserFocused()) return;
    const double old = zoom;
    const bool ctrlOnly = (shift & ssCtrl) && !(shift & ssShift);
    if (!ctrlOnly) zoom = std::clamp(wheelDelta > 0 ? zoom * 2 : zoom / 2, 1.0, 1024.0);
    // The point under the pointer stays where it is.
    origin = static_cast<int>(std::trunc(x - (x - origin) * zoom / old));
    repaintRequest = 1;
}

void ShowKeepingPlace(TForm& form, bool show)
{
    const int left = form.Left(), top = form.Top();
    if (show)
        form.Show();
    else
        form.Hide();
    form.SetLeft(left);
    form.SetTop(top);
}
