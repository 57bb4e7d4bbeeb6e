#include "vcl/image.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

class ImageWidget final : public QWidget
{
public:
    ImageWidget(QWidget* parent, TImage* image) : QWidget(parent), m_image(image) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        TBitmap& picture = m_image->m_picture;
        if (picture.Empty()) return;
        picture.Canvas().Release();
        QPainter p(this);
        p.drawImage(0, 0, picture.Image());
    }

private:
    TImage* m_image;
};

TImage::TImage(QWidget* parent) : TControl(new ImageWidget(parent, this))
{
    m_widget->resize(105, 105);
}

void TImage::SetPicture(const QImage* picture)
{
    m_picture.Canvas().Release();
    if (picture && !picture->isNull())
        m_picture.Assign(*picture);
    else
        m_picture.SetSize(0, 0);
    m_widget->update();
}

TCanvas& TImage::Canvas()
{
    if (m_picture.Width() != Width() || m_picture.Height() != Height()) {
        m_picture.Canvas().Release();
        m_picture.SetSize(Width(), Height());
    }
    m_widget->update();
    return m_picture.Canvas();
}
