// The external monitor window driven as a person does: the built-in sets, live values, read-only and edit mode,
// dragging and resizing widgets, the context menu and its commands, the property dialogs, the watch picker, set
// files and monitor.ini, the caption and the window's size rule.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QWidget>

#include "monitorfixture.h"
#include "monitors/indicator.h"
#include "monitors/indiprop.h"
#include "os/files.h"
#include "vcl/formlayout.h"

namespace {

// A live frame as the unit sends it (block byte k is answer byte k - 1, words from answer byte 1 big-endian).
LiveBlock runningEngine()
{
    std::array<std::uint8_t, kLiveFrameLength> a{};
    const auto word = [&](int w, int v) {
        a[static_cast<std::size_t>(2 * w - 1)] = static_cast<std::uint8_t>(v >> 8);
        a[static_cast<std::size_t>(2 * w)] = static_cast<std::uint8_t>(v & 0xFF);
    };
    const auto byte = [&](int k, int v) { a[static_cast<std::size_t>(k - 1)] = static_cast<std::uint8_t>(v); };
    word(2, 6350);    // rpm
    word(47, 423);    // throttle 42.3 %
    word(36, 87);     // speed
    byte(197, 3);     // gear
    byte(203, 138);   // lambda 13.8
    byte(195, 188);   // coolant 88 °C
    byte(196, 124);   // air 24 °C
    word(4, 1003);    // ambient pressure
    word(69, 642);    // intake pressure
    word(10, 13900);  // battery
    for (int c = 0; c < 4; ++c) {
        byte(183 + c, 30 + c);  // advance
        byte(187 + c, 42 + c);  // injection A
        byte(191 + c, 11 + c);  // injection B
    }
    word(26, 380);
    word(27, 410);
    byte(198, 64);
    LiveBlock block;
    block.StoreAnswer(a);
    return block;
}

void feedLiveValues(TFormEM& form)
{
    Image image{};
    image[2680] = 4;
    image[2660] = 120;
    setImageWord(image, 1030, 110);
    const LiveBlock block = runningEngine();
    DerivedLiveValues derived{};
    ComputeDerivedLiveValues(image, block, derived);
    if (UpdateMonitorVariables(image, block, derived)) MarkMonitorValuesChanged(&form);
}

}  // namespace

TEST_F(MonitorWindow, BuiltInSetsOpenReadOnlyInTheirPlaceAndEmptyOpensForEditing)
{
    struct Case
    {
        int set;
        int widgets;
        int outerWidth, outerHeight;
    };
    for (const Case& c :
         {Case{-1, 13, 405, 236}, Case{-2, 36, 301, 499}, Case{-3, 55, 442, 554}, Case{-1, 13, 405, 236}}) {
        SCOPED_TRACE(c.set);
        ShowExternalMonitor(*form, c.set);
        EXPECT_EQ(layout().Count(), c.widgets);
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(image().mode, kModeReadOnly);
        EXPECT_EQ(form->OuterWidth(), c.outerWidth);
        EXPECT_EQ(form->OuterHeight(), c.outerHeight);
        EXPECT_EQ(layout().origWidth, c.outerWidth - kFrameWidth) << "the design size is the client area";
        EXPECT_EQ(layout().origHeight, c.outerHeight - kFrameHeight - kBarHeight);
    }
    EXPECT_EQ(form->monitorSetLoaded, 1);
    EXPECT_EQ(storeItemEnabled, 0) << "a built-in set does not enable Store monitor";

    ShowExternalMonitor(*form, -4);
    EXPECT_EQ(layout().Count(), 13) << "no set 4: nothing changes";
    ShowExternalMonitor(*form, -1000);
    EXPECT_EQ(layout().Count(), 0);
    EXPECT_EQ(image().mode, kModeEdit);
    EXPECT_EQ(layout().edit, 1);
}

