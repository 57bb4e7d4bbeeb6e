#include "shell/printing.h"

#include <QMainWindow>
#include <QPainter>
#include <QPrinter>
#include <QRect>
#include <memory>
#include <string>
#include <string_view>

#include "mapeditor/tab.h"
#include "shell/mainform.h"
#include "vcl/classname.h"
#include "vcl/controls.h"
#include "vcl/dialogs.h"
#include "vcl/forms.h"

namespace {

struct ClassCodeRow
{
    std::string_view name;  // class name without its first letter
    int code;
};
constexpr ClassCodeRow kClassCodes[] = {
    {"Label", 1},        {"UpDown", 2},  {"DeciUpDown", 3}, {"RadioButton", 4}, {"RadioGroup", 5},
    {"CheckBox", 6},     {"ComboBox", 7}, {"Button", 8},    {"GroupBox", 9},    {"Tab", 10},
    {"PageControl", 15}, {"TabSheet", 16}, {"CGauge", 17},  {"Image", 18},      {"Edit", 19},
    {"BitBtn", 21},      {"SpeedButton", 22}, {"Bevel", 23}, {"StatusBar", 24}, {"Memo", 25},
    {"DeciEdit", 26},    {"ScrollBar", 27},
};

}  // namespace

int PrintClassCode(const TControl& control)
{
    const std::string name = ControlClassName(control);
    for (const ClassCodeRow& row : kClassCodes)
        if (row.name == name) return row.code;
    return 0;
}

namespace {

// Status and tool controls that paper has no use for, hidden before anything else.
constexpr const char* kFixedControls[] = {"LabelPocetProgramovani", "GroupBoxToolBar", "CheckBoxProgHned",
                                          "LabelConnection",        "LabelVersion",    "LabelLambdaBlue",
                                          "LabelLambdaGreen",       "LabelLambdaRed",  "LabelCongruence"};

ColourMemo colourOf(const TControl& control)
{
    return {control.Color(), control.ColorSet(), control.Widget()->palette()};
}

void putBack(TControl& control, const ColourMemo& memo)
{
    control.RestoreColor(memo.color, memo.set, memo.palette);
}

void record(TMainForm& w, TControl* control, int code, int kind)
{
    // Owned by the list once inserted; kept here until then, so that a list out of memory loses nothing.
    auto change = std::make_unique<CPrintObj>(control, code, kind, kind == kPrintColour ? control->Color() : clBtnFace);
    if (kind == kPrintColour) change->colour = colourOf(*control);
    w.printLists->records.Insert(change.get());
    (void)change.release();
}

void hideRecorded(TMainForm& w, TControl* control, int code)
{
    if (!control->Visible()) return;  // hidden before: stays hidden afterwards
    record(w, control, code, kPrintHidden);
    control->SetVisible(false);
}

// The window as the screen shows it, without its menu bar (the client area and the status bar).
QImage windowImage(TMainForm& w)
{
    QMainWindow* window = w.Window();
    const QWidget* menu = window->menuWidget();
    const int top = menu != nullptr && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0;
    return window->grab(QRect(0, top, window->width(), window->height() - top)).toImage();
}

// Every page image scaled to fit the printable area with its proportions kept, one sheet of paper each.
bool printImages(QPrinter& printer, const std::vector<QImage>& pages)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) return false;
        const QRect area = painter.viewport();
        const QSize size = pages[i].size().scaled(area.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(area.left() + (area.width() - size.width()) / 2, area.top(), size.width(),
                                size.height()),
                          pages[i]);
    }
    return painter.end();
}

// The controls of a container in its order; a page control's sheets in page order, as its tabs show them.
std::vector<TControl*> childrenInOrder(const TControl& container)
{
    if (PrintClassCode(container) != 15) return container.Controls();
    const auto& pages = static_cast<const TPageControl&>(container);
    std::vector<TControl*> sheets;
    for (int i = 0; i < pages.PageCount(); ++i) sheets.push_back(pages.Page(i));
    return sheets;
}

int visibleTabs(const TPageControl& pages)
{
    int count = 0;
    for (int i = 0; i < pages.PageCount(); ++i) count += pages.Page(i)->TabVisible() ? 1 : 0;
    return count;
}

void printWindow(TMainForm& w, bool allSheets)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName("Kelvora");
    // Asked first: a cancelled dialog leaves the window exactly as it was.
    if (!ExecutePrintDialog(printer, allSheets ? visibleTabs(*w.PageControl1) : 1)) return;
    w.CheckBoxProgHned->SetFocus();
    if (allSheets) ShowImageOnPages(w, 1);
    const std::vector<QImage> pages = PrintPageImages(w, allSheets);
    if (!printImages(printer, pages)) {
        const std::string target = printer.outputFileName().isEmpty() ? printer.printerName().toStdString()
                                                                       : printer.outputFileName().toStdString();
        MessageBox("The window could not be printed on " + target + ".", "Error", MB_OK | MB_ICONSTOP);
    }
}

}  // namespace


