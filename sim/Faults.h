#pragma once
// The named failure modes in force and how often each has fired; the counters are logged at exit.
#include <optional>
#include <string>
#include <vector>

#include "sim/Options.h"
#include "sim/SimClock.h"

namespace zorvsim {

struct Faults {
  bool silent = false;
  std::optional<unsigned> silenceAfter;
  std::optional<unsigned> wrongEcho;  // cleared once it has fired
  unsigned nakLeft = 0;
  std::optional<unsigned> corruptFlash;  // cleared once it has fired when corruptOnce
  bool corruptOnce = false;
  std::optional<unsigned> lateReadBack;  // cleared once it has fired
  // Nothing leaves the controller before this: it is busy with a late answer.
  TimePoint outputHeldUntil{};

  // Counters.
  unsigned silences = 0;
  unsigned wrongEchoes = 0;
  unsigned naksInjected = 0;
  unsigned flashBytesFlipped = 0;
  unsigned naksForBadFrames = 0;
  unsigned badEchoesFromTool = 0;
  unsigned transfersAbandoned = 0;
  unsigned lateAnswers = 0;

  static Faults FromOptions(const SimOptions& options);
  std::vector<std::string> CounterLines() const;
};

}  // namespace zorvsim
