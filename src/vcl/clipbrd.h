#pragma once
// The system clipboard in the old framework's shape: plain text, pictures and private formats registered by name.
// A private format travels as a MIME type of our own ("application/x-kelvora-" and the name, lower case, '_' as
// '-'), so another running copy of the program finds it, while other programs take the text/plain beside it.
#include <optional>
#include <string>
#include <string_view>

class TBitmap;

inline constexpr unsigned CF_TEXT = 1;
inline constexpr unsigned CF_BITMAP = 2;

class TClipboard final
{
public:
    // The id of a private format: the same name gives the same id for the whole run (from 0xC000 on).
    static unsigned RegisterClipboardFormat(std::string_view name);
    // The MIME type of a format id; empty for an unknown id.
    [[nodiscard]] static std::string MimeType(unsigned format);

    // A session: Open, then Clear and the Set calls, then Close hands everything put to the system at once.
    // Open fails without a clipboard (no application object).
    [[nodiscard]] bool Open();
    void Close();
    void Clear();
    void SetText(std::string_view utf8);
    void SetFormatData(unsigned format, std::string_view bytes);
    void Assign(const TBitmap& picture);

    // What the clipboard holds now (outside a session as well).
    [[nodiscard]] bool HasFormat(unsigned format) const;
    // The text (UTF-8) or the bytes of a format; nothing when absent or longer than maxBytes.
    [[nodiscard]] std::optional<std::string> Text(std::size_t maxBytes) const;
    [[nodiscard]] std::optional<std::string> FormatData(unsigned format, std::size_t maxBytes) const;

private:
    bool m_open = false;
    bool m_cleared = false;
    struct Pending;
    Pending* m_pending = nullptr;
};

// The program's one clipboard object.
[[nodiscard]] TClipboard& Clipboard();
