#include "sim/ControllerProgram.h"

#include <string>

namespace zorvsim {
namespace {
constexpr auto kAnnounceEvery = Millis(200);
constexpr auto kAnnounceAfterEvent = Millis(20);
constexpr auto kArgumentTimeout = Millis(1000);
// The tool's keep-alive comes every 2000 ms while it is connected; after this much silence the
// link counts as lost and the controller announces itself again, so a restarted tool finds it.
constexpr auto kAcknowledgementLapse = Millis(3000);

constexpr std::uint8_t kLastOutputCommand = 64;
}  // namespace

void ControllerProgram::Start(TimePoint now) {
  transfer_.reset();
  command_.reset();
  armed_ = false;
  lastFromTool_ = now;
  ctx_.log.Line("program started as " + std::string(1, static_cast<char>(ctx_.product)));
  Unacknowledge(now, kAnnounceAfterEvent);
}

void ControllerProgram::Unacknowledge(TimePoint now, Millis delay) {
  acknowledged_ = false;
  announceLogged_ = false;
  nextAnnounce_ = now + delay;
}

void ControllerProgram::SendProductCode() {
  ctx_.send(ctx_.product);
  armed_ = true;
}

Switch ControllerProgram::OnByte(std::uint8_t byte, TimePoint now) {
  lastFromTool_ = now;
  if (transfer_) {
    if (transfer_->OnByte(byte, now) == SettingsTransfer::Result::Finished) {
      transfer_.reset();
      Unacknowledge(now, kAnnounceAfterEvent);
    }
    return Switch::Stay;
  }
  if (command_) {
    const std::uint8_t output = *command_;
    command_.reset();
    outputs_.Pair(output, byte, now);
    return Switch::Stay;
  }
  const bool armed = armed_;
  armed_ = false;
  if (byte == 0xFF) {
    SendProductCode();
    ctx_.log.Line("identified as " + std::string(1, static_cast<char>(ctx_.product)));
  } else if (byte >= 1 && byte <= kLastOutputCommand) {
    command_ = byte;
    commandTime_ = now;
  } else if (byte == 'E') {
    if (!acknowledged_) ctx_.log.Line("acknowledged");
    acknowledged_ = true;
  } else if (armed && byte == 'H') {
    ctx_.log.Line("upload requested");
    transfer_.emplace(ctx_, SettingsTransfer::Kind::Upload, now);
  } else if (armed && byte == 'F') {
    ctx_.log.Line("download requested");
    transfer_.emplace(ctx_, SettingsTransfer::Kind::Download, now);
  } else if (armed && byte == 'R') {
    ctx_.log.Line("restart into the boot loader requested");
    return Switch::ToBootLoader;
  } else {
    ctx_.log.Line("byte " + ByteText(byte) + " ignored" +
                  (armed ? std::string() : std::string(" (no product code sent before)")));
  }
  return Switch::Stay;
}

void ControllerProgram::Tick(TimePoint now) {
  outputs_.Tick(now);
  if (transfer_) {
    if (transfer_->Tick(now) == SettingsTransfer::Result::Abandoned) transfer_.reset();
    return;
  }
  if (command_ && now - commandTime_ > kArgumentTimeout) {
    ctx_.log.Line("output command " + std::to_string(*command_) + " abandoned: no argument");
    command_.reset();
  }
  if (acknowledged_ && now - lastFromTool_ > kAcknowledgementLapse) {
    ctx_.log.Line("link quiet for 3000 ms");
    Unacknowledge(now, Millis(0));
  }
  if (acknowledged_ || ctx_.faults.silent || command_ || now < nextAnnounce_) return;
  if (!announceLogged_) {
    ctx_.log.Line("announcing as " + std::string(1, static_cast<char>(ctx_.product)));
    announceLogged_ = true;
  }
  SendProductCode();
  nextAnnounce_ = now + kAnnounceEvery;
}

}  // namespace zorvsim
