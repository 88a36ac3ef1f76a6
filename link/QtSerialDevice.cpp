#include "link/QtSerialDevice.h"

#include <QSerialPort>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QString>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <type_traits>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif
#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#endif

#include "link/PortLock.h"

namespace zorv {
namespace {

// A byte takes about 1 ms at 9600 baud; this bounds a write on a stalled line.
constexpr int kWriteFlushMs = 50;
// While nothing arrives, the device's identity is looked at every this many empty reads (the
// link polls every 10 ms), so a quick re-plug is known within a quarter of a second.
constexpr std::uint32_t kIdentityCheckEvery = 25;

// A descriptor on Unix, a pointer on Windows.
template <typename Handle>
std::intptr_t HandleValue(Handle handle) {
  if constexpr (std::is_pointer_v<Handle>) {
    return reinterpret_cast<std::intptr_t>(handle);
  } else {
    return static_cast<std::intptr_t>(handle);
  }
}

// A USB adapter holds received bytes up to its latency timer (16 ms on FTDI chips) before it
// hands them on; low latency asks the driver to pass them at once. A pseudo-terminal or a
// driver without the setting answers ENOTTY or EINVAL, which is not a refusal.
std::string RequestLowLatency([[maybe_unused]] std::intptr_t fd) {
#ifdef __linux__
  serial_struct serial{};
  const int descriptor = static_cast<int>(fd);
  if (ioctl(descriptor, TIOCGSERIAL, &serial) != 0) {
    if (errno == ENOTTY || errno == EINVAL) return {};
    return std::string("Low latency not available: ") + std::strerror(errno);
  }
  if ((serial.flags & ASYNC_LOW_LATENCY) != 0) return {};
  serial.flags |= ASYNC_LOW_LATENCY;
  if (ioctl(descriptor, TIOCSSERIAL, &serial) != 0 && errno != ENOTTY && errno != EINVAL) {
    return std::string("The adapter's driver refused low latency (") + std::strerror(errno) +
           "):\nanswers may wait up to 16 ms in the adapter. The udev rule of the package\n"
           "sets the FTDI latency timer to 1 ms.";
  }
#endif
  return {};
}

}  // namespace

QtSerialDevice::QtSerialDevice() = default;

QtSerialDevice::~QtSerialDevice() { Close(); }

std::string QtSerialDevice::Open(const std::string& deviceName) {
  Close();
  auto port = std::make_unique<QSerialPort>();
  port->setPortName(QString::fromStdString(deviceName));
  port->setBaudRate(QSerialPort::Baud9600);
  port->setDataBits(QSerialPort::Data8);
  port->setParity(QSerialPort::NoParity);
  port->setStopBits(QSerialPort::OneStop);
  port->setFlowControl(QSerialPort::NoFlowControl);
  // QSerialPort opens with O_CLOEXEC on Unix, so the device is never inherited by a child.
  if (!port->open(QIODevice::ReadWrite)) {
    if (port->error() == QSerialPort::PermissionError) {
      // QSerialPort's lock file is taken: say by whom rather than "permission".
      const std::string holder = LockFileHolder(deviceName);
      if (!holder.empty()) return holder;
    }
    std::string error = port->errorString().toStdString();
    return error.empty() ? "The port could not be opened." : error;
  }
  // QSerialPort's lock file is named after the path, so another name of the same device (an
  // alias, a by-id link) passes it, and root passes the exclusive-open flag too; a lock on the
  // open device itself is shared by every name.
  const std::string locked = LockOpenDevice(HandleValue(port->handle()), deviceName);
  if (!locked.empty()) {
    port->close();
    return locked;
  }
#ifdef Q_OS_UNIX
  struct stat opened {};
  if (::fstat(static_cast<int>(port->handle()), &opened) == 0) {
    openDevice_ = opened.st_rdev;
    openInode_ = opened.st_ino;
  }
#endif
  // The controller does not use the modem lines. Devices without them (pseudo-terminals)
  // refuse the request, which is harmless, so the outcome is not checked.
  port->setDataTerminalReady(false);
  port->setRequestToSend(false);
  port->clearError();
  note_ = RequestLowLatency(HandleValue(port->handle()));
  deviceName_ = deviceName;
  port_ = std::move(port);
  return {};
}

bool QtSerialDevice::IsOpen() const { return port_ != nullptr && port_->isOpen(); }

bool QtSerialDevice::Read(std::uint8_t& byte) {
  if (!IsOpen()) return false;
  // No event loop runs on the link thread: a zero wait polls the descriptor once.
  if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(0)) {
    if (port_->error() != QSerialPort::NoError || ++quietPolls_ % kIdentityCheckEvery == 0) {
      CheckVanished();
    }
    return false;
  }
  char got = 0;
  if (!port_->getChar(&got)) return false;
  byte = static_cast<std::uint8_t>(got);
  return true;
}

