// The mixture colour scale: its anchors and colours from the thresholds, its labels in both notations, the range
// bars under the gauge, and images whose thresholds a repair has not put in order.
#include "pages/lambdascale.h"

#include <gtest/gtest.h>

#include "pagefixture.h"
#include "vcl/image.h"

namespace {

constexpr int kBar = 4872;

void setThresholds(Image& image, int t0, int t1, int t2, int t3)
{
    image[kBar] = std::uint8_t(t0);
    image[kBar + 1] = std::uint8_t(t1);
    image[kBar + 2] = std::uint8_t(t2);
    image[kBar + 3] = std::uint8_t(t3);
}

class LambdaScale : public PagesTest
{
protected:
    void SetUp() override { Build(); }
};

}  // namespace

TEST(LambdaColors, AnchorsAndColoursFromTheThresholds)
{
    EXPECT_EQ(LambdaScaleAnchors(100, 125, 155, 185), (std::array<int, 7>{0, 7, 17, 40, 59, 70, 85}));
    Image image{};
    setThresholds(image, 100, 125, 155, 185);
    LambdaColorTable table{};
    ASSERT_TRUE(FillLambdaColorTable(image, table));
    EXPECT_EQ(table[0], 0x0000A0u);
    EXPECT_EQ(table[7], 0x0000FFu);
    EXPECT_EQ(table[17], 0x00FFFFu);
    EXPECT_EQ(table[40], 0x00FF00u);
    EXPECT_EQ(table[70], 0xCCCC00u);
    EXPECT_EQ(table[100], 0xFF00FFu);
    EXPECT_EQ(table[101], 0xFF00FFu);
    // Step 3 lies 3 / 7 of the way from dark blue to blue: 160 x 4/7 + 255 x 3/7 = 200.7, truncated.
    EXPECT_EQ(table[3], 0x0000C8u);
}

TEST(LambdaColors, ThresholdsOutOfOrderPaintNothingAndStayInsideTheTable)
{
    Image image{};
    LambdaColorTable table{};
    table.fill(0x123456);
    setThresholds(image, 150, 150, 150, 150);
    EXPECT_FALSE(FillLambdaColorTable(image, table));
    setThresholds(image, 200, 100, 50, 20);
    EXPECT_FALSE(FillLambdaColorTable(image, table));
    EXPECT_EQ(table[0], 0x123456u);
    // A range far wider than the table writes only the table's entries (ASan watches the rest).
    setThresholds(image, 0, 10, 20, 250);
    EXPECT_TRUE(FillLambdaColorTable(image, table));
    EXPECT_EQ(table[101], 0xFF00FFu);
}

TEST(LambdaColors, ThresholdLabelsInBothNotations)
{
    struct Case
    {
        int value;
        const char* afr;
        const char* lambda;
    };
    const Case cases[] = {{100, "10", "0.68"},   {125, "12.5", "0.85"}, {155, "15.5", "1.05"}, {185, "18.5", "1.26"},
                          {147, "14.7", "1.00"}, {140, "14", "0.95"},   {0, "0", "0.00"},      {255, "25.5", "1.73"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(LambdaThresholdText(c.value, false), c.afr);
        EXPECT_EQ(LambdaThresholdText(c.value, true), c.lambda);
    }
}

TEST_F(LambdaScale, ShowPaintsTheScaleAndLaysTheRangeBarsAlongTheGauge)
{
    setThresholds(w.images.image, 100, 125, 155, 185);
    w.CGaugeLambda->SetWidth(170);
    ShowImageOnPages(w, 0);
    // Blue 25 x 170 / 85 = 50, green 30 x 170 / 85 = 60, red the rest up to the gauge's right edge.
    EXPECT_EQ(w.LabelLambdaBlue->Left(), w.CGaugeLambda->Left());
    EXPECT_EQ(w.LabelLambdaBlue->Width(), 50);
    EXPECT_EQ(w.LabelLambdaGreen->Left(), w.CGaugeLambda->Left() + 50);
    EXPECT_EQ(w.LabelLambdaGreen->Width(), 60);
    EXPECT_EQ(w.LabelLambdaRed->Left(), w.CGaugeLambda->Left() + 110);
    EXPECT_EQ(w.LabelLambdaRed->Width(), 60);
    EXPECT_TRUE(w.LabelSnimacCkps->Visible());
    // The column at the right edge shows the last step before magenta; the first the table's entry 0.
    const TBitmap& scale = w.ImageLambdaColor->Picture();
    const int width = w.ImageLambdaColor->Width();
    const int bottom = w.ImageLambdaColor->Height() - 1;
    EXPECT_EQ(scale.Pixel(width / 2, bottom), SwapRedBlue(w.lambdaColors[std::size_t(width / 2 * 85 / width)]));
    EXPECT_EQ(scale.Pixel(width - 1, bottom), SwapRedBlue(w.lambdaColors[std::size_t((width - 1) * 85 / width)]));

    // The same thresholds equal: nothing painted, the bars stay where they were.
    setThresholds(w.images.image, 150, 150, 150, 150);
    w.ImageLambdaColor->Canvas().Pen.Color = clBlack;
    ShowImageOnPages(w, 0);
    EXPECT_EQ(w.LabelLambdaBlue->Width(), 50);
}

TEST_F(LambdaScale, ProgrammingAfterChangeTurnsRedAtTheNextShow)
{
    w.CheckBoxProgHned = w.Make<TCheckBox>(nullptr, "CheckBoxProgHned");
    setThresholds(w.images.image, 100, 125, 155, 185);
    w.CheckBoxProgHned->SetChecked(true);
    EXPECT_NE(w.CheckBoxProgHned->Color(), clRed);
    ShowImageOnPages(w, 0);
    EXPECT_EQ(w.CheckBoxProgHned->Color(), clRed);
    w.CheckBoxProgHned->SetChecked(false);
    ShowImageOnPages(w, 0);
    EXPECT_EQ(w.CheckBoxProgHned->Color(), clBtnFace);
}

// The one conversion of a stored air-fuel ratio x 10 to what the pages show in lambda notation: lambda x 100 on the
// mixture axes and maps, lambda x 1000 in the fields with three decimals, each rounded to the nearest; and back.
TEST(LambdaColors, MixturesInBothNotationsAndBack)
{
    struct Case
    {
        int afrTenths, hundredths, thousandths;
    };
    const Case cases[] = {{0, 0, 0}, {100, 68, 680}, {147, 100, 1000}, {148, 101, 1007}, {200, 136, 1361},
                          {250, 170, 1701}, {255, 173, 1735}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.afrTenths);
        EXPECT_EQ(MixturePointShown(c.afrTenths, false), c.afrTenths);
        EXPECT_EQ(MixturePointShown(c.afrTenths, true), c.hundredths);
        EXPECT_EQ(MixtureThousandthsShown(c.afrTenths), c.thousandths);
        EXPECT_EQ(MixtureThousandthsStored(c.thousandths), c.afrTenths);
    }
    // Lambda x 100 is coarser: 1.01 is the ratio 14.8, also for a byte of 149 that shows as 1.01.
    EXPECT_EQ(MixturePointShown(149, true), 101);
    EXPECT_EQ(MixturePointStored(101, true), 148);
    EXPECT_EQ(MixturePointStored(100, true), 147);
    // Within a byte.
    EXPECT_EQ(MixturePointStored(300, true), 255);
    EXPECT_EQ(MixturePointStored(-5, false), 0);
    EXPECT_EQ(MixtureThousandthsStored(680), 100);
    EXPECT_EQ(MixtureThousandthsStored(1360), 200);
}
