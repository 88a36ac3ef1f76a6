#include "SimFixture.h"

namespace zorvtest {

void SimFixture::StartSim(const QStringList& arguments) {
  const QString path = sim.Start(arguments);
  ASSERT_FALSE(path.isEmpty()) << sim.Output().toStdString();
  ASSERT_TRUE(port.Open(path)) << path.toStdString();
}

void SimFixture::Acknowledge() {
  const int mark = sim.LineCount();
  port.Write({0xFF, 'E'});
  ASSERT_TRUE(sim.WaitForLine("acknowledged", 3000, mark)) << sim.Output().toStdString();
  port.Drain(50);
}

void SimFixture::Request(std::uint8_t request, std::uint8_t product) {
  port.Write({0xFF});
  ASSERT_EQ(port.Read(1, 2000), Bytes{product});
  port.Write({request});
}

void SimFixture::HoldBootLoader(std::uint8_t product) {
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  ASSERT_NO_FATAL_FAILURE(Request('R', product));
  ASSERT_EQ(port.Read(1, 2000), Bytes{'B'});
  port.Write({'u'});
  ASSERT_EQ(port.Read(1, 2000), Bytes{'?'});
}

Bytes SimFixture::SendFrame(std::uint8_t command, const Bytes& payload) {
  port.Write(Frame(command, payload));
  return port.Read(1, 2000);
}

bool SimFixture::WritePage(unsigned address, const Bytes& data) {
  const Bytes ack{0x06};
  const auto lo = static_cast<std::uint8_t>(address & 0xFF);
  const auto hi = static_cast<std::uint8_t>(address >> 8);
  if (SendFrame('A', {lo, hi}) != ack || SendFrame('E', {}) != ack) return false;
  for (std::size_t at = 0; at < data.size(); at += 64) {
    const Bytes block(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + 64));
    if (SendFrame('D', block) != ack) return false;
  }
  return SendFrame('F', {}) == ack;
}

Bytes SimFixture::ReadBack(unsigned address) {
  port.Write(Frame('V', {static_cast<std::uint8_t>(address & 0xFF),
                         static_cast<std::uint8_t>(address >> 8)}));
  const Bytes answer = port.Read(67, 2000);
  if (answer.size() != 67 || answer[0] != 'V' || answer[1] != 67) return {};
  std::uint8_t sum = 0;
  for (std::size_t i = 2; i < 66; ++i) sum = static_cast<std::uint8_t>(sum ^ answer[i]);
  if (sum != answer[66]) return {};
  return Bytes(answer.begin() + 2, answer.begin() + 66);
}

Bytes SimFixture::Download(std::size_t length, std::uint8_t product) {
  Request('F', product);
  Bytes image;
  for (std::size_t i = 0; i < length; ++i) {
    const Bytes b = port.Read(1, 2000);
    if (b.empty()) break;
    image.push_back(b[0]);
    port.Write(b);
  }
  return image;
}

}  // namespace zorvtest
