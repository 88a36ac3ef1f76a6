#pragma once
// What the link thread asks of the window, and the channel it asks through. Posted notices
// never wait. The other calls are synchronised: production runs them on the window's thread
// while the link thread waits (WindowCalls); tests answer them directly (DirectChannel).
//
// Adding a window call: declare it here, answer it in the window (app/FormBridge) and in the
// test bridge (tests/support/RecordingBridge.h), and make it from the link through
// WindowChannel::Call. Nothing in between passes calls on.
#include <cstdint>
#include <functional>
#include <string>

#include "image/SettingsImage.h"

namespace zorv {

enum class StatusColour { Red, Green, Blue };

// What the window's status strip shows after a status refresh.
struct StatusSnapshot {
  std::string text;
  StatusColour colour = StatusColour::Red;
  int progress = 0;
  std::string progressText;   // shown in the bar instead of the percentage when not empty
  bool receiveLamp = false;   // a byte arrived less than 200 ms ago
  bool transmitLamp = false;  // a byte left less than 200 ms ago
  std::string portNote;       // about the open port, for its tooltip (SerialDevice::Note)
  std::string device;         // the device the port opens, for the port doctor
};

// Codes of the link notices posted to the window.
namespace notice {
inline constexpr std::uint8_t kUploadDone = 1;
inline constexpr std::uint8_t kDownloadDone = 2;
inline constexpr std::uint8_t kFirmwareInstalled = 3;  // programmed and verified
inline constexpr std::uint8_t kAdapterUnplugged = 4;   // the port's device vanished
inline constexpr std::uint8_t kByteReceived = 251;
inline constexpr std::uint8_t kByteSent = 252;
inline constexpr std::uint8_t kRestartLink = 255;
}  // namespace notice

class WindowBridge {
 public:
  virtual ~WindowBridge() = default;

  // Posted without waiting. `source` tags the link that posted it (0: untagged), so the window
  // can ignore a link it has already replaced.
  virtual void PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t source) = 0;

  // Synchronised.
  virtual void RefreshStatus(const StatusSnapshot& status) = 0;
  virtual void ShowLinkError(const std::string& text) = 0;
  virtual void ShowLinkInfo(const std::string& text) = 0;
  // Copies image bytes 0..255 into the buffer.
  virtual void LoadBufferFromImage(ImageBytes& buffer) = 0;
  // Copies the buffer into the image (the defaults when byte 33 is 255: StoreDownloadedImage).
  // `length` bytes came from the controller (121 for a Zorv v1.0, else 256).
  virtual void StoreBufferToImage(const ImageBytes& buffer, int length) = 0;
  // The chosen firmware file, or "" when the user cancelled.
  virtual std::string SelectFirmwareFile() = 0;
  // Shows what is about to be written; true when the user pressed "Write".
  virtual bool ConfirmFirmware(const std::string& check) = 0;
  // A failed run that wrote to the flash; true when the user pressed "Retry".
  virtual bool AskRetryFirmware(const std::string& text) = 0;
  // Where to save the firmware read from the controller, or "" when the user cancelled.
  virtual std::string SelectFirmwareReadFile() = 0;
};

// How the link reaches the window.
class WindowChannel {
 public:
  virtual ~WindowChannel() = default;
  // Any thread, never waits.
  virtual void Post(std::uint8_t code, std::uint8_t value) = 0;
  // Runs `work` where the window lives and waits for it. False when the call was given up
  // (the link is being destroyed): then `work` may still be running, or never run, so it must
  // hold only what it owns (copies, shared pointers), never a reference into the link.
  virtual bool Call(std::function<void(WindowBridge&)> work) = 0;
};

// Answers on the caller's own thread: tests, and links driven from the window's thread.
class DirectChannel final : public WindowChannel {
 public:
  explicit DirectChannel(WindowBridge& window, std::uint64_t source = 0)
      : window_(window), source_(source) {}
  void Post(std::uint8_t code, std::uint8_t value) override {
    window_.PostNotice(code, value, source_);
  }
  bool Call(std::function<void(WindowBridge&)> work) override {
    work(window_);
    return true;
  }

 private:
  WindowBridge& window_;
  std::uint64_t source_;
};

}  // namespace zorv
