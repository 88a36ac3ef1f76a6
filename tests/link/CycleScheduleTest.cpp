// The link loop's schedule on the fake clock: steps start on their deadlines, the rhythm does
// not drift, and a step that ran long is followed by one period of rest, not a burst.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/CycleSchedule.h"
#include "tests/support/FakeClock.h"

namespace zorv {
namespace {

struct ScheduleCase {
  const char* name;
  std::uint32_t clockStart;
  int steps;
  std::function<std::uint32_t(int step)> cost;  // ms the step takes
};

// Start ticks of every step when each step costs what the case says.
std::vector<std::uint32_t> RunSteps(const ScheduleCase& c) {
  test::FakeClock clock(c.clockStart);
  CycleSchedule schedule(clock, 10);
  schedule.Start();
  std::vector<std::uint32_t> starts;
  for (int i = 0; i < c.steps; ++i) {
    starts.push_back(clock.Ticks());
    clock.Advance(c.cost(i));
    schedule.WaitForNext();
  }
  return starts;
}

class CycleScheduleTest : public ::testing::TestWithParam<ScheduleCase> {};

// Each step starts 10 ms after the previous one started, or, after one that ran past its
// deadline, 10 ms after that step ended. Never earlier, never later.
TEST_P(CycleScheduleTest, EveryStepStartsOnItsDeadline) {
  const ScheduleCase& c = GetParam();
  const std::vector<std::uint32_t> starts = RunSteps(c);
  for (std::size_t i = 1; i < starts.size(); ++i) {
    const std::uint32_t end = starts[i - 1] + c.cost(static_cast<int>(i - 1));
    const std::uint32_t due = end - starts[i - 1] > 10 ? end + 10 : starts[i - 1] + 10;
    ASSERT_EQ(starts[i], due) << "step " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Costs, CycleScheduleTest,
    ::testing::Values(
        ScheduleCase{"free_steps", 0, 10000, [](int) { return 0u; }},
        ScheduleCase{"steps_of_3_ms", 5, 10000, [](int) { return 3u; }},
        ScheduleCase{"steps_of_exactly_10_ms", 5, 1000, [](int) { return 10u; }},
        ScheduleCase{"one_step_of_35_ms", 0, 100, [](int i) { return i == 20 ? 35u : 2u; }},
        ScheduleCase{"a_second_long_programming_step", 7, 200,
                     [](int i) { return i == 50 ? 4000u : 1u; }},
        ScheduleCase{"across_the_tick_wrap", 0xFFFFFF00u, 10000, [](int i) { return i % 9u; }}),
    [](const auto& row) { return std::string(row.param.name); });

// No drift: 10,000 steps of 3 ms take exactly 100 s from first start to last deadline.
TEST(CycleScheduleDriftTest, TenThousandStepsTakeTenThousandPeriods) {
  const std::vector<std::uint32_t> starts = RunSteps({"", 1234, 10001, [](int) { return 3u; }});
  EXPECT_EQ(starts.back() - starts.front(), 100000u);
}

// After a long step no two steps start closer than one period: no catch-up burst.
TEST(CycleScheduleDriftTest, NoBurstAfterALongStep) {
  const std::vector<std::uint32_t> starts =
      RunSteps({"", 0, 60, [](int i) { return i == 10 ? 95u : 1u; }});
  for (std::size_t i = 1; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 10u) << i;
  EXPECT_EQ(starts[11], starts[10] + 95 + 10);
}

}  // namespace
}  // namespace zorv
