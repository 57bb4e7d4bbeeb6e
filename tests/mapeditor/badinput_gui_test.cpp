// Hostile shapes and inputs for the map editor control (run under AddressSanitizer in CI): a control shrunk to one
// pixel, axes of one point, the full 50 x 30 sheet, broken label texts, another program's clipboard text. No
// crash, no hang, no message box from painting or ticking, no write outside a sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "memclipboard.h"
#include "os/lngtext.h"
#include "tabfixture.h"
#include "vcl/dialogs.h"

namespace {

// Everything a person can do, everywhere: the pointer over a grid of places with clicks, double clicks, wheel
// turns and keys, ticking between.
void pokeEverywhere(TTab& tab, int step)
{
    const int w = std::max(1, tab.BackBuffer().Width()), h = std::max(1, tab.BackBuffer().Height());
    const int keys[] = {VK_LEFT, VK_RIGHT,  VK_UP,     VK_DOWN,   VK_HOME, VK_END,  VK_PRIOR,
                        VK_NEXT, VK_INSERT, VK_DELETE, VK_RETURN, VK_TAB,  VK_SPACE};
    const int chars[] = {'5', ',', '-', '+', 8, 27, 3, 22, '9', 13};
    int k = 0;
    for (int y = -3; y < h + 4; y += step)
        for (int x = -3; x < w + 4; x += step) {
            auto send = [&](TMsg msg, int key = 0, unsigned shift = 0, int delta = 0) {
                TMessage m;
                m.msg = msg;
                m.x = x;
                m.y = y;
                m.key = key;
                m.shift = shift;
                m.wheelDelta = delta;
                tab.Perform(m);
            };
            send(TMsg::MouseMove);
            send(TMsg::LButtonDown, 0, ssLeft);
            send(TMsg::MouseMove, 0, ssLeft);
            send(TMsg::LButtonUp);
            if ((x + y) % 3 == 0) send(TMsg::LButtonDblClk, 0, ssLeft);
            send(TMsg::MouseWheel, 0, 0, (x & 1) ? 120 : -120);
            send(TMsg::KeyDown, keys[k % std::size(keys)], (k % 5 == 0) ? ssShift : 0);
            send(TMsg::Char, chars[k % std::size(chars)]);
            ++k;
            tab.Tick();
        }
    TMessage leave;
    leave.msg = TMsg::MouseLeave;
    tab.Perform(leave);
    for (int i = 0; i < 40; ++i) tab.Tick();
    tab.Redraw();
}

class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        vcl::SetKeyStateSource([] { return 0u; });
        window = std::make_unique<QWidget>();
        window->resize(900, 500);
        window->show();
    }
    void TearDown() override { vcl::SetKeyStateSource(nullptr); }
    std::unique_ptr<TTab> make(int columns, int rows, int width = 760, int height = 380)
    {
        auto tab = MakeFixtureTab(window.get(), width, height, &clip, columns, rows);
        tab->hooks.errorBox = [this](std::string_view) { ++errorBoxes; };
        tab->hooks.logFault = [this](std::string_view) { ++faults; };
        return tab;
    }
    vcl::ScopedDialogScript dialogs;  // any real message box would be recorded here
    MemClipboard clip;
    std::unique_ptr<QWidget> window;
    int errorBoxes = 0;
    int faults = 0;
};

}  // namespace

