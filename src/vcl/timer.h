#pragma once
#include <memory>

#include "vcl/controls.h"

class QTimer;
class QObject;
class TForm;

class TTimer final : public TComponent {
public:
    explicit TTimer(TForm& owner);
    ~TTimer() override;
    [[nodiscard]] const char* ClassName() const override { return "TTimer"; }
    [[nodiscard]] int Interval() const { return m_interval; }
    void SetInterval(int ms);
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Runs OnTimer now, as an expiry would; tests drive the timer this way instead of waiting.
    void Fire();
    TNotifyEvent OnTimer;
    void ClearEvents() override { OnTimer = nullptr; }

private:
    void Apply();
    QTimer* m_timer;
    int m_interval = 1000;
    bool m_enabled = true;
};
