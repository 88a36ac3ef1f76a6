// A download from zorv-sim while a box holds the focus: the real link stores the controller's
// image, the real "Download Successful!" box takes the focus, and the box the user sat or typed
// in must not write its text over what was downloaded.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <atomic>
#include <csignal>
#include <functional>
#include <utility>
#include <vector>

#include "app/EndSignals.h"
#include "app/LinkNotice.h"
#include "image/SwitchFile.h"
#include "link/LinkThread.h"
#include "tests/e2e/WindowHarness.h"
#include "tests/support/FocusTakingPrompts.h"

namespace zorv::test {
namespace {

struct DownloadRow {
  const char* name;
  const char* product;
  const char* box;
  std::size_t offset;
  std::vector<int> controller;  // what the controller holds there
  const char* typed;            // nullptr: the user only sat in the box
};

void PrintTo(const DownloadRow& row, std::ostream* os) { *os << row.name; }

class DownloadWithFocusE2E : public ::testing::TestWithParam<DownloadRow> {};

TEST_P(DownloadWithFocusE2E, ControllerBytesReachTheImage) {
  const DownloadRow& row = GetParam();
  WindowHarness h{Where::InProcess};
  FocusTakingPrompts focusPrompts(h.prompts);
  h.windowPrompts = &focusPrompts;
  SettingsImage controller;
  for (std::size_t i = 0; i < row.controller.size(); ++i) {
    controller[row.offset + i] = static_cast<std::uint8_t>(row.controller[i]);
  }
  const std::string imageFile = h.files.File("controller.joy");
  ASSERT_TRUE(WriteSwitchFile(imageFile, controller).ok);
  ASSERT_TRUE(h.StartActive({"--product", row.product, "--image", QString::fromStdString(imageFile)}))
      << h.controller.Output();

  // The window shows other values than the controller holds (a file opened, say).
  for (std::size_t i = 0; i < row.controller.size(); ++i) h.form->Image()[row.offset + i] = 1;
  h.form->RefreshControls(1);
  auto* box = h.Find<QWidget>(row.box);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->isVisible());
  box->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  if (row.typed != nullptr) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, row.typed);
  }

  h.prompts.ExpectMessage();  // "Download Successful!"
  h.Find<QAction>("GetCalibration1")->trigger();
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 20000));
  EXPECT_EQ(h.prompts.MessageTexts().back(), "Download Successful!");
  for (std::size_t i = 0; i < row.controller.size(); ++i) {
    EXPECT_EQ(h.form->Image()[row.offset + i], row.controller[i]) << "byte " << row.offset + i;
  }
  EXPECT_FALSE(h.form->isWindowModified()) << "the window holds what the controller holds";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, DownloadWithFocusE2E,
    ::testing::Values(DownloadRow{"QuirnEdit3", "c", "Edit3", 3, {18, 52}, nullptr},
                      DownloadRow{"QuirnEdit3Typed", "c", "Edit3", 3, {18, 52}, "999"},
                      DownloadRow{"HalverstonRateTyped", "d", "SpinEdit2", 20, {5}, "70"}),
    [](const ::testing::TestParamInfo<DownloadRow>& row) { return std::string(row.param.name); });

// A real link whose download reaches the window only after the user pressed Reset: the window
// replaced the link in between, as a click can while the window is busy. On the in-process
// simulator: a loaded machine slows the race down but cannot make the new link's download miss
// its time-outs.
class ResetDuringStoreLink final : public LinkControl, private LinkEvents {
 public:
  ResetDuringStoreLink(TZorvForm& form, int port, SharedSim& sim, std::atomic<bool>& armed,
                       std::function<void()> stored)
      : form_(form),
        armed_(armed),
        stored_(std::move(stored)),
        source_(nextSource_++),
        thread_(*this, port, nullptr, sim.LinkClock(), sim) {}

