// zorv-sim's faults in time: a read-back answered late (in process, on the fake clock) and a
// power cycle on SIGUSR2 (the program, on its pseudo-terminal).
#include <csignal>

#include "SimFixture.h"

namespace zorvtest {
namespace {

using SimFaultTiming = SimFixture;

TEST_F(SimFaultTiming, LateReadBackComesAfterTheToolsTimeLimitAndTheNextWaitsBehindIt) {
  StartCore({"--fast", "--late-readback", "0x0040"});
  ASSERT_NO_FATAL_FAILURE(HoldBootLoader());
  EXPECT_EQ(ReadBack(0x0000).size(), 64u);  // another block: at once
  const Bytes request{'V', 5, 0x40, 0x00, 0x40};
  Write(request);
  EXPECT_TRUE(Read(67, 10000).empty()) << "answered within the tool's 10 s";
  Write(request);  // the tool's retry
  const Bytes both = Read(2 * 67, 1000);
  ASSERT_EQ(both.size(), 2u * 67) << Output();
  EXPECT_TRUE(std::equal(both.begin(), both.begin() + 67, both.begin() + 67));
  EXPECT_EQ(ReadBack(0x0040).size(), 64u);  // once only
  StopSim();
  EXPECT_TRUE(WaitForLine("counter late answers: 1", 100)) << Output();
}

TEST_F(SimFaultTiming, PowerCycleOnSigusr2AnnouncesTheBootLoaderThenStartsTheProgram) {
  StartSim({"--fast"});
  ASSERT_NO_FATAL_FAILURE(Acknowledge());
  const int before = pty->LineCount();
  ASSERT_TRUE(pty->sim.Signal(SIGUSR2));
  EXPECT_EQ(Read(1, 2000), Bytes{'B'});
  EXPECT_TRUE(WaitForLine("power cycled", 2000, before)) << Output();
  // Nobody holds it: after about a second its program runs and announces itself.
  EXPECT_EQ(Read(1, 3000), Bytes{'g'});
}

}  // namespace
}  // namespace zorvtest
