#include "pages/lambdascale.h"

#include <algorithm>
#include <charconv>

#include "mapeditor/sheet.h"

#include "settings/layout.h"
#include "vcl/image.h"

namespace {

constexpr int kThresholds = layoutOffset("LAMBDA_BAR");  // four bytes
constexpr int kNotation = 5029;  // 0: mixtures shown as air-fuel ratio, else as lambda (the layout lists it as free)
constexpr std::uint32_t kMagentaRgb = 0xFF00FF;
constexpr std::array<std::uint32_t, kLambdaAnchorCount> kAnchorColors = {
    0x0000A0,  // dark blue
    0x0000FF,  // blue
    0x00FFFF,  // cyan
    0x00FF00,  // green
    0xFFFF00,  // yellow
    0xCCCC00,  // olive
    0xFF00FF,  // magenta
};
constexpr int kScaleFontPoints = 6;

std::uint32_t blend(std::uint32_t from, std::uint32_t to, double u)
{
    std::uint32_t colour = 0;
    for (int shift : {16, 8, 0}) {
        const double a = (from >> shift) & 0xFF;
        const double b = (to >> shift) & 0xFF;
        colour |= static_cast<std::uint32_t>(a * (1 - u) + b * u) << shift;
    }
    return colour;
}

std::string fixed(double value, int decimals)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

}  // namespace

std::array<int, kLambdaAnchorCount> LambdaScaleAnchors(int t0, int t1, int t2, int t3)
{
    const int d1 = t1 - t0, d2 = t2 - t0, d3 = t3 - t0;
    return {0,
            static_cast<int>(0.3 * d1),
            static_cast<int>(0.7 * d1),
            (d1 + d2) / 2,
            d2 + static_cast<int>(0.15 * (d3 - d2)),
            d2 + static_cast<int>(0.5 * (d3 - d2)),
            d3};
}

bool FillLambdaColorTable(const Image& image, LambdaColorTable& table)
{
    const int t0 = image[kThresholds], t1 = image[kThresholds + 1];
    const int t2 = image[kThresholds + 2], t3 = image[kThresholds + 3];
    if (t3 <= t0) return false;
    const auto a = LambdaScaleAnchors(t0, t1, t2, t3);
    for (int k = 0; k + 1 < kLambdaAnchorCount; ++k) {
        const int span = a[std::size_t(k) + 1] - a[std::size_t(k)];
        for (int j = a[std::size_t(k)]; j < a[std::size_t(k) + 1]; ++j) {
            if (j < 0 || j >= kLambdaColorCount) continue;
            const double u = static_cast<double>(j - a[std::size_t(k)]) / span;
            table[std::size_t(j)] = blend(kAnchorColors[std::size_t(k)], kAnchorColors[std::size_t(k) + 1], u);
        }
    }
    table[100] = kMagentaRgb;
    table[101] = kMagentaRgb;
    return true;
}

std::string LambdaThresholdText(int value, bool lambdaNotation)
{
    if (lambdaNotation) return fixed(value * 0.1 / 14.7, 2);
    if (value % 10 == 0) return std::to_string(value / 10);
    return fixed(value * 0.1, 1);
}

