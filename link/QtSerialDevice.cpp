#include "link/QtSerialDevice.h"

#include <QSerialPort>
#include <QString>
#include <type_traits>

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
  port_ = std::move(port);
  return {};
}

bool QtSerialDevice::IsOpen() const { return port_ != nullptr && port_->isOpen(); }

bool QtSerialDevice::Read(std::uint8_t& byte) {
  if (!IsOpen()) return false;
  // No event loop runs on the link thread: a zero wait polls the descriptor once.
  if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(0)) return false;
  char got = 0;
  if (!port_->getChar(&got)) return false;
  byte = static_cast<std::uint8_t>(got);
  return true;
}

bool QtSerialDevice::Write(std::uint8_t byte) {
  if (!IsOpen()) return false;
  const char out = static_cast<char>(byte);
  if (port_->write(&out, 1) != 1) return false;
  // Written bytes wait in QSerialPort's buffer until an event loop or a wait moves them.
  while (port_->bytesToWrite() > 0) {
    if (!port_->waitForBytesWritten(kWriteFlushMs)) {
      // A failed write changes nothing: the byte must not leave later on its own.
      port_->clear(QSerialPort::Output);
      return false;
    }
  }
  return true;
}

void QtSerialDevice::Close() {
  if (!port_) return;
  port_->close();
  port_.reset();
}

std::intptr_t QtSerialDevice::NativeHandle() const {
  if (!IsOpen()) return -1;
  return HandleValue(port_->handle());
}

}  // namespace zorv
