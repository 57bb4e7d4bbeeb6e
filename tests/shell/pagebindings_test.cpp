// Every bound control of the pages in the started window, with a model's settings loaded, changed as a person
// changes it: exactly its field changes, once, and undo takes it back.
#include <gtest/gtest.h>

#include "bindingwalk.h"
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