TEST_F(MonitorWindow, LiveValuesRepaintOnTheNextTick)
{
    for (int set : {1, 2, 3}) {
        SCOPED_TRACE(set);
        ResetMonitorVariables();
        ShowExternalMonitor(*form, -set);
        tick();
        const CMyComponent* rpm = widgetOf(1010, kKindValue);
        ASSERT_NE(rpm, nullptr);
        screenshot("monitor_set" + std::to_string(set) + "_no_data.png");
        feedLiveValues(*form);
        EXPECT_TRUE(MonitorValuesArrived());
        EXPECT_EQ(layout().dirty, kDirtyAll);
        live = true;
        tick();
        EXPECT_EQ(layout().dirty, 0);
        EXPECT_EQ(form->Caption(), "External monitor   (Connected)");
        screenshot("monitor_set" + std::to_string(set) + "_live.png");
        live = false;
    }
}

TEST_F(MonitorWindow, ReadOnlyPressesReachOnlyTheBar)
{
    ShowExternalMonitor(*form, -2);
    CMyComponent* value = widgetOf(1010, kKindValue);
    click(value->Left + 5, value->Top + 5);
    EXPECT_FALSE(value->selected);
    EXPECT_EQ(layout().focused, nullptr);
    const CMyButt& pin = *image().pin;
    click(pin.Left + 5, pin.Top + 8);
    tick();
    EXPECT_TRUE(form->StayOnTop());
    key(VK_INSERT);  // the picker opens in either mode (the script closes it)
    ASSERT_EQ(dialogs.Forms().size(), 1u);
    EXPECT_EQ(dialogs.Forms()[0], "FormCIDList");
    toggleEditButton();
    EXPECT_EQ(image().mode, kModeEdit);
    EXPECT_EQ(image().editButton->TextColor, clRed);
    toggleEditButton();
    EXPECT_EQ(image().mode, kModeReadOnly);
    EXPECT_EQ(form->Width(), layout().origWidth) << "edit mode worked at the design size";
}

TEST_F(MonitorWindow, WidgetsAreDraggedAndResizedInEditMode)
{
    ShowExternalMonitor(*form, -2);
    toggleEditButton();
    CMyComponent* value = widgetOf(1130, kKindValue);  // AP value at 76, 380
    const int left = value->Left, top = value->Top;
    drag(left + 20, top + 17, left + 50, top + 7);
    EXPECT_EQ(value->Left, left + 30);
    EXPECT_EQ(value->Top, top - 10);
    EXPECT_EQ(layout().focused, value);
    EXPECT_EQ(image().Cursor(), crSizeAll) << "over a selected widget the pointer offers to move it";
    keys = ssShift;
    key(VK_RIGHT);
    keys = 0;
    EXPECT_EQ(value->Width, 51);
    // The indicator of TPS, a dial: pulled larger by its lower right handle.
    CMyComponent* dial = widgetOf(1020, kKindIndicator);
    click(dial->Left + 40, dial->Top + 40);
    ASSERT_EQ(layout().focused, dial);
    const int w = dial->Width, h = dial->Height;
    drag(dial->Left + w - 1, dial->Top + h - 1, dial->Left + w - 11, dial->Top + h - 21);
    EXPECT_EQ(dial->Width, w - 10);
    EXPECT_EQ(dial->Height, h - 20);
    key(VK_DELETE);
    EXPECT_EQ(widgetOf(1020, kKindIndicator), nullptr);
    EXPECT_EQ(layout().Count(), 35);
}

TEST_F(MonitorWindow, ContextMenuFollowsTheMode)
{
    ShowExternalMonitor(*form, -1);
    rightClick(100, 100);
    EXPECT_EQ(menuItems(), (std::vector<std::string>{"MenuStoreSource", "MenuOnTop", "MenuEditMode"}));
    chooseMenuItem("MenuEditMode");
    tick();
    EXPECT_EQ(image().mode, kModeEdit);
    rightClick(5, 200);  // on nothing
    EXPECT_EQ(menuItems().size(), 10u);
    EXPECT_EQ(form->PopupMenu1->Items().FindItem("MenuEditMode")->Caption(), "End edit mode");
    const CMyComponent* dial = widgetOf(1160, kKindIndicator);
    rightClick(dial->Left + 30, dial->Top + 130);
    EXPECT_EQ(menuItems().back(), "MenuProperties");
    EXPECT_EQ(menuItems().size(), 14u);
    rightClick(200, 10);  // the picture has no properties
    EXPECT_EQ(menuItems().back(), "MenuBackwards");
}

