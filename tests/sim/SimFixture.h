#pragma once
// A running simulator and the test's end of its port, with the tool's side of the handshakes.
// StartCore runs the simulator's core in the test's own process on a fake clock (no real time
// passes); StartSim runs zorv-sim as a process on a pseudo-terminal, for what only the real
// program has (its wire time in real time, signals, files written at exit, its command line).
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "SimEnd.h"

namespace zorvtest {

class SimFixture : public ::testing::Test {
 protected:
  // Fail the test when the simulator does not start.
  void StartSim(const QStringList& arguments);
  void StartCore(const QStringList& arguments);

  void Write(const Bytes& bytes) { end_->Write(bytes); }
  Bytes Read(std::size_t count, int timeoutMs) { return end_->Read(count, timeoutMs); }
  Bytes Drain(int quietMs, int limitMs = 3000) { return end_->Drain(quietMs, limitMs); }
  std::optional<std::string> WaitForLine(const QString& text, int timeoutMs, int fromLine = 0) {
    return end_->WaitForLine(text.toStdString(), timeoutMs, fromLine);
  }
  std::string Output() { return end_->Output(); }
  void StopSim() { end_->Stop(); }

  // The tool's identification: 0xFF, the product code, 'E'; then nothing more is announced.
  void Acknowledge();
  // 0xFF, expect `product`, then send `request`.
  void Request(std::uint8_t request, std::uint8_t product = 'g');
  // 'R' after a product code, then 'u': the boot loader is held and prompting.
  void HoldBootLoader(std::uint8_t product = 'g');
  // Sends a frame and returns the one-byte answer (empty when none came within 2 s).
  Bytes SendFrame(std::uint8_t command, const Bytes& payload);
  // A, E, D..., F for one page; true when every frame was acknowledged.
  bool WritePage(unsigned address, const Bytes& data);
  // 'V' for 64 bytes at `address`; the 64 payload bytes of a well-formed answer, else empty.
  Bytes ReadBack(unsigned address);
  // Receives a whole download of `length` bytes, echoing each one.
  Bytes Download(std::size_t length, std::uint8_t product = 'g');

  PtyEnd* pty = nullptr;    // after StartSim
  CoreEnd* core = nullptr;  // after StartCore

 private:
  std::unique_ptr<SimEnd> end_;
};

}  // namespace zorvtest
