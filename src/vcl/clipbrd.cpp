#include "vcl/clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "vcl/graphics.h"
#include "vcl/qtcolor.h"

namespace {

struct Formats
{
    std::vector<std::string> names;  // index = id - 0xC000
};

Formats& formats()
{
    static Formats f;
    return f;
}

constexpr unsigned kFirstPrivate = 0xC000;

QClipboard* systemClipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

// What the clipboard holds, kept until it changes. On X11 every look at the clipboard asks the display server (who
// owns the selection, which types it offers) and waits for the answer; the map editors look on every timer tick to
// set their paste buttons. Qt reports every change of the clipboard, ours or another program's.
struct OfferedFormats
{
    QPointer<QClipboard> source;
    QMetaObject::Connection changed;
    bool known = false;
    bool text = false, image = false;
    QStringList mimeTypes;
};

const OfferedFormats* offeredFormats()
{
    static OfferedFormats offered;
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return nullptr;
    if (offered.source != clipboard) {
        QObject::disconnect(offered.changed);
        offered.source = clipboard;
        offered.changed = QObject::connect(clipboard, &QClipboard::dataChanged, [] { offered.known = false; });
        offered.known = false;
    }
    if (!offered.known) {
        const QMimeData* data = clipboard->mimeData();
        offered.text = data && data->hasText();
        offered.image = data && data->hasImage();
        offered.mimeTypes = data ? data->formats() : QStringList{};
        offered.known = true;
    }
    return &offered;
}

}  // namespace

struct TClipboard::Pending
{
    std::unique_ptr<QMimeData> data = std::make_unique<QMimeData>();
};

unsigned TClipboard::RegisterClipboardFormat(std::string_view name)
{
    auto& names = formats().names;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return kFirstPrivate + static_cast<unsigned>(i);
    names.emplace_back(name);
    return kFirstPrivate + static_cast<unsigned>(names.size() - 1);
}

std::string TClipboard::MimeType(unsigned format)
{
    if (format == CF_TEXT) return "text/plain";
    const auto& names = formats().names;
    if (format < kFirstPrivate || format - kFirstPrivate >= names.size()) return {};
    std::string mime = "application/x-kelvora-";
    for (char c : names[format - kFirstPrivate]) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.'))
            c = '-';
        mime.push_back(c);
    }
    return mime;
}

bool TClipboard::Open()
{
    if (m_open || !systemClipboard()) return false;
    m_open = true;
    m_cleared = false;
    m_pending = new Pending;
    return true;
}

void TClipboard::Close()
{
    if (!m_open) return;
    std::unique_ptr<Pending> pending(m_pending);
    m_pending = nullptr;
    m_open = false;
    QClipboard* clipboard = systemClipboard();
    if (!clipboard || !m_cleared) return;
    clipboard->setMimeData(pending->data.release());
}

void TClipboard::Clear()
{
    if (!m_open) return;
    m_pending->data = std::make_unique<QMimeData>();
    m_cleared = true;
}

void TClipboard::SetText(std::string_view utf8)
{
    if (!m_open) return;
    m_cleared = true;
    m_pending->data->setText(vcl::Q(utf8));
}

void TClipboard::SetFormatData(unsigned format, std::string_view bytes)
{
    const std::string mime = MimeType(format);
    if (!m_open || mime.empty()) return;
    m_cleared = true;
    m_pending->data->setData(vcl::Q(mime), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void TClipboard::Assign(const TBitmap& picture)
{
    if (!m_open || picture.Empty()) return;
    m_cleared = true;
    m_pending->data->setImageData(picture.Image().copy());
}

bool TClipboard::HasFormat(unsigned format) const
{
    const OfferedFormats* offered = offeredFormats();
    if (!offered) return false;
    if (format == CF_TEXT) return offered->text;
    if (format == CF_BITMAP) return offered->image;
    const std::string mime = MimeType(format);
    return !mime.empty() && offered->mimeTypes.contains(vcl::Q(mime));
}

std::optional<std::string> TClipboard::Text(std::size_t maxBytes) const
{
    const QClipboard* clipboard = systemClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText()) return std::nullopt;
    std::string text = vcl::S(data->text());
    if (text.size() > maxBytes) return std::nullopt;
    return text;
}

std::optional<std::string> TClipboard::FormatData(unsigned format, std::size_t maxBytes) const
{
    const QClipboard* clipboard = systemClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    const std::string mime = MimeType(format);
    if (!data || mime.empty() || !data->hasFormat(vcl::Q(mime))) return std::nullopt;
    const QByteArray bytes = data->data(vcl::Q(mime));
    if (static_cast<std::size_t>(bytes.size()) > maxBytes) return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TClipboard& Clipboard()
{
    static TClipboard clipboard;
    return clipboard;
}