TEST_F(MonitorWindow, PropertiesOfAnIndicatorThroughItsDialog)
{
    ShowExternalMonitor(*form, -1);
    toggleEditButton();
    auto* tps = static_cast<CMyIndicator*>(widgetOf(1020, kKindIndicator));
    dialogs.AnswerForm([](TForm& f) {
        auto& d = static_cast<TTFormIndiProp&>(f);
        EXPECT_TRUE(d.TypeOfIndi->Visible());
        EXPECT_EQ(d.TypeOfIndi->ItemIndex(), kStyleHorizontal);
        EXPECT_EQ(d.LabelType->Caption(), "Indicator of parameter: /Basic/TPS [%]");
        EXPECT_EQ(d.ColorBox1->ItemCount(), 15);
        EXPECT_EQ(d.ColorBox1->Selected(), clRed);
        for (const std::string& fault : LayoutFaults(d)) ADD_FAILURE() << fault;
        const std::filesystem::path folder(SCREENSHOT_DIR);
        EXPECT_TRUE(
            d.Widget()->grab().save(QString::fromStdString((folder / "monitor_indicator_dialog.png").string())));
        d.TypeOfIndi->SetItemIndex(kStyleVertical);
        d.ColorBox1->SetItemIndex(13);  // blue
        d.btOK->Click();
    });
    doubleClick(tps->Left + 100, tps->Top + 7);
    EXPECT_EQ(dialogs.Forms(), (std::vector<std::string>{"Set indicator"}));
    EXPECT_EQ(tps->Style, kStyleVertical);
    EXPECT_EQ(tps->ColorMk, clBlue);

    dialogs.AnswerForm([](TForm& f) {
        auto& d = static_cast<TTFormIndiProp&>(f);
        d.TypeOfIndi->SetItemIndex(kStyleDial);
        d.btCancel->Click();
    });
    rightClick(tps->Left + 100, tps->Top + 7);
    chooseMenuItem("MenuProperties");
    EXPECT_EQ(tps->Style, kStyleVertical) << "Cancel changes nothing";

    // A colour from a file that the list does not have stays when the user does not choose another.
    tps->ColorMk = 0x123456;
    dialogs.AnswerForm([](TForm& f) { static_cast<TTFormIndiProp&>(f).btOK->Click(); });
    image().EditProperties();
    EXPECT_EQ(tps->ColorMk, 0x123456u);

    // A running/no-signal variable offers only the colour.
    auto* ckps = static_cast<CMyIndicator*>(layout().Insert(std::make_unique<CMyIndicator>()));
    ckps->id = 3010;
    ckps->s = GetDef(3010);
    ckps->Style = kStyleVertical;
    layout().Focus(ckps);
    dialogs.AnswerForm([](TForm& f) {
        auto& d = static_cast<TTFormIndiProp&>(f);
        EXPECT_FALSE(d.TypeOfIndi->Visible());
        d.btOK->Click();
    });
    image().EditProperties();
    EXPECT_EQ(ckps->Style, kStyleVertical);
}

TEST_F(MonitorWindow, InsertAndEditText)
{
    ShowExternalMonitor(*form, -1000);
    rightClick(100, 100);
    dialogs.AnswerForm([](TForm& f) {
        EXPECT_EQ(f.Caption(), "Insert text");
        FindControl<TEdit>(f, "EditText")->SetText("Lap 3 — dry");
        FindControl<TButton>(f, "ButtonOK")->Click();
    });
    chooseMenuItem("MenuInsertText");
    ASSERT_EQ(layout().Count(), 1);
    auto& text = static_cast<CMyText&>(*layout().Item(0));
    EXPECT_EQ(text.Str(), "Lap 3 — dry") << "the dash is in the files' code page";
    EXPECT_EQ(text.Left, 100);
    EXPECT_EQ(text.Top, 100);
    EXPECT_EQ(text.Height, 35);
    EXPECT_GT(text.Width, 60);
    // Near the right edge the new text is moved inside.
    rightClick(layout().Width - 5, 10);
    dialogs.AnswerForm([](TForm& f) {
        FindControl<TEdit>(f, "EditText")->SetText("a long text near the edge");
        FindControl<TButton>(f, "ButtonOK")->Click();
    });
    chooseMenuItem("MenuInsertText");
    const CMyComponent& second = *layout().Item(1);
    EXPECT_EQ(second.Left + second.Width, layout().Width);
    // Cancel inserts nothing.
    rightClick(10, 10);
    dialogs.AnswerForm([](TForm& f) { FindControl<TButton>(f, "ButtonCancel")->Click(); });
    chooseMenuItem("MenuInsertText");
    EXPECT_EQ(layout().Count(), 2);
    // A double click on a text edits it.
    dialogs.AnswerForm([](TForm& f) {
        EXPECT_EQ(FindControl<TEdit>(f, "EditText")->Text(), "Lap 3 — dry");
        FindControl<TEdit>(f, "EditText")->SetText("Lap 4");
        FindControl<TButton>(f, "ButtonOK")->Click();
    });
    doubleClick(110, 110);
    EXPECT_EQ(text.Str(), "Lap 4");
    EXPECT_EQ(text.ow, text.Width);
}

