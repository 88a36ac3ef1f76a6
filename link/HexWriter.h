#pragma once
// Intel HEX text of a flash read back from a controller. Standard C++ only.
#include <cstdint>
#include <string>
#include <vector>

#include "image/Outcome.h"

namespace zorv {

// Data records of 16 bytes from address 0, every byte included (0xFF too, so the file says
// what the flash held), then the end-of-file record. At most 64 KB: 16-bit addresses only.
std::string FormatHexText(const std::vector<std::uint8_t>& bytes);

// Writes the text through the switch files' safe write, so a failed write never leaves half a
// file under the user's name and a link planted beside it is never followed.
Outcome WriteHexFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes);

}  // namespace zorv
