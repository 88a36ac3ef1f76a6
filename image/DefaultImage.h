#pragma once
// The complete Zorv configuration shown at start-up and given to never-configured controllers.
#include "SettingsImage.h"

namespace zorv {

// Fills the image with the defaults and resets the global trim pair to 1 and 254.
void LoadDefaultImage(SettingsImage& image, GlobalTrimPair& trims);

// Copies a downloaded transfer buffer (image bytes 0..255) into the image; a controller whose
// memory is blank (byte 33 = 255) gets the defaults instead.
void StoreDownloadedImage(const ImageBytes& buffer, SettingsImage& image, GlobalTrimPair& trims);

}  // namespace zorv
