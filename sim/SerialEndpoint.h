#pragma once
// The simulator's end of the wire: a new pseudo-terminal (the tool opens its slave path) or a
// real serial device opened raw at 9600 8N1. Non-blocking, close-on-exec.
#include <cstdint>
#include <memory>
#include <string>

namespace zorvsim {

class SerialEndpoint {
 public:
  ~SerialEndpoint();
  SerialEndpoint(const SerialEndpoint&) = delete;
  SerialEndpoint& operator=(const SerialEndpoint&) = delete;

  // On failure returns null and sets `error`.
  static std::unique_ptr<SerialEndpoint> CreatePseudoTerminal(std::string& error);
  static std::unique_ptr<SerialEndpoint> OpenDevice(const std::string& device, std::string& error);

  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  // Bytes read into `buffer`: > 0 data, 0 nothing waiting, < 0 the device failed.
  long Read(std::uint8_t* buffer, std::size_t size);
  // True when the byte went out; false when the device cannot take it now.
  bool Write(std::uint8_t byte);
  // Nobody reads the pseudo-terminal: drop what waits unread so that new bytes fit.
  void DiscardUnread();

 private:
  SerialEndpoint() = default;

  int fd_ = -1;
  int slaveFd_ = -1;  // held open so the master never sees a hang-up between the tool's opens
  std::string path_;
};

}  // namespace zorvsim
