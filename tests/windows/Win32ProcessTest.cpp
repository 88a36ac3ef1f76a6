// What the programs get from Windows itself: Ctrl+C delivered through the console's control
// handler (on a thread of the system's), and the link thread's priority.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "cli/Interrupt.h"
#include "link/ThreadPriority.h"

namespace zorv {
namespace {

struct PressCase {
  const char* name;
  bool writingFirmware;
  int presses;
  bool stopped;
};

TEST(ConsoleEvents, CtrlCStopsTheLinkButOnlyWarnsOnceWhileFirmwareIsWritten) {
  // A console of this test's own, so the events reach no other program.
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  const PressCase cases[] = {
      {"no firmware write: the first press stops", false, 1, true},
      {"firmware write: the first press only warns", true, 1, false},
      {"firmware write: the second press stops", true, 2, true},
  };
  for (const PressCase& c : cases) {
    std::atomic<bool> stop{false};
    cli::CatchInterrupt(stop);
    cli::SetWritingFirmware(c.writingFirmware);
    for (int press = 0; press < c.presses; ++press) {
      ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) << c.name;
      Sleep(300);  // the system runs the handler on a thread of its own
    }
    EXPECT_EQ(stop.load(), c.stopped) << c.name;
    cli::SetWritingFirmware(false);
    cli::ReleaseInterrupt();
  }
  FreeConsole();
}

TEST(ThreadPriority, TheLinkThreadRunsAboveEveryNormalThread) {
  std::thread([] {
    const ThreadPriorityResult result = RaiseThreadPriority();
    EXPECT_TRUE(result.raised) << result.how;
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_TIME_CRITICAL);
  }).join();
}

}  // namespace
}  // namespace zorv
