#include "vcl/image.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

TImage::TImage(QWidget* parent) : TControl(new QLabel(parent)), m_label(static_cast<QLabel*>(m_widget))
{
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->resize(105, 105);
}

void TImage::SetPicture(const QImage* picture)
{
    m_hasPicture = picture && !picture->isNull();
    if (m_hasPicture)
        m_label->setPixmap(QPixmap::fromImage(*picture));
    else
        m_label->clear();
}
