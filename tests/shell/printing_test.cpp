// Printing the main window into a PDF file, as a person prints it from the File menu: the pages a print makes,
// what a page shows (rendered back with pdftoppm), the window and its map editors exactly as before afterwards,
// a cancelled dialog and a print job that cannot start.
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../mapeditor/tabfixture.h"
#include "shell/mainform.h"
#include "shell/printing.h"
#include "startedform.h"
#include "vcl/controls.h"

namespace {

class PrintingTest : public StartedFormTest {
protected:
    void SetUp() override
    {
        StartedFormTest::SetUp();
        form->Show();
        // A map editor on the page shown, as the pages place theirs.
        editor = MakeFixtureTab(form->PageControl1->ActivePage()->ClientWidget(), 520, 260);
        editor->SetBounds(12, 40, 520, 260);
        editor->SetVisible(true);
        // The editors of the page shown draw themselves on the main timer's first ticks, as at start.
        for (int i = 0; i < 3; ++i) form->Timer1->Fire();
    }
    void TearDown() override
    {
        editor.reset();
        StartedFormTest::TearDown();
    }
    [[nodiscard]] QImage window() const { return form->Widget()->grab().toImage(); }
    void keep(const QImage& image, const std::string& name) const
    {
        const std::filesystem::path shots(SCREENSHOT_DIR);
        std::filesystem::create_directories(shots);
        EXPECT_TRUE(image.save(QString::fromStdString((shots / name).string())));
    }
    [[nodiscard]] std::string pdf(const std::string& name) const { return (dir / name).string(); }

    std::unique_ptr<TTab> editor;
};

// Where two pictures of the window differ, for the failure message.
std::string changedArea(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return "the size changed";
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return "changed: x " + std::to_string(box.left()) + ".." + std::to_string(box.right()) + ", y " +
           std::to_string(box.top()) + ".." + std::to_string(box.bottom());
}

int pdfPages(const std::string& path)
{
    QProcess info;
    info.start("pdfinfo", {QString::fromStdString(path)});
    if (!info.waitForFinished(60000) || info.exitCode() != 0) return -1;
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
}

// One page of the PDF as pdftoppm renders it.
QImage pdfPage(const std::string& path, int page, const std::filesystem::path& into)
{
    const QString prefix = QString::fromStdString((into / ("page" + std::to_string(page))).string());
    const QString number = QString::number(page);
    QProcess render;
    render.start("pdftoppm", {"-png", "-r", "60", "-f", number, "-l", number, "-singlefile",
                              QString::fromStdString(path), prefix});
    if (!render.waitForFinished(60000) || render.exitCode() != 0) return {};
    return QImage(prefix + ".png");
}

// The box of what is not paper white in a picture.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::min({c.red(), c.green(), c.blue()}) < 240) box |= QRect(x, y, 1, 1);
        }
    return box;
}

// A rendered page against the picture that was printed on it: the inked parts of both, brought to one small
// size, compared pixel by pixel; the mean difference per channel (0 to 255).
double difference(const QImage& rendered, const QImage& picture)
{
    const QRect a = inkBox(rendered), b = inkBox(picture);
    if (a.isEmpty() || b.isEmpty()) return 255;
    const QSize small(240, 240 * b.height() / b.width());
    const QImage x = rendered.copy(a).scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    const QImage y = picture.copy(b).scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int j = 0; j < small.height(); ++j)
        for (int i = 0; i < small.width(); ++i) {
            const QColor p = x.pixelColor(i, j), q = y.pixelColor(i, j);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
        }
    return sum / (3.0 * small.width() * small.height());
}

}  // namespace

TEST_F(PrintingTest, PrintMakesOnePageOfTheCurrentPageAndLeavesTheWindowAsItWas)
{
    form->CheckBoxProgHned->SetFocus();  // where printing puts the focus, so that only printing can differ
    const QImage before = window();
    const std::string file = pdf("print.pdf");
    dialogs.AnswerPrint(file);
    form->MainMenu1->Find("MenuPrint")->Click();
    const QImage after = window();
    keep(before, "print_before.png");
    keep(after, "print_after.png");
    EXPECT_TRUE(before == after) << changedArea(before, after);
    EXPECT_FALSE(editor->printing);
    EXPECT_EQ(form->printLists->records.Count(), 0);
    EXPECT_EQ(form->printLists->sheets.Count(), 0);
    EXPECT_TRUE(dialogs.Messages().empty());

    ASSERT_EQ(pdfPages(file), 1);
    const QImage page = pdfPage(file, 1, dir);
    keep(page, "print_page.png");
    // The page is the window in its print look showing the current page, and no other page.
    const QImage current = PrintPageImages(*form, false).front();
    const std::vector<QImage> sheets = PrintPageImages(*form, true);
    std::size_t currentSheet = 0;  // the current page among the printable sheets
    for (int p = 0; p < form->PageControl1->ActivePageIndex(); ++p)
        currentSheet += form->PageControl1->Page(p)->TabVisible() ? 1 : 0;
    ASSERT_LT(currentSheet, sheets.size());
    const double own = difference(page, current);
    EXPECT_LT(own, 6.0);
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (i != currentSheet) {
            EXPECT_GT(difference(page, sheets[i]), own + 5.0) << "sheet " << i;
        }
    }
    EXPECT_FALSE(current == after.copy(0, after.height() - current.height(), after.width(), current.height()))
        << "the print look is not the screen's";
}

