#pragma once
// A tap on the serial line between the tool and zorv-sim, as a line analyser would sit: a new
// pseudo-terminal for the tool, the simulator's device at the far end, every byte passed on at
// once by a thread of raised priority, and the longest gap between two bytes (either way) timed
// between Begin() and End().
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace zorv::bench {

class WireTap {
 public:
  WireTap() = default;
  ~WireTap();
  WireTap(const WireTap&) = delete;
  WireTap& operator=(const WireTap&) = delete;

  // "" when the tap runs between a new pseudo-terminal and `devicePath`; else what failed.
  std::string Start(const std::string& devicePath);
  // The path the tool opens.
  const std::string& ToolPath() const { return toolPath_; }
  // What the tap's thread got when it asked for a higher priority.
  std::string Priority();

  // Times the gaps between bytes from now on.
  void Begin();
  // The longest gap, in milliseconds, between two bytes since Begin(); and the bytes seen.
  struct Gaps {
    double longestMs = 0;
    long bytes = 0;
  };
  Gaps End();

 private:
  void Relay();
  void Seen(int count);

  int toolFd_ = -1;       // master of the tool's pseudo-terminal
  int toolSlaveFd_ = -1;  // held open so the master never sees a hang-up between the tool's opens
  int deviceFd_ = -1;
  std::string toolPath_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::string priority_;
  bool timing_ = false;
  std::chrono::steady_clock::time_point last_{};
  Gaps gaps_;
};

}  // namespace zorv::bench
