#include "shell/about.h"

TFormAbout::TFormAbout()
{
    SetCaption("About");
    SetClientSize(420, 300);
}
