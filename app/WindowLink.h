#pragma once
// The window's link: made by the factory on the chosen port, replaced on Reset, a port change or
// a re-plug, and gone before the window's strip and image it calls back into. The pages' live
// test drives an output through it, let go 2.5 s after the pages last drove it.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/LinkControl.h"
#include "app/LinkRequests.h"
#include "link/Clock.h"
#include "ui/Prompts.h"

namespace zorv {

class WindowLink {
 public:
  static constexpr std::uint32_t kLiveTestLimitMs = 2500;

  WindowLink(LinkFactory factory, Prompts& prompts) : factory_(std::move(factory)), prompts_(prompts) {}

  LinkControl* Get() const { return link_.get(); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  void Start() {
    link_ = factory_ ? factory_(port_) : nullptr;
    retiring_ = false;
  }
  void Stop();
  // A new link on the same port: Reset, a port change, the link's own wish to be replaced.
  void Restart() {
    Stop();
    Start();
  }
  // Called as the present link goes (Reset, another port, closing), before it is stopped.
  void OnStop(std::function<void()> stopping) { stopping_ = std::move(stopping); }
  bool InState(LinkState state) const { return link_ && link_->State() == state; }
  // Whether `source` tags the present link's events (0: untagged, taken as present).
  bool Current(std::uint64_t source) const {
    return source == 0 || (link_ && source == link_->NoticeSource());
  }

  // Reset was asked of the present link, which answers by asking to be replaced: what it still
  // delivers until then (a download that crossed the click) is the old link's.
  void Retire() { retiring_ = true; }
  bool Retiring() const { return retiring_; }

  // False when firmware is being written and the user chose to let it finish.
  bool MayStop();
  // Hands `job` to the link; "" when it takes it now, else why not (the link refuses it too).
  QString Request(LinkJob job);
  // The pages drive one valve output while its button is held; 0 lets go.
  void SetCommand(std::uint8_t command, std::uint8_t argument);
  // When the pages' live test last drove an output (0: none); the pages set it.
  std::uint32_t& TestTimeStamp() { return testTimeStamp_; }
  // On the window's timer: an output driven for longer than the limit is let go.
  void EndStaleLiveTest(Clock& clock);
  // Calls `back` once the port's device is there again.
  void WatchForAdapter(std::function<void()> back);
  // A port that failed to open because its device is missing (Reset while unplugged, or the
  // adapter not yet plugged in) is watched for, so it opens by itself once the device appears.
  void WatchIfDeviceMissing(std::function<void()> back);

 private:
  LinkFactory factory_;
  Prompts& prompts_;
  int port_ = 1;
  ReplugWatch replug_;
  std::unique_ptr<LinkControl> link_;
  std::function<void()> stopping_;
  std::uint32_t testTimeStamp_ = 0;
  bool retiring_ = false;
};

}  // namespace zorv
