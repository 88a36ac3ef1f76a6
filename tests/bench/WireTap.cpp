#include "tests/bench/WireTap.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/ThreadPriority.h"

namespace zorv::bench {
namespace {

bool MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Writes all of `data`, waiting for room: the tap never drops a byte.
void WriteAll(int fd, const unsigned char* data, long size) {
  while (size > 0) {
    const long n = write(fd, data, static_cast<std::size_t>(size));
    if (n > 0) {
      data += n;
      size -= n;
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    } else {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, 10);
    }
  }
}

}  // namespace

std::string WireTap::Start(const std::string& devicePath) {
  toolFd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (toolFd_ < 0 || grantpt(toolFd_) != 0 || unlockpt(toolFd_) != 0) {
    return std::string("pseudo-terminal: ") + std::strerror(errno);
  }
  toolPath_ = ptsname(toolFd_);
  toolSlaveFd_ = open(toolPath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (toolSlaveFd_ < 0 || !MakeRaw(toolSlaveFd_)) return toolPath_ + ": " + std::strerror(errno);
  deviceFd_ = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (deviceFd_ < 0 || !MakeRaw(deviceFd_)) return devicePath + ": " + std::strerror(errno);
  thread_ = std::thread([this] { Relay(); });
  return {};
}

WireTap::~WireTap() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  for (int fd : {toolFd_, toolSlaveFd_, deviceFd_}) {
    if (fd >= 0) close(fd);
  }
}

std::string WireTap::Priority() {
  const std::lock_guard<std::mutex> guard(mutex_);
  return priority_;
}

void WireTap::Begin() {
  const std::lock_guard<std::mutex> guard(mutex_);
  timing_ = true;
  last_ = {};
  gaps_ = {};
}

WireTap::Gaps WireTap::End() {
  const std::lock_guard<std::mutex> guard(mutex_);
  timing_ = false;
  return gaps_;
}

void WireTap::Seen(int count) {
  const auto now = std::chrono::steady_clock::now();
  const std::lock_guard<std::mutex> guard(mutex_);
  if (!timing_) return;
  if (last_ != std::chrono::steady_clock::time_point{}) {
    const double gap = std::chrono::duration<double, std::milli>(now - last_).count();
    if (gap > gaps_.longestMs) gaps_.longestMs = gap;
  }
  last_ = now;
  gaps_.bytes += count;
}

void WireTap::Relay() {
  {
    const std::string how = RaiseThreadPriority().how;
    const std::lock_guard<std::mutex> guard(mutex_);
    priority_ = how;
  }
  unsigned char buffer[512];
  while (!stop_) {
    pollfd fds[2] = {{toolFd_, POLLIN, 0}, {deviceFd_, POLLIN, 0}};
    if (poll(fds, 2, 20) <= 0) continue;
    const int ends[2][2] = {{toolFd_, deviceFd_}, {deviceFd_, toolFd_}};
    for (int i = 0; i < 2; ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      const long n = read(ends[i][0], buffer, sizeof buffer);
      if (n <= 0) continue;
      Seen(static_cast<int>(n));
      WriteAll(ends[i][1], buffer, n);
    }
    // A hang-up while the tool has its port closed: do not spin.
    if (((fds[0].revents | fds[1].revents) & (POLLHUP | POLLERR)) != 0) usleep(2000);
  }
}

}  // namespace zorv::bench
