#pragma once
// A picture on a form: one of the program's pictures at its own size from the top left corner, or what the
// program paints on its canvas (a bitmap of the control's size that stays until painted over).
#include "vcl/controls.h"
#include "vcl/graphics.h"

class QImage;

class TImage final : public TControl
{
public:
    explicit TImage(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TImage"; }
    // Shows a copy of the picture; null shows nothing.
    void SetPicture(const QImage* picture);
    [[nodiscard]] bool HasPicture() const { return !m_picture.Empty(); }
    // The canvas of the picture, sized to the control first (a new size starts white). What is drawn shows at the
    // next paint.
    [[nodiscard]] TCanvas& Canvas();
    [[nodiscard]] const TBitmap& Picture() const { return m_picture; }

private:
    friend class ImageWidget;
    TBitmap m_picture;
};
