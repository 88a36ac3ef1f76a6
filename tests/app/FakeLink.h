#pragma once
// A link for window tests: records what the window asks of it and reports a chosen state.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "app/LinkControl.h"

namespace zorv::test {

struct LinkRecord {
  std::vector<int> startedOn;  // port of each link created, in order
  int stopped = 0;
  int live = 0;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> commands;
  int progressClears = 0;
  LinkState state = LinkState::ConnectedIdle;  // what State() reports
  std::uint64_t nextSource = 100;
  std::uint64_t currentSource = 0;
};

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
  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    record_.commands.emplace_back(command, argument);
  }
  LinkState State() const override { return record_.state; }
  void ClearProgress() override { ++record_.progressClears; }
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
