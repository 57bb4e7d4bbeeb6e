#include "vcl/graphics.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QStaticText>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "vcl/qtcolor.h"
#include "vcl/rescache.h"

namespace {

constexpr int kDpi = 96;
constexpr int kLargestUnhintedStyledPixels = 8;

// A bitmap's image: 32 bits per pixel at 96 pixels per inch, so point sizes mean the same pixels everywhere.
QImage newImage(int width, int height)
{
    QImage image(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(kDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kDpi / 0.0254));
    if (!image.isNull()) image.fill(Qt::white);
    return image;
}

QString text(std::string_view utf8)
{
    return vcl::Q(utf8);
}

}  // namespace

// ---------------------------------------------------------------- TCanvas

struct TCanvas::LaidOutText
{
    int width = 0;
    bool prepared = false;
    QStaticText layout;
};

struct TCanvas::TextCache
{
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Texts = std::unordered_map<std::string, LaidOutText, Hash, std::equal_to<>>;
    static constexpr std::size_t kMaxTexts = 8192;  // in one font; then it starts afresh
    std::unordered_map<std::string, Texts> fonts;   // by name, size and style
    Texts* current = nullptr;
    TFont currentFont;
};

TCanvas::TCanvas(QPaintDevice* device) : m_device(device) {}

TCanvas::~TCanvas()
{
    Release();
}

void TCanvas::Release()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

void TCanvas::SetDevice(QPaintDevice* device)
{
    Release();
    m_texts.reset();
    m_device = device;
}

QPainter* TCanvas::painter()
{
    if (!m_device) return nullptr;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_device)) {
            m_painter.reset();
            return nullptr;
        }
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (m_clipped) m_painter->setClipRect(QRect(m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height()));
    }
    return m_painter.get();
}

QImage* TCanvas::image() const
{
    return m_device && m_device->devType() == QInternal::Image ? static_cast<QImage*>(m_device) : nullptr;
}

