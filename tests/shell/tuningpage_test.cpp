// The lambda tuning page in the started main window, worked as a tuner works it: every bound field shown with its
// scale and sign and changed through its control (exactly its byte, one undo step), the mixture pairs and the map
// in lambda notation, the controls that the mode, source and cylinders call for, the warning before tuning the
// compensation maps for good, and a picture of the page.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <set>

#include "mapeditor/tab.h"
#include "pages/binding.h"
#include "pages/mapgrids.h"
#include "pages/mapside.h"
#include "pages/tuningpage.h"
#include "startedform.h"
#include "vcl/deciedit.h"

namespace {

class TuningPageTest : public StartedFormTest
{
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        Image& image = form->images.image;
        image[2680] = 4;  // cylinders
        image[3817] = 0;  // injection mode normal
        image[kImageTuningMode] = 0;
        image[kImageTuningSource] = 0;
        // Every bound field inside its range, as a repaired settings file holds them.
        const std::pair<int, std::uint8_t> fields[] = {{4612, 5},  {4613, 5},  {4614, 3},   {4615, 10},  {4616, 10},
                                                       {4617, 1},  {4618, 20}, {4619, 120}, {4620, 160}, {4621, 5},
                                                       {4622, 20}, {4623, 140}, {4624, 200}, {3833, 20}};
        for (auto [byte, value] : fields) image[std::size_t(byte)] = value;
        for (int c = 0; c < kTuningPoints; ++c) image[std::size_t(kImageTuningRpmPoints + c)] = std::uint8_t(20 + 20 * c);
        for (int i = 0; i < kTuningPoints * kTuningPoints; ++i) image[std::size_t(kImageTuningCells + i)] = std::uint8_t(125 + i);
        ShowImageOnPages(*form, 1);
        form->PageControl1->SetActivePageIndex(PAGE_TUNING);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, PAGE_TUNING);
        form->ResetUndo();
    }
    template <class T>
    T* control(std::string_view name)
    {
        T* c = FindControl<T>(*form, name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void type(TEdit* edit, const std::string& text)
    {
        edit->SetText(text);
        vcl::Fire(edit->OnExit, static_cast<TObject*>(edit));
    }
    static std::set<int> changed(const Image& a, const Image& b)
    {
        std::set<int> bytes;
        for (int i = 0; i < RS_LEN_EXE; ++i)
            if (a[std::size_t(i)] != b[std::size_t(i)]) bytes.insert(i);
        return bytes;
    }
    TTab& editor() { return *form->mapEditors[kTuningEditorId]; }
};

}  // namespace

// Each bound field: a stored byte shows as the number a tuner reads, a number typed into the control stores exactly
// that byte, once, and undo takes it back.
TEST_F(TuningPageTest, EveryBoundFieldShowsItsByteAndStoresOnlyIt)
{
    struct Row
    {
        const char* upDown;
        int byte;
        std::uint8_t stored;  // put into the image
        int shown;            // the up-down's position then
        int typed;            // a new position typed into the edit
        std::uint8_t result;  // the byte afterwards
    };
    const Row rows[] = {
        {"UpDownLadeniRpm", 4613, 25, 250, 310, 31},          // rpm / 10
        {"UpDownLadeniTps", 4614, 4, 4, 7, 7},
        {"UpDownLadeniCas", 4615, 12, 12, 200, 200},
        {"UpDownLadeniKrok", 4616, 15, 15, 27, 27},           // tenths: 1.5 -> 2.7
        {"UpDownLadeniKanal", 4617, 2, 2, 3, 3},
        {"UpDownLadeniMaxAcc", 4618, 40, 40, 255, 255},
        {"UpDownLadeniTpsMin", 4621, 5, 5, 12, 12},
        {"UpDownLadeniRpmMin", 4622, 15, 1500, 2300, 23},     // rpm / 100
        {"UpDownLadeniTempMin", 4623, 70, -30, 45, 145},      // degrees + 100
        {"UpDownLadeniTempMax", 4624, 250, 150, -5, 95},
        {"UpDownCompLimit", 3833, 10, 10, 25, 25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.upDown);
        // The compensation limit is shown for the compensation maps, the channel for the basic maps.
        form->images.image[kImageTuningSource] = row.byte == 3833 ? 1 : 0;
        form->images.image[std::size_t(row.byte)] = row.stored;
        ShowImageOnPages(*form, 1);
        auto* upDown = control<TUpDown>(row.upDown);
        ASSERT_TRUE(upDown);
        EXPECT_EQ(upDown->Position(), row.shown);
        auto* deci = dynamic_cast<TDeciUpDown*>(upDown);
        TEdit* edit = deci ? deci->PairedEdit : upDown->Associate();
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->Text(), deci ? DeciText(row.shown, deci->Divisor) : upDown->PositionText(row.shown));
        EXPECT_TRUE(edit->Visible());

        form->ResetUndo();
        const Image before = form->images.image;
        type(edit, deci ? DeciText(row.typed, deci->Divisor) : std::to_string(row.typed));
        EXPECT_EQ(changed(before, form->images.image), std::set<int>{row.byte});
        EXPECT_EQ(form->images.image[std::size_t(row.byte)], row.result);
        EXPECT_EQ(upDown->Position(), row.typed);
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(form->images.image, before);
        EXPECT_FALSE(form->undoRing.CanUndo());  // one step
        EXPECT_EQ(upDown->Position(), row.shown);
    }
    // The two radio groups: the item index is the byte.
    for (auto [name, byte] : {std::pair{"RadioGroupLadeniMode", kImageTuningMode}, {"RadioGroupTunningSource", kImageTuningSource}}) {
        SCOPED_TRACE(name);
        form->ResetUndo();
        auto* group = control<TRadioGroup>(name);
        const Image before = form->images.image;
        EXPECT_EQ(group->ItemIndex(), before[std::size_t(byte)]);
        group->SetItemIndex(1 - group->ItemIndex());  // 0 and 1: the mode's both, the source's first two
        EXPECT_EQ(changed(before, form->images.image), std::set<int>{byte});
        form->SpeedButtonZpetClick(nullptr);
        EXPECT_EQ(form->images.image, before);
        EXPECT_EQ(group->ItemIndex(), before[std::size_t(byte)]);
    }
}

