#pragma once
// A picture on a form: shows one of the program's pictures at its own size, from the top left corner, or a
// colour strip painted by the program.
#include <memory>
#include <span>
#include <string>

#include "vcl/controls.h"

class QImage;
class QLabel;

// A text over a colour strip, with a one-pixel shadow one pixel down and right of it.
struct StripText {
    std::string text;
    int x = 0;
    int align = 0;  // 0: the text starts at x; 1: it ends at x; 2: it is centred on x
    TColor color = clBlack;
    TColor shadow = clWhite;
};

class TImage final : public TControl {
public:
    explicit TImage(QWidget* parent);
    ~TImage() override;
    [[nodiscard]] const char* ClassName() const override { return "TImage"; }
    // Shows a copy of the picture; null shows nothing.
    void SetPicture(const QImage* picture);
    [[nodiscard]] bool HasPicture() const { return m_hasPicture; }
    // Paints a new picture of the control's size: column x in colour columns[x] (columns past the list keep the
    // control's colour), then the texts in a font of `points` on a transparent background.
    void PaintColumnStrip(std::span<const TColor> columns, std::span<const StripText> texts, int points);
    // The colour (0x00BBGGRR) of a pixel of the picture shown; 0 outside it.
    [[nodiscard]] TColor Pixel(int x, int y) const;

private:
    QLabel* m_label;
    std::unique_ptr<QImage> m_picture;
    bool m_hasPicture = false;
};
