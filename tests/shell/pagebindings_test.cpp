// Every bound control of the pages in the started window, with a model's settings loaded, changed as a person
// changes it: exactly its field changes, once, and undo takes it back.
#include <gtest/gtest.h>

#include <map>
#include <string_view>

#include "bindingwalk.h"
#include "mapeditor/tab.h"
#include "pages/mapgrids.h"
#include "startedform.h"

namespace {

class PageBindingsTest : public StartedFormTest
{
protected:
    void open(int page)
    {
        form->PageControl1->SetActivePageIndex(page);
        form->PageControl1Change(form->PageControl1);
        ASSERT_EQ(form->currentPage, page);
    }
};

}  // namespace

TEST_F(PageBindingsTest, EveryBoundControlChangesExactlyItsField)
{
    ASSERT_TRUE(form->pageBuildProblems.empty()) << testing::PrintToString(form->pageBuildProblems);
    const struct
    {
        int page;
        int rows;
    } pages[] = {{PAGE_BIKE, 16}, {PAGE_TEST, 7}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        open(p.page);
        EXPECT_EQ(bindingwalk::Walk(*form, p.page), p.rows);
    }
    EXPECT_TRUE(dialogs.Messages().empty());
}

// The advance and injection pages show some controls by the cylinders in use and by the map sheet shown: a person
// brings each into view first.
TEST_F(PageBindingsTest, MapPagesControlsChangeExactlyTheirFields)
{
    form->images.image[2680] = 4;
    form->images.image[4892] = 0;  // injector B's group shown
    // A transition whose minima lie below their maxima, which the repair keeps so.
    form->images.image[3818] = 10;
    form->images.image[3819] = 50;
    form->images.image[3820] = 20;
    form->images.image[3821] = 100;
    ShowImageOnPages(*form, 1);
    open(PAGE_ADVANCE);
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_ADVANCE), 6);

    open(PAGE_INJECTION);
    TTab* editor = form->mapEditors[kInjectionEditorId];
    ASSERT_NE(editor, nullptr);
    // The sheet that shows each control: 0 the injector maps, 4 and 7 the compensations, 5 injector B, 6 pressure.
    const std::map<std::string_view, int> sheetOf = {
        {"UpDownInjCyl1", 6}, {"UpDownInjCyl2", 6}, {"UpDownInjCyl3", 6}, {"UpDownInjCyl4", 6},
        {"UpDownInjCompLimit", 4}, {"CheckBoxInjCorrectResult", 7}, {"CheckBoxInjBCorrections", 5},
        {"CheckBoxInjBStepper", 5}, {"RadioGroupInjBLoad", 5}};
    EXPECT_EQ(bindingwalk::Walk(*form, PAGE_INJECTION,
                                [&](const FieldBinding& row) {
                                    const auto it = sheetOf.find(row.control);
                                    editor->SelectSheet(it == sheetOf.end() ? 0 : it->second);
                                    ShowImageOnPages(*form, 0);
                                }),
              14);
    EXPECT_TRUE(dialogs.Messages().empty());
}
