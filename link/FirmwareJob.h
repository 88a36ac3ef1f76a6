#pragma once
// The figures of one firmware job on the wire: how many bytes each page costs to write, verify
// or read at 9600 baud, the job's estimate before it starts, and the time left while it runs.
// Standard C++ only.
#include <cstdint>
#include <optional>
#include <string>

#include "image/Outcome.h"
#include "link/FlashImage.h"
#include "link/LinkJobs.h"

namespace zorv {

// Bytes on the wire, both directions, for one page of `blocksPerPage` blocks.
std::uint32_t WriteBytesPerPage(std::uint32_t blocksPerPage);   // 'A', 'E', the blocks, 'F', ACKs
std::uint32_t VerifyBytesPerPage(std::uint32_t blocksPerPage);  // one 'V' and its answer a block

// Pages from address 0 up to the page that holds the highest address (never past 64 KB).
std::uint32_t PagesToWrite(const FlashImage& flash);

// Milliseconds the wire needs for `bytes` at 9600 baud, 10 bits a byte, with the overhead
// measured against the simulator (acknowledge turnaround, the link's own pace).
std::uint32_t WireEstimateMs(std::uint64_t bytes);

// "1:12": minutes and seconds, rounded up to the next second.
std::string MinutesSeconds(std::uint32_t ms);

// CRC-32 (IEEE 802.3, the one of zip and PNG) of `size` bytes.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);
// The CRC-32 of a whole file; nothing when the file cannot be read.
std::optional<std::uint32_t> FileCrc32(const std::string& fileName);
// "Flash CRC-32": of what the flash holds once `flash` is programmed, its bytes (0xFF where the
// file has no data) from 0 to the end of the last page written.
std::uint32_t FlashCrc32(const FlashImage& flash);

// Reads the firmware file once, for the chip in `chip`: its bytes give the "File CRC-32", its
// records the image programmed. Fails with the HEX reader's text (nothing approved then).
Outcome PrepareFirmware(const std::string& fileName, const ChipParameters& chip,
                        const std::string& chipLine, ApprovedFirmware& firmware);

// The check shown before the first frame is written.
struct FirmwareCheck {
  std::string fileName;
  std::string chipLine;
  std::uint32_t dataBytes = 0;
  std::uint32_t highestAddress = 0;
  std::uint32_t flashLimit = 0;
  std::uint32_t pages = 0;
  std::uint32_t pageSize = 0;
  std::uint32_t estimateMs = 0;  // writing and verifying
  FirmwareCrcs crcs;             // "File CRC-32" and "Flash CRC-32"

  // The lines the user reads before pressing "Write".
  std::string Text() const;
};

FirmwareCheck CheckFirmware(const ApprovedFirmware& firmware);

// Time left for a whole job: the rate so far applied to the bytes still to move; before any
// byte has moved, the wire estimate.
class JobClock {
 public:
  JobClock(std::uint32_t startTicks, std::uint64_t jobBytes)
      : start_(startTicks), jobBytes_(jobBytes) {}
  void Done(std::uint64_t bytes) { done_ += bytes; }
  std::uint64_t DoneBytes() const { return done_; }
  int Percent() const;
  std::uint32_t LeftMs(std::uint32_t nowTicks) const;
  // "Verifying, 1:12 left".
  std::string Text(const char* stage, std::uint32_t nowTicks) const;

 private:
  std::uint32_t start_;
  std::uint64_t jobBytes_;
  std::uint64_t done_ = 0;
};

}  // namespace zorv
