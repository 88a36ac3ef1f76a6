#pragma once
// A link for window tests: records what the window asks of it and reports a chosen state.
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/LinkControl.h"

namespace zorv::test {

struct LinkRecord {
  std::vector<int> startedOn;  // port of each link created, in order
  int stopped = 0;
  int live = 0;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> commands;
  std::vector<LinkJob> jobs;
  LinkState state = LinkState::ConnectedIdle;  // what State() reports
  std::optional<LinkState> movesOnTo;  // the state a job finds on arrival, if not `state`
  std::uint64_t nextSource = 100;
  std::uint64_t currentSource = 0;
};

// A job as the byte pair the window used to hand the link: 253 download, 254 upload, 251
// upgrade, 250 read, 255 reset, (output, value) a live output, (0, 0) live output off.
inline std::pair<std::uint8_t, std::uint8_t> JobCode(const LinkJob& job) {
  if (std::holds_alternative<DownloadJob>(job)) return {253, 0};
  if (std::holds_alternative<UploadJob>(job)) return {254, 0};
  if (std::holds_alternative<OpenBootLoaderJob>(job)) return {251, 0};
  if (std::holds_alternative<ReadFlashJob>(job)) return {250, 0};
  if (std::holds_alternative<ResetJob>(job)) return {255, 0};
  if (const auto* live = std::get_if<LiveOutputJob>(&job)) return {live->output, live->value};
  return {0, 0};
}

class FakeLink final : public LinkControl {
 public:
  FakeLink(LinkRecord& record, int port) : record_(record), port_(port), source_(record.nextSource++) {
    record_.startedOn.push_back(port);
    ++record_.live;
    record_.currentSource = source_;
  }
  ~FakeLink() override {
    ++record_.stopped;
    --record_.live;
  }
  // Recorded as the window's old command bytes, the tests' short names for jobs.
  bool Submit(LinkJob job) override {
    record_.commands.push_back(JobCode(job));
    record_.jobs.push_back(std::move(job));
    if (record_.movesOnTo) record_.state = *record_.movesOnTo;
    return Accepts(record_.state, record_.jobs.back());
  }
  LinkState State() const override { return record_.state; }
  int PortNumber() const override { return port_; }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  LinkRecord& record_;
  int port_;
  std::uint64_t source_;
};

inline LinkFactory FakeLinkFactory(LinkRecord& record) {
  return [&record](int port) { return std::make_unique<FakeLink>(record, port); };
}

}  // namespace zorv::test
