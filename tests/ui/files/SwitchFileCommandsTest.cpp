// Open and Save through the prompts: what a file of each size loads, that a failed open leaves
// the image and a failed save leaves the old file, and that names are taken exactly as chosen.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QCoreApplication>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/FakePageHost.h"
#include "tests/support/TempFolder.h"
#include "ui/files/SwitchFileCommands.h"

namespace zorv {
namespace {

using test::FakePageHost;
using test::ScriptedPrompts;
using test::TempFolder;

std::string ReadRaw(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every byte value once, in an order that is not the offset order.
SettingsImage Permutation(unsigned step, unsigned offset) {
  SettingsImage image;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    image.bytes[i] = static_cast<std::uint8_t>((i * step + offset) & 0xFF);
  }
  return image;
}

std::string Bytes(const SettingsImage& image, std::size_t size) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>(image.bytes[i % kImageSize]));
  return bytes;
}

// Records the image each refresh starts from.
class SeenByRefresh final : public ZorvRefreshTarget {
 public:
  void Refresh(ZorvStep step, SettingsImage& local) override {
    if (step == ZorvStep::JoystickType) images.push_back(local);
  }
  std::vector<SettingsImage> images;
};

class SwitchFileCommandsTest : public ::testing::Test {
 protected:
  SwitchFileCommandsTest() {
    host.refresher().AddZorvTarget(&seen);
    host.trims = {7, 200};
    host.productCode = 'd';
  }
  ScriptedPrompts& prompts() { return host.scriptedPrompts; }

  TempFolder folder;
  FakePageHost host;
  SeenByRefresh seen;
  SwitchFileCommands commands{host};
};

TEST_F(SwitchFileCommandsTest, SaveThenOpenRestoresEveryByteAndNothingElse) {
  const SettingsImage saved = Permutation(167, 13);
  host.image = saved;
  const QString file = QString::fromStdString(folder.File("truck7.joy"));
  prompts().ExpectSaveFile(file);
  commands.Save1Click();
  EXPECT_EQ(ReadRaw(file.toStdString()), Bytes(saved, 256));

  host.image = Permutation(1, 99);
  host.trims = {9, 190};
  prompts().ExpectOpenFile(file);
  commands.Open1Click();

  EXPECT_EQ(host.image, saved);
  EXPECT_EQ(host.trims, (GlobalTrimPair{9, 190}));
  EXPECT_EQ(host.productCode, 'd');
  EXPECT_EQ(host.refreshCount, 1);
  EXPECT_TRUE(prompts().MessageTexts().empty());

  // Both dialogs start in the program's folder on "*.joy" with the two filter entries.
  ASSERT_EQ(prompts().shown.size(), 2u);
  for (const ScriptedPrompts::Shown& dialog : prompts().shown) {
    EXPECT_EQ(dialog.text, "Switch Files (*.joy);;All Files (*.*)");
    EXPECT_EQ(dialog.initial, QCoreApplication::applicationDirPath() + "/*.joy");
  }
}

struct OpenRow {
  const char* name;
  std::size_t size;        // bytes of the permutation written to the file
  const char* message;     // "" when none
  bool loads;              // the image becomes the file's first 256 bytes (zeros when empty)
};

// On the Zorv pages, so the recording target sees the refresh.
class OpenFileTest : public SwitchFileCommandsTest, public ::testing::WithParamInterface<OpenRow> {
 protected:
  OpenFileTest() { host.productCode = 0; }
};

