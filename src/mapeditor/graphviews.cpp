// Entry points of the graph views (2-D graph, 3-D graph, check grid). The views themselves
// are not built yet: they draw nothing and take no input, so the editor works as a table meanwhile.
#include "mapeditor/tab.h"

void TTab::Layout2D() {}
void TTab::Paint2D(TCanvas&) {}
void TTab::MouseMove2D() {}
bool TTab::MouseDown2D()
{
    return false;
}
bool TTab::MouseUp2D()
{
    return false;
}
bool TTab::RightClick2D()
{
    return false;
}
bool TTab::Wheel2D(int)
{
    return false;
}

void TTab::Prepare3D() {}
void TTab::Paint3D(TCanvas&) {}
void TTab::Graph3DMouseMove() {}
bool TTab::Graph3DMouseDown()
{
    return false;
}
bool TTab::Graph3DMouseUp()
{
    return false;
}
bool TTab::Graph3DRightDown()
{
    return false;
}
bool TTab::Graph3DWheel(int)
{
    return false;
}
bool TTab::Graph3DKey(int)
{
    return false;
}

void TTab::LayoutCheck() {}
void TTab::PaintCheck(TCanvas&) {}
void TTab::MouseMoveCheck() {}
bool TTab::MouseDownCheck()
{
    return false;
}
bool TTab::MouseUpCheck()
{
    return false;
}
bool TTab::RightClickCheck()
{
    return false;
}
bool TTab::WheelCheck(int)
{
    return false;
}

// TOP, ISO1 and ISO2 are down exactly while the rotation equals their preset.
void TTab::Sync3DViewButtons()
{
    constexpr std::array<std::array<int, 3>, 3> presets = {{{-18, 0, 0}, {-5, 4, 0}, {-5, 24, 0}}};
    for (int i = 0; i < 3; ++i) {
        CTabButton& button = buttons[static_cast<std::size_t>(kCmdTop + i)];
        const bool down = graph.angles == presets[static_cast<std::size_t>(i)];
        if (button.down != down) dirty |= kDirtyRedraw;
        button.down = down;
    }
}
