#include "SimFixture.h"

namespace zorvtest {

void SimFixture::StartSim(const QStringList& arguments) {
  auto end = std::make_unique<PtyEnd>();
  const std::string error = end->Start(arguments);
  pty = end.get();
  end_ = std::move(end);
  ASSERT_TRUE(error.empty()) << error;
}

void SimFixture::StartCore(const QStringList& arguments) {
  auto end = std::make_unique<CoreEnd>(arguments);
  const std::string error = end->Error();
  core = end.get();
  end_ = std::move(end);
  ASSERT_TRUE(error.empty()) << error;
}

void SimFixture::Acknowledge() {
  const int mark = end_->LineCount();
  Write({0xFF, 'E'});
  ASSERT_TRUE(end_->WaitForLine("acknowledged", 3000, mark)) << Output();
  Drain(50);
}

void SimFixture::Request(std::uint8_t request, std::uint8_t product) {
  Write({0xFF});
  ASSERT_EQ(Read(1, 2000), Bytes{product});
  Write({request});
}

void SimFixture::HoldBootLoader(std::uint8_t product) {
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  ASSERT_NO_FATAL_FAILURE(Request('R', product));
  ASSERT_EQ(Read(1, 2000), Bytes{'B'});
  Write({'u'});
  ASSERT_EQ(Read(1, 2000), Bytes{'?'});
}

Bytes SimFixture::SendFrame(std::uint8_t command, const Bytes& payload) {
  Write(Frame(command, payload));
  return Read(1, 2000);
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
  Write(Frame('V', {static_cast<std::uint8_t>(address & 0xFF),
                    static_cast<std::uint8_t>(address >> 8)}));
  const Bytes answer = Read(67, 2000);
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
    const Bytes b = Read(1, 2000);
    if (b.empty()) break;
    image.push_back(b[0]);
    Write(b);
  }
  return image;
}

}  // namespace zorvtest