TEST_F(MonitorWindow, WatchPickerAddsAndRemovesWidgets)
{
    ShowExternalMonitor(*form, -1000);
    rightClick(40, 30);
    // In the picker: the Value box of TW (under Extended) is clicked once, which sets all three of its marks.
    dialogs.AnswerForm([](TForm& f) {
        auto& p = static_cast<TFormCIDList&>(f);
        TCIDList& tree = *p.tree;
        CID* tw = tree.root.FindById(1110);
        ASSERT_NE(tw, nullptr);
        tree.root.Number(false);
        const int m = tree.firstRowOffset + tw->row * tree.rowHeight + tree.rowHeight / 2;
        const int cx = 10 * 1 + 200 + 50 + 10;
        TMessage down;
        down.msg = TMsg::LButtonDown;
        down.x = cx;
        down.y = m;
        tree.Perform(down);
        EXPECT_EQ(tw->marks[kColLabel], kMarkSet);
        EXPECT_EQ(tw->marks[kColIndicator], kMarkSet);
        EXPECT_EQ(tree.root.FindById(1100)->marks[kColValue], kMarkPartly);
        p.ButtonOK->Click();
    });
    chooseMenuItem("MenuAddWatch");
    const CMyComponent* label = widgetOf(1110, kKindLabel);
    const CMyComponent* value = widgetOf(1110, kKindValue);
    const CMyComponent* indicator = widgetOf(1110, kKindIndicator);
    ASSERT_TRUE(label && value && indicator);
    EXPECT_EQ(label->Left, 40 + 10);
    EXPECT_EQ(label->Top, 30);
    EXPECT_EQ(value->Left, label->Left + label->Width + 10);
    EXPECT_EQ(indicator->Width, 80);
    EXPECT_EQ(indicator->Top, 34);
    EXPECT_EQ(layout().selectedCount, 3);

    // The Insert key opens it again with the marks taken from the layout; Delete on Extended clears its subtree,
    // collapsed or not.
    dialogs.AnswerForm([](TForm& f) {
        auto& p = static_cast<TFormCIDList&>(f);
        TCIDList& tree = *p.tree;
        CID* extended = tree.root.FindById(1100);
        EXPECT_EQ(tree.root.FindById(1110)->initial[kColValue], kMarkSet);
        extended->expanded = 0;
        tree.current = extended;
        tree.Key(VK_DELETE);
        p.ButtonOK->Click();
    });
    key(VK_INSERT);
    EXPECT_EQ(layout().Count(), 0);

    // Cancel leaves the layout as it was but deselects.
    ShowExternalMonitor(*form, -1);
    toggleEditButton();
    click(widgetOf(1010, kKindValue)->Left + 5, widgetOf(1010, kKindValue)->Top + 5);
    dialogs.AnswerForm([](TForm& f) { static_cast<TFormCIDList&>(f).ButtonCancel->Click(); });
    key(VK_INSERT);
    EXPECT_EQ(layout().Count(), 13);
    EXPECT_EQ(layout().selectedCount, 0);
}

