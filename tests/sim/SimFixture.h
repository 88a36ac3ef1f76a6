#pragma once
// A running simulator and the test's end of its port, with the tool's side of the handshakes.
#include <gtest/gtest.h>

#include <QStringList>

#include "PtyClient.h"
#include "tests/support/SimProcess.h"

namespace zorvtest {

class SimFixture : public ::testing::Test {
 protected:
  // Starts zorv-sim with `arguments` and opens its port; fails the test when either fails.
  void StartSim(const QStringList& arguments);
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

  SimProcess sim;
  PtyClient port;
};

}  // namespace zorvtest
