#pragma once
// Intel HEX firmware files, read strictly record by record into the flash image.
// Standard C++ only, so the fuzz build can take it without Qt.
#include <optional>
#include <string>
#include <string_view>

#include "image/Outcome.h"
#include "link/FlashImage.h"

namespace zorv {

// Clears the flash image (0xFF, the erased state, where no record puts data), then parses every
// line; stops at the first bad record with "Error parsing file: " + the record's error, or
// "Failed to read input file <name>".
Outcome ReadHexFile(const std::string& fileName, FlashImage& flash);
// The same on text already read.
Outcome ReadHexText(std::string_view text, FlashImage& flash);
// The whole file's bytes; fails naming a folder, a device or a FIFO for what it is.
Outcome ReadFirmwareFile(const std::string& fileName, std::optional<std::string>& content);

// One trimmed record line; data records store their bytes into the flash image.
Outcome ParseHexRecord(std::string_view line, FlashImage& flash);

}  // namespace zorv
