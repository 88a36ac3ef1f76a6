// The File menu of the real main window: Open and Save through the menu items, the page an
// opened file is shown on, and Print reaching the printer setup.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QStackedWidget>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/app/FormFixture.h"
#include "tests/ui/report/PdfPrompts.h"
#include "tests/ui/report/PdfTool.h"
#include "tests/support/TempFolder.h"
#include "ui/RefreshSteps.h"

namespace zorv {
namespace {

using test::RunTool;
using test::TempFolder;
using test::ToolPath;

class FileMenuWindowTest : public test::FormFixture {
 protected:
  void SetUp() override { MakeForm(); }

  void OpenThroughMenu(const std::string& file) {
    prompts.ExpectOpenFile(QString::fromStdString(file));
    Action("Open1")->trigger();
  }

  TempFolder folder;
};

TEST_F(FileMenuWindowTest, SaveThenOpenThroughTheMenuRestoresTheImage) {
  form->Trims() = {12, 222};
  const SettingsImage saved = form->Image();
  const std::string file = folder.File("fleet.joy");
  prompts.ExpectSaveFile(QString::fromStdString(file));
  Action("Save1")->trigger();

  for (std::size_t i = 1; i <= 32; ++i) form->Image()[i] = static_cast<std::uint8_t>(100 + i);
  OpenThroughMenu(file);

  EXPECT_EQ(form->Image(), saved);
  EXPECT_EQ(form->Trims(), (GlobalTrimPair{12, 222}));
  EXPECT_EQ(form->ProductCode(), 0);
  EXPECT_TRUE(prompts.MessageTexts().empty());
}

TEST_F(FileMenuWindowTest, EmptyFileGivesTheRepairedAllZeroImage) {
  OpenThroughMenu(folder.Write("empty.joy", ""));
  const SettingsImage opened = form->Image();

  // What the refresh makes of an all-zero image.
  form->Image() = SettingsImage{};
  form->RefreshControls(1);
  EXPECT_EQ(opened, form->Image());
  EXPECT_EQ(Products()->currentIndex(), productpage::kZorv);
}

TEST_F(FileMenuWindowTest, TarnovexFileOpensOnTheTarnovexPage) {
  ASSERT_EQ(form->ProductCode(), 0);
  SettingsImage tarnovex;
  tarnovex[33] = kTarnovexMarker;
  std::string bytes(tarnovex.bytes.begin(), tarnovex.bytes.end());
  OpenThroughMenu(folder.Write("tarnovex.joy", bytes));
  EXPECT_EQ(Products()->currentIndex(), productpage::kTarnovex);
  EXPECT_EQ(form->ProductCode(), 0);
  EXPECT_EQ(form->Image()[33], kTarnovexMarker);
}

TEST_F(FileMenuWindowTest, ShortFileShowsTheErrorAndLeavesTheImage) {
  const SettingsImage before = form->Image();
  prompts.ExpectOpenFile(QString::fromStdString(folder.Write("short.joy", std::string(100, '\x07'))));
  prompts.ExpectMessage();
  Action("Open1")->trigger();
  EXPECT_EQ(form->Image(), before);
  ASSERT_EQ(prompts.MessageTexts().size(), 1u);
  EXPECT_EQ(prompts.MessageTexts()[0], "Read beyond end of file");
}

TEST_F(FileMenuWindowTest, PrintAsksForThePrinterAndACancelPrintsNothing) {
  prompts.ExpectPrinterSetup(false);
  Action("Print1")->trigger();
  EXPECT_TRUE(prompts.AllUsed());
}

TEST_F(FileMenuWindowTest, PrintShowsWhatTheWindowsDropDownsShow) {
  const QString pdf = QString::fromStdString(folder.File("report.pdf"));
  test::PdfPrompts pdfPrompts(prompts, pdf);
  TZorvForm window(pdfPrompts, clock, test::FakeLinkFactory(links), ports);
  prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });
  window.FormCreate();
  window.Image()[33] = 1;  // 4 button HG
  window.RefreshControls(1);
  auto* red = window.findChild<QComboBox*>("FourButton1DropDown");
  ASSERT_NE(red, nullptr);
  red->setCurrentIndex(2);
  emit red->activated(2);

  prompts.ExpectPrinterSetup(true);
  window.findChild<QAction*>("Print1")->trigger();

  const QString printed = RunTool("pdftotext", {"-layout", "-fixed", "6", ToolPath(pdf), "-"});
  EXPECT_TRUE(printed.contains("Joystick Configuration:     4 button HG")) << printed.toStdString();
  EXPECT_TRUE(printed.contains("Red button mode:   " + red->currentText().rightJustified(20, ' ')))
      << printed.toStdString();
}

}  // namespace
}  // namespace zorv
