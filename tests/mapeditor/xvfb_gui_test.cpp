// Under Xvfb (the test "mapeditor_xvfb"): the system clipboard between two running copies of the program, and a
// picture of the control in a real window. Elsewhere these tests skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "mapeditor/cliptext.h"
#include "mapeditor/numtext.h"
#include "os/lngtext.h"
#include "tabfixture.h"

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

TEST(Xvfb, Screenshot)
{
    if (!onX11()) GTEST_SKIP() << "needs an X server (run as the test mapeditor_xvfb)";
    SetLanguageIndex(LNG_ENGLISH);
    QWidget window;
    window.resize(780, 400);
    auto tab = MakeFixtureTab(&window, 760, 380, nullptr, 16, 12);
    tab->SetBounds(10, 10, 760, 380);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));
    tab->SetFocus();
    CSheet& s = tab->sheets[0];
    s.opState = 1;
    s.opColumn = 4;
    s.opRow = 3;
    s.sel.SelectOne(tab->fullHits, 2, 1);
    s.sel.SelectTo(tab->fullHits, 5, 4);
    tab->PlaceStepButtons(7, 6);
    tab->UpdateButtonStates(true);
    tab->dirty |= kDirtyRedraw;
    tab->Redraw();
    QApplication::processEvents();
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(window.grab().save(QString::fromStdString((dir / "mapeditor.png").string())));
}
