// The Jet menu's three injection modes in the started window, picked from the menu as a person picks them: what
// each mode shows of the four injector maps, how entering and leaving each mode leaves the maps in the image, and a
// map-1 edit typed in Coupled mode carried to maps 2 to 4.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "mapeditor/cellstep.h"
#include "mapeditor/tab.h"
#include "pages/injectionpage.h"
#include "pages/mapgrids.h"
#include "pages/mapside.h"
#include "startedform.h"
#include "vcl/image.h"
#include "vcl/menus.h"

// A tuner's advance and injection maps over the model file's empty ones (mapviews_test.cpp).
void tunersMaps(Image& image);

namespace {

constexpr int kChannels = 2680;
constexpr int kRpmPoints = 3097;  // 20 per map

// Injection time of map m (0..3) at (column, row), in microseconds as the image keeps it.
int timeOf(const Image& image, int map, int column, int row)
{
    return imageWord(image, 200 * map + 20 * row + column);
}

class InjectionModes : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        Image& image = form->images.image;
        tunersMaps(image);  // all four maps on RPM points 10, 17, .. 143
        image[kChannels] = 3;
        image[kImageInjectionMode] = 0;
        image[4892] = 0;
        // Map 2 on every second of map 1's points (10, 24, .. 136), its times rising by 100 per point.
        image[kImageInjectionCount1 + 1] = 10;
        for (int c = 0; c < 20; ++c) image[std::size_t(kRpmPoints + 20 + c)] = std::uint8_t(10 + 14 * c);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 20; ++c) setImageWord(image, 200 + 20 * r + c, std::uint16_t(1900 + 100 * c));
        ShowImageOnPages(*form, 1);
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        form->PageControl1->SetActivePageIndex(PAGE_INJECTION);
        form->PageControl1Change(form->PageControl1);
        ticks(3);
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) form->Timer1->Fire();
    }
    TTab& editor() { return *form->mapEditors[std::size_t(kInjectionEditorId)]; }
    void pick(const char* item)
    {
        TMenuItem* menuItem = form->MainMenu1->Find(item);
        ASSERT_NE(menuItem, nullptr) << item;
        menuItem->Click();
        ticks(3);
    }
    // What a person sees of the mode: which injector sheets have a tab, the first one's title, the picture's text
    // and colour, the ticked menu item, and whether maps 2 to 4 follow map 1 without edits of their own.
    struct Look
    {
        int shownSheets;
        std::string title;
        bool picture;
        TColor pictureColour;
        const char* ticked;
        bool followersLinked;
    };
    void expectLook(const Look& look)
    {
        TTab& tab = editor();
        for (int s = 0; s < 4; ++s) EXPECT_EQ(tab.sheets[std::size_t(s)].hidden != 0, s >= look.shownSheets) << s;
        EXPECT_EQ(tab.sheets[0].title, look.title);
        auto* picture = FindControl<TImage>(*form, "ImageInjMode");
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Visible(), look.picture);
        if (look.picture) {
            TBitmap shown = picture->Picture();
            EXPECT_EQ(shown.Pixel(2, 2), look.pictureColour);
        }
        for (const char* item : {"Menu_Jet123Normal", "Menu_Jet123Coupled", "Menu_Jet123Stejny"})
            EXPECT_EQ(form->MainMenu1->Find(item)->Checked(), std::string_view(item) == look.ticked) << item;
        EXPECT_EQ(tab.sheets[0].leaderId != 0, look.followersLinked);
        for (int s = 1; s < 4; ++s) {
            const CSheet& follower = tab.sheets[std::size_t(s)];
            EXPECT_EQ(follower.followerId != 0 && follower.followerId == tab.sheets[0].leaderId,
                      look.followersLinked);
            EXPECT_EQ(follower.data.editable == 0, look.followersLinked);
            EXPECT_EQ(follower.x.editable == 0, look.followersLinked);
            EXPECT_EQ(follower.x.resizable == 0, look.followersLinked);
        }
    }
    // Maps 2 to 4 in the image hold map 1's count, RPM points and times.
    void expectMapsEqual()
    {
        const Image& image = form->images.image;
        for (int m = 1; m < 4; ++m) {
            SCOPED_TRACE(m);
            EXPECT_EQ(image[std::size_t(kImageInjectionCount1 + m)], image[kImageInjectionCount1]);
            for (int c = 0; c < 20; ++c) {
                EXPECT_EQ(image[std::size_t(kRpmPoints + 20 * m + c)], image[std::size_t(kRpmPoints + c)]) << c;
                for (int r = 0; r < 10; ++r) ASSERT_EQ(timeOf(image, m, c, r), timeOf(image, 0, c, r)) << c << "," << r;
            }
        }
    }
    // Types a time (in ms) into map 1's cell as a person does.
    void typeIntoMapOne(int column, int row, const char* text)
    {
        TTab& tab = editor();
        tab.SelectSheet(0);
        ticks(3);
        const TabLayout& L = tab.layout;
        const QPoint p(static_cast<int>(L.cellsLeft + (column + 0.5) * L.cellWidth),
                       static_cast<int>(L.cellsTop + (row + 0.5) * L.cellHeight));
        QWidget* widget = tab.Widget();
        QTest::mouseMove(widget, p);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, p);
        QTest::keyClicks(widget, text);
        QTest::keyClick(widget, Qt::Key_Return);
        ticks(10);
    }
};

}  // namespace