  bool Submit(LinkJob job) override { return thread_.Submit(std::move(job)); }
  LinkState State() const override { return thread_.State(); }
  int PortNumber() const override { return thread_.PortNumber(); }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  // Link thread.
  void Post(LinkEvent event) override {
    const bool download = std::holds_alternative<DownloadedEvent>(event);
    if (download && armed_.exchange(false)) {
      // The Reset click is queued ahead of the download it overtakes.
      TZorvForm* form = &form_;
      QMetaObject::invokeMethod(form, [form] { form->ResetButtonClick(); }, Qt::QueuedConnection);
    } else if (download) {
      QMetaObject::invokeMethod(&form_, stored_, Qt::QueuedConnection);
    }
    PostLinkEvent(std::move(event), source_);
  }

  static inline std::uint64_t nextSource_ = 1000;
  TZorvForm& form_;
  std::atomic<bool>& armed_;
  std::function<void()> stored_;
  std::uint64_t source_;
  LinkThread thread_;  // last: stopped first
};

// "Download Successful!" shows once, for the new link's download; the replaced link's download
// shows no box and is not stored.
TEST(ResetDuringStoreE2E, OnlyTheNewLinksDownloadIsAnnounced) {
  WindowHarness h{Where::InProcess};
  std::atomic<bool> armed{false};
  int stores = 0;
  h.linkMaker = [&](TZorvForm& form, int port) -> std::unique_ptr<LinkControl> {
    return std::make_unique<ResetDuringStoreLink>(form, port, *h.controller.InProcess(), armed,
                                                  [&] { ++stores; });
  };
  ASSERT_TRUE(h.Start({})) << h.controller.Output();
  const std::size_t before = h.prompts.MessageTexts().size();
  const int storesBefore = stores;

  armed = true;
  h.prompts.ExpectMessage();  // the new link's download only
  h.Find<QAction>("GetCalibration1")->trigger();
  ASSERT_TRUE(WaitUntil([&] { return stores > storesBefore; }, 30000));
  EXPECT_FALSE(armed) << "the reset overtook a download";
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 10000));
  WaitUntil([] { return false; }, 300);  // anything still queued
  const std::vector<QString> texts = h.prompts.MessageTexts();
  ASSERT_EQ(texts.size(), before + 1) << h.controller.Output();
  EXPECT_EQ(texts.back(), "Download Successful!");
}

// A log-out, a shutdown or a closed terminal ends the window by SIGTERM or SIGHUP: nobody may
// be there to answer the exit question, so the typed value (not yet stored: the box was not
// left) and the other unsent edits are kept in the history, and the window closes.
class EndedBySignalE2E : public ::testing::TestWithParam<int> {};

TEST_P(EndedBySignalE2E, UnsentEditsAreKeptAndTheWindowCloses) {
  WindowHarness h{Where::InProcess};
  ASSERT_TRUE(h.StartActive({"--product", "c"})) << h.controller.Output();
  const QString historyFile = h.form->History().Recorder()->File();
  const ImageBytes downloaded = h.form->Image().bytes;
  auto* box = h.Find<QLineEdit>("Edit3");
  ASSERT_NE(box, nullptr);
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, "1000");

  EndSignals ending([&h] { h.form->EndBySignal(); });
  std::raise(GetParam());
  ASSERT_TRUE(WaitUntil([&] { return !h.form->isVisible(); }, 10000)) << "the window stays open";
  EXPECT_EQ(h.form->Link(), nullptr) << "the link is stopped";
  EXPECT_NE(h.form->Image().bytes, downloaded) << "the typed value was not stored";

  const std::vector<history::Event> events = WindowHarness::HistoryEventsIn(historyFile);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, history::EventKind::ReplacedUnsent);
  EXPECT_EQ(events.back().image, h.form->Image().bytes);
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignalE2E, ::testing::Values(SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& row) {
                           return std::string(row.param == SIGTERM ? "SIGTERM" : "SIGHUP");
                         });

}  // namespace
}  // namespace zorv::test
