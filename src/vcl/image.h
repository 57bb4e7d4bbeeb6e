#pragma once
// A picture on a form: shows one of the program's pictures at its own size, from the top left corner.
#include "vcl/controls.h"

class QImage;
class QLabel;

class TImage final : public TControl {
public:
    explicit TImage(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TImage"; }
    // Shows a copy of the picture; null shows nothing.
    void SetPicture(const QImage* picture);
    [[nodiscard]] bool HasPicture() const { return m_hasPicture; }

private:
    QLabel* m_label;
    bool m_hasPicture = false;
};
