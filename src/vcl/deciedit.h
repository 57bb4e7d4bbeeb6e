#pragma once
// The decimal pair of the settings pages: an edit that shows an up-down's integer position divided by a divisor.
// The two point at each other instead of using the up-down's buddy edit, because the buddy would show the raw
// position. The handlers that keep them in step belong to the pages; the guards let each side ignore the change
// that the other side is making.
#include "vcl/controls.h"

class TDeciUpDown;

class TDeciEdit final : public TEdit {
public:
    explicit TDeciEdit(QWidget* parent);
    ~TDeciEdit() override;
    [[nodiscard]] const char* ClassName() const override { return "TDeciEdit"; }

    TDeciUpDown* PairedUpDown = nullptr;
    int TextGuard = 0;  // 1 while the up-down writes this edit's text
};

class TDeciUpDown final : public TUpDown {
public:
    explicit TDeciUpDown(QWidget* parent);
    ~TDeciUpDown() override;
    [[nodiscard]] const char* ClassName() const override { return "TDeciUpDown"; }

    TDeciEdit* PairedEdit = nullptr;
    int Divisor = 1;        // the edit shows Position / Divisor
    int PositionGuard = 0;  // 1 while the edit moves this up-down
};

// Makes the two partners of each other.
void PairDeci(TDeciEdit& edit, TDeciUpDown& upDown);
