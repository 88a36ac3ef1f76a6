// Wire time: without --fast the simulator keeps to 9600 baud.
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>

#include "SimFixture.h"

namespace zorvtest {
namespace {

using SimWireTest = SimFixture;

TEST_F(SimWireTest, DownloadTakesTheWireTimeOf9600Baud) {
  StartSim({});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Download(256).size(), 256u);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // 256 bytes out at about 1.04 ms each, and their echoes taken in at the same pace.
  EXPECT_GE(seconds, 0.25);
}

// The core keeps the wire time on the fake clock: no real time passes, the clock's does.
TEST_F(SimWireTest, CoreKeepsTheWireTimeOnTheFakeClock) {
  StartCore({"--latency", "16"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());  // no more announcements
  const std::uint32_t asked = core->clock.Ticks();
  Write({0xFF});
  ASSERT_EQ(Read(1, 2000), Bytes{'g'});
  // In at 1.04 ms, out at 1.04 ms more, held 16 ms by the adapter: read at the 19th ms.
  EXPECT_EQ(core->clock.Ticks() - asked, 19u);
  const std::uint32_t start = core->clock.Ticks();
  EXPECT_EQ(Download(256).size(), 256u);
  // 256 bytes each way at 10 bits and 9600 baud are 533 ms, and each answer waits its 16 ms.
  EXPECT_GE(core->clock.Ticks() - start, 533u + 256u * 16u);
  EXPECT_LE(core->clock.Ticks() - start, 533u + 256u * 16u + 2 * 256u);  // the clock's 1 ms grain
}

// --latency holds every byte the simulator sends, as a USB adapter's buffer does: the answer to
// 0xFF comes that much later.
struct LatencyCase {
  const char* name;
  const char* latency;
  double minMs;
  double maxMs;
};

class SimLatencyTest : public SimFixture, public ::testing::WithParamInterface<LatencyCase> {};

TEST_P(SimLatencyTest, AnswersAreHeldForTheLatency) {
  StartSim({"--fast", "--latency", GetParam().latency});
  // Acknowledged, so no announcement is on its way: on a loaded machine one still held by the
  // latency was read as the answer (a 'g' after 2 ms at 16 ms of latency).
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  double fastest = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    Write({0xFF});
    const Bytes answer = Read(1, 2000);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(answer, Bytes{'g'});
    fastest = std::min(fastest, ms);
    Write({'E'});
    Drain(30);
  }
  EXPECT_GE(fastest, GetParam().minMs);
  EXPECT_LE(fastest, GetParam().maxMs);
}

INSTANTIATE_TEST_SUITE_P(Latencies, SimLatencyTest,
                         ::testing::Values(LatencyCase{"none", "0", 0, 12},
                                           LatencyCase{"ftdi_default", "16", 16, 40}),
                         [](const auto& row) { return std::string(row.param.name); });

// SIGUSR1 pulls the cable: the pseudo-terminal goes away and a new one is announced, on which
// the controller answers as before.
TEST_F(SimWireTest, UnplugSignalOpensANewPseudoTerminal) {
  StartSim({"--fast"});
  const QString old = pty->sim.Port();
  const int from = pty->sim.LineCount();
  ASSERT_TRUE(pty->sim.Signal(SIGUSR1));
  const auto line = pty->sim.WaitForLine("port: ", 5000, from);
  ASSERT_TRUE(line.has_value()) << Output();
  const QString fresh = line->mid(line->indexOf("port: ") + 6).trimmed();
  EXPECT_NE(fresh, old);
  EXPECT_FALSE(QFileInfo::exists(old));
  PtyClient again;
  ASSERT_TRUE(again.Open(fresh));
  again.Drain(100);
  again.Write({0xFF});
  EXPECT_EQ(again.Read(1, 2000), Bytes{'g'});
}

}  // namespace
}  // namespace zorvtest
