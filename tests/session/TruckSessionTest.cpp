// The session without widgets: every flow commits the pending edit first, the marker compares
// the bytes the controller would receive with those last kept, an upload marks as sent what it
// sent, and Exit's "Send to controller" waits for the confirmation.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "session/TruckSession.h"

namespace zorv::test {
namespace {

// A session whose "window" records the hooks' calls; the pending edit writes byte 7 = 77.
struct Recorded {
  TruckSession session;
  std::vector<std::string> calls;
  bool pending = true;
  bool shownModified = false;

  Recorded() {
    session.SetHooks({
        .commitPendingEdit =
            [this] {
              calls.push_back("commit");
              if (pending) session.Image()[7] = 77;
              pending = false;
            },
        .showImage = [this] { calls.push_back("show"); },
        .showModified = [this](bool m) { shownModified = m; },
        .keepUnsentEdits = [this](bool u) { calls.push_back(u ? "keep unsent" : "keep nothing"); },
        .record = [this](history::EventKind k, const QString&) {
          calls.push_back("record " + std::to_string(static_cast<int>(k)));
        },
        .watchForAdapter = [this] { calls.push_back("watch"); },
        .restartLink = [this] { calls.push_back("restart"); },
    });
  }
};

struct FlowRow {
  const char* name;
  std::function<void(TruckSession&)> flow;
  std::vector<std::string> calls;  // hooks in order
  bool modifiedAfter;
  int byte7After;
};

ImageBytes Other() {
  ImageBytes b{};
  b[9] = 9;
  return b;
}

TEST(TruckSession, EveryFlowCommitsFirstAndKeepsTheMarkerTrue) {
  const auto uploaded = std::to_string(static_cast<int>(history::EventKind::Uploaded));
  const auto downloaded = std::to_string(static_cast<int>(history::EventKind::Downloaded));
  const std::vector<FlowRow> rows = {
      {"commit only", [](TruckSession& s) { s.CommitPendingEdit(); }, {"commit"}, true, 77},
      {"upload confirmed",
       [](TruckSession& s) {
         s.UploadStarting();
         s.UploadFinished();
       },
       {"commit", "record " + uploaded}, false, 77},
      {"replaced by a file",
       [](TruckSession& s) {
         s.BeforeReplace();
         s.Replace(Other(), true);
       },
       {"commit", "keep unsent", "show"}, false, 0},
      {"restored from the history (not kept)",
       [](TruckSession& s) {
         s.BeforeReplace();
         s.Replace(Other(), false);
       },
       {"commit", "keep unsent", "show"}, true, 0},
      {"download",
       [](TruckSession& s) {
         s.DownloadArriving();
         s.Image().bytes = Other();
         s.DownloadArrived();
       },
       {"commit", "keep unsent", "show", "record " + downloaded}, false, 0},
      {"unplugged, back", [](TruckSession& s) { s.Unplugged(); s.Replugged(); },
       {"watch", "restart"}, false, 0},
  };
  for (const FlowRow& row : rows) {
    Recorded r;
    r.session.MarkKept();
    row.flow(r.session);
    EXPECT_EQ(r.calls, row.calls) << row.name;
    EXPECT_EQ(r.session.Modified(), row.modifiedAfter) << row.name;
    EXPECT_EQ(r.shownModified, row.modifiedAfter) << row.name;
    EXPECT_EQ(r.session.Image()[7], row.byte7After) << row.name;
  }
}

// An edit made while the upload runs was not sent: the marker stays.
TEST(TruckSession, EditDuringUploadStaysUnsent) {
  Recorded r;
  r.session.MarkKept();
  const ImageBytes sent = r.session.UploadStarting();
  EXPECT_EQ(sent[7], 77) << "the typed value goes";
  r.session.Image()[8] = 88;
  r.session.UploadFinished();
  EXPECT_TRUE(r.session.Modified());
  r.session.Image()[8] = 0;
  EXPECT_FALSE(r.session.Modified()) << "undone, the image is what was sent";
}

struct WatchRow {
  const char* name;
  std::vector<bool> ticks;  // link idle at each timer tick after "Send to controller"
  bool closes;              // when "Upload Successful!" then arrives
};

TEST(TruckSession, CloseAfterUploadWaitsForTheConfirmation) {
  const std::vector<WatchRow> rows = {
      {"confirmed at once", {}, true},
      {"confirmed while busy", {false, false}, true},
      {"one idle tick before the queued confirmation", {false, true}, true},
      {"failed: idle again for two ticks", {false, true, true}, false},
      {"idle before it ever started", {true, true, true}, true},
  };
  for (const WatchRow& row : rows) {
    TruckSession s;
    s.CloseAfterUpload();
    for (const bool idle : row.ticks) s.WatchLink(idle);
    EXPECT_EQ(s.TakeCloseAfterUpload(), row.closes) << row.name;
    EXPECT_FALSE(s.TakeCloseAfterUpload()) << row.name << ": once only";
  }
}

// Without a window (the command line) nothing is committed and nothing breaks.
TEST(TruckSession, WorksWithoutHooks) {
  TruckSession s;
  s.Image()[3] = 3;
  s.BeforeReplace();
  s.Replace(Other(), true);
  EXPECT_FALSE(s.Modified());
  s.UploadStarting();
  s.UploadFinished();
  s.DownloadArrived();
  s.Unplugged();
  EXPECT_EQ(s.Image().bytes, Other());
}

}  // namespace
}  // namespace zorv::test
