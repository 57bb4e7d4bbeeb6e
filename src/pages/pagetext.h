#pragma once
// Texts that several pages compose from the settings image.
#include <string>

#include "settings/image.h"

// "Correction for cylinder" in the current language followed by the cylinders in use (image byte 2680):
// " 1", ",2", ",3", ",4".
[[nodiscard]] std::string CylinderCorrectionText(const Image& image);
