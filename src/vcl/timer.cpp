#include "vcl/timer.h"

#include <QTimer>
#include <QWidget>

#include "vcl/forms.h"

TTimer::TTimer(TForm& owner) : m_timer(new QTimer(owner.Widget()))
{
    m_timer->setTimerType(Qt::CoarseTimer);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { Fire(); });
    Apply();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms)
{
    m_interval = ms;
    Apply();
}

void TTimer::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    Apply();
}

void TTimer::Apply()
{
    if (m_enabled && m_interval > 0)
        m_timer->start(m_interval);
    else
        m_timer->stop();
}

void TTimer::Fire() { vcl::Fire(OnTimer, this); }