TEST_P(OpenFileTest, WhatTheFileLoads) {
  const OpenRow& row = GetParam();
  const SettingsImage content = Permutation(91, 200);
  const std::string file = folder.Write("in.joy", Bytes(content, row.size));
  const SettingsImage before = Permutation(3, 1);
  host.image = before;
  prompts().ExpectOpenFile(QString::fromStdString(file));
  if (*row.message != '\0') prompts().ExpectMessage();

  commands.Open1Click();

  if (*row.message != '\0') {
    ASSERT_EQ(prompts().MessageTexts().size(), 1u);
    EXPECT_EQ(prompts().MessageTexts()[0].toStdString(), row.message);
    EXPECT_EQ(prompts().shown.back().kind, Prompts::Kind::Error);
  }
  if (!row.loads) {
    EXPECT_EQ(host.image, before);
    EXPECT_EQ(host.refreshCount, 0);
    return;
  }
  const SettingsImage expected = row.size == 0 ? SettingsImage{} : content;
  ASSERT_EQ(seen.images.size(), 1u);
  EXPECT_EQ(seen.images[0], expected);  // the refresh starts from the file's bytes
  EXPECT_EQ(host.refreshCount, 1);
  EXPECT_EQ(host.productCode, 0);
  EXPECT_EQ(host.trims, (GlobalTrimPair{7, 200}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, OpenFileTest,
    ::testing::Values(OpenRow{"Empty", 0, "", true}, OpenRow{"OneByte", 1, "Read beyond end of file", false},
                      OpenRow{"HundredBytes", 100, "Read beyond end of file", false},
                      OpenRow{"OneShort", 255, "Read beyond end of file", false},
                      OpenRow{"Exact", 256, "", true}, OpenRow{"ThreeHundredBytes", 300, "", true}),
    [](const ::testing::TestParamInfo<OpenRow>& row) { return std::string(row.param.name); });

TEST_F(SwitchFileCommandsTest, NamesTheOpenCommandIgnoresSilently) {
  // Files that exist under names with wildcards are still refused, as are missing names.
  const std::vector<std::string> names = {
      folder.Write("star*.joy", Bytes(Permutation(5, 5), 256)),
      folder.Write("what?.joy", Bytes(Permutation(5, 5), 256)),
      folder.File("missing.joy"),
      "",  // cancelled
  };
  const SettingsImage before = host.image;
  for (const std::string& name : names) {
    prompts().ExpectOpenFile(QString::fromStdString(name));
    commands.Open1Click();
    EXPECT_EQ(host.image, before) << name;
  }
  EXPECT_EQ(host.refreshCount, 0);
  EXPECT_TRUE(prompts().MessageTexts().empty());
}

TEST_F(SwitchFileCommandsTest, OpeningAFolderShowsAnError) {
  const SettingsImage before = host.image;
  prompts().ExpectOpenFile(QString::fromStdString(folder.Path().string()));
  prompts().ExpectMessage();
  commands.Open1Click();
  EXPECT_EQ(host.image, before);
  ASSERT_EQ(prompts().MessageTexts().size(), 1u);
  EXPECT_EQ(prompts().MessageTexts()[0], "Is a folder, not a file");
}

TEST_F(SwitchFileCommandsTest, SaveUsesTheNameExactlyAsChosen) {
  host.image = Permutation(7, 3);
  const std::string plain = folder.File("no-extension");
  prompts().ExpectSaveFile(QString::fromStdString(plain));
  commands.Save1Click();
  EXPECT_EQ(ReadRaw(plain), Bytes(host.image, 256));
  EXPECT_FALSE(std::filesystem::exists(plain + ".joy"));

  prompts().ExpectSaveFile("");  // cancelled: nothing written
  commands.Save1Click();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

// ---- Saves that fail. Root ignores file modes, so the folder is blocked in ways root cannot
// ignore: the immutable flag, a read-only mount.

enum class Blocker { ImmutableFolder, ReadOnlyMount };

struct SaveFailureRow {
  const char* name;
  Blocker blocker;
  const char* message;
};

class SaveFailureTest : public SwitchFileCommandsTest,
                        public ::testing::WithParamInterface<SaveFailureRow> {
 protected:
  void TearDown() override {
    if (immutable_) SetImmutable(false);
    if (mounted_) umount2(folder.Path().c_str(), MNT_DETACH);
  }
  // chattr is used rather than the mode bits, which root ignores.
  bool SetImmutable(bool on) {
    const QString path = QString::fromStdString(folder.Path().string());
    const bool done = QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0;
    immutable_ = done && on;
    return done;
  }
  bool immutable_ = false;
  bool mounted_ = false;
};

TEST_P(SaveFailureTest, ShowsTheErrorAndKeepsTheOldFile) {
  const SaveFailureRow& row = GetParam();
  if (row.blocker == Blocker::ReadOnlyMount) {
    mounted_ = mount("tmpfs", folder.Path().c_str(), "tmpfs", 0, "size=64k,mode=0700") == 0;
    if (!mounted_) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  }
  const std::string file = folder.File("old.joy");
  host.image = Permutation(167, 13);
  prompts().ExpectSaveFile(QString::fromStdString(file));
  commands.Save1Click();
  const std::string old = ReadRaw(file);
  ASSERT_EQ(old.size(), 256u);

  const bool blocked =
      row.blocker == Blocker::ImmutableFolder
          ? SetImmutable(true)
          : mount("tmpfs", folder.Path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  if (!blocked) GTEST_SKIP() << "this machine cannot apply " << row.name;

  host.image = Permutation(91, 200);
  prompts().ExpectSaveFile(QString::fromStdString(file));
  if (*row.message == '\0') {
    // Only the folder refuses a new file: the file itself is written in place, no error.
    EXPECT_TRUE(commands.Save1Click());
    EXPECT_TRUE(prompts().MessageTexts().empty());
    EXPECT_EQ(ReadRaw(file).size(), 256u);
    EXPECT_NE(ReadRaw(file), old);
    return;
  }
  prompts().ExpectMessage();
  commands.Save1Click();

  ASSERT_EQ(prompts().MessageTexts().size(), 1u);
  EXPECT_EQ(prompts().MessageTexts()[0].toStdString(), row.message);
  EXPECT_EQ(prompts().shown.back().kind, Prompts::Kind::Error);
  EXPECT_EQ(ReadRaw(file), old);
  EXPECT_EQ(host.image, Permutation(91, 200));
}

INSTANTIATE_TEST_SUITE_P(
    Blockers, SaveFailureTest,
    ::testing::Values(SaveFailureRow{"ImmutableFolder", Blocker::ImmutableFolder, ""},
                      SaveFailureRow{"ReadOnlyMount", Blocker::ReadOnlyMount, "Read-only file system"}),
    [](const ::testing::TestParamInfo<SaveFailureRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
