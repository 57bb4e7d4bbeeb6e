// Under Xvfb (the test "mapeditor_xvfb"): the system clipboard between two running copies of the program, and a
// picture of the control in a real window. Elsewhere these tests skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "mapeditor/cliptext.h"
#include "mapeditor/numtext.h"
#include "os/lngtext.h"
#include "tabfixture.h"
#include "vcl/customcontrol.h"

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == "xcb";
}

// The peer copies and holds the clipboard while the test reads it.
class Peer final
{
public:
    explicit Peer(const char* mode)
    {
        m_process.start(CLIP_PEER, {mode});
        ready = m_process.waitForStarted(30000);
        while (ready && !m_process.canReadLine()) ready = m_process.waitForReadyRead(30000);
        ready = ready && m_process.readLine().trimmed() == "ready";
    }
    ~Peer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(30000)) m_process.kill();
    }
    bool ready = false;

private:
    QProcess m_process;
};

}  // namespace

TEST(Xvfb, SheetCopiedInOneProcessPastesInAnother)
{
    if (!onX11()) GTEST_SKIP() << "needs an X server (run as the test mapeditor_xvfb)";
    SetLanguageIndex(LNG_ENGLISH);
    Peer peer("sheet");
    ASSERT_TRUE(peer.ready);
    QWidget window;
    auto expected = MakeFixtureTab(&window, 760, 380, nullptr, 16, 12);
    auto tab = MakeFixtureTab(&window, 760, 380, nullptr, 14, 10);
    for (int r = 0; r < kMaxRows; ++r)
        for (int c = 0; c < kMaxColumns; ++c) tab->sheets[0].value(c, r) = 7;
    ASSERT_EQ(tab->clipboard->ClipboardFormats(tab->clipboardFormat), kClipPlainText | kClipSheetText);
    tab->Paste();
    const CSheet& a = expected->sheets[0];
    const CSheet& b = tab->sheets[0];
    ASSERT_EQ(b.x.count, 16);
    ASSERT_EQ(b.y.count, 12);
    for (int c = 0; c < 16; ++c) EXPECT_EQ(b.x.points[c], a.x.points[c]) << "X head " << c;
    for (int r = 0; r < 12; ++r) EXPECT_EQ(b.y.points[r], a.y.points[r]) << "Y head " << r;
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 16; ++c) ASSERT_EQ(b.value(c, r), a.value(c, r)) << "cell " << c << "," << r;
}

TEST(Xvfb, PlainTextOfABigSheetArrivesCellExact)
{
    if (!onX11()) GTEST_SKIP() << "needs an X server (run as the test mapeditor_xvfb)";
    SetLanguageIndex(LNG_ENGLISH);
    Peer peer("big");
    ASSERT_TRUE(peer.ready);
    QWidget window;
    auto expected = MakeFixtureTab(&window, 760, 380, nullptr, 50, 30);
    const CSheet& a = expected->sheets[0];
    std::string plain, sheet;
    ASSERT_NE(SystemTabClipboard().GetClipboardTexts(plain, expected->clipboardFormat, sheet) & kClipPlainText, 0);
    EXPECT_GT(plain.size(), 9000u);  // more than the old 9000-byte buffers held
    EXPECT_EQ(plain, plainTableText(a, {}));
    int cells = 0;
    forEachField(plain, FieldMode::Sheet, [&](int row, int column, std::string_view, std::optional<double> v) {
        if (row < 0 || column < 0) return;
        ASSERT_TRUE(v.has_value()) << column << "," << row;
        EXPECT_EQ(*roundToRaw(*v, a.data.scale), a.value(column, row)) << column << "," << row;
        ++cells;
    });
    EXPECT_EQ(cells, 50 * 30);
}

