#include "monitors/builtinsets.h"

#include <span>

#include "monitors/indicator.h"

namespace {

enum class W { Picture, Text, Label, Value, Indicator };

// One widget of a set: what it is, its variable, place and size, the reference size of proportional resizing, and
// for indicators the style and marker colour.
struct SetRow
{
    W what;
    int id;
    int left, top, width, height;
    int ow = 0, oh = 0;
    int style = kStyleHorizontal;
    TColor marker = clRed;
};

constexpr W P = W::Picture, L = W::Label, V = W::Value, I = W::Indicator;
constexpr int H = kStyleHorizontal, U = kStyleVertical, D = kStyleDial;

constexpr SetRow kSet1[] = {
    {P, 0, 150, 0, 88, 48},
    {I, 1170, 149, 99, 96, 69, 80, 32, D},
    {I, 1160, 0, 0, 180, 160, 80, 32, D},
    {W::Text, 0, 57, 124, 65, 26, 87, 35},
    {I, 1020, 131, 172, 266, 15, 80, 32, H},
    {L, 1020, 0, 167, 59, 20, 105, 35},
    {V, 1020, 72, 162, 50, 28, 64, 35},
    {V, 1160, 64, 18, 51, 43, 42, 35},
    {L, 1170, 224, 156, 68, 14, 167, 35},
    {V, 1170, 190, 97, 14, 35, 0, 0},
    {I, 1010, 217, 1, 180, 160, 80, 32, D},
    {L, 1010, 283, 115, 54, 35, 0, 0},
    {V, 1010, 262, 26, 83, 42, 70, 35},
};

constexpr SetRow kSet2[] = {
    {P, 0, 184, 403, 109, 53},
    {I, 1030, 0, 89, 83, 68, 80, 32, D},
    {I, 1020, 199, 95, 94, 76, 80, 32, D},
    {I, 1110, 136, 314, 28, 32, 80, 32, U},
    {I, 1120, 136, 349, 28, 32, 80, 32, U},
    {I, 1130, 136, 384, 28, 32, 80, 32, U},
    {V, 1130, 76, 380, 50, 35, 0, 0},
    {I, 1140, 136, 419, 28, 32, 80, 32, U},
    {V, 1140, 86, 415, 42, 35, 0, 0},
    {V, 1110, 83, 310, 42, 35, 0, 0},
    {V, 1120, 83, 345, 42, 35, 0, 0},
    {I, 1210, 203, 175, 80, 20, 80, 32, H},
    {I, 1220, 203, 208, 80, 20, 80, 32, H},
    {I, 1230, 203, 244, 80, 20, 80, 32, H},
    {L, 1210, 6, 177, 110, 20, 192, 35},
    {L, 1220, 6, 210, 126, 20, 220, 35},
    {I, 1240, 203, 277, 80, 20, 80, 32, H},
    {L, 1240, 6, 280, 137, 20, 239, 35},
    {V, 1240, 145, 269, 50, 35, 0, 0},
    {L, 1110, 9, 320, 58, 20, 102, 35},
    {L, 1120, 9, 355, 52, 20, 94, 35},
    {L, 1140, 9, 425, 64, 20, 117, 35},
    {L, 1020, 222, 154, 36, 13, 105, 35},
    {V, 1020, 221, 105, 50, 28, 64, 35},
    {I, 1010, 54, 1, 178, 155, 80, 32, D},
    {L, 1010, 113, 111, 54, 35, 0, 0},
    {V, 1010, 101, 26, 83, 42, 70, 35},
    {V, 1030, 22, 97, 36, 26, 50, 35},
    {L, 1030, 10, 155, 62, 12, 180, 35},
    {L, 1230, 6, 245, 137, 20, 239, 35},
    {V, 1210, 158, 166, 28, 35, 0, 0},
    {V, 1220, 150, 200, 42, 35, 0, 0},
    {V, 1230, 145, 234, 50, 35, 0, 0},
    {L, 1130, 9, 390, 62, 20, 107, 35},
    {L, 1150, 198, 321, 38, 20, 66, 35},
    {V, 1150, 203, 340, 35, 25, 50, 35},
};

constexpr SetRow kSet3[] = {
    {P, 0, 150, 0, 74, 37},
    {L, 9000, 0, 0, 150, 35},
    {L, 9010, 14, 35, 239, 35},
    {I, 1020, 253, 185, 156, 12, 80, 32, H},
    {V, 1020, 340, 156, 64, 35},
    {I, 9014, 122, 185, 80, 20, 80, 32, H},
    {L, 9014, 20, 175, 32, 35},
    {V, 9014, 62, 175, 50, 35},
    {I, 9013, 122, 150, 80, 20, 80, 32, H},
    {L, 9013, 20, 140, 32, 35},
    {V, 9013, 62, 140, 50, 35},
    {L, 1020, 251, 160, 82, 27, 105, 35},
    {I, 9012, 122, 116, 80, 20, 80, 32, H},
    {L, 9012, 20, 105, 32, 35},
    {V, 9012, 62, 105, 50, 35},
    {I, 9011, 122, 80, 80, 20, 80, 32, H},
    {L, 9011, 20, 70, 32, 35},
    {V, 9011, 62, 70, 50, 35},
    {I, 1010, 233, 0, 199, 155, 80, 32, D},
    {L, 1010, 303, 111, 54, 35},
    {V, 1010, 292, 26, 83, 42, 70, 35},
    {I, 9024, 122, 360, 80, 20, 80, 32, H},
    {L, 9024, 20, 350, 32, 35},
    {V, 9024, 62, 350, 50, 35},
    {I, 9023, 122, 325, 80, 20, 80, 32, H},
    {L, 9023, 20, 315, 32, 35},
    {V, 9023, 62, 315, 50, 35},
    {I, 9022, 122, 290, 80, 20, 80, 32, H},
    {L, 9022, 20, 280, 32, 35},
    {V, 9022, 62, 280, 50, 35},
    {I, 9021, 122, 255, 80, 20, 80, 32, H},
    {V, 9021, 62, 245, 50, 35},
    {I, 9040, 237, 430, 156, 20, 80, 32, H},
    {L, 9040, 10, 420, 165, 35},
    {V, 9040, 185, 420, 42, 35},
    {I, 9030, 237, 395, 156, 20, 80, 32, H},
    {V, 9030, 185, 385, 42, 35},
    {I, 9211, 312, 254, 80, 20, 80, 32, H, clBlue},
    {V, 9211, 274, 245, 28, 35},
    {I, 9212, 312, 289, 80, 20, 80, 32, H, clBlue},
    {L, 9212, 249, 280, 15, 35},
    {V, 9212, 274, 280, 28, 35},
    {I, 9213, 312, 324, 80, 20, 80, 32, H, clBlue},
    {L, 9213, 249, 315, 15, 35},
    {V, 9213, 274, 315, 28, 35},
    {I, 9214, 312, 359, 80, 20, 80, 32, H, clBlue},
    {L, 9214, 249, 350, 15, 35},
    {V, 9214, 274, 350, 28, 35},
    {L, 9050, 11, 454, 302, 35},
    {L, 9030, 10, 385, 165, 35},
    {V, 9050, 318, 455, 42, 35, 42, 35},
    {L, 9020, 10, 210, 239, 35},
    {L, 9200, 237, 210, 192, 35},
    {L, 9211, 249, 245, 15, 35},
    {L, 9021, 20, 245, 32, 35},
};

std::span<const SetRow> rowsOf(int set)
{
    switch (set) {
        case 1:
            return kSet1;
        case 2:
            return kSet2;
        case 3:
            return kSet3;
        default:
            return {};
    }
}

std::unique_ptr<CMyComponent> makeWidget(const SetRow& row, const TBitmap* emblem)
{
    if (row.what == W::Picture) {
        auto picture = std::make_unique<CMyImage>();
        if (emblem && !emblem->Empty()) picture->picture = std::make_unique<TBitmap>(*emblem);
        picture->Left = row.left;
        picture->Top = row.top;
        picture->Width = row.width;
        picture->Height = row.height;
        return picture;
    }
    std::unique_ptr<CMyComponent> w;
    switch (row.what) {
        case W::Text: {
            auto text = std::make_unique<CMyText>();
            text->SetStr("[km/h]");
            text->minw = 4;
            text->minh = 12;
            w = std::move(text);
            break;
        }
        case W::Label: {
            auto label = std::make_unique<CMyLabel>();
            label->AlignV = -1;
            label->units = 1;
            label->minw = 4;
            label->minh = 12;
            label->ColorMk = clBlack;
            w = std::move(label);
            break;
        }
        case W::Value: {
            auto value = std::make_unique<CMyValue>();
            value->minw = 4;
            value->minh = 4;
            value->ColorMk = clBlack;
            w = std::move(value);
            break;
        }
        default: {
            auto indicator = std::make_unique<CMyIndicator>();
            indicator->nprable = 1;
            indicator->minw = 10;
            indicator->minh = 4;
            indicator->ColorMk = row.marker;
            indicator->Style = row.style;
            w = std::move(indicator);
            break;
        }
    }
    if (row.what != W::Indicator) w->nprable = 0;
    w->focusable = 1;
    w->rszable = 1;
    w->Color = clBtnFace;
    w->ltframe = clWhite;
    w->dkframe = clSilver;
    w->Down = 0;
    w->TextColor = clBlack;
    w->AlignH = 0;
    w->maxw = 1000;
    w->maxh = 1000;
    w->Left = row.left;
    w->Top = row.top;
    w->Width = row.width;
    w->Height = row.height;
    w->ow = row.ow;
    w->oh = row.oh;
    w->id = row.id;
    w->s = GetDef(row.id);
    return w;
}

}  // namespace

std::optional<BuiltInPlace> BuiltInSetPlace(int set)
{
    switch (set) {
        case 1:
            return BuiltInPlace{176, 117, 405, 236};
        case 2:
            return BuiltInPlace{176, 117, 301, 499};
        case 3:
            return BuiltInPlace{176, 117, 442, 554};
        case 1000:
            return BuiltInPlace{200, 320, 874, 392};
        default:
            return std::nullopt;
    }
}

std::vector<std::unique_ptr<CMyComponent>> BuiltInSetWidgets(int set, const TBitmap* emblem)
{
    std::vector<std::unique_ptr<CMyComponent>> widgets;
    for (const SetRow& row : rowsOf(set)) widgets.push_back(makeWidget(row, emblem));
    return widgets;
}
