#include "sim/Simulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "link/ThreadPriority.h"

namespace zorvsim {
namespace {
// Time-outs and announcements are checked at least this often.
constexpr auto kTickEvery = Millis(5);
// Never hold more unsent bytes than this; nobody is listening then.
constexpr std::size_t kOutLimit = 65536;
}  // namespace

Simulator::Simulator(SerialEndpoint& endpoint, PeerContext& context, bool wireTime,
                     std::chrono::milliseconds latency)
    : Simulator(Sink{}, context, wireTime, latency) {
  endpoint_ = &endpoint;
}

Simulator::Simulator(Sink sink, PeerContext& context, bool wireTime,
                     std::chrono::milliseconds latency)
    : sink_(std::move(sink)),
      latency_(latency),
      ctx_(context),
      program_(context),
      bootLoader_(context),
      inPacer_(wireTime),
      outPacer_(wireTime) {
  ctx_.send = [this](std::uint8_t b) {
    // A controller busy with a late answer sends nothing else before it.
    const TimePoint from = std::max(now_, ctx_.faults.outputHeldUntil);
    if (out_.size() < kOutLimit) out_.push_back({b, outPacer_.Schedule(from) + latency_});
  };
}

void Simulator::Start(bool inBootLoader, TimePoint now) {
  now_ = now;
  Follow(inBootLoader ? Switch::ToBootLoader : Switch::ToProgram, now);
}

void Simulator::Receive(const std::uint8_t* bytes, std::size_t count, TimePoint arrived) {
  for (std::size_t i = 0; i < count; ++i) in_.push_back({bytes[i], inPacer_.Schedule(arrived)});
}

void Simulator::Follow(Switch next, TimePoint now) {
  if (next == Switch::ToBootLoader) {
    inBootLoader_ = true;
    bootLoader_.Enter(now);
  } else if (next == Switch::ToProgram) {
    inBootLoader_ = false;
    Memories& m = ctx_.memories;
    if (m.blankAfterFlash && m.flashWritten) {
      m.settings.bytes.fill(255);
      ctx_.log.Line("new program: settings memory blank");
    }
    m.flashWritten = false;
    program_.Start(now);
  }
}

void Simulator::Feed(TimePoint now) {
  while (!in_.empty() && in_.front().due <= now) {
    const std::uint8_t b = in_.front().byte;
    in_.pop_front();
    Follow(inBootLoader_ ? bootLoader_.OnByte(b, now) : program_.OnByte(b, now), now);
  }
}

void Simulator::Flush(TimePoint now) {
  while (!out_.empty() && out_.front().due <= now) {
    if (sink_) {
      sink_(out_.front().byte);
      out_.pop_front();
      continue;
    }
    if (!endpoint_->Write(out_.front().byte)) {
      // A full pseudo-terminal means nobody has read it for a long time: drop the stale bytes.
      endpoint_->DiscardUnread();
      if (!endpoint_->Write(out_.front().byte)) return;
    }
    out_.pop_front();
  }
}

void Simulator::Pump(TimePoint now) {
  now_ = now;
  Feed(now);
  if (inBootLoader_) {
    Follow(bootLoader_.Tick(now), now);
  } else {
    program_.Tick(now);
  }
  Flush(now);
}

std::chrono::nanoseconds Simulator::WaitTime(TimePoint now) const {
  TimePoint wake = now + kTickEvery;
  if (!in_.empty()) wake = std::min(wake, in_.front().due);
  if (!out_.empty()) wake = std::min(wake, out_.front().due);
  return std::max(std::chrono::nanoseconds(0), wake - now);
}

void Simulator::PowerCycle(TimePoint now) {
  now_ = now;
  ctx_.log.Line("power cycled");
  in_.clear();
  out_.clear();
  inPacer_.Reset();
  outPacer_.Reset();
  ctx_.faults.outputHeldUntil = {};
  Follow(Switch::ToBootLoader, now);
}

bool Simulator::Run(int stopFd, bool startInBootLoader, int replugFd, const Replug& replug,
                    int powerFd) {
  // In a test the simulator is the controller: a busy machine must not make it late either.
  ctx_.log.Line("serving thread priority: " + zorv::RaiseThreadPriority().how);
  Start(startInBootLoader, Clock::now());
  for (;;) {
    const TimePoint now = Clock::now();
    Pump(now);
    const auto wait = WaitTime(Clock::now());
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(wait.count() / 1'000'000'000);
    timeout.tv_nsec = static_cast<long>(wait.count() % 1'000'000'000);
    // A negative descriptor is passed over by ppoll.
    pollfd fds[4] = {{endpoint_->Fd(), POLLIN, 0},
                     {stopFd, POLLIN, 0},
                     {replugFd, POLLIN, 0},
                     {powerFd, POLLIN, 0}};
    const int ready = ppoll(fds, 4, &timeout, nullptr);
    if (ready < 0 && errno != EINTR) {
      ctx_.log.Line(std::string("poll failed: ") + std::strerror(errno));
      return false;
    }
    if (ready <= 0) continue;
    if (fds[1].revents != 0) return true;
    if (powerFd >= 0 && fds[3].revents != 0) {
      char drained[16];
      while (read(powerFd, drained, sizeof drained) > 0) {
      }
      PowerCycle(Clock::now());
      continue;
    }
    if (replugFd >= 0 && fds[2].revents != 0) {
      char drained[16];
      while (read(replugFd, drained, sizeof drained) > 0) {
      }
      SerialEndpoint* fresh = replug ? replug() : nullptr;
      if (fresh == nullptr) return false;
      endpoint_ = fresh;
      in_.clear();
      out_.clear();
      inPacer_.Reset();
      outPacer_.Reset();
      continue;
    }
    if ((fds[0].revents & POLLIN) != 0) {
      std::uint8_t buffer[512];
      const long got = endpoint_->Read(buffer, sizeof buffer);
      if (got < 0) {
        ctx_.log.Line("port failed: " + std::string(std::strerror(errno)));
        return false;
      }
      Receive(buffer, static_cast<std::size_t>(got), Clock::now());
    } else if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      // A pseudo-terminal master may report a hang-up while the tool has the port closed;
      // sleep a little instead of spinning.
      timespec pause{0, 2'000'000};
      nanosleep(&pause, nullptr);
    }
  }
}

}  // namespace zorvsim