namespace {

// An ignition advance map as its page sets it up: 15 RPM points by 10 throttle points, two sheets.
std::unique_ptr<TTab> MakeAdvanceTab(QWidget* parent)
{
    static const StepEntry rpmSteps[] = {{4000, 2000, 1000, 200, 1000}, {25000, 2000, 1000, 1000, 2000}};
    static const StepEntry advanceSteps[] = {{10, 5, 1, 1, 2}, {30, 5, 5, 5, 5}};
    auto tab = std::make_unique<TTab>(parent, 1000, 440, kFixtureFlags);
    tab->LoadBitmaps();
    for (int i = 0; i < 2; ++i) {
        const int index =
            tab->AddSheet(i == 0 ? "###Advance 1##Vorzündung 1##Předstih 1" : "###Advance 2##Vorzündung 2##Předstih 2",
                          "RPM", "TP", "###Advance##Vorzündung##Předstih", 15, 10, 0x701);
        tab->SetAxis(index, 1,
                     {.name = "RPM",
                      .min = 3,
                      .max = 250,
                      .scale = 100,
                      .steps = rpmSteps,
                      .count = 15,
                      .collapseOption = 0,
                      .scaleGroup = 0x100,
                      .colour = 0xFCE2F4});
        tab->SetAxis(index, 2,
                     {.name = "TP",
                      .unit = "%",
                      .min = 0,
                      .max = 100,
                      .scale = 1,
                      .editable = 0,
                      .count = 10,
                      .resizable = 0,
                      .collapsePos = kCollapseLast,
                      .scaleGroup = 0x100,
                      .colour = 0xFCE2F4});
        tab->SetAxis(index, 4,
                     {.name = "ADV",
                      .unit = "\xc2\xb0",
                      .min = 0,
                      .max = 60,
                      .scale = 1,
                      .steps = advanceSteps,
                      .options = 2,
                      .scaleGroup = 0x100,
                      .colour = 0xFCE2F4});
        CSheet& s = tab->sheets[static_cast<std::size_t>(index)];
        const int rpm[] = {10, 12, 15, 20, 25, 30, 35, 40, 50, 60, 70, 80, 90, 100, 110};
        const int tp[] = {0, 5, 10, 15, 20, 30, 40, 60, 80, 100};
        for (int c = 0; c < 15; ++c) s.x.points[c] = s.x.prevPoints[c] = rpm[c];
        for (int r = 0; r < 10; ++r) s.y.points[r] = s.y.prevPoints[r] = tp[r];
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 15; ++c) s.value(c, r) = std::clamp(8 + 3 * c - r * (c > 4 ? 2 : 1) - 2 * i, 2, 40);
        tab->UpdateLimits(s, 0x107);
    }
    tab->SelectSheet(0);
    tab->Redraw();
    return tab;
}

}  // namespace

TEST(Xvfb, Screenshot)
{
    if (!onX11()) GTEST_SKIP() << "needs an X server (run as the test mapeditor_xvfb)";
    SetLanguageIndex(LNG_ENGLISH);
    vcl::SetKeyStateSource([] { return 0u; });
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.move(0, 0);
    window.resize(1020, 460);
    auto tab = MakeAdvanceTab(&window);
    tab->SetBounds(10, 10, 1000, 440);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    tab->SetFocus();
    CSheet& s = tab->sheets[0];
    tab->live = {.rpm = 4800, .tp = 22, .tpShare = 100, .flags = 0};
    tab->Tick();
    tab->Tick();
    ASSERT_EQ(s.opState, 1);
    // A block chosen with the pointer, then the popup menu over one of its cells.
    const TabLayout& L = tab->layout;
    auto at = [&](int column, int row) {
        return QPoint(static_cast<int>(L.cellsLeft + (column + 0.5) * L.cellWidth),
                      static_cast<int>(L.cellsTop + (row + 0.5) * L.cellHeight));
    };
    QTest::mouseMove(tab->Widget(), at(2, 1));
    QTest::mousePress(tab->Widget(), Qt::LeftButton, Qt::NoModifier, at(2, 1));
    QTest::mouseMove(tab->Widget(), at(5, 4));
    QTest::mouseRelease(tab->Widget(), Qt::LeftButton, Qt::NoModifier, at(5, 4));
    ASSERT_EQ(s.sel.count, 16);
    QTest::mouseMove(tab->Widget(), at(4, 3));
    QTest::mousePress(tab->Widget(), Qt::RightButton, Qt::NoModifier, at(4, 3));
    QTest::mouseRelease(tab->Widget(), Qt::RightButton, Qt::NoModifier, at(4, 3));
    ASSERT_TRUE(tab->popup.Visible());
    tab->Tick();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QTest::qWait(10);
    }
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 1020, 460);
    EXPECT_TRUE(shot.save(QString::fromStdString((dir / "mapeditor.png").string())));
    tab->popup.Close();
    vcl::SetKeyStateSource(nullptr);
}