// The three mixture pairs and the map hold AFR x 10; in lambda notation they show lambda and any change moves the
// stored AFR at least one step the same way; cells nobody edited keep their bytes.
TEST_F(TuningPageTest, LambdaNotationShowsLambdaAndStoresAfr)
{
    Image& image = form->images.image;
    image[4619] = 147;
    image[4612] = 5;
    ShowImageOnPages(*form, 1);
    auto* min = control<TDeciUpDown>("UpDownLadeniLambdaMin");
    EXPECT_EQ(min->PairedEdit->Text(), "14.7");  // AFR
    EXPECT_EQ(editor().sheets[0].data.name, "AFR");
    EXPECT_EQ(editor().sheets[0].value(1, 0), 126);

    image[kImageLambdaNotation] = 1;
    ShowImageOnPages(*form, 1);
    EXPECT_EQ(min->Position(), 1000);  // lambda 1.000
    EXPECT_EQ(min->PairedEdit->Text(), "1");
    EXPECT_EQ(control<TLabel>("LabelLadeniLambdaMin")->Caption(), "Lambda min");
    EXPECT_EQ(control<TGroupBox>("GroupBoxLambdaPoz")->Caption(), "Lambda");
    CSheet& sheet = editor().sheets[0];
    EXPECT_EQ(sheet.data.name, "Lambda");
    EXPECT_EQ(sheet.value(1, 0), 86);  // AFR 12.6 is lambda 0.857
    sheet.value(1, 0) = 0;             // a second show with the same units reads no cell again
    ShowTuningState(*form);
    EXPECT_EQ(sheet.value(1, 0), 0);
    ShowImageOnPages(*form, 1);

    form->ResetUndo();
    Image before = image;
    type(min->PairedEdit, "1.001");
    EXPECT_EQ(changed(before, image), std::set<int>{4619});
    EXPECT_EQ(image[4619], 148);
    form->SpeedButtonZpetClick(nullptr);
    type(min->PairedEdit, "0.999");
    EXPECT_EQ(image[4619], 146);
    // A change elsewhere on the page stores every cell again: 149 shows as 1.01 like 148 does, and stays 149.
    image[kImageTuningCells + 3] = 149;
    ShowImageOnPages(*form, 1);
    form->ResetUndo();
    before = image;
    type(control<TEdit>("EditLadeniCas"), "99");
    EXPECT_EQ(changed(before, image), std::set<int>{4615});
    // The tolerance pair at the top of its range stays inside the AFR range.
    EXPECT_EQ(TuningPairByte(6250, 250), 250);
    EXPECT_EQ(TuningPairByte(0, 0), 0);
}

// An edit in the map reaches its cell byte as one commit; undo brings the old value back into the map.
TEST_F(TuningPageTest, AMapEditReachesItsCell)
{
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();
    TTab& tab = editor();
    EXPECT_TRUE(std::any_of(form->tabList.editors.begin(), form->tabList.editors.end(),
                            [&](const auto& e) { return e.get() == &tab; }));
    const TabLayout& L = tab.layout;
    const QPoint p(static_cast<int>(L.cellsLeft + 2.5 * L.cellWidth), static_cast<int>(L.cellsTop + 1.5 * L.cellHeight));
    QTest::mouseMove(tab.Widget(), p);
    QTest::mouseClick(tab.Widget(), Qt::LeftButton, Qt::NoModifier, p);
    const Image before = form->images.image;
    QTest::keyClicks(tab.Widget(), "13.9");
    QTest::keyClick(tab.Widget(), Qt::Key_Return);
    for (int i = 0; i < 20; ++i) form->Timer1->Fire();
    const int cell = kImageTuningCells + kTuningPoints * 1 + 2;
    EXPECT_EQ(changed(before, form->images.image), std::set<int>{cell});
    EXPECT_EQ(form->images.image[std::size_t(cell)], 139);
    ASSERT_TRUE(form->undoRing.CanUndo());
    form->SpeedButtonZpetClick(nullptr);
    EXPECT_EQ(form->images.image, before);
    EXPECT_EQ(tab.sheets[0].value(2, 1), before[std::size_t(cell)]);
}

