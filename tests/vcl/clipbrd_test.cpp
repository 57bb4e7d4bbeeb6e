// The system clipboard through the layer, inside one process (two processes: tests/mapeditor, under Xvfb).
#include "vcl/clipbrd.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "vcl/graphics.h"

TEST(Clipboard, PrivateFormatsAreNamedMimeTypes)
{
    const unsigned id = TClipboard::RegisterClipboardFormat("CF_QUORVANE_SHEET");
    EXPECT_GE(id, 0xC000u);
    EXPECT_EQ(TClipboard::RegisterClipboardFormat("CF_QUORVANE_SHEET"), id);
    EXPECT_NE(TClipboard::RegisterClipboardFormat("OTHER"), id);
    EXPECT_EQ(TClipboard::MimeType(id), "application/x-kelvora-cf-quorvane-sheet");
    EXPECT_EQ(TClipboard::MimeType(CF_TEXT), "text/plain");
    EXPECT_EQ(TClipboard::MimeType(0xC0FF), "");
}

TEST(Clipboard, OneSessionPutsBothFormats)
{
    const unsigned id = TClipboard::RegisterClipboardFormat("CF_QUORVANE_SHEET");
    TClipboard& clip = Clipboard();
    ASSERT_TRUE(clip.Open());
    EXPECT_FALSE(clip.Open());  // one session at a time
    clip.Clear();
    clip.SetText("1\t2\nČ");
    clip.SetFormatData(id, std::string("Label:\t\x8a\0x", 9));
    clip.Close();
    EXPECT_TRUE(clip.HasFormat(CF_TEXT));
    EXPECT_TRUE(clip.HasFormat(id));
    EXPECT_EQ(clip.Text(100), "1\t2\nČ");
    EXPECT_EQ(clip.FormatData(id, 100), std::string("Label:\t\x8a\0x", 9));
    EXPECT_EQ(clip.FormatData(id, 5), std::nullopt);  // longer than the reader takes

    // Another program's text alone: no private format any more.
    ASSERT_TRUE(clip.Open());
    clip.Clear();
    clip.SetText("from elsewhere");
    clip.Close();
    EXPECT_FALSE(clip.HasFormat(id));
    EXPECT_EQ(clip.FormatData(id, 100), std::nullopt);

    TBitmap picture(3, 2);
    ASSERT_TRUE(clip.Open());
    clip.Clear();
    clip.Assign(picture);
    clip.Close();
    EXPECT_TRUE(clip.HasFormat(CF_BITMAP));
    EXPECT_FALSE(clip.HasFormat(CF_TEXT));
}

TEST(Clipboard, ChangesMadePastTheLayerAreSeenAtOnce)
{
    // What the clipboard offers is kept between looks; a change by another program (here Qt's own clipboard, as the
    // display server hands it over) must show at the next look.
    const unsigned id = TClipboard::RegisterClipboardFormat("CF_QUORVANE_SHEET");
    TClipboard& clip = Clipboard();
    ASSERT_TRUE(clip.Open());
    clip.Clear();
    clip.SetFormatData(id, "sheet");
    clip.Close();
    EXPECT_TRUE(clip.HasFormat(id));
    EXPECT_FALSE(clip.HasFormat(CF_TEXT));
    QGuiApplication::clipboard()->setText("from elsewhere");
    EXPECT_FALSE(clip.HasFormat(id));
    EXPECT_TRUE(clip.HasFormat(CF_TEXT));
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(clip.HasFormat(CF_TEXT));
    EXPECT_FALSE(clip.HasFormat(id));
}
