// The QSerialPort device on a pseudo-terminal: bytes both ways, reads that never block, the
// open error text, and a descriptor that no child process inherits.
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "link/QtSerialDevice.h"

namespace zorv {
namespace {

// The controller's end of the line: the master side of a pseudo-terminal.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const char* name = ptsname(master_);
    if (name != nullptr) slavePath_ = name;
  }
  ~PseudoTerminal() {
    if (master_ >= 0) ::close(master_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool Valid() const { return master_ >= 0 && !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }

  void Send(const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // Whatever the device wrote, up to `count` bytes, waiting at most `boundMs` in all.
  std::vector<std::uint8_t> Receive(std::size_t count, int boundMs) {
    std::vector<std::uint8_t> got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < count && timer.elapsed() < boundMs) {
      pollfd fd{master_, POLLIN, 0};
      if (::poll(&fd, 1, 20) <= 0) continue;
      std::uint8_t buffer[512];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

 private:
  int master_ = -1;
  std::string slavePath_;
};

std::vector<std::uint8_t> EveryByteValue() {
  std::vector<std::uint8_t> bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
  return bytes;
}

// Reads until `count` bytes came or `boundMs` passed; Read itself never waits.
std::vector<std::uint8_t> ReadAll(QtSerialDevice& device, std::size_t count, int boundMs) {
  std::vector<std::uint8_t> got;
  QElapsedTimer timer;
  timer.start();
  while (got.size() < count && timer.elapsed() < boundMs) {
    std::uint8_t byte = 0;
    if (device.Read(byte)) {
      got.push_back(byte);
    } else {
      std::this_thread::yield();
    }
  }
  return got;
}

// The device paths a freshly started child process holds open.
std::string OpenPathsOfAChild() {
  FILE* pipe = ::popen("for f in /proc/self/fd/*; do readlink \"$f\"; done", "r");
  if (pipe == nullptr) return {};
  std::string out;
  char line[256];
  while (std::fgets(line, sizeof line, pipe) != nullptr) out += line;
  ::pclose(pipe);
  return out;
}

class SerialDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.Valid()) << std::strerror(errno); }
  PseudoTerminal pty_;
  QtSerialDevice device_;
};

TEST_F(SerialDeviceTest, EveryByteValuePassesUnchangedBothWays) {
  ASSERT_EQ(device_.Open(pty_.SlavePath()), "");
  ASSERT_TRUE(device_.IsOpen());
  // CR, LF, XON, XOFF, DEL and 0xFF are the ones a cooked line would change or swallow.
  const auto bytes = EveryByteValue();
  pty_.Send(bytes);
  EXPECT_EQ(ReadAll(device_, bytes.size(), 3000), bytes);
  for (auto b : bytes) ASSERT_TRUE(device_.Write(b)) << int(b);
  EXPECT_EQ(pty_.Receive(bytes.size(), 3000), bytes);
}

TEST_F(SerialDeviceTest, LineIsRaw9600EightNoneOneWithoutFlowControl) {
  ASSERT_EQ(device_.Open(pty_.SlavePath()), "");
  termios line{};
  ASSERT_EQ(::tcgetattr(static_cast<int>(device_.NativeHandle()), &line), 0);
  EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(::cfgetispeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  struct Flag {
    const char* name;
    tcflag_t set;
  };
  const std::vector<Flag> mustBeOff = {
      {"PARENB", line.c_cflag & PARENB}, {"CSTOPB", line.c_cflag & CSTOPB},
      {"CRTSCTS", line.c_cflag & CRTSCTS}, {"IXON", line.c_iflag & IXON},
      {"IXOFF", line.c_iflag & IXOFF},    {"INPCK", line.c_iflag & INPCK},
      {"ICRNL", line.c_iflag & ICRNL},    {"ISTRIP", line.c_iflag & ISTRIP},
      {"OPOST", line.c_oflag & OPOST},    {"ICANON", line.c_lflag & ICANON},
      {"ECHO", line.c_lflag & ECHO},
  };
  for (const auto& flag : mustBeOff) EXPECT_EQ(flag.set, 0u) << flag.name;
}

TEST_F(SerialDeviceTest, ReadReturnsAtOnceOnASilentLine) {
  ASSERT_EQ(device_.Open(pty_.SlavePath()), "");
  QElapsedTimer timer;
  timer.start();
  std::uint8_t byte = 0;
  int got = 0;
  for (int i = 0; i < 200; ++i) got += device_.Read(byte) ? 1 : 0;
  EXPECT_EQ(got, 0);
  // 200 polls on an idle line: far below one millisecond each.
  EXPECT_LT(timer.elapsed(), 200);
  pty_.Send({0x67});
  const auto later = ReadAll(device_, 1, 3000);
  EXPECT_EQ(later, std::vector<std::uint8_t>{0x67});
  EXPECT_FALSE(device_.Read(byte));
}

TEST_F(SerialDeviceTest, OpenFailuresCarryTheSystemText) {
  struct Case {
    std::string device;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"/dev/zorv-no-such-port", std::strerror(ENOENT)},
      {"/dev/ttyS-zorv-missing", std::strerror(ENOENT)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    EXPECT_EQ(device_.Open(c.device), c.expected);
    EXPECT_FALSE(device_.IsOpen());
    std::uint8_t byte = 0;
    EXPECT_FALSE(device_.Read(byte));
    EXPECT_FALSE(device_.Write(0xFF));
  }
}

TEST_F(SerialDeviceTest, ClosedDeviceRefusesAndReopens) {
  ASSERT_EQ(device_.Open(pty_.SlavePath()), "");
  device_.Close();
  EXPECT_FALSE(device_.IsOpen());
  EXPECT_FALSE(device_.Write(0x45));
  EXPECT_EQ(device_.NativeHandle(), -1);
  ASSERT_EQ(device_.Open(pty_.SlavePath()), "");
  ASSERT_TRUE(device_.Write(0x45));
  EXPECT_EQ(pty_.Receive(1, 3000), std::vector<std::uint8_t>{0x45});
}

TEST_F(SerialDeviceTest, NoChildProcessInheritsTheDevice) {
  // The check itself must see an inherited descriptor: open one without close-on-exec first.
  const int inherited = ::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(inherited, 0);
  EXPECT_NE(OpenPathsOfAChild().find(pty_.SlavePath() + "\n"), std::string::npos);
  ::close(inherited);

  ASSERT_EQ(device_.Open(pty_.SlavePath()), "");
  const auto fd = static_cast<int>(device_.NativeHandle());
  ASSERT_GE(fd, 0);
  EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
  EXPECT_EQ(OpenPathsOfAChild().find(pty_.SlavePath() + "\n"), std::string::npos);
}

}  // namespace
}  // namespace zorv