TEST_F(MonitorWindow, SetsStoredAndLoadedThroughTheirDialogs)
{
    ShowExternalMonitor(*form, -3);
    const std::string path = (dir / "engine.qem").string();
    dialogs.AnswerFile(path);
    image().StoreSet();
    ASSERT_EQ(dialogs.FileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs()[0].filter, "Quorvane external monitor|*.qem");
    const auto stored = os::readWholeFile(path);
    ASSERT_TRUE(stored);

    ShowExternalMonitor(*form, -1000);
    dialogs.AnswerFile(path);
    ShowExternalMonitor(*form, 1);
    EXPECT_EQ(layout().Count(), 55);
    EXPECT_EQ(image().mode, kModeReadOnly);
    EXPECT_EQ(form->OuterWidth(), 442);
    EXPECT_EQ(storeItemEnabled, 1);
    dialogs.AnswerFile(path);
    image().StoreSet();
    EXPECT_EQ(os::readWholeFile(path), stored) << "read and stored again, byte for byte";

    // A damaged file is refused with its message and the layout stays.
    std::string damaged = *stored;
    damaged.resize(damaged.size() / 2);
    ASSERT_TRUE(os::atomicWriteFile(dir / "damaged.qem", damaged).ok);
    dialogs.AnswerFile((dir / "damaged.qem").string());
    ShowExternalMonitor(*form, 1);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Invalid picture storage...");
    EXPECT_EQ(dialogs.Messages()[0].caption, "Error");
    EXPECT_EQ(layout().Count(), 55);
    EXPECT_EQ(errors.size(), 1u);
    ASSERT_TRUE(os::atomicWriteFile(dir / "other.qem", std::string(40, 'x')).ok);
    dialogs.AnswerFile((dir / "other.qem").string());
    ShowExternalMonitor(*form, 1);
    EXPECT_EQ(dialogs.Messages().back().text, "Invalid format or version of file...");
    // Cancelling the dialog leaves everything as it was.
    ShowExternalMonitor(*form, 1);
    EXPECT_EQ(layout().Count(), 55);
    EXPECT_EQ(image().mode, kModeReadOnly);

    // The source export.
    dialogs.AnswerFile((dir / "set.cpp").string());
    image().ExportSource();
    const auto source = os::readWholeFile(dir / "set.cpp");
    ASSERT_TRUE(source);
    EXPECT_EQ(source->rfind("//External Monitor Set******\r\n", 0), 0u);
}

TEST_F(MonitorWindow, MonitorIniIsReadOnceAndWrittenAfterASetWasShown)
{
    ShowExternalMonitor(*form, -2);
    ASSERT_EQ(image().WriteSet(form->monitorIni), kSetOk);
    form.reset();
    form = std::make_unique<TFormEM>();
    form->monitorIni = dir / "monitor.ini";
    form->enableStoreItem = [this] { ++storeItemEnabled; };
    ShowExternalMonitor(*form, 0);
    EXPECT_EQ(layout().Count(), 36);
    EXPECT_EQ(form->monitorSetLoaded, 1);
    EXPECT_EQ(storeItemEnabled, 1);
    EXPECT_EQ(image().mode, kModeReadOnly);
    layout().FreeAll();
    ShowExternalMonitor(*form, 0);
    EXPECT_EQ(layout().Count(), 0) << "read once per run";

    // A monitor.ini that cannot be read is not taken, and not counted as a loaded set, so it is not overwritten.
    ASSERT_TRUE(os::atomicWriteFile(form->monitorIni, "damaged").ok);
    form.reset();
    form = std::make_unique<TFormEM>();
    form->monitorIni = dir / "monitor.ini";
    ShowExternalMonitor(*form, 0);
    EXPECT_EQ(form->monitorSetLoaded, 0);
    EXPECT_TRUE(form->Visible());
}

TEST_F(MonitorWindow, CaptionFollowsTheLinkAndTheLanguage)
{
    tick();
    EXPECT_EQ(form->Caption(), "External monitor   (!!! No connection with PC !!!)");
    SetLanguageIndex(LNG_GERMAN);
    tick();
    EXPECT_EQ(form->Caption(), "External monitor   (!!! Keine Verbindung zum PC !!!)");
    live = true;
    SetLanguageIndex(LNG_CZECH);
    tick();
    EXPECT_EQ(form->Caption(), "Externí monitor   (Spojeno)");
    form->SetCaption("External monitor");  // as a caption pass of the languages may leave it
    tick();
    EXPECT_EQ(form->Caption(), "Externí monitor   (Spojeno)");
}

