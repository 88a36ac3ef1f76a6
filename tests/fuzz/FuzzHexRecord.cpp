// Any line, any chip limit, any file: the HEX reader must answer with one of its texts and never
// touch memory outside the flash image.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/HexReader.h"
#include "tests/fuzz/FuzzScratch.h"

namespace {

using zorv::FlashImage;
using zorv::Outcome;

constexpr std::array<std::string_view, 15> kRecordErrors{"not a valid packet",
                                                         "no start marker",
                                                         "bad length byte",
                                                         "bad address",
                                                         "bad rec type byte",
                                                         "packet truncated",
                                                         "data exceeds writeable flash space",
                                                         "bad packet data",
                                                         "bad checksum format",
                                                         "checksum failed",
                                                         "data above 64 KB",
                                                         "no program data",
                                                         "characters after the checksum",
                                                         "unknown record type",
                                                         "no end record"};

bool IsRecordError(std::string_view text) {
  // Overlapping records with other data name the address.
  if (text.substr(0, 22) == "conflicting data at 0x") return true;
  return std::find(kRecordErrors.begin(), kRecordErrors.end(), text) != kRecordErrors.end();
}

void Require(bool condition) {
  if (!condition) std::abort();
}

// Whatever a record does, the image keeps its size and the highest address lies inside it.
void CheckImage(const FlashImage& flash, std::size_t size) {
  Require(flash.bytes.size() == size);
  Require(flash.highestAddress == 0 || flash.highestAddress < std::min<std::size_t>(size, 0x10000));
}

void ParseWithDefaultChip(std::string_view line) {
  static FlashImage flash;
  const Outcome outcome = ParseHexRecord(line, flash);
  Require(outcome.ok || IsRecordError(outcome.error));
  CheckImage(flash, zorv::kFlashImageSize);
}

// A chip limit and an image size of the input's choosing, including limits far beyond the image.
void ParseWithChosenChip(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  FlashImage flash;
  flash.chip.flashLimit = provider.ConsumeIntegral<std::uint32_t>();
  const std::size_t imageSize =
      provider.ConsumeIntegralInRange<std::size_t>(0, zorv::kFlashImageSize);
  flash.bytes.assign(imageSize, 0);
  const std::string line = provider.ConsumeRemainingBytesAsString();
  const Outcome outcome = ParseHexRecord(line, flash);
  Require(outcome.ok || IsRecordError(outcome.error));
  CheckImage(flash, imageSize);
}

void ReadAsFile(const std::uint8_t* data, std::size_t size) {
  static FlashImage flash;
  const std::string file = zorv::fuzz::WriteScratchFile("input.hex", data, size);
  const Outcome outcome = ReadHexFile(file, flash);
  const std::string_view prefix = "Error parsing file: ";
  Require(outcome.ok || (outcome.error.starts_with(prefix) &&
                         IsRecordError(std::string_view(outcome.error).substr(prefix.size()))));
  // A file read without error always carries program data, all of it below 64 KB.
  Require(!outcome.ok || flash.dataBytes > 0);
  CheckImage(flash, zorv::kFlashImageSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParseWithDefaultChip(std::string_view(reinterpret_cast<const char*>(data), size));
  ParseWithChosenChip(data, size);
  ReadAsFile(data, size);
  return 0;
}