void PaintLambdaScale(TPageForm& w)
{
    const Image& image = w.images.image;
    if (!FillLambdaColorTable(image, w.lambdaColors) || !w.ImageLambdaColor) return;
    const int t0 = image[kThresholds], t1 = image[kThresholds + 1];
    const int t2 = image[kThresholds + 2], t3 = image[kThresholds + 3];
    const int d3 = t3 - t0;
    const int width = std::max(1, w.ImageLambdaColor->Width());
    const int height = w.ImageLambdaColor->Height();
    const std::array<int, 7> key = {t0, t1, t2, t3, image[kNotation] != 0, width, height};
    if (key == w.lambdaScalePainted) return;
    w.lambdaScalePainted = key;
    TCanvas& canvas = w.ImageLambdaColor->Canvas();
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    for (int x = 0; x < width; ++x) {
        // Mixture steps past the table's end are drawn as its last entry, magenta.
        const int entry = std::min(x * d3 / width, kLambdaColorCount - 1);
        canvas.Pen.Color = SwapRedBlue(w.lambdaColors[std::size_t(entry)]);
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, height);
    }
    canvas.Font.Size = kScaleFontPoints;
    canvas.Brush.Style = bsClear;
    const bool lambda = image[kNotation] != 0;
    auto label = [&canvas](const std::string& text, int x, TColor color, TColor shadow) {
        canvas.Font.Color = shadow;
        canvas.TextOut(x + 1, 1, text);
        canvas.Font.Color = color;
        canvas.TextOut(x, 0, text);
    };
    label(LambdaThresholdText(t0, lambda), 0, clWhite, clBlack);
    const std::string last = LambdaThresholdText(t3, lambda);
    // The shadow stands one pixel right of the text: the last value keeps both inside the picture.
    label(last, width - canvas.TextWidth(last) - 1, clWhite, clBlack);
    for (int t : {t1, t2}) {
        const std::string text = LambdaThresholdText(t, lambda);
        label(text, width * (t - t0) / d3 - canvas.TextWidth(text) / 2, clBlack, clWhite);
    }
    canvas.Release();
}

void ShowLambdaScale(TPageForm& w)
{
    PaintLambdaScale(w);
    if (w.CheckBoxProgHned) w.CheckBoxProgHned->SetColor(w.CheckBoxProgHned->Checked() ? clRed : clBtnFace);
    for (TLabel* label : {w.LabelSnimacCkps, w.LabelSnimacCmps})
        if (label) label->SetVisible(true);
    const Image& image = w.images.image;
    const int t0 = image[kThresholds], t1 = image[kThresholds + 1];
    const int t2 = image[kThresholds + 2], t3 = image[kThresholds + 3];
    TCGauge* gauge = w.CGaugeLambda;
    if (t3 <= t0 || !gauge || !w.LabelLambdaBlue || !w.LabelLambdaGreen || !w.LabelLambdaRed) return;
    const int width = gauge->Width(), d3 = t3 - t0;
    w.LabelLambdaBlue->SetLeft(gauge->Left());
    w.LabelLambdaBlue->SetWidth((t1 - t0) * width / d3);
    w.LabelLambdaGreen->SetLeft(w.LabelLambdaBlue->Left() + w.LabelLambdaBlue->Width());
    w.LabelLambdaGreen->SetWidth((t2 - t1) * width / d3);
    w.LabelLambdaRed->SetLeft(w.LabelLambdaGreen->Left() + w.LabelLambdaGreen->Width());
    w.LabelLambdaRed->SetWidth(gauge->Left() + width - w.LabelLambdaRed->Left());
}

int MixturePointShown(int afrTenths, bool lambdaNotation)
{
    return lambdaNotation ? int(afrTenths * 10 / 14.7 + 0.5) : afrTenths;
}

int MixturePointStored(int shown, bool lambdaNotation)
{
    return std::clamp(lambdaNotation ? int(shown * 14.7 * 0.1 + 0.5) : shown, 0, 255);
}

int MixtureThousandthsShown(int afrTenths)
{
    return int(afrTenths * 100 / 14.7 + 0.5);
}

int MixtureThousandthsStored(int lambdaThousandths)
{
    return int(lambdaThousandths * 14.7 * 0.01 + 0.5);
}

bool SetMixtureAxis(CAxe& axis, bool lambdaNotation)
{
    const double scale = lambdaNotation ? 0.01 : 0.1;
    axis.label = lambdaNotation ? "Lambda" : "AFR";
    axis.min = 0;
    axis.max = lambdaNotation ? 170 : 250;
    if (axis.scale == scale) return false;
    axis.scale = scale;
    return true;
}
