// Wire time: without --fast the simulator keeps to 9600 baud.
#include <chrono>

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

}  // namespace
}  // namespace zorvtest
