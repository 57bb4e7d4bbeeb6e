#include "vcl/rescache.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

TEST(ResourceCache, SameObjectTwiceAndSharedByBothFunctions)
{
    const QImage* first = GetJpgResource("BGINJG");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isNull());
    EXPECT_EQ(GetJpgResource("BGINJG"), first);
    EXPECT_EQ(GetBitmapResource("BGINJG"), first);
    EXPECT_EQ(GetJpgResource(std::string("BGINJG")), first);
}

TEST(ResourceCache, NamedPicturesExist)
{
    for (const char* name : {"BGINJB", "BGINJG", "BGWA", "BGRAINBOW7x22", "BGRAINBOW9x22", "BGRAINBOW10x22"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(GetJpgResource(name), nullptr);
    }
    for (const char* name : {"BTCHK",
                             "BTCHKSOME",
                             "BTCHK0",
                             "BTCHK1",
                             "CLBRD_COPY",
                             "CLBRD_PAST",
                             "CLBRD_COPY0",
                             "CLBRD_PAST0",
                             "CLBRD_COPYSHEET",
                             "CLBRD_PASTSHEET",
                             "BTTAB",
                             "BT2D",
                             "BT3D",
                             "LAMBDA",
                             "LAMBDA0",
                             "LAMBDA_ACT",
                             "BT_G",
                             "BT_T",
                             "BT_P",
                             "BT_nP",
                             "LOGO_QUORVANE160x80"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(GetBitmapResource(name), nullptr);
    }
    EXPECT_EQ(GetBitmapResource("LOGO_QUORVANE160x80")->size(), QSize(160, 80));
}

TEST(ResourceCache, MissingNameGivesNoneAndIsNotCached)
{
    EXPECT_EQ(GetJpgResource("NO_SUCH_PICTURE"), nullptr);
    EXPECT_EQ(GetBitmapResource("NO_SUCH_PICTURE"), nullptr);
    EXPECT_EQ(GetBitmapResource(""), nullptr);
}

}  // namespace