void PrepareForPrint(TMainForm& w, TControl* container)
{
    TControl& box = container != nullptr ? *container : static_cast<TControl&>(w);
    PrintLists& lists = *w.printLists;
    if (!lists.coloursKept) {
        lists.window = colourOf(w);
        lists.statusBar = colourOf(*w.StatusBar1);
        lists.coloursKept = true;
    }
    w.SetColor(clWhite);
    w.StatusBar1->SetColor(clWhite);
    for (const char* name : kFixedControls)
        if (auto* control = static_cast<TControl*>(w.FindComponent(name))) hideRecorded(w, control, 0);
    for (TControl* child : childrenInOrder(box)) {
        const int code = PrintClassCode(*child);
        if (code == 9 || code == 15 || code == 16) PrepareForPrint(w, child);
        switch (code) {
            case 1: {
                auto* label = static_cast<TLabel*>(child);
                if (label->Color() == clBtnFace && !label->Transparent()) {
                    label->SetTransparent(true);
                    record(w, child, code, kPrintTransparentLabel);
                }
                break;
            }
            case 2:
            case 8:
            case 17:
            case 21:
            case 27:
                hideRecorded(w, child, code);
                break;
            case 5:
            case 6:
                if (child->Color() == clBtnFace) {
                    record(w, child, code, kPrintColour);
                    child->SetColor(clWhite);
                }
                break;
            case 9:
                if (child->Color() != clWhite) {
                    record(w, child, code, kPrintColour);
                    child->SetColor(clWhite);
                }
                break;
            case 10:
                if (child->Visible()) {
                    record(w, child, code, kPrintMapEditor);
                    static_cast<TTab*>(child)->BeginPrint();
                }
                break;
            case 16:
                if (static_cast<TTabSheet*>(child)->TabVisible()) w.printLists->sheets.Insert(child);
                break;
            default:
                break;
        }
    }
}

void RestoreAfterPrint(TMainForm& w)
{
    // The button face, which the window and its status bar always have outside a print: put back exactly as it
    // was drawn, since a colour set on the window reaches every control on it.
    PrintLists& lists = *w.printLists;
    if (lists.coloursKept) {
        putBack(w, lists.window);
        putBack(*w.StatusBar1, lists.statusBar);
        lists.coloursKept = false;
    }
    CLISTOBJ& records = lists.records;
    for (int i = 0; i < records.Count(); ++i) {
        const auto* change = static_cast<const CPrintObj*>(records.Object(i));
        switch (change->classCode) {
            case 0:
            case 2:
            case 8:
            case 17:
            case 21:
            case 27:
                change->control->SetVisible(true);
                break;
            case 1:
                static_cast<TLabel*>(change->control)->SetTransparent(false);
                break;
            case 5:
            case 6:
            case 9:
                putBack(*change->control, change->colour);
                break;
            case 10:
                static_cast<TTab*>(change->control)->EndPrint();
                break;
            default:
                break;
        }
    }
    records.DeleteAll();
    lists.sheets.Clear();
}

std::vector<QImage> PrintPageImages(TMainForm& w, bool allSheets)
{
    // Whatever happens while the pages are taken, the window gets its tabs, its page and its look back.
    struct Restore
    {
        TMainForm& w;
        bool tabs = false;
        int activePage = 0;
        ~Restore()
        {
            if (tabs) {
                CLIST& sheets = w.printLists->sheets;
                for (int i = 0; i < sheets.Count(); ++i) static_cast<TTabSheet*>(sheets.Item(i))->SetTabVisible(true);
                w.PageControl1->SetActivePageIndex(activePage);
            }
            RestoreAfterPrint(w);
        }
    } restore{w};
    PrepareForPrint(w);
    std::vector<QImage> pages;
    if (!allSheets) {
        pages.push_back(windowImage(w));
        return pages;
    }
    restore.tabs = true;
    restore.activePage = w.PageControl1->ActivePageIndex();
    CLIST& sheets = w.printLists->sheets;
    for (int i = 0; i < sheets.Count(); ++i) {
        auto* sheet = static_cast<TTabSheet*>(sheets.Item(i));
        for (int j = 0; j < sheets.Count(); ++j) static_cast<TTabSheet*>(sheets.Item(j))->SetTabVisible(i == j);
        sheet->PageControl()->SetActivePage(sheet);
        pages.push_back(windowImage(w));
    }
    return pages;
}

void TMainForm::SpeedButtonPrintClick(TObject*)
{
    printWindow(*this, false);
}

void TMainForm::MenuPrintAllClick(TObject*)
{
    printWindow(*this, true);
}
