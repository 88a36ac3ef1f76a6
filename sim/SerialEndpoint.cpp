#include "sim/SerialEndpoint.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zorvsim {
namespace {

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

bool MakeRaw9600(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

SerialEndpoint::~SerialEndpoint() {
  if (slaveFd_ >= 0) close(slaveFd_);
  if (fd_ >= 0) close(fd_);
}

std::unique_ptr<SerialEndpoint> SerialEndpoint::CreatePseudoTerminal(std::string& error) {
  std::unique_ptr<SerialEndpoint> e(new SerialEndpoint);
  e->fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (e->fd_ < 0) {
    error = ErrnoText("posix_openpt");
    return nullptr;
  }
  fcntl(e->fd_, F_SETFD, FD_CLOEXEC);
  if (grantpt(e->fd_) != 0 || unlockpt(e->fd_) != 0) {
    error = ErrnoText("grantpt/unlockpt");
    return nullptr;
  }
  char name[256];
  if (ptsname_r(e->fd_, name, sizeof name) != 0) {
    error = ErrnoText("ptsname");
    return nullptr;
  }
  e->path_ = name;
  e->slaveFd_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (e->slaveFd_ < 0 || !MakeRaw9600(e->slaveFd_)) {
    error = ErrnoText("pseudo-terminal " + e->path_);
    return nullptr;
  }
  const int flags = fcntl(e->fd_, F_GETFL);
  if (flags < 0 || fcntl(e->fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
    error = ErrnoText("fcntl");
    return nullptr;
  }
  return e;
}

std::unique_ptr<SerialEndpoint> SerialEndpoint::OpenDevice(const std::string& device,
                                                           std::string& error) {
  std::unique_ptr<SerialEndpoint> e(new SerialEndpoint);
  e->path_ = device;
  e->fd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (e->fd_ < 0) {
    error = ErrnoText(device);
    return nullptr;
  }
  if (!MakeRaw9600(e->fd_)) {
    error = ErrnoText(device + ": cannot set 9600 8N1");
    return nullptr;
  }
  tcflush(e->fd_, TCIOFLUSH);
  return e;
}

long SerialEndpoint::Read(std::uint8_t* buffer, std::size_t size) {
  const ssize_t got = read(fd_, buffer, size);
  if (got >= 0) return static_cast<long>(got);
  // EIO would mean no slave is open; ours always is, so treat it like "nothing yet".
  if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == EIO) return 0;
  return -1;
}

bool SerialEndpoint::Write(std::uint8_t byte) {
  for (;;) {
    const ssize_t put = write(fd_, &byte, 1);
    if (put == 1) return true;
    if (put < 0 && errno == EINTR) continue;
    return false;
  }
}

void SerialEndpoint::DiscardUnread() {
  if (slaveFd_ >= 0) tcflush(slaveFd_, TCIFLUSH);
}

}  // namespace zorvsim
