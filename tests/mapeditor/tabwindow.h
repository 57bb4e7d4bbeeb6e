#pragma once
// The map editor fixture in an offscreen window, with the helpers a person's input needs: the point of a cell,
// clicks, the wheel, keys and typing; every edit the page is told is counted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <memory>

#include "memclipboard.h"
#include "os/lngtext.h"
#include "tabfixture.h"
#include "vcl/customcontrol.h"

class TabWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguageIndex(LNG_ENGLISH);
        vcl::SetKeyStateSource([] { return 0u; });
        window = std::make_unique<QWidget>();
        window->resize(800, 420);
        tab = MakeFixtureTab(window.get(), 760, 380, &clip);
        tab->SetBounds(20, 20, 760, 380);
        tab->hooks.mapEdited = [this](TTab&) { ++edits; };
        window->show();
        QApplication::setActiveWindow(window.get());
        tab->SetFocus();
        ticks(1);
    }
    void TearDown() override { vcl::SetKeyStateSource(nullptr); }

    QWidget* w() { return tab->Widget(); }
    CSheet& sheet() { return *tab->Current(); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) tab->Tick();
    }
    // The centre of a shown cell (column -1: its Y head, row -1: its X head).
    QPoint cellPoint(int column, int row)
    {
        const TabLayout& L = tab->layout;
        const double x = column < 0 ? L.tableLeft + L.yHeadWidth / 2.0
                                    : L.cellsLeft + (column - sheet().x.firstVisible + 0.5) * L.cellWidth;
        const double y = row < 0 ? L.tableTop + L.headHeight / 2.0
                                 : L.cellsTop + (row - sheet().y.firstVisible + 0.5) * L.cellHeight;
        return QPoint(static_cast<int>(x), static_cast<int>(y));
    }
    QPoint centreOf(const TRect& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    void click(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseMove(w(), p);
        QTest::mousePress(w(), Qt::LeftButton, modifiers, p);
        QTest::mouseRelease(w(), Qt::LeftButton, modifiers, p);
    }
    void wheel(QPoint p, int delta)
    {
        QWheelEvent e(p, w()->mapToGlobal(p), {}, {0, delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w(), &e);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(w(), k, modifiers); }
    void type(const char* text)
    {
        for (const char* c = text; *c; ++c) QTest::keyClick(w(), *c);
    }
    std::int32_t value(int c, int r) { return sheet().value(c, r); }

    MemClipboard clip;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<TTab> tab;
    int edits = 0;
};
