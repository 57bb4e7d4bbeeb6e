#pragma once
// The About window: the program's emblem, the maker's web address, the structure version and the build date
// and time. Created once at start and shown from the Help menu.
#include "vcl/forms.h"

class TImage;

class TFormAbout final : public TForm {
public:
    TFormAbout();
    ~TFormAbout() override;

    void FormCreate(TObject* Sender);
    // Every time the window becomes active: caption in the current language, size and pictures reset.
    void FormActivate(TObject* Sender);
    // A click on LabelExit.
    void Button1Click(TObject* Sender);
    // Shows the window application-modal and returns at once; the window closes itself.
    void ShowModal();

    static constexpr int kWidth = 256;
    static constexpr int kHeight = 309;

    TLabel* LabelDate = nullptr;
    TLabel* LabelTime = nullptr;
    TLabel* LabelRsKey = nullptr;
    TLabel* LabelExit = nullptr;
    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TImage* Image5 = nullptr;
};
