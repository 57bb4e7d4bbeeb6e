#include "shell/toolicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

struct IconRow
{
    ToolPicture picture;
    const char* themeName;
};
constexpr IconRow kIconRows[] = {
    {ToolPicture::New, "document-new"},     {ToolPicture::Open, "document-open"}, {ToolPicture::Save, "document-save"},
    {ToolPicture::Print, "document-print"}, {ToolPicture::Undo, "edit-undo"},     {ToolPicture::Redo, "edit-redo"},
};

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kFolder(0xE8, 0xB8, 0x40);
const QColor kDisk(0x38, 0x60, 0xB0);
const QColor kArrow(0x28, 0x70, 0x28);

// A sheet of paper with a folded corner, on a 20 x 20 grid.
void drawSheet(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(4, 1.5);
    sheet.lineTo(12, 1.5);
    sheet.lineTo(16.5, 6);
    sheet.lineTo(16.5, 18.5);
    sheet.lineTo(4, 18.5);
    sheet.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(12, 1.5), QPointF(12, 6), QPointF(16.5, 6)}));
}

// A curved arrow turning left (undo) or, mirrored, right (redo).
void drawTurnArrow(QPainter& p, bool right)
{
    if (right) {
        p.translate(20, 0);
        p.scale(-1, 1);
    }
    QPainterPath arc;
    arc.moveTo(6, 8);
    arc.cubicTo(11, 4, 18, 6, 17, 12);
    arc.cubicTo(16.5, 15, 13, 17, 9, 16);
    p.setPen(QPen(kArrow, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(8, 3.5), QPointF(8.5, 12)}));
}

void drawPicture(QPainter& p, ToolPicture picture)
{
    switch (picture) {
        case ToolPicture::New:
            drawSheet(p);
            p.setPen(QPen(kArrow, 2));
            p.drawLine(QPointF(10.25, 9), QPointF(10.25, 15.5));
            p.drawLine(QPointF(7, 12.25), QPointF(13.5, 12.25));
            break;
        case ToolPicture::Open:
            p.setPen(QPen(kInk, 1));
            p.setBrush(kFolder.darker(115));
            p.drawPolygon(QPolygonF({QPointF(1.5, 4.5), QPointF(7, 4.5), QPointF(9, 6.5), QPointF(17.5, 6.5),
                                     QPointF(17.5, 16.5), QPointF(1.5, 16.5)}));
            p.setBrush(kFolder);
            p.drawPolygon(QPolygonF({QPointF(4.5, 9.5), QPointF(19.5, 9.5), QPointF(16.5, 16.5), QPointF(1.5, 16.5)}));
            break;
        case ToolPicture::Save:
            p.setPen(QPen(kInk, 1));
            p.setBrush(kDisk);
            p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
            p.setBrush(kPaper);
            p.drawRect(QRectF(5.5, 2.5, 9, 6));
            p.setBrush(QColor(0xD0, 0xD0, 0xD0));
            p.drawRect(QRectF(5.5, 11.5, 9, 6));
            p.setBrush(kDisk);
            p.drawRect(QRectF(11, 3.5, 2, 4));
            break;
        case ToolPicture::Print:
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(5.5, 1.5, 9, 7));
            p.setBrush(QColor(0x90, 0x90, 0x98));
            p.drawRoundedRect(QRectF(1.5, 7.5, 17, 7), 1.5, 1.5);
            p.setBrush(kPaper);
            p.drawRect(QRectF(5.5, 12.5, 9, 6));
            p.drawLine(QPointF(7, 15), QPointF(13, 15));
            break;
        case ToolPicture::Undo:
            drawTurnArrow(p, false);
            break;
        case ToolPicture::Redo:
            drawTurnArrow(p, true);
            break;
        case ToolPicture::Record:
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(210, 30, 30));
            p.drawEllipse(QRectF(3.5, 3.5, 13, 13));
            break;
        case ToolPicture::Play:
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(30, 150, 50));
            p.drawPolygon(QPolygonF({QPointF(5.5, 3.5), QPointF(16.5, 10), QPointF(5.5, 16.5)}));
            break;
        case ToolPicture::Pause:
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(QRectF(4.5, 3.5, 4, 13));
            p.drawRect(QRectF(11.5, 3.5, 4, 13));
            break;
        case ToolPicture::Stop:
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(60, 60, 60));
            p.drawRect(QRectF(4.5, 4.5, 11, 11));
            break;
    }
}

}  // namespace

const char* ToolIconName(ToolPicture picture)
{
    for (const IconRow& row : kIconRows)
        if (row.picture == picture) return row.themeName;
    return "";
}

QImage DrawToolPicture(ToolPicture picture)
{
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawPicture(p, picture);
    return image;
}
