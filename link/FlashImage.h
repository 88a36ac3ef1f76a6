#pragma once
// The firmware about to be programmed, and the chip it goes to. Outlives any link thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zorv {

inline constexpr std::size_t kFlashImageSize = 0x1F800;

struct ChipParameters {
  std::uint32_t flashLimit = 0x3C00;  // writeable bytes; larger once the boot loader names the chip
  std::uint32_t pageSize = 128;
  std::uint32_t blocksPerPage = 2;  // pageSize / 64
};

struct FlashImage {
  // Erased flash reads 0xFF: so does every byte no record of the file puts data in.
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kFlashImageSize, 0xFF);
  std::uint32_t highestAddress = 0;  // largest address that received a data byte
  std::uint32_t dataBytes = 0;       // data bytes the file's records carried
  ChipParameters chip;
  std::string chipLine;  // the boot loader's identification line, as received
};

}  // namespace zorv