TEST_F(BadInputTest, ControlShrunkToOnePixel)
{
    auto tab = make(16, 12);
    tab->SetBounds(0, 0, 1, 1);
    TMessage size;
    size.msg = TMsg::Size;
    size.x = size.y = 1;
    tab->Perform(size);
    EXPECT_EQ(tab->BackBuffer().Width(), 1);
    for (int view : {kViewTable, kView2D, kView3D}) {
        tab->SetView(view);
        pokeEverywhere(*tab, 1);
    }
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(BadInputTest, AxesOfOnePoint)
{
    auto tab = make(1, 1);
    for (int i = 0; i < 2; ++i) {
        tab->SetAxis(i, 1, {.name = "RPM", .min = 0, .max = 0, .scale = 0, .minCount = 1, .count = 1});
        tab->SetAxis(i, 2, {.name = "TP", .min = 5, .max = 5, .scale = 0, .minCount = 1, .count = 1});
        tab->SetAxis(i, 4, {.name = "ADV", .min = 0, .max = 0, .scale = 0});
    }
    tab->SelectSheet(0);
    for (int view : {kViewTable, kView2D, kView3D}) {
        tab->SetView(view);
        tab->dirty |= kDirtyRecompute;
        pokeEverywhere(*tab, 13);
    }
    tab->Command(kCmdRemoveColumn);
    tab->Command(kCmdInterpolate);
    EXPECT_EQ(tab->sheets[0].x.count, 1);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(BadInputTest, FullSheetOfFiftyByThirty)
{
    auto tab = make(50, 30, 900, 480);
    tab->layout.visibleColumns = 50;
    tab->layout.visibleRows = 30;
    tab->BuildSideBar();
    tab->Redraw();
    pokeEverywhere(*tab, 17);
    tab->layout.visibleColumns = 15;
    tab->layout.visibleRows = 10;
    tab->BuildSideBar();
    pokeEverywhere(*tab, 13);
    // No room: the message goes to the hook, the sheets stay as they were.
    tab->Command(kCmdAddColumn);
    EXPECT_EQ(errorBoxes, 1);
    EXPECT_EQ(tab->sheets[0].x.count, 50);
    EXPECT_EQ(tab->sheets[1].x.count, 50);
    // Every selection at once, stepped, interpolated, filled and deleted.
    CSheet& s = tab->sheets[0];
    s.x.collapsed = s.y.collapsed = 0;  // the pokes may have used the Only buttons
    tab->SelectSheet(0);
    s.sel.SelectOne(tab->fullHits, 0, 0);
    s.sel.SelectTo(tab->fullHits, 49, 29);
    tab->StepSelection(10);
    tab->Interpolate();
    s.sel.SelectOne(tab->fullHits, 48, 28);
    s.sel.SelectTo(tab->fullHits, 49, 29);
    tab->tableDrag = {.mode = 1, .firstColumn = -5, .firstRow = -5, .lastColumn = 70, .lastRow = 40};
    tab->DragFill();
    tab->tableDrag = {.mode = 2, .firstColumn = 45, .firstRow = 25, .lastColumn = 60, .lastRow = 40};
    tab->DragFill();
    s.sel.SelectOne(tab->fullHits, 0, -1);
    s.sel.SelectTo(tab->fullHits, 49, -1);
    tab->DeleteSelectedLines(kLineColumns);
    EXPECT_EQ(s.x.count, s.x.minCount);
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(BadInputTest, BrokenLabelTextsAreLoggedOnceAndNeverShown)
{
    auto tab = make(4, 3);
    CSheet& s = tab->sheets[0];
    s.x.labelTexts[0] = "###Coolant##Kühlflüssigkeit##Voda,,###Inlet Air##Ansaugluft##Vzduch";
    s.x.SplitStringView();
    s.x.points[0] = 1;     // an empty part
    s.x.points[1] = -7;    // a negative part
    s.x.points[2] = 1009;  // past the nine parts
    tab->live.flags = 0;
    for (int i = 0; i < 50; ++i) tab->Tick();
    tab->dirty |= kDirtyRedraw;
    tab->Redraw();
    EXPECT_GE(faults, 1);
    EXPECT_LE(faults, 3);  // once per kind of fault, not once per tick
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(BadInputTest, AnotherProgramsClipboardText)
{
    auto tab = make(16, 12);
    const std::string texts[] = {
        "x86_64\t1e5\t--5\t1.2.3\n\n\t\t\t",
        "{{{{,,,}}}}}{1,2},{3",
        std::string("\0\xff\xfe\x80 12 345\r\n", 13),
        std::string(200000, '9'),
        std::string(5000, '\t') + "7",
        "Label:\tx\nLabelX:\tRPM\nLabelY:\tTP\nLabelData:\tADV\nSizeX:\t50\nSizeY:\t30\nOnlyXY:"
        "\tXY\n\t1\t2\n3\t4\t5\t6",
        "Label:\t" + std::string(300, 'L') + "\nLabelX:\tRPM\nSizeX:\t99999\nSizeY:\t-3\n\t1",
        "LabelX:\tRPM\nLabelY:\tTP\nLabelData:\tADV\nSizeX:\t2\nSizeY:\t2\n\t1\t2\t3\t4\t5\n1\t1\t1\t1\t1\t1\t1\n",
    };
    for (const std::string& text : texts) {
        for (bool asSheet : {false, true}) {
            clip.plain = text;
            clip.hasPlain = true;
            clip.sheet = text;
            clip.hasSheet = asSheet;
            CSheet& s = tab->sheets[0];
            s.sel.SelectOne(tab->fullHits, 14, 10);
            tab->Paste();
            s.sel.SelectOne(tab->fullHits, 12, -1);
            tab->Paste();
            s.sel.SelectOne(tab->fullHits, -1, 8);
            tab->Paste();
            tab->BeginCellEdit(2, 2, false);
            tab->Paste();
            EXPECT_LE(static_cast<int>(tab->edit.text.size()), kEditCharsMax);
            tab->CommitCellEdit();
            EXPECT_LE(s.x.count, s.x.maxCount);
            EXPECT_LE(s.y.count, s.y.maxCount);
            tab->Tick();
        }
    }
    tab->Redraw();
    EXPECT_TRUE(dialogs.Messages().empty());
}
