// A download from zorv-sim while a box holds the focus: the real link stores the controller's
// image, the real "Download Successful!" box takes the focus, and the box the user sat or typed
// in must not write its text over what was downloaded.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

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

class DownloadWithFocusE2E : public ::testing::TestWithParam<DownloadRow> {};

TEST_P(DownloadWithFocusE2E, ControllerBytesReachTheImage) {
  const DownloadRow& row = GetParam();
  WindowHarness h;
  FocusTakingPrompts focusPrompts(h.prompts);
  h.windowPrompts = &focusPrompts;
  SettingsImage controller;
  for (std::size_t i = 0; i < row.controller.size(); ++i) {
    controller[row.offset + i] = static_cast<std::uint8_t>(row.controller[i]);
  }
  const std::string imageFile = h.files.File("controller.joy");
  ASSERT_TRUE(WriteSwitchFile(imageFile, controller).ok);
  ASSERT_TRUE(h.Start({"--product", row.product, "--image", QString::fromStdString(imageFile)}))
      << h.sim.Output().toStdString();
  Activate(h.form.get());

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

// A real link whose window side presses Reset while the link waits for its download store, as
// a user's click can while the window is busy: the replaced link still posts its notice 2.
class ResetDuringStoreLink final : public LinkControl, private WindowBridge {
 public:
  ResetDuringStoreLink(TZorvForm& form, int port, bool storeFirst, bool& armed,
                      std::function<void()> stored)
      : form_(form),
        storeFirst_(storeFirst),
        armed_(armed),
        stored_(std::move(stored)),
        source_(nextSource_++),
        thread_(*this, &form, port, form.Flash(), form.ProductCodeCell()) {}

  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    thread_.SetCommand(command, argument);
  }
  LinkState State() const override { return thread_.State(); }
  void ClearProgress() override { thread_.ClearProgress(); }
  int PortNumber() const override { return thread_.PortNumber(); }
  std::uint64_t NoticeSource() const override { return source_; }

 private:
  void PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t) override {
    PostLinkNotice(code, value, source_);
  }
  void RefreshStatus(const StatusSnapshot& status) override { form_.Bridge().RefreshStatus(status); }
  void ShowLinkError(const std::string& text) override { form_.Bridge().ShowLinkError(text); }
  void ShowLinkInfo(const std::string& text) override { form_.Bridge().ShowLinkInfo(text); }
  void LoadBufferFromImage(ImageBytes& buffer) override { form_.Bridge().LoadBufferFromImage(buffer); }
  void StoreBufferToImage(const ImageBytes& buffer, int length) override {
    TZorvForm& form = form_;
    if (!std::exchange(armed_, false)) {
      form.Bridge().StoreBufferToImage(buffer, length);
      stored_();
      return;
    }
    if (storeFirst_) form.Bridge().StoreBufferToImage(buffer, length);
    form.ResetButtonClick();  // destroys this link: nothing of it is touched afterwards
  }
  std::string SelectFirmwareFile() override { return form_.Bridge().SelectFirmwareFile(); }
  bool ConfirmFirmware(const std::string& check) override {
    return form_.Bridge().ConfirmFirmware(check);
  }
  bool AskRetryFirmware(const std::string& text) override {
    return form_.Bridge().AskRetryFirmware(text);
  }
  std::string SelectFirmwareReadFile() override { return form_.Bridge().SelectFirmwareReadFile(); }

  static inline std::uint64_t nextSource_ = 1000;
  TZorvForm& form_;
  bool storeFirst_;
  bool& armed_;
  std::function<void()> stored_;
  std::uint64_t source_;
  LinkThread thread_;  // last: stopped first
};

class ResetDuringStoreE2E : public ::testing::TestWithParam<bool> {};

// "Download Successful!" shows once, for the new link's download; the replaced link's notice
// shows no box, whether its store ran or not.
TEST_P(ResetDuringStoreE2E, OnlyTheNewLinksDownloadIsAnnounced) {
  const bool storeFirst = GetParam();
  WindowHarness h;
  bool armed = false;
  int stores = 0;
  std::size_t boxesAtNewStore = 0;
  h.linkMaker = [&](TZorvForm& form, int port) -> std::unique_ptr<LinkControl> {
    return std::make_unique<ResetDuringStoreLink>(form, port, storeFirst, armed, [&] {
      ++stores;
      boxesAtNewStore = h.prompts.MessageTexts().size();
    });
  };
  ASSERT_TRUE(h.Start({})) << h.sim.Output().toStdString();
  const std::size_t before = h.prompts.MessageTexts().size();
  const int storesBefore = stores;

  armed = true;
  h.prompts.ExpectMessage();  // the new link's download only
  h.Find<QAction>("GetCalibration1")->trigger();
  // The new link downloads at once; its notice follows its store.
  ASSERT_TRUE(WaitUntil([&] { return stores > storesBefore; }, 30000));
  EXPECT_FALSE(armed) << "the reset happened during the store";
  EXPECT_EQ(boxesAtNewStore, before) << "no box before the new link's store";
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed(); }, 10000));
  WaitUntil([] { return false; }, 300);  // anything still queued
  const std::vector<QString> texts = h.prompts.MessageTexts();
  ASSERT_EQ(texts.size(), before + 1);
  EXPECT_EQ(texts.back(), "Download Successful!");
}

INSTANTIATE_TEST_SUITE_P(Stores, ResetDuringStoreE2E, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& row) {
                           return std::string(row.param ? "StoreRan" : "StoreAbandoned");
                         });

}  // namespace
}  // namespace zorv::test
