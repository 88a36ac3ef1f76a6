#include "PtyClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

namespace zorvtest {
namespace {
using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}
}  // namespace

PtyClient::~PtyClient() {
  if (fd_ >= 0) close(fd_);
}

bool PtyClient::Open(const QString& path) {
  fd_ = open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return false;
  cfmakeraw(&tio);
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
  tcflush(fd_, TCIFLUSH);  // what the simulator sent before anyone listened
  return true;
}

void PtyClient::Write(const Bytes& bytes) {
  std::size_t done = 0;
  const auto end = Clock::now() + std::chrono::seconds(5);
  while (done < bytes.size() && Clock::now() < end) {
    const ssize_t put = write(fd_, bytes.data() + done, bytes.size() - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
    } else {
      pollfd p{fd_, POLLOUT, 0};
      poll(&p, 1, 10);
    }
  }
}

Bytes PtyClient::Read(std::size_t count, int timeoutMs) {
  Bytes got;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got.size() < count) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, RemainingMs(end)) <= 0) break;
    std::uint8_t buffer[512];
    const std::size_t want = std::min(sizeof buffer, count - got.size());
    const ssize_t n = read(fd_, buffer, want);
    if (n > 0) got.insert(got.end(), buffer, buffer + n);
    if (RemainingMs(end) == 0) break;
  }
  return got;
}

Bytes PtyClient::Drain(int quietMs, int limitMs) {
  Bytes got;
  const auto end = Clock::now() + std::chrono::milliseconds(limitMs);
  while (RemainingMs(end) > 0) {
    const Bytes more = Read(512, std::min(quietMs, RemainingMs(end)));
    if (more.empty()) break;
    got.insert(got.end(), more.begin(), more.end());
  }
  return got;
}

Bytes Frame(std::uint8_t command, const Bytes& payload) {
  Bytes frame{command, static_cast<std::uint8_t>(payload.size() + 3)};
  std::uint8_t sum = 0;
  for (const std::uint8_t b : payload) {
    frame.push_back(b);
    sum = static_cast<std::uint8_t>(sum ^ b);
  }
  frame.push_back(sum);
  return frame;
}

}  // namespace zorvtest
