#pragma once
// Conversions between the layer's colours and text and Qt's; for the layer's own sources only.
#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "vcl/core.h"

namespace vcl {

inline QColor ToQColor(TColor color)
{
    const TColor rgb = ColorToRgb(color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

inline QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }
inline std::string S(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace vcl
