#pragma once
// What the link thread asks of the window. Posted notices never wait. The other calls are
// synchronised: production runs them on the window's thread while the link thread waits;
// tests answer them directly.
#include <cstdint>
#include <string>

#include "image/SettingsImage.h"

namespace zorv {

enum class StatusColour { Red, Green, Blue };

// What the window's status strip shows after a status refresh.
struct StatusSnapshot {
  std::string text;
  StatusColour colour = StatusColour::Red;
  int progress = 0;
  bool receiveLamp = false;   // a byte arrived less than 200 ms ago
  bool transmitLamp = false;  // a byte left less than 200 ms ago
};

// Codes of the link notices posted to the window.
namespace notice {
inline constexpr std::uint8_t kUploadDone = 1;
inline constexpr std::uint8_t kDownloadDone = 2;
inline constexpr std::uint8_t kByteReceived = 251;
inline constexpr std::uint8_t kByteSent = 252;
inline constexpr std::uint8_t kRestartLink = 255;
}  // namespace notice

class WindowBridge {
 public:
  virtual ~WindowBridge() = default;

  // Posted without waiting.
  virtual void PostNotice(std::uint8_t code, std::uint8_t value) = 0;

  // Synchronised.
  virtual void RefreshStatus(const StatusSnapshot& status) = 0;
  virtual void ShowLinkError(const std::string& text) = 0;
  virtual void ShowLinkInfo(const std::string& text) = 0;
  // Copies image bytes 0..255 into the buffer.
  virtual void LoadBufferFromImage(ImageBytes& buffer) = 0;
  // Copies the buffer into the image (the defaults when byte 33 is 255: StoreDownloadedImage).
  virtual void StoreBufferToImage(const ImageBytes& buffer) = 0;
  // The chosen firmware file, or "" when the user cancelled.
  virtual std::string SelectFirmwareFile() = 0;
};

}  // namespace zorv
