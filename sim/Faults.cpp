#include "sim/Faults.h"

namespace zorvsim {

Faults Faults::FromOptions(const SimOptions& options) {
  Faults f;
  f.silent = options.silent;
  f.silenceAfter = options.silenceAfter;
  f.wrongEcho = options.wrongEcho;
  f.nakLeft = options.nak;
  f.corruptFlash = options.corruptFlash;
  f.corruptOnce = options.corruptOnce;
  f.lateReadBack = options.lateReadBack;
  return f;
}

std::vector<std::string> Faults::CounterLines() const {
  auto line = [](const char* name, unsigned value) {
    return std::string("counter ") + name + ": " + std::to_string(value);
  };
  return {line("silences", silences),
          line("wrong echoes", wrongEchoes),
          line("injected naks", naksInjected),
          line("flash bytes flipped", flashBytesFlipped),
          line("naks for bad frames", naksForBadFrames),
          line("bad echoes from tool", badEchoesFromTool),
          line("transfers abandoned", transfersAbandoned),
          line("late answers", lateAnswers)};
}

}  // namespace zorvsim
