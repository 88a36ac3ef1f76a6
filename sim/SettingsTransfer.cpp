#include "sim/SettingsTransfer.h"

#include <string>

namespace zorvsim {
namespace {
constexpr auto kByteTimeout = Millis(1000);
}

std::size_t TransferLength(std::uint8_t product) { return product == 'G' ? 121 : 256; }

SettingsTransfer::SettingsTransfer(PeerContext& context, Kind kind, TimePoint now)
    : ctx_(context), kind_(kind), length_(TransferLength(context.product)), last_(now) {
  if (kind_ == Kind::Upload) {
    ctx_.send('I');
    MuteReached();
  } else if (!MuteReached()) {
    SendNextDownloadByte(now);
  }
}

bool SettingsTransfer::MuteReached() {
  if (!mute_ && ctx_.faults.silenceAfter && index_ >= *ctx_.faults.silenceAfter) {
    mute_ = true;
    ++ctx_.faults.silences;
    ctx_.log.Line(std::string("fault: silent in the ") + Name() + " after " +
                  std::to_string(index_) + " bytes");
  }
  return mute_;
}

void SettingsTransfer::SendNextDownloadByte(TimePoint now) {
  ctx_.send(ctx_.memories.settings[index_]);
  last_ = now;
}

SettingsTransfer::Result SettingsTransfer::OnByte(std::uint8_t byte, TimePoint now) {
  last_ = now;
  if (mute_) return Result::Running;  // the tool's bytes go unanswered
  if (kind_ == Kind::Upload) {
    ctx_.memories.settings[index_] = byte;
    std::uint8_t echo = byte;
    if (ctx_.faults.wrongEcho && *ctx_.faults.wrongEcho == index_) {
      echo = static_cast<std::uint8_t>(~byte);
      ctx_.faults.wrongEcho.reset();
      ++ctx_.faults.wrongEchoes;
      ctx_.log.Line("fault: byte " + std::to_string(index_) + " echoed as " + ByteText(echo) +
                    " instead of " + ByteText(byte));
    }
    ctx_.send(echo);
  } else {
    const std::uint8_t sent = ctx_.memories.settings[index_];
    if (byte != sent) {
      ++ctx_.faults.badEchoesFromTool;
      ctx_.log.Line("download: wrong echo of byte " + std::to_string(index_) + ": got " +
                    ByteText(byte) + ", sent " + ByteText(sent));
    }
  }
  ++index_;
  if (index_ >= length_) {
    ctx_.log.Line(std::string("settings ") + (kind_ == Kind::Upload ? "uploaded" : "downloaded") +
                  ": " + std::to_string(length_) + " bytes");
    return Result::Finished;
  }
  if (!MuteReached() && kind_ == Kind::Download) SendNextDownloadByte(now);
  return Result::Running;
}

SettingsTransfer::Result SettingsTransfer::Tick(TimePoint now) {
  if (now - last_ <= kByteTimeout) return Result::Running;
  ++ctx_.faults.transfersAbandoned;
  ctx_.log.Line(std::string(Name()) + " abandoned after " + std::to_string(index_) + " of " +
                std::to_string(length_) + " bytes: no byte for 1000 ms");
  return Result::Abandoned;
}

}  // namespace zorvsim
