#pragma once
// What the map editor needs of the clipboard. The window layer fills it with the system clipboard; tests use an
// in-process one. Texts are UTF-8 here; the layer converts to the platform's text.
#include <string>
#include <string_view>

class TBitmap;

// Name of the private format that carries a whole sheet with its names and sizes.
inline constexpr std::string_view kSheetFormatName = "CF_QUORVANE_SHEET";

// Bits of ClipboardFormats and GetClipboardTexts.
inline constexpr int kClipPlainText = 1;
inline constexpr int kClipSheetText = 2;

class TabClipboard
{
public:
    virtual ~TabClipboard() = default;
    // The id under which the private format is known in this process.
    virtual int RegisterFormat(std::string_view name) = 0;
    // Each replaces the clipboard's contents; false when the clipboard cannot be opened.
    virtual bool PutClipboardText(std::string_view text) = 0;
    virtual bool PutClipboardTexts(std::string_view plain, int format, std::string_view sheet) = 0;
    // 0 when the clipboard cannot be opened, else kClipPlainText when plain was filled plus kClipSheetText when
    // sheet was. Whole texts: nothing is cut.
    virtual int GetClipboardTexts(std::string& plain, int format, std::string& sheet) = 0;
    // kClipPlainText and kClipSheetText for what is available; 0 when the clipboard cannot be opened.
    virtual int ClipboardFormats(int format) = 0;
    // A picture of a graph; false when the clipboard cannot be opened or takes no pictures.
    virtual bool PutClipboardPicture(const TBitmap&) { return false; }
};
