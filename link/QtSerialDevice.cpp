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

namespace zorv {
namespace {

// A byte takes about 1 ms at 9600 baud; this bounds a write on a stalled line.
constexpr int kWriteFlushMs = 50;

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
    std::string error = port->errorString().toStdString();
    return error.empty() ? "The port could not be opened." : error;
  }
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
    CheckVanished();
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
}

void QtSerialDevice::CheckVanished() {
  const QSerialPort::SerialPortError error = port_->error();
  // A pseudo-terminal whose other end closed gives a read error, a USB adapter a resource
  // error; either way only a missing node makes it an unplug rather than a line fault.
  if (error != QSerialPort::ReadError && error != QSerialPort::WriteError &&
      error != QSerialPort::ResourceError) {
    return;
  }
  if (!QFileInfo::exists(QString::fromStdString(deviceName_))) vanished_ = true;
}

std::intptr_t QtSerialDevice::NativeHandle() const {
  if (!IsOpen()) return -1;
  return HandleValue(port_->handle());
}

}  // namespace zorv
