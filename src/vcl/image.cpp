#include "vcl/image.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "vcl/qtcolor.h"

TImage::TImage(QWidget* parent)
    : TControl(new QLabel(parent)), m_label(static_cast<QLabel*>(m_widget)), m_picture(std::make_unique<QImage>())
{
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->resize(105, 105);
}

TImage::~TImage() = default;

void TImage::SetPicture(const QImage* picture)
{
    m_hasPicture = picture && !picture->isNull();
    *m_picture = m_hasPicture ? picture->convertToFormat(QImage::Format_RGB32) : QImage();
    if (m_hasPicture)
        m_label->setPixmap(QPixmap::fromImage(*m_picture));
    else
        m_label->clear();
}

void TImage::PaintColumnStrip(std::span<const TColor> columns, std::span<const StripText> texts, int points)
{
    const int width = std::max(1, Width());
    const int height = std::max(1, Height());
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(vcl::ToQColor(Color()));
    QPainter p(&picture);
    for (int x = 0; x < width && x < int(columns.size()); ++x) {
        p.setPen(vcl::ToQColor(columns[std::size_t(x)]));
        p.drawLine(x, 0, x, height - 1);
    }
    QFont font = m_label->font();
    font.setPointSize(std::max(1, points));
    p.setFont(font);
    const QFontMetrics metrics(font);
    for (const StripText& t : texts) {
        const QString text = vcl::Q(t.text);
        const int textWidth = metrics.horizontalAdvance(text);
        const int left = t.align == 1 ? t.x - textWidth : t.align == 2 ? t.x - textWidth / 2 : t.x;
        p.setPen(vcl::ToQColor(t.shadow));
        p.drawText(left + 1, 1 + metrics.ascent(), text);
        p.setPen(vcl::ToQColor(t.color));
        p.drawText(left, metrics.ascent(), text);
    }
    p.end();
    SetPicture(&picture);
}

TColor TImage::Pixel(int x, int y) const
{
    if (!m_picture->valid(x, y))
        return 0;
    const QRgb rgb = m_picture->pixel(x, y);
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}
