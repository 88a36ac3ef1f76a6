#pragma once
// Switch files (.joy): exactly the 256 image bytes, no header.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Outcome.h"
#include "SettingsImage.h"

namespace zorv {

// Reads the first 256 bytes into `image`. An empty file gives an all-zero image; a file of 1..255
// bytes fails with "Read beyond end of file". On any failure `image` is left untouched.
Outcome ReadSwitchFile(const std::string& fileName, SettingsImage& image);

// Writes the image through a temporary file in the same folder and renames it over the target,
// so a failed save leaves any previous file byte-identical.
Outcome WriteSwitchFile(const std::string& fileName, const SettingsImage& image);

// The safe write under both: a temporary file of a unique name, opened exclusively beside the
// target (never through a link planted there), then renamed over it; a symbolic link chosen as
// the target is written through to its file, and a file kept keeps its mode.
Outcome WriteFileSafely(const std::string& fileName, const std::uint8_t* data, std::size_t size);

// The text the user is shown for an errno value ("File not found", "Disk full", ...).
std::string IoErrorText(int errorNumber);

}  // namespace zorv
