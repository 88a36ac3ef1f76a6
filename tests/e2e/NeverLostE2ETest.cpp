// A download from zorv-sim while a box holds the focus: the real link stores the controller's
// image, the real "Download Successful!" box takes the focus, and the box the user sat or typed
// in must not write its text over what was downloaded.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <vector>

#include "image/SwitchFile.h"
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

}  // namespace
}  // namespace zorv::test
