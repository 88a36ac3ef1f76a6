// zorv-sim: plays a snow-plow valve controller and its boot loader on a serial line.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "sim/EventLog.h"
#include "sim/Faults.h"
#include "sim/Memories.h"
#include "sim/Options.h"
#include "sim/SerialEndpoint.h"
#include "sim/Simulator.h"

namespace {

int gStopPipe[2] = {-1, -1};
int gReplugPipe[2] = {-1, -1};
int gPowerPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  const char b = 1;
  const ssize_t ignored = write(gStopPipe[1], &b, 1);
  (void)ignored;
}

extern "C" void OnReplugSignal(int) {
  const char b = 1;
  const ssize_t ignored = write(gReplugPipe[1], &b, 1);
  (void)ignored;
}

extern "C" void OnPowerSignal(int) {
  const char b = 1;
  const ssize_t ignored = write(gPowerPipe[1], &b, 1);
  (void)ignored;
}

// SIGINT and SIGTERM stop; SIGUSR1 pulls the cable and plugs it back (a new pseudo-terminal);
// SIGUSR2 switches the controller off and on.
bool InstallSignals() {
  if (pipe2(gStopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  if (pipe2(gReplugPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  if (pipe2(gPowerPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  struct sigaction replug {};
  replug.sa_handler = OnReplugSignal;
  sigemptyset(&replug.sa_mask);
  struct sigaction power {};
  power.sa_handler = OnPowerSignal;
  sigemptyset(&power.sa_mask);
  return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0 &&
         sigaction(SIGUSR1, &replug, nullptr) == 0 && sigaction(SIGUSR2, &power, nullptr) == 0;
}

bool LoadSettings(const zorvsim::SimOptions& o, zorvsim::Memories& memories) {
  if (o.blank) {
    memories.settings.bytes.fill(0xFF);
    return true;
  }
  if (!o.image.empty()) {
    const zorv::Outcome read = zorv::ReadSwitchFile(o.image, memories.settings);
    if (!read) std::fprintf(stderr, "zorv-sim: %s: %s\n", o.image.c_str(), read.error.c_str());
    return read.ok;
  }
  zorv::GlobalTrimPair trims;
  zorv::LoadDefaultImage(memories.settings, trims);
  return true;
}

bool SaveRequested(const zorvsim::SimOptions& o, const zorvsim::Memories& memories,
                   zorvsim::EventLog& log) {
  bool ok = true;
  auto report = [&](const std::string& what, const std::string& file, const zorv::Outcome& r) {
    log.Line(r ? what + " saved to " + file : what + " not saved to " + file + ": " + r.error);
    ok = ok && r.ok;
  };
  if (!o.saveImage.empty()) {
    report("settings memory", o.saveImage, zorv::WriteSwitchFile(o.saveImage, memories.settings));
  }
  if (!o.saveFlash.empty()) {
    report("flash", o.saveFlash, zorvsim::SaveFlash(o.saveFlash, memories.flash));
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  const zorvsim::ParseResult parsed =
      zorvsim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.help) {
    std::fputs(zorvsim::UsageText().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zorv-sim: %s\n\n%s", parsed.error.c_str(), zorvsim::UsageText().c_str());
    return 2;
  }
  const zorvsim::SimOptions& o = parsed.options;

  zorvsim::Memories memories(zorvsim::ChipFromLine(o.chipLine));
  memories.programPresent = !o.noProgram;
  memories.blankAfterFlash = o.blankAfterFlash;
  if (!LoadSettings(o, memories)) return 2;
  if (!InstallSignals()) {
    std::perror("zorv-sim: signals");
    return 2;
  }

  std::string error;
  auto endpoint = o.port.empty() ? zorvsim::SerialEndpoint::CreatePseudoTerminal(error)
                                 : zorvsim::SerialEndpoint::OpenDevice(o.port, error);
  if (!endpoint) {
    std::fprintf(stderr, "zorv-sim: %s\n", error.c_str());
    return 2;
  }
  zorvsim::EventLog log;
  log.Line("port: " + endpoint->Path());
  log.Line(std::string("product ") + static_cast<char>(o.product) + ", chip \"" + o.chipLine +
           "\", flash " + zorvsim::Hex4(memories.chip.flashSize) + " bytes in pages of " +
           std::to_string(memories.chip.pageSize) + ", wire time " + (o.fast ? "off" : "on") +
           (o.latencyMs > 0 ? ", latency " + std::to_string(o.latencyMs) + " ms" : ""));

  zorvsim::Faults faults = zorvsim::Faults::FromOptions(o);
  zorvsim::PeerContext context{{}, log, memories, faults, o.product, o.chipLine};
  zorvsim::Simulator simulator(*endpoint, context, !o.fast,
                               std::chrono::milliseconds(o.latencyMs));
  // The new pseudo-terminal is made before the old one closes, so it never gets the old path.
  const auto replug = [&]() -> zorvsim::SerialEndpoint* {
    std::string replugError;
    auto fresh = o.port.empty() ? zorvsim::SerialEndpoint::CreatePseudoTerminal(replugError)
                                : zorvsim::SerialEndpoint::OpenDevice(o.port, replugError);
    if (!fresh) {
      log.Line("replug failed: " + replugError);
      return nullptr;
    }
    endpoint = std::move(fresh);
    log.Line("unplugged");
    log.Line("port: " + endpoint->Path());
    return endpoint.get();
  };
  const bool deviceOk = simulator.Run(gStopPipe[0], o.noProgram, gReplugPipe[0], replug,
                                      gPowerPipe[0]);

  log.Line("stopping");
  for (const std::string& line : faults.CounterLines()) log.Line(line);
  const bool saved = SaveRequested(o, memories, log);
  return deviceOk && saved ? 0 : 1;
}