TEST_F(InjectionModes, EachModeShowsTheInjectorMapsAsItSays)
{
    struct Case
    {
        int mode, channels;
        Look look;
    };
    const Case cases[] = {
        {0, 3, {3, "Inj. 1", false, 0, "Menu_Jet123Normal", false}},
        {0, 0, {1, "Injection TP", false, 0, "Menu_Jet123Normal", false}},
        {1, 3, {3, "Inj. 1", true, 0x00FFFF, "Menu_Jet123Coupled", true}},
        {1, 1, {1, "Injection TP", false, 0, "Menu_Jet123Coupled", true}},
        {2, 4, {1, "Injection TP united", true, 0xFFFF00, "Menu_Jet123Stejny", false}},
        {2, 1, {1, "Injection TP", false, 0, "Menu_Jet123Stejny", false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.channels << " channels");
        form->images.image[kImageInjectionMode] = std::uint8_t(c.mode);
        form->images.image[kChannels] = std::uint8_t(c.channels);
        ShowImageOnPages(*form, 1);
        ticks(2);
        expectLook(c.look);
    }
    EXPECT_EQ(InjectionModeText(1, 3), "1 -> 2,3");
    EXPECT_EQ(InjectionModeText(2, 4), "1 = 2 = 3 = 4");
    EXPECT_EQ(InjectionModeText(1, 2), "1 -> 2");
}

// Normal, Coupled, a carried edit, 1=2=3=4, Normal and Coupled again.
TEST_F(InjectionModes, SwitchingBetweenTheModesAndBackLeavesTheMapsAsEachModeSays)
{
    Image& image = form->images.image;
    // Map 1's cell (2, 2) at 2 ms; map 2 holds the same there after the coupling below, maps 3 and 4 other times.
    setImageWord(image, 20 * 2 + 2, 2000);
    setImageWord(image, 400 + 20 * 2 + 2, 1800);
    setImageWord(image, 600 + 20 * 2 + 2, 3000);
    const int mapThreeOwn = timeOf(image, 2, 7, 4);
    ShowImageOnPages(*form, 1);
    ticks(2);
    expectLook({3, "Inj. 1", false, 0, "Menu_Jet123Normal", false});

    // Coupled: map 2 keeps its own times, re-sampled onto map 1's points: on its own points they stay, halfway
    // between two they are the mean, past its last point they are its last column's.
    pick("Menu_Jet123Coupled");
    EXPECT_EQ(image[kImageInjectionMode], 1);
    expectLook({3, "Inj. 1", true, 0x00FFFF, "Menu_Jet123Coupled", true});
    for (int m = 1; m < 4; ++m) {
        EXPECT_EQ(image[std::size_t(kImageInjectionCount1 + m)], 20);
        for (int c = 0; c < 20; ++c)
            EXPECT_EQ(image[std::size_t(kRpmPoints + 20 * m + c)], image[std::size_t(kRpmPoints + c)]);
    }
    EXPECT_EQ(timeOf(image, 1, 4, 0), 2100);  // 38 rpm: map 2's third point
    EXPECT_EQ(timeOf(image, 1, 5, 0), 2150);  // 45: halfway between its 38 and 52
    EXPECT_EQ(timeOf(image, 1, 19, 9), 2800);  // 143: past its last point, 136
    EXPECT_EQ(timeOf(image, 1, 2, 2), 2000);
    EXPECT_EQ(timeOf(image, 2, 7, 4), mapThreeOwn);  // same points as map 1: its times stay

    // A map-1 cell typed from 2 ms to 2.1 ms (+5 %) in Coupled mode: map 2, which held 2 ms too, takes 2.1 ms;
    // maps 3 and 4 go 5 steps of 1 % from their own times. Nothing else changes, and one undo takes it all back.
    const CSheet three = editor().sheets[2], four = editor().sheets[3];
    const int threeAfter = (three.value(2, 2) + CellStep(three, 2, 2, 5)) / 10;
    const int fourAfter = (four.value(2, 2) + CellStep(four, 2, 2, 5)) / 10;
    EXPECT_GT(threeAfter, 1880);
    EXPECT_LT(threeAfter, 1900);
    form->ResetUndo();
    const Image before = image;
    typeIntoMapOne(2, 2, "2.1");
    EXPECT_EQ(timeOf(image, 0, 2, 2), 2100);
    EXPECT_EQ(timeOf(image, 1, 2, 2), 2100);
    EXPECT_EQ(timeOf(image, 2, 2, 2), threeAfter);
    EXPECT_EQ(timeOf(image, 3, 2, 2), fourAfter);
    for (int i = 0; i < RS_LEN_EXE; ++i) {
        const int word = i / 2, cell = word % 200;
        if (word < 800 && cell == 20 * 2 + 2) continue;
        ASSERT_EQ(image[std::size_t(i)], before[std::size_t(i)]) << "byte " << i;
    }
    ASSERT_TRUE(form->undoRing.CanUndo());
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(image, before);

    // 1=2=3=4 with four channels: one map for all, maps 2 to 4 are copies of map 1.
    image[kChannels] = 4;
    pick("Menu_Jet123Stejny");
    EXPECT_EQ(image[kImageInjectionMode], 2);
    expectLook({1, "Injection TP united", true, 0xFFFF00, "Menu_Jet123Stejny", false});
    expectMapsEqual();

    // An edit of map 1 while one map serves all, then Normal: map 1 is copied again before the mode changes, so
    // all four maps start equal and each is its own again.
    typeIntoMapOne(6, 3, "4.321");
    EXPECT_EQ(timeOf(image, 0, 6, 3), 4321);
    pick("Menu_Jet123Normal");
    EXPECT_EQ(image[kImageInjectionMode], 0);
    expectLook({4, "Inj. 1", false, 0, "Menu_Jet123Normal", false});
    expectMapsEqual();
    EXPECT_EQ(timeOf(image, 3, 6, 3), 4321);

    // And Coupled again: the maps share map 1's points, so re-sampling keeps every time.
    const Image normal = image;
    pick("Menu_Jet123Coupled");
    expectLook({4, "Inj. 1", true, 0x00FFFF, "Menu_Jet123Coupled", true});
    for (int i = 0; i < 1600; ++i) ASSERT_EQ(image[std::size_t(i)], normal[std::size_t(i)]) << "byte " << i;
    EXPECT_TRUE(dialogs.Messages().empty());
}
