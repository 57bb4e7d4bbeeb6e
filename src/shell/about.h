#pragma once
#include "vcl/forms.h"

// The About window; created once at start and shown from the Help menu.
class TFormAbout final : public TForm {
public:
    TFormAbout();
};