TEST_F(PrintingTest, PrintAllMakesOnePagePerShownSheetAndPutsTheTabsBack)
{
    TTabSheet* hidden = form->tabSheets[PAGE_N2O];
    hidden->SetTabVisible(false);
    const int active = form->PageControl1->ActivePageIndex();
    int shown = 0;
    for (int i = 0; i < form->PageControl1->PageCount(); ++i) shown += form->PageControl1->Page(i)->TabVisible();
    // A second map editor on a sheet that is not shown, in its graph view: Print All brings its sheet forward.
    TTabSheet* other = form->PageControl1->Page(active == 1 ? 2 : 1);
    ASSERT_TRUE(other->TabVisible());
    const std::unique_ptr<TTab> graph = MakeFixtureTab(other->ClientWidget(), 520, 260);
    graph->SetBounds(12, 40, 520, 260);
    graph->SetVisible(true);
    graph->Command(kCmdView2D);
    form->CheckBoxProgHned->SetFocus();
    const QImage before = window();
    const QImage editorsBefore[] = {editor->Widget()->grab().toImage(), graph->Widget()->grab().toImage()};

    const std::string file = pdf("all.pdf");
    dialogs.AnswerPrint(file);
    form->MainMenu1->Find("MenuPrintAll")->Click();
    EXPECT_TRUE(before == window()) << changedArea(before, window());
    const QImage editorsAfter[] = {editor->Widget()->grab().toImage(), graph->Widget()->grab().toImage()};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(editorsBefore[i] == editorsAfter[i]) << changedArea(editorsBefore[i], editorsAfter[i]);
    }
    keep(editorsBefore[1], "print_all_graph_editor_before.png");
    keep(editorsAfter[1], "print_all_graph_editor_after.png");
    EXPECT_FALSE(graph->printing);
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), active);
    EXPECT_FALSE(hidden->TabVisible());
    ASSERT_EQ(dialogs.PrintDialogs().size(), 1u);
    EXPECT_EQ(dialogs.PrintDialogs()[0].pages, shown);

    // One page per sheet whose tab shows; each page shows its own sheet.
    ASSERT_EQ(pdfPages(file), shown);
    const std::vector<QImage> sheets = PrintPageImages(*form, true);
    ASSERT_EQ(static_cast<int>(sheets.size()), shown);
    for (int page : {1, shown}) {
        SCOPED_TRACE(page);
        const QImage rendered = pdfPage(file, page, dir);
        keep(rendered, "print_all_page" + std::to_string(page) + ".png");
        EXPECT_LT(difference(rendered, sheets[static_cast<std::size_t>(page - 1)]), 12.0);
    }
}

TEST_F(PrintingTest, CancelledDialogChangesNothing)
{
    const QImage before = window();
    const int active = form->PageControl1->ActivePageIndex();
    dialogs.AnswerPrint(std::nullopt);
    dialogs.AnswerPrint(std::nullopt);
    form->SpeedButtonPrint->Click();
    form->MainMenu1->Find("MenuPrintAll")->Click();
    EXPECT_EQ(dialogs.PrintDialogs().size(), 2u);
    EXPECT_TRUE(before == window()) << changedArea(before, window());
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), active);
    EXPECT_TRUE(dialogs.Messages().empty());
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
}

TEST_F(PrintingTest, JobThatCannotStartIsReportedAndTheWindowIsBack)
{
    form->CheckBoxProgHned->SetFocus();
    const QImage before = window();
    dialogs.AnswerPrint(pdf("no such folder/print.pdf"));
    form->MainMenu1->Find("MenuPrint")->Click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].text.find("no such folder/print.pdf"), std::string::npos)
        << dialogs.Messages()[0].text;
    EXPECT_TRUE(before == window()) << changedArea(before, window());
    EXPECT_EQ(form->printLists->records.Count(), 0);
}

TEST_F(PrintingTest, PrintLookAndItsUndo)
{
    TTabSheet* page = form->PageControl1->ActivePage();
    auto* red = form->Make<TLabel>(page, "LabelRedForPrint");
    red->SetColor(0x0000FF);
    auto* plain = form->Make<TLabel>(page, "LabelPlainForPrint");
    plain->SetTransparent(false);  // an opaque label on the button face
    auto* hiddenButton = form->Make<TButton>(page, "ButtonHiddenForPrint");
    auto* scroll = form->Make<TScrollBar>(page, "ScrollBarForPrint");
    auto* check = form->Make<TCheckBox>(page, "CheckBoxForPrint");
    for (TControl* control : std::initializer_list<TControl*>{red, plain, scroll, check}) control->SetVisible(true);

    PrepareForPrint(*form);
    EXPECT_FALSE(red->Transparent());  // not the button face: left as it is
    EXPECT_EQ(red->Color(), 0x0000FFu);
    EXPECT_TRUE(plain->Transparent());
    EXPECT_FALSE(scroll->Visible());
    EXPECT_EQ(check->Color(), clWhite);
    EXPECT_FALSE(form->ButtonRead->Visible());
    EXPECT_FALSE(form->GroupBoxToolBar->Visible());
    EXPECT_TRUE(editor->printing);
    for (int i = 0; i < form->printLists->records.Count(); ++i)
        EXPECT_NE(static_cast<CPrintObj*>(form->printLists->records.Object(i))->control, hiddenButton);

    RestoreAfterPrint(*form);
    EXPECT_FALSE(plain->Transparent());
    EXPECT_TRUE(scroll->Visible());
    EXPECT_FALSE(hiddenButton->Visible());  // hidden before: stays hidden
    EXPECT_EQ(check->Color(), clBtnFace);
    EXPECT_TRUE(form->ButtonRead->Visible());
    EXPECT_TRUE(form->GroupBoxToolBar->Visible());
    EXPECT_FALSE(editor->printing);
    EXPECT_EQ(form->printLists->records.Count(), 0);
}
