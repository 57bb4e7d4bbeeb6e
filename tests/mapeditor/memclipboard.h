#pragma once
// In-process clipboard for tests: holds the last texts put on it; can play a clipboard that will not open.
#include <memory>
#include <string>

#include "mapeditor/clipboard.h"
#include "vcl/graphics.h"

class MemClipboard final : public TabClipboard
{
public:
    bool canOpen = true;
    std::string plain, sheet;
    bool hasPlain = false, hasSheet = false;
    std::unique_ptr<TBitmap> picture;

    int RegisterFormat(std::string_view name) override { return name == kSheetFormatName ? 0xC001 : 0; }
    bool PutClipboardText(std::string_view text) override
    {
        if (!canOpen) return false;
        plain = text;
        hasPlain = true;
        hasSheet = false;
        return true;
    }
    bool PutClipboardTexts(std::string_view plainText, int format, std::string_view sheetText) override
    {
        if (!canOpen) return false;
        plain = plainText;
        sheet = sheetText;
        hasPlain = true;
        hasSheet = format == 0xC001;
        return true;
    }
    int GetClipboardTexts(std::string& plainOut, int format, std::string& sheetOut) override
    {
        if (!canOpen) return 0;
        int got = 0;
        if (hasPlain) {
            plainOut = plain;
            got |= kClipPlainText;
        }
        if (hasSheet && format == 0xC001) {
            sheetOut = sheet;
            got |= kClipSheetText;
        }
        return got;
    }
    bool PutClipboardPicture(const TBitmap& p) override
    {
        if (!canOpen) return false;
        picture = std::make_unique<TBitmap>(p);
        return true;
    }
    int ClipboardFormats(int format) override
    {
        if (!canOpen) return 0;
        return (hasPlain ? kClipPlainText : 0) | (hasSheet && format == 0xC001 ? kClipSheetText : 0);
    }
};
