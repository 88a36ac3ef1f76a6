#pragma once
// Intel HEX firmware files, read strictly record by record into the flash image.
// Standard C++ only, so the fuzz build can take it without Qt.
#include <string>
#include <string_view>

#include "image/Outcome.h"
#include "link/FlashImage.h"

namespace zorv {

// Clears the flash image, then parses every line; stops at the first bad record with
// "Error parsing file: " + the record's error, or "Failed to read input file <name>".
Outcome ReadHexFile(const std::string& fileName, FlashImage& flash);

// One trimmed record line; data records store their bytes into the flash image.
Outcome ParseHexRecord(std::string_view line, FlashImage& flash);

}  // namespace zorv
