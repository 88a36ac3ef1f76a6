#pragma once
// The controller's two memories: the 256-byte settings memory and the program flash.
#include <cstdint>
#include <string>
#include <vector>

#include "image/Outcome.h"
#include "image/SettingsImage.h"

namespace zorvsim {

struct ChipParameters {
  std::uint32_t flashSize = 0x3C00;  // bytes below the boot loader
  std::uint32_t pageSize = 128;
};

// Chip parameters from the boot loader's identification line, as the tool derives them.
ChipParameters ChipFromLine(const std::string& line);

struct Memories {
  zorv::SettingsImage settings;
  std::vector<std::uint8_t> flash;  // chip.flashSize bytes, erased to 0xFF
  ChipParameters chip;
  bool programPresent = true;
  bool blankAfterFlash = false;  // the next program start blanks the settings memory
  bool flashWritten = false;     // a page was written since the program last started

  explicit Memories(const ChipParameters& parameters);
  // Byte at a flash address; 0xFF beyond the flash (the protected boot loader area).
  std::uint8_t FlashAt(std::uint32_t address) const;
};

// Writes the whole flash memory through a temporary file renamed over the target.
zorv::Outcome SaveFlash(const std::string& fileName, const std::vector<std::uint8_t>& flash);

}  // namespace zorvsim
