// The decimal pair's classes: their defaults, their class names (which the page binding asks for) and the
// framework behaviour they keep from their bases.
#include "vcl/deciedit.h"

#include <QWidget>
#include <memory>

#include <gtest/gtest.h>

#include "vcl/forms.h"

TEST(DeciPair, DefaultsAndClassNames)
{
    TForm form;
    auto* edit = form.Make<TDeciEdit>(nullptr, "EditDeci");
    auto* upDown = form.Make<TDeciUpDown>(nullptr, "UpDownDeci");
    EXPECT_EQ(edit->PairedUpDown, nullptr);
    EXPECT_EQ(edit->TextGuard, 0);
    EXPECT_EQ(upDown->PairedEdit, nullptr);
    EXPECT_EQ(upDown->Divisor, 1);
    EXPECT_EQ(upDown->PositionGuard, 0);
    const TControl* asControls[] = {edit, upDown};
    EXPECT_STREQ(asControls[0]->ClassName(), "TDeciEdit");
    EXPECT_STREQ(asControls[1]->ClassName(), "TDeciUpDown");
    EXPECT_EQ(form.FindComponent("UpDownDeci"), upDown);
}

// The up-down has no buddy: its position is its own, and the paired edit shows only what the page's handler
// writes. The edit keeps the framework's rule that text set from code fires OnChange.
TEST(DeciPair, KeepsTheFrameworkRulesWithoutABuddy)
{
    TForm form;
    auto* edit = form.Make<TDeciEdit>(nullptr, "EditDeci");
    auto* upDown = form.Make<TDeciUpDown>(nullptr, "UpDownDeci");
    PairDeci(*edit, *upDown);
    EXPECT_EQ(edit->PairedUpDown, upDown);
    EXPECT_EQ(upDown->PairedEdit, edit);

    int changes = 0;
    edit->OnChange = [&changes](TObject*) { ++changes; };
    upDown->SetRange(100, 200);
    upDown->Divisor = 10;
    upDown->SetPosition(250);
    EXPECT_EQ(upDown->Position(), 200);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(changes, 0);
    edit->SetText("15.5");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(upDown->Position(), 200);
}

// A form frees its controls one at a time; the partner left behind must not point at a freed control.
TEST(DeciPair, FreeingOnePartnerUnpairsTheOther)
{
    QWidget host;
    for (bool freeEditFirst : {true, false}) {
        SCOPED_TRACE(freeEditFirst ? "edit freed first" : "up-down freed first");
        auto edit = std::make_unique<TDeciEdit>(&host);
        auto upDown = std::make_unique<TDeciUpDown>(&host);
        PairDeci(*edit, *upDown);
        if (freeEditFirst) {
            edit.reset();
            EXPECT_EQ(upDown->PairedEdit, nullptr);
        } else {
            upDown.reset();
            EXPECT_EQ(edit->PairedUpDown, nullptr);
        }
    }
}
