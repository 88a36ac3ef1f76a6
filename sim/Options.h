#pragma once
// The command line of zorv-sim. Other tools and the tests rely on these names exactly.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorvsim {

struct SimOptions {
  std::uint8_t product = 'g';
  std::string chipLine = "ATmega16 BOOT";
  bool blank = false;
  bool noProgram = false;
  bool fast = false;
  unsigned latencyMs = 0;  // every byte sent is held this long, as an adapter's buffer does
  bool blankAfterFlash = false;  // a newly programmed controller starts with blank settings
  std::string port;       // empty: create a pseudo-terminal
  std::string image;      // switch file loaded into the settings memory
  std::string saveImage;  // written at exit
  std::string saveFlash;  // written at exit
  // Failure modes.
  bool silent = false;
  std::optional<unsigned> silenceAfter;
  std::optional<unsigned> wrongEcho;
  unsigned nak = 0;
  std::optional<unsigned> corruptFlash;
  bool corruptOnce = false;  // the flip happens on the first write of its page only
  std::optional<unsigned> lateReadBack;  // first read-back of this address answered late
};

struct ParseResult {
  SimOptions options;
  bool help = false;
  std::string error;  // non-empty: the command line is unusable
};

ParseResult ParseOptions(const std::vector<std::string>& arguments);
std::string UsageText();

}  // namespace zorvsim