TEST_F(TuningPageTest, ControlsFollowModeSourceAndCylinders)
{
    Image& image = form->images.image;
    auto shown = [&](const char* name) { return control<TControl>(name)->Visible(); };
    EXPECT_TRUE(shown("EditLadeniRpm"));
    EXPECT_TRUE(shown("EditLadeniKanal"));
    EXPECT_FALSE(shown("EditCompLimit"));
    EXPECT_EQ(control<TUpDown>("UpDownLadeniKanal")->Max(), 4);
    image[kImageTuningMode] = 1;  // All: no point tolerances
    image[2680] = 1;              // one cylinder: no channel
    image[kImageTuningSource] = 1;
    ShowImageOnPages(*form, 1);
    EXPECT_FALSE(shown("EditLadeniRpm"));
    EXPECT_FALSE(shown("LabelLadeniTps"));
    EXPECT_FALSE(shown("EditLadeniKanal"));
    EXPECT_TRUE(shown("EditCompLimit"));
    image[2680] = 3;
    image[kImageTuningSource] = 0;
    image[3817] = 1;  // coupled injection: no channel either
    ShowImageOnPages(*form, 1);
    EXPECT_FALSE(shown("EditLadeniKanal"));
    image[3817] = 0;
    image[4617] = 0;
    ShowImageOnPages(*form, 1);
    EXPECT_TRUE(shown("EditLadeniKanal"));
    form->Timer1->Fire();
    EXPECT_EQ(control<TEdit>("EditLadeniKanal")->Text(), "ALL");

    // The switch: mirrored in the Tools menu, red while on; not in the image.
    const Image before = image;
    form->MenuLadeniOnClick(nullptr);
    auto* box = control<TCheckBox>("CheckBoxLadeniPovoleno");
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(form->MainMenu1->Find("MenuLadeniOn")->Checked());
    EXPECT_EQ(box->Color(), clRed);
    EXPECT_EQ(image, before);
    form->MenuLadeniOnClick(nullptr);
    EXPECT_FALSE(form->MainMenu1->Find("MenuLadeniOn")->Checked());
}

// Tuning the compensation maps for good asks first: Cancel leaves everything; OK moves the maps, then stores.
TEST_F(TuningPageTest, PermanentTuningAsksFirst)
{
    auto* source = control<TRadioGroup>("RadioGroupTunningSource");
    // One cell of the first TP map and of the IAP map, each with its compensation.
    Image& image = form->images.image;
    const int tpMap = kInjectionGrids[0].address, tpComp = kInjectionGrids[4].address;
    const int iapMap = kInjectionGrids[6].address, iapComp = kInjectionGrids[7].address;
    setImageWord(image, tpMap + 3, 1000);
    image[std::size_t(tpComp + 3)] = 50;
    setImageWord(image, iapMap + 3, 1000);
    image[std::size_t(iapComp + 3)] = 120;
    image[3834] = 0;  // the pressure compensation does not correct the resulting time
    ShowImageOnPages(*form, 1);
    const Image untouched = image;
    form->ResetUndo();
    dialogs.AnswerMessage(IDCANCEL);
    source->SetItemIndex(2);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, "Warning");
    EXPECT_EQ(dialogs.Messages()[0].flags & MB_DEFBUTTON2, MB_DEFBUTTON2);
    EXPECT_EQ(source->ItemIndex(), 0);
    EXPECT_EQ(image, untouched);
    dialogs.AnswerMessage(IDOK);
    source->SetItemIndex(2);
    EXPECT_EQ(imageWord(image, tpMap + 3), 500);
    EXPECT_EQ(image[std::size_t(tpComp + 3)], 100);
    EXPECT_EQ(imageWord(image, iapMap + 3), 1200);
    EXPECT_EQ(image[std::size_t(iapComp + 3)], 100);
    EXPECT_EQ(form->images.image[kImageTuningSource], 2);
    EXPECT_EQ(source->Color(), clRed);
    // Already permanent: nothing to ask.
    TuningSourceClick(*form, source);
    EXPECT_EQ(dialogs.Messages().size(), 2u);
    form->SpeedButtonZpetClick(nullptr);  // one undo step takes the move and the source back
    EXPECT_EQ(image, untouched);
    EXPECT_FALSE(form->undoRing.CanUndo());
    EXPECT_EQ(source->ItemIndex(), 0);
}

TEST_F(TuningPageTest, Screenshot)
{
    form->SetClientSize(kFormWidth, kFormHeight);
    form->images.image[4617] = 0;
    ShowImageOnPages(*form, 1);
    form->Show();
    QApplication::processEvents();
    form->Timer1->Fire();
    QApplication::processEvents();
    const std::vector<std::string> faults = LayoutFaults(*form->tabSheets[PAGE_TUNING]);
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    const std::filesystem::path dir(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / "page_tuning.png").string())));
}
