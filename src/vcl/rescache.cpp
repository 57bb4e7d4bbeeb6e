#include "vcl/rescache.h"

#include <QFile>
#include <QImage>
#include <QString>
#include <map>
#include <memory>
#include <string>

namespace {

// Keyed by the name's text, not by the caller's pointer: callers may pass any string.
using Cache = std::map<std::string, std::unique_ptr<QImage>, std::less<>>;

Cache& cache()
{
    static Cache pictures;
    return pictures;
}

// Pictures are embedded under ":/bitmaps/<name>.<ext>"; the first extension found is used.
const QImage* load(std::string_view name, std::initializer_list<const char*> extensions)
{
    if (auto it = cache().find(name); it != cache().end()) return it->second.get();
    for (const char* ext : extensions) {
        const QString path = QStringLiteral(":/bitmaps/") +
                             QString::fromUtf8(name.data(), static_cast<int>(name.size())) + QLatin1Char('.') +
                             QLatin1String(ext);
        if (!QFile::exists(path)) continue;
        auto image = std::make_unique<QImage>(path);
        if (image->isNull()) continue;
        const QImage* raw = image.get();
        cache().emplace(std::string(name), std::move(image));
        return raw;
    }
    return nullptr;
}

}  // namespace

const QImage* GetJpgResource(std::string_view name)
{
    return load(name, {"jpg", "png"});
}

const QImage* GetBitmapResource(std::string_view name)
{
    return load(name, {"bmp", "png"});
}
