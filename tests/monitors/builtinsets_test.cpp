// The built-in sets as data: their sizes, every widget bound to a variable the table knows, and the marks that
// tell them apart. Their places are checked where they are painted (the screenshots).
#include "monitors/builtinsets.h"

#include <gtest/gtest.h>

#include "monitors/indicator.h"

TEST(BuiltInSets, CountsBindingsAndColours)
{
    const TBitmap emblem(8, 4);
    struct Case
    {
        int set;
        std::size_t widgets;
        BuiltInPlace place;
    };
    for (const Case& c :
         {Case{1, 13, {176, 117, 405, 236}}, Case{2, 36, {176, 117, 301, 499}}, Case{3, 55, {176, 117, 442, 554}}}) {
        SCOPED_TRACE(c.set);
        const auto widgets = BuiltInSetWidgets(c.set, &emblem);
        ASSERT_EQ(widgets.size(), c.widgets);
        const auto place = BuiltInSetPlace(c.set);
        ASSERT_TRUE(place);
        EXPECT_EQ(place->outerWidth, c.place.outerWidth);
        EXPECT_EQ(place->outerHeight, c.place.outerHeight);
        ASSERT_EQ(widgets[0]->kind, kKindPicture);
        const auto& picture = static_cast<const CMyImage&>(*widgets[0]);
        ASSERT_TRUE(picture.picture);
        EXPECT_EQ(picture.picture->Width(), 8) << "a copy of the emblem";
        EXPECT_EQ(picture.Color, clWhite) << "the picture keeps its own defaults";
        for (std::size_t i = 1; i < widgets.size(); ++i) {
            const CMyComponent& w = *widgets[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(w.Color, clBtnFace);
            EXPECT_EQ(w.focusable, 1);
            if (w.kind == kKindText) continue;
            EXPECT_NE(w.s, GetDef(0)) << "bound to a variable the table knows";
            EXPECT_EQ(w.s->id, w.id);
            EXPECT_EQ(w.AlignV, w.kind == kKindLabel ? -1 : 0);
            EXPECT_EQ(w.nprable, w.kind == kKindIndicator ? 1 : 0);
            if (w.kind == kKindIndicator) {
                const bool perCylinderAdvance = w.id >= 9211 && w.id <= 9214;
                EXPECT_EQ(static_cast<const CMyIndicator&>(w).ColorMk, perCylinderAdvance ? clBlue : clRed);
            }
        }
    }
    EXPECT_TRUE(BuiltInSetWidgets(0, &emblem).empty());
    EXPECT_TRUE(BuiltInSetWidgets(4, &emblem).empty());
    EXPECT_FALSE(BuiltInSetPlace(4));
    EXPECT_FALSE(BuiltInSetPlace(0));
    EXPECT_TRUE(BuiltInSetPlace(1000));
    const auto noEmblem = BuiltInSetWidgets(1, nullptr);
    EXPECT_FALSE(static_cast<const CMyImage&>(*noEmblem[0]).picture);
}