bool QtSerialDevice::Write(std::uint8_t byte) {
  if (!IsOpen()) return false;
  const char out = static_cast<char>(byte);
  if (port_->write(&out, 1) != 1) {
    CheckVanished();
    return false;
  }
  // Written bytes wait in QSerialPort's buffer until an event loop or a wait moves them.
  while (port_->bytesToWrite() > 0) {
    if (!port_->waitForBytesWritten(kWriteFlushMs)) {
      // A failed write changes nothing: the byte must not leave later on its own.
      port_->clear(QSerialPort::Output);
      CheckVanished();
      return false;
    }
  }
  return true;
}

bool QtSerialDevice::WaitReadable(std::uint32_t ms) {
  if (!IsOpen()) {
    QThread::msleep(ms);
    return false;
  }
  if (port_->bytesAvailable() > 0) return true;
  QElapsedTimer waited;
  waited.start();
  if (port_->waitForReadyRead(static_cast<int>(ms))) return true;
  CheckVanished();
  // A failed device answers at once; the caller still expects the time to have passed.
  const qint64 left = static_cast<qint64>(ms) - waited.elapsed();
  if (left > 0) QThread::msleep(static_cast<unsigned long>(left));
  return false;
}

void QtSerialDevice::Close() {
  if (!port_) return;
  port_->close();
  port_.reset();
  note_.clear();
  vanished_ = false;
  openDevice_ = 0;
  openInode_ = 0;
  quietPolls_ = 0;
}

void QtSerialDevice::CheckVanished() {
  if (vanished_ || !port_) return;
  const QSerialPort::SerialPortError error = port_->error();
  // A USB adapter pulled out gives a resource error; a pseudo-terminal whose other end closed
  // a read error, as does a hang-up.
  if (error == QSerialPort::ResourceError) {
    vanished_ = true;
    return;
  }
#ifdef Q_OS_UNIX
  const int fd = static_cast<int>(port_->handle());
  pollfd hangUp{fd, 0, 0};
  if (::poll(&hangUp, 1, 0) > 0 && (hangUp.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
    vanished_ = true;
    return;
  }
  // The name may already mean the next device: compare it with the one held open, not merely
  // look whether the name exists.
  struct stat named {};
  if (::stat(deviceName_.c_str(), &named) != 0) {
    vanished_ = error == QSerialPort::ReadError || error == QSerialPort::WriteError;
    return;
  }
  if (openDevice_ != 0 && (named.st_rdev != openDevice_ || named.st_ino != openInode_)) {
    vanished_ = true;
  }
#else
  if ((error == QSerialPort::ReadError || error == QSerialPort::WriteError) &&
      !QFileInfo::exists(QString::fromStdString(deviceName_))) {
    vanished_ = true;
  }
#endif
}

std::intptr_t QtSerialDevice::NativeHandle() const {
  if (!IsOpen()) return -1;
  return HandleValue(port_->handle());
}

}  // namespace zorv
