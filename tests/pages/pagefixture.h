#pragma once
// A main window's page part without the shell: the page control with every page, built as at start, offscreen.
// A test may put modules of its own into page slots before building; commits are counted through the hook.
#include <gtest/gtest.h>

#include <QApplication>

#include "pages/pages.h"

class PagesTest : public testing::Test
{
protected:
    void Build()
    {
        w.pageHooks.noteImageChangeAndProgram = [this] { ++commits; };
        BuildPageControl(w, 0, 66);
        BuildAllPages(w);
        w.SetClientSize(kDesignFormWidth, 720);
        w.initialised = 1;
    }
    // Makes the window real (offscreen), so that Qt lays out the sheets and focus moves as for a person.
    void ShowWindow()
    {
        w.Show();
        QApplication::processEvents();
    }
    void SetPage(int page)
    {
        w.PageControl1->SetActivePageIndex(page);
        w.currentPage = page;
    }

    TPageForm w;
    int commits = 0;  // RefreshPages runs that reached the noting of the change
};

// Finds a control that must exist.
template <class T>
T* Control(TPageForm& w, std::string_view name)
{
    T* control = FindControl<T>(w, name);
    EXPECT_NE(control, nullptr) << name;
    return control;
}