void TCanvas::applyPen(QPainter& p)
{
    if (Pen.Style == psClear) {
        p.setPen(Qt::NoPen);
        return;
    }
    const int width = std::max(1, Pen.Width);
    // A one-pixel pen is cosmetic (exact pixels); wider pens round their ends and corners.
    QPen pen(vcl::ToQColor(Pen.Color), width == 1 ? 0 : width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
}

void TCanvas::applyBrush(QPainter& p)
{
    if (Brush.Style == bsClear) {
        p.setBrush(Qt::NoBrush);
    } else if (Brush.Bitmap && !Brush.Bitmap->Empty()) {
        QBrush brush(Brush.Bitmap->Image());
        p.setBrush(brush);
        p.setBrushOrigin(0, 0);
    } else {
        p.setBrush(vcl::ToQColor(Brush.Color));
    }
}

const QFont& TCanvas::font()
{
    const bool same =
        m_font && m_fontMade.Name == Font.Name && m_fontMade.Size == Font.Size && m_fontMade.Style == Font.Style &&
        m_fontMade.Stretch == Font.Stretch;
    if (!same) {
        m_font = std::make_unique<QFont>(text(Font.Name));
        // Points at 96 pixels per inch, rounded as the old framework's MulDiv did.
        const int points = std::max(1, Font.Size);
        m_font->setPixelSize(std::max(1, (points * kDpi + 36) / 72));
        m_font->setBold(Font.Style & fsBold);
        m_font->setItalic(Font.Style & fsItalic);
        m_font->setUnderline(Font.Style & fsUnderline);
        if (Font.Stretch != 100) m_font->setStretch(std::clamp(Font.Stretch, 1, 4000));
        m_font->setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
        // Fully hinted, the slanted and the bold face of the smallest sizes turn a "1" into a "2" and a "2" into a
        // blot; there the outlines are kept as drawn.
        const bool smallStyled =
            (Font.Style & (fsItalic | fsBold)) && m_font->pixelSize() <= kLargestUnhintedStyledPixels;
        m_font->setHintingPreference(smallStyled ? QFont::PreferNoHinting : QFont::PreferFullHinting);
        m_fontMade = Font;
    }
    return *m_font;
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = {x, y};
}

void TCanvas::line(int x0, int y0, int x1, int y1, bool withEnd)
{
    QPainter* p = painter();
    if (!p || Pen.Style == psClear) return;
    const QColor colour = vcl::ToQColor(Pen.Color);
    if (Pen.Width > 1) {
        wideLine(*p, colour, x0, y0, x1, y1);
        return;
    }
    const bool patterned = Pen.Style == psDash || Pen.Style == psDot;
    // Straight lines as one fill; others pixel by pixel, so that the end pixel is left out exactly.
    if (y0 == y1 && x0 != x1 && !patterned) {
        const int step = x1 > x0 ? 1 : -1;
        const int last = withEnd ? x1 : x1 - step;
        p->fillRect(QRect(QPoint(std::min(x0, last), y0), QPoint(std::max(x0, last), y0)), colour);
        return;
    }
    if (x0 == x1 && y0 != y1 && !patterned) {
        const int step = y1 > y0 ? 1 : -1;
        const int last = withEnd ? y1 : y1 - step;
        p->fillRect(QRect(QPoint(x0, std::min(y0, last)), QPoint(x0, std::max(y0, last))), colour);
        return;
    }
    if (x0 == x1 && y0 == y1) {
        if (withEnd) p->fillRect(QRect(x0, y0, 1, 1), colour);
        return;
    }
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
    const int steps = std::max(dx, dy) + (withEnd ? 1 : 0);
    std::vector<QPoint> points;
    points.reserve(static_cast<std::size_t>(steps));
    int x = x0, y = y0, err = dx - dy;
    const int on = Pen.Style == psDash ? 18 : 3, period = Pen.Style == psDash ? 24 : 6;
    for (int i = 0; i < steps; ++i) {
        if (!patterned || i % period < on) points.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
    p->setPen(QPen(colour, 0));
    p->drawPoints(points.data(), static_cast<int>(points.size()));
}

// Every pixel whose centre lies within half the pen's width of the segment: round caps and joins that look the
// same at both ends (Qt's own aliased round caps are lopsided). An odd width centres on the pixels, an even one
// on their corners, so that the stroke is exactly Width pixels across.
void TCanvas::wideLine(QPainter& p, const QColor& colour, int x0, int y0, int x1, int y1)
{
    const int w = Pen.Width;
    const double r = w / 2.0;
    const double shift = w % 2 ? 0.5 : 0.0;
    const double ax = x0 + shift, ay = y0 + shift, bx = x1 + shift, by = y1 + shift;
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    const int left = std::min(x0, x1) - w, right = std::max(x0, x1) + w;
    const int top = std::min(y0, y1) - w, bottom = std::max(y0, y1) + w;
    auto inside = [&](int px, int py) {
        const double cx = px + 0.5 - ax, cy = py + 0.5 - ay;
        const double t = len2 > 0 ? std::clamp((cx * dx + cy * dy) / len2, 0.0, 1.0) : 0.0;
        const double ex = cx - t * dx, ey = cy - t * dy;
        return ex * ex + ey * ey <= r * r;
    };
    for (int py = top; py <= bottom; ++py) {
        int first = left;
        while (first <= right && !inside(first, py)) ++first;
        if (first > right) continue;
        int last = right;
        while (!inside(last, py)) --last;
        p.fillRect(QRect(first, py, last - first + 1, 1), colour);
    }
}

void TCanvas::LineTo(int x, int y)
{
    line(m_penPos.x, m_penPos.y, x, y, false);
    m_penPos = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.empty()) return;
    m_penPos = points.front();
    for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].x, points[i].y);
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    QPainter* p = painter();
    if (!p || points.size() < 2) return;
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const TPoint& pt : points) polygon << QPoint(pt.x, pt.y);
    if (Brush.Style != bsClear) {
        p->setPen(Qt::NoPen);
        applyBrush(*p);
        p->drawPolygon(polygon, Qt::OddEvenFill);
    }
    if (Pen.Style == psClear) return;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[(i + 1) % points.size()];
        line(a.x, a.y, b.x, b.y, false);
    }
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    QPainter* p = painter();
    if (!p || right <= left || bottom <= top) return;
    if (Brush.Style != bsClear) {
        p->setPen(Qt::NoPen);
        applyBrush(*p);
        p->drawRect(QRect(left, top, right - left, bottom - top));
    }
    if (Pen.Style == psClear) return;
    line(left, top, right - 1, top, true);
    line(left, bottom - 1, right - 1, bottom - 1, true);
    line(left, top, left, bottom - 1, true);
    line(right - 1, top, right - 1, bottom - 1, true);
}