// The timers of the monitor and its picker run only while their windows are up; shown again, they tick again.
TEST_F(MonitorWindow, TimersRestWhileTheWindowsAreHidden)
{
    struct Case {
        TForm* window;
        TTimer* timer;
    };
    for (const Case& c : {Case{form.get(), form->TimerMonitor}, Case{picker.get(), picker->TimerCIDList}}) {
        c.timer->Fire();
        EXPECT_FALSE(c.timer->Enabled()) << c.window->Caption();
        c.window->Show();
        EXPECT_TRUE(c.timer->Enabled());
        c.timer->Fire();
        EXPECT_TRUE(c.timer->Enabled());
        c.window->Hide();
        c.timer->Fire();
        EXPECT_FALSE(c.timer->Enabled());
    }
    live = true;
    form->Show();
    tick();
    EXPECT_EQ(form->Caption(), "External monitor   (Connected)");
}

TEST_F(MonitorWindow, OneWheelStepPerTick)
{
    struct WheelCounter final : CMyComponent
    {
        int* turns;
        explicit WheelCounter(int* t) : turns(t) { focusable = 1; }
        void Wheel(int) override { ++*turns; }
    };
    int turns = 0;
    ShowExternalMonitor(*form, -1000);
    auto* counter = layout().Insert(std::make_unique<WheelCounter>(&turns));
    counter->Width = 100;
    counter->Height = 100;
    click(50, 50);
    ASSERT_EQ(layout().focused, counter);
    send(TMsg::MouseWheel, 50, 50, 0, 120);
    send(TMsg::MouseWheel, 50, 50, 0, 120);
    EXPECT_EQ(turns, 1);
    tick();
    send(TMsg::MouseWheel, 50, 50, 0, -120);
    EXPECT_EQ(turns, 2);
}

TEST_F(MonitorWindow, ReadOnlyResizeKeepsTheSetsProportions)
{
    ShowExternalMonitor(*form, -1);
    tick();
    const int designWidth = layout().origWidth, designHeight = layout().origHeight;
    form->SetWidth(2 * designWidth);
    tick();
    EXPECT_EQ(form->Width(), 2 * designWidth);
    EXPECT_EQ(form->Height(), 2 * designHeight + kBarHeight);
    EXPECT_FLOAT_EQ(layout().Item(1)->scale, 2.0f);
    screenshot("monitor_set1_twice.png");
    form->SetHeight(designHeight + kBarHeight);
    tick();
    EXPECT_EQ(form->Width(), designWidth) << "the height leads when only it changed";
    form->SetWidth(5000);
    EXPECT_EQ(form->Width(), form->maxClientWidth);
}

TEST_F(MonitorWindow, PicturesAddedFromFilesAndSentBackwards)
{
    ShowExternalMonitor(*form, -1000);
    TBitmap photo(2000, 60);
    photo.Canvas().Brush.Color = clGreen;
    photo.Canvas().FillRect({0, 0, 2000, 60});
    ASSERT_TRUE(photo.SaveToFile((dir / "wide.JPG").string()));
    ASSERT_TRUE(photo.SaveToFile((dir / "wide.png").string()));
    ASSERT_TRUE(TBitmap(30, 20).SaveToFile((dir / "small.jpeg").string()));
    struct Case
    {
        const char* file;
        int widgets;
    };
    rightClick(100, 50);
    for (const Case& c : {Case{"wide.png", 0}, Case{"missing.bmp", 0}, Case{"wide.JPG", 1}, Case{"small.jpeg", 2}}) {
        SCOPED_TRACE(c.file);
        dialogs.AnswerFile((dir / c.file).string());
        chooseMenuItem("MenuAddImage");
        EXPECT_EQ(layout().Count(), c.widgets);
    }
    const CMyComponent& wide = *layout().Item(0);
    EXPECT_EQ(wide.Left, 0) << "a picture wider than the layout starts at its left edge";
    EXPECT_EQ(wide.Width, layout().Width) << "and is cut to it";
    EXPECT_EQ(wide.Height, 60);
    const CMyComponent* small = layout().Item(1);
    EXPECT_EQ(small->Left, 100);
    EXPECT_EQ(layout().focused, small);
    // The selected picture goes behind the other.
    image().SendBackwards();
    EXPECT_EQ(layout().Item(0), small);
    EXPECT_EQ(layout().selectedCount, 0);
}
