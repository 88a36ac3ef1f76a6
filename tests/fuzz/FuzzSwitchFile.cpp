// Any file as a switch file: only the documented outcomes, the caller's image untouched on
// failure, and a saved image that opens again unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/SwitchFile.h"
#include "tests/fuzz/FuzzScratch.h"

namespace {

using zorv::kImageSize;
using zorv::Outcome;
using zorv::SettingsImage;

void Require(bool condition) {
  if (!condition) std::abort();
}

void Open(const std::uint8_t* data, std::size_t size) {
  const std::string file = zorv::fuzz::WriteScratchFile("input.joy", data, size);
  SettingsImage image;
  image.bytes.fill(0xA5);
  const SettingsImage before = image;
  const Outcome outcome = ReadSwitchFile(file, image);
  if (size == 0) {
    Require(outcome.ok && image == SettingsImage{});
  } else if (size < kImageSize) {
    Require(!outcome.ok && outcome.error == "Read beyond end of file" && image == before);
  } else {
    Require(outcome.ok && std::equal(image.bytes.begin(), image.bytes.end(), data));
  }
}

// The input's first bytes as an image, saved over the previous save and opened again.
void RoundTrip(const std::uint8_t* data, std::size_t size) {
  SettingsImage saved;
  std::copy_n(data, std::min(size, kImageSize), saved.bytes.begin());
  const std::string file = (zorv::fuzz::ScratchFolder() / "saved.joy").string();
  Require(WriteSwitchFile(file, saved).ok);
  SettingsImage opened;
  Require(ReadSwitchFile(file, opened).ok && opened == saved);
  // Exactly the two files of this target: no temporary file survives a save.
  const auto entries =
      std::distance(std::filesystem::directory_iterator(zorv::fuzz::ScratchFolder()),
                    std::filesystem::directory_iterator());
  Require(entries == 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Open(data, size);
  RoundTrip(data, size);
  return 0;
}
