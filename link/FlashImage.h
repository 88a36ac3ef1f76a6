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
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kFlashImageSize, 0);
  std::uint32_t highestAddress = 0;  // largest address that received a data byte
  std::uint32_t dataBytes = 0;       // data bytes the file's records carried
  ChipParameters chip;
  std::string chipLine;  // the boot loader's identification line, as received
  // A programming run wrote to the flash and did not end verified: the controller is held in
  // its boot loader until a run ends verified, across link restarts, so the broken program
  // never starts.
  bool programIncomplete = false;
};

}  // namespace zorv
