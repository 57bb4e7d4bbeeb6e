#include "vcl/deciedit.h"

TDeciEdit::TDeciEdit(QWidget* parent) : TEdit(parent) {}

// A form frees its controls one by one; the partner that stays must not keep a pointer to this one.
TDeciEdit::~TDeciEdit()
{
    if (PairedUpDown && PairedUpDown->PairedEdit == this)
        PairedUpDown->PairedEdit = nullptr;
}

TDeciUpDown::TDeciUpDown(QWidget* parent) : TUpDown(parent) {}

TDeciUpDown::~TDeciUpDown()
{
    if (PairedEdit && PairedEdit->PairedUpDown == this)
        PairedEdit->PairedUpDown = nullptr;
}

void PairDeci(TDeciEdit& edit, TDeciUpDown& upDown)
{
    edit.PairedUpDown = &upDown;
    upDown.PairedEdit = &edit;
}