void TCanvas::FillRect(const TRect& r)
{
    QPainter* p = painter();
    if (!p || r.Width() <= 0 || r.Height() <= 0 || Brush.Style == bsClear) return;
    if (!Brush.Bitmap || Brush.Bitmap->Empty()) {
        p->fillRect(QRect(r.left, r.top, r.Width(), r.Height()), vcl::ToQColor(Brush.Color));
        return;
    }
    p->setPen(Qt::NoPen);
    applyBrush(*p);
    p->drawRect(QRect(r.left, r.top, r.Width(), r.Height()));
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    QPainter* p = painter();
    if (!p || right <= left || bottom <= top) return;
    // The outline's path runs through the outer pixels of left..right-1, top..bottom-1.
    const QRect path(left, top, right - left - 1, bottom - top - 1);
    if (Brush.Style != bsClear) {
        p->setPen(Qt::NoPen);
        applyBrush(*p);
        p->drawEllipse(path);
    }
    if (Pen.Style != psClear) {
        applyPen(*p);
        p->setBrush(Qt::NoBrush);
        p->drawEllipse(path);
    }
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int w, int h)
{
    QPainter* p = painter();
    if (!p || right <= left || bottom <= top) return;
    w = std::clamp(w, 0, right - left);
    h = std::clamp(h, 0, bottom - top);
    if (w < 2 || h < 2) {
        Rectangle(left, top, right, bottom);
        return;
    }
    // Qt's own rounded rectangle is uneven without antialiasing; four clipped corner ellipses are exact and
    // symmetric.
    const int rx = w / 2, ry = h / 2;
    const QRect corners[4] = {
        {left, top, rx, ry}, {right - rx, top, rx, ry}, {left, bottom - ry, rx, ry}, {right - rx, bottom - ry, rx, ry}};
    const QRect ellipses[4] = {{left, top, w - 1, h - 1},
                               {right - w, top, w - 1, h - 1},
                               {left, bottom - h, w - 1, h - 1},
                               {right - w, bottom - h, w - 1, h - 1}};
    const QRegion base =
        m_clipped ? QRegion(m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height()) : QRegion(0, 0, 1 << 20, 1 << 20);
    p->save();
    if (Brush.Style != bsClear) {
        p->setPen(Qt::NoPen);
        applyBrush(*p);
        p->setClipRegion(base);
        p->drawRect(QRect(left + rx, top, right - left - 2 * rx, bottom - top));
        p->drawRect(QRect(left, top + ry, rx, bottom - top - 2 * ry));
        p->drawRect(QRect(right - rx, top + ry, rx, bottom - top - 2 * ry));
        for (int i = 0; i < 4; ++i) {
            p->setClipRegion(base.intersected(corners[i]));
            p->drawEllipse(ellipses[i]);
        }
    }
    if (Pen.Style != psClear) {
        applyPen(*p);
        p->setBrush(Qt::NoBrush);
        for (int i = 0; i < 4; ++i) {
            p->setClipRegion(base.intersected(corners[i]));
            p->drawEllipse(ellipses[i]);
        }
        p->setClipRegion(base);
        p->restore();
        line(left + rx, top, right - rx, top, false);
        line(left + rx, bottom - 1, right - rx, bottom - 1, false);
        line(left, top + ry, left, bottom - ry, false);
        line(right - 1, top + ry, right - 1, bottom - ry, false);
        return;
    }
    p->restore();
}

TCanvas::LaidOutText& TCanvas::laidOut(std::string_view utf8)
{
    const QFont& f = font();
    if (!m_texts) m_texts = std::make_unique<TextCache>();
    TextCache& cache = *m_texts;
    const TFont& now = cache.currentFont;
    if (!cache.current || now.Name != Font.Name || now.Size != Font.Size || now.Style != Font.Style) {
        cache.current =
            &cache.fonts[Font.Name + '\x1f' + std::to_string(Font.Size) + '\x1f' + std::to_string(Font.Style)];
        cache.currentFont = Font;
    }
    TextCache::Texts& texts = *cache.current;
    if (auto it = texts.find(utf8); it != texts.end()) return it->second;
    if (texts.size() >= TextCache::kMaxTexts) texts.clear();
    LaidOutText& laid = texts[std::string(utf8)];
    laid.width = QFontMetrics(f, m_device).horizontalAdvance(text(utf8));
    return laid;
}

void TCanvas::TextOut(int x, int y, std::string_view utf8)
{
    QPainter* p = painter();
    if (!p || utf8.empty()) return;
    const QFont& f = font();
    LaidOutText& laid = laidOut(utf8);
    if (!laid.prepared) {
        laid.layout.setText(text(utf8));
        laid.layout.setTextFormat(Qt::PlainText);
        laid.layout.prepare(QTransform(), f);
        laid.prepared = true;
    }
    if (Brush.Style != bsClear && Font.Orientation == 0)
        p->fillRect(QRect(x, y, laid.width, QFontMetrics(f, m_device).height()), vcl::ToQColor(Brush.Color));
    if (p->font() != f) p->setFont(f);
    const QColor ink = vcl::ToQColor(Font.Color);
    if (const QPen& pen = p->pen(); pen.style() != Qt::SolidLine || pen.color() != ink || pen.width() != 1)
        p->setPen(ink);
    if (Font.Orientation == 0) {
        p->drawStaticText(x, y, laid.layout);
        return;
    }
    p->save();
    p->translate(x, y);
    p->rotate(-Font.Orientation / 10.0);
    if (Brush.Style != bsClear)
        p->fillRect(QRect(0, 0, laid.width, QFontMetrics(f, m_device).height()), vcl::ToQColor(Brush.Color));
    p->drawStaticText(0, 0, laid.layout);
    p->restore();
}

