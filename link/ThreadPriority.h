#pragma once
// Gives the calling thread what a real-time device tool gives its link: a higher scheduling
// priority, so a busy machine does not make the controller give up on a transfer (it allows
// 1000 ms between two bytes). Round-robin real-time scheduling at a low real-time priority where
// the system allows it (root, CAP_SYS_NICE or an RLIMIT_RTPRIO), else a lower nice value for this
// thread; quietly nothing when both are refused. On Windows the top priority of the normal
// range, which needs no privilege: no normal thread, however boosted, goes above it; the
// real-time class stays above. Header only: the link and the simulator use it.
#include <string>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace zorv {

struct ThreadPriorityResult {
  bool raised = false;
  std::string how;  // "SCHED_RR 10", "nice -10", or why it stayed as it was
};

// A low real-time priority: above every normal thread, below the kernel's own real-time work.
inline constexpr int kLinkRealTimePriority = 10;
inline constexpr int kLinkNice = -10;

inline ThreadPriorityResult RaiseThreadPriority() {
#if defined(__linux__)
  sched_param param{};
  param.sched_priority = kLinkRealTimePriority;
  const int rr = pthread_setschedparam(pthread_self(), SCHED_RR, &param);
  if (rr == 0) return {true, "SCHED_RR " + std::to_string(kLinkRealTimePriority)};
  // On Linux a nice value set for a thread id holds for that thread alone.
  const auto tid = static_cast<id_t>(syscall(SYS_gettid));
  if (setpriority(PRIO_PROCESS, tid, kLinkNice) == 0) {
    return {true, "nice " + std::to_string(kLinkNice)};
  }
  return {false, std::string("unchanged (SCHED_RR: ") + std::strerror(rr) +
                     ", nice: " + std::strerror(errno) + ")"};
#elif defined(_WIN32)
  // The link sleeps between bytes, so the top of the range takes a core only for the moments
  // the controller's time limits need.
  if (SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL)) {
    return {true, "THREAD_PRIORITY_TIME_CRITICAL"};
  }
  return {false, "unchanged (SetThreadPriority: error " + std::to_string(GetLastError()) + ")"};
#else
  return {false, "unchanged (not done on this system)"};
#endif
}

}  // namespace zorv
