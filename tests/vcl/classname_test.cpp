#include "vcl/classname.h"

#include <gtest/gtest.h>

#include "vcl/controls.h"
#include "vcl/forms.h"

TEST(ControlClassName, DropsTheFirstLetter)
{
    TForm form;
    EXPECT_EQ(ControlClassName(*form.Make<TLabel>(nullptr, "Label1")), "Label");
    EXPECT_EQ(ControlClassName(*form.Make<TCGauge>(nullptr, "CGauge1")), "CGauge");
    EXPECT_EQ(ControlClassName(form), "Form");
}
