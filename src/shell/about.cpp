#include "shell/about.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <functional>
#include <string>

#include "os/lngtext.h"
#include "settings/image.h"
#include "shell/mainform.h"
#include "vcl/image.h"
#include "vcl/rescache.h"

namespace {

constexpr int kEmblemWidth = 159;
constexpr int kEmblemHeight = 81;

// The maker's emblem; a plain drawn one stands in when the program carries no picture of it.
const QImage& emblem()
{
    if (const QImage* picture = GetBitmapResource("LOGO_QUORVANE160x80"))
        return *picture;
    static const QImage drawn = [] {
        QImage image(kEmblemWidth, kEmblemHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QColor(0x20, 0x40, 0x90));
        painter.drawRect(0, 0, kEmblemWidth - 1, kEmblemHeight - 1);
        QFont font = painter.font();
        font.setPointSize(16);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Quorvane"));
        return image;
    }();
    return drawn;
}

// The web address as people read it, without the scheme.
std::string webAddressText()
{
    std::string host = kWebHost;
    if (const std::size_t scheme = host.find("://"); scheme != std::string::npos)
        host.erase(0, scheme + 3);
    return host;
}

// Labels of the framework do not click; the exit label of this window does.
class LabelClickFilter final : public QObject {
public:
    LabelClickFilter(QObject* parent, std::function<void()> onClick) : QObject(parent), m_onClick(std::move(onClick))
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_onClick();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClick;
};

TLabel* centredLabel(TForm& form, const char* name, int top, int height, int points)
{
    auto* label = form.Make<TLabel>(nullptr, name);
    label->SetBounds(0, top, TFormAbout::kWidth, height);
    label->SetAlignment(2);
    label->SetFontSize(points);
    return label;
}

}  // namespace

TFormAbout::TFormAbout()
{
    SetColor(clWhite);
    SetWidth(kWidth);
    SetHeight(kHeight);

    Image1 = Make<TImage>(nullptr, "Image1");
    Image1->SetBounds((kWidth - kEmblemWidth) / 2, 16, kEmblemWidth, kEmblemHeight);
    Image1->SetPicture(&emblem());
    // Larger pictures that the window keeps hidden.
    Image2 = Make<TImage>(nullptr, "Image2");
    Image2->SetBounds(0, 0, kWidth, kHeight);
    Image2->SetVisible(false);
    Image5 = Make<TImage>(nullptr, "Image5");
    Image5->SetBounds(0, 0, kWidth, kHeight);
    Image5->SetVisible(false);

    Label1 = centredLabel(*this, "Label1", 108, 28, 14);
    Label1->SetCaption(webAddressText());
    Label1->SetFontColor(0x903020);
    LabelRsKey = centredLabel(*this, "LabelRsKey", 148, 18, 9);
    LabelDate = centredLabel(*this, "LabelDate", 170, 16, 8);
    LabelTime = centredLabel(*this, "LabelTime", 188, 16, 8);
    LabelExit = centredLabel(*this, "LabelExit", 222, 40, 20);
    LabelExit->SetBounds((kWidth - 80) / 2, 222, 80, 40);
    LabelExit->SetCaption("OK");
    LabelExit->Widget()->setCursor(Qt::PointingHandCursor);
    LabelExit->OnClick = [this](TObject* sender) { Button1Click(sender); };
    LabelExit->Widget()->installEventFilter(
        new LabelClickFilter(LabelExit->Widget(), [this] { vcl::Fire(LabelExit->OnClick, LabelExit); }));

    OnActivate = [this](TObject* sender) { FormActivate(sender); };
    FormCreate(this);
}

TFormAbout::~TFormAbout() { DestroyWindow(); }

void TFormAbout::FormCreate(TObject*)
{
    LabelDate->SetCaption(__DATE__);
    LabelTime->SetCaption(__TIME__);
    LabelRsKey->SetCaption("Version - " + std::to_string(RS_KEY_309));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        SetLeft(area.width() / 2 - Width() / 2);
        SetTop(area.height() / 2 - Height() / 2);
    }
}

void TFormAbout::FormActivate(TObject*)
{
    SetCaption(std::string(GetLngText("###About##Über Programm##O programu")) + " Kelvora_12");
    SetWidth(kWidth);
    SetHeight(kHeight);
    Image1->SetVisible(true);
    Image2->SetVisible(false);
    Image5->SetVisible(false);
}

void TFormAbout::Button1Click(TObject*) { Close(); }

void TFormAbout::ShowModal()
{
    Window()->setWindowModality(Qt::ApplicationModal);
    Show();
}