int TCanvas::TextWidth(std::string_view utf8)
{
    return laidOut(utf8).width;
}

int TCanvas::TextHeight(std::string_view)
{
    return QFontMetrics(font(), m_device).height();
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap)
{
    QPainter* p = painter();
    if (p && !bitmap.Empty()) p->drawImage(x, y, bitmap.Image());
}

void TCanvas::DrawPart(int x, int y, const TBitmap& bitmap, const TRect& source)
{
    QPainter* p = painter();
    if (p && !bitmap.Empty() && source.Width() > 0 && source.Height() > 0)
        p->drawImage(QPoint(x, y), bitmap.Image(), QRect(source.left, source.top, source.Width(), source.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap)
{
    QPainter* p = painter();
    if (p && !bitmap.Empty() && r.Width() > 0 && r.Height() > 0)
        p->drawImage(QRect(r.left, r.top, r.Width(), r.Height()), bitmap.Image());
}

TColor TCanvas::Pixel(int x, int y)
{
    const QImage* img = image();
    if (!img || !img->valid(x, y)) return clBlack;
    return PixelColor(img->pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    QImage* img = image();
    if (!img || !img->valid(x, y)) return;
    if (QPainter* p = painter()) p->fillRect(QRect(x, y, 1, 1), vcl::ToQColor(color));
}

void TCanvas::SetClipRect(const TRect& r)
{
    m_clipped = true;
    m_clip = r;
    if (m_painter) m_painter->setClipRect(QRect(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height())));
}

void TCanvas::ResetClip()
{
    m_clipped = false;
    if (m_painter) m_painter->setClipping(false);
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : m_image(std::make_unique<QImage>()), m_canvas(std::make_unique<TCanvas>(m_image.get())) {}

TBitmap::TBitmap(int width, int height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image) : TBitmap()
{
    Assign(image);
}

TBitmap::TBitmap(const TBitmap& other) : TBitmap()
{
    *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    if (this != &other) Assign(other.Image());
    return *this;
}

TBitmap::~TBitmap()
{
    m_canvas->Release();
}

int TBitmap::Width() const
{
    return m_image->width();
}

int TBitmap::Height() const
{
    return m_image->height();
}

bool TBitmap::Empty() const
{
    return m_image->isNull();
}

void TBitmap::SetSize(int width, int height)
{
    m_canvas->Release();
    *m_image = newImage(width, height);
}

std::uint32_t* TBitmap::ScanLine(int y)
{
    if (y < 0 || y >= m_image->height()) return nullptr;
    return reinterpret_cast<std::uint32_t*>(m_image->scanLine(y));
}

TColor TBitmap::Pixel(int x, int y) const
{
    return m_image->valid(x, y) ? PixelColor(m_image->pixel(x, y)) : clBlack;
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    if (std::uint32_t* row = ScanLine(y); row && x >= 0 && x < Width()) row[x] = ScanLinePixel(color);
}

TBitmap TBitmap::CopyInclusive(int left, int top, int right, int bottom) const
{
    const QRect r = QRect(QPoint(left, top), QPoint(right, bottom)).intersected(m_image->rect());
    return TBitmap(r.isEmpty() ? QImage() : Image().copy(r));
}

void TBitmap::Assign(const QImage& image)
{
    m_canvas->Release();
    if (image.isNull()) {
        *m_image = QImage();
        return;
    }
    // A deep copy: the canvas draws straight into the pixels, which must not be shared.
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    copy.detach();
    *m_image = newImage(copy.width(), copy.height());
    QPainter p(m_image.get());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, copy);
}

const QImage& TBitmap::Image() const
{
    // Whoever takes the image may keep a shared copy; drawing afterwards must detach first.
    m_canvas->Release();
    return *m_image;
}

bool TBitmap::SaveToFile(const std::string& path) const
{
    return Image().save(vcl::Q(path));
}

bool TBitmap::LoadFromFile(const std::string& path)
{
    QImage picture;
    if (!picture.load(vcl::Q(path))) return false;
    Assign(picture);
    return !Empty();
}

bool LoadBitmapResource(TBitmap& target, std::string_view name)
{
    const QImage* picture = GetBitmapResource(name);
    if (!picture) return false;
    target.Assign(*picture);
    return true;
}
