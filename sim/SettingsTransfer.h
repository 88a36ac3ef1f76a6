#pragma once
// One settings transfer of the running controller: an upload ('H': the tool's bytes are echoed
// and stored) or a download ('F': memory bytes are sent, each after the tool's echo).
#include <cstddef>
#include <cstdint>

#include "sim/PeerContext.h"

namespace zorvsim {

class SettingsTransfer {
 public:
  enum class Kind { Upload, Download };
  enum class Result { Running, Finished, Abandoned };

  SettingsTransfer(PeerContext& context, Kind kind, TimePoint now);

  Result OnByte(std::uint8_t byte, TimePoint now);
  // Abandons the transfer after 1000 ms without a byte from the tool.
  Result Tick(TimePoint now);

 private:
  void SendNextDownloadByte(TimePoint now);
  bool MuteReached();
  const char* Name() const { return kind_ == Kind::Upload ? "upload" : "download"; }

  PeerContext& ctx_;
  Kind kind_;
  std::size_t length_;
  std::size_t index_ = 0;  // image byte expected or sent next
  bool mute_ = false;      // --silence-after has fired
  TimePoint last_;
};

// Bytes a transfer moves: 121 for a Zorv v1.0 controller, 256 for every other product.
std::size_t TransferLength(std::uint8_t product);

}  // namespace zorvsim
