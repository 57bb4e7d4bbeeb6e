#include "pages/pagetext.h"

#include "os/lngtext.h"

std::string CylinderCorrectionText(const Image& image)
{
    std::string text(GetLngText("###Correction for cylinder##Korrektion für Zylinder##Korekce pro válec"));
    const int channels = image[2680];
    for (int n = 1; n <= 4 && n <= channels; ++n) text += (n == 1 ? " " : ",") + std::to_string(n);
    return text;
}
