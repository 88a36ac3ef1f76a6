// Saving onto what the user already has: a symbolic link, a private file, a long name, a file
// in a folder he may not write. The bytes land in the file he meant and its mode stays.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "image/SwitchFile.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::string Bytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

SettingsImage Pattern() {
  SettingsImage image;
  for (std::size_t i = 0; i < image.bytes.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return image;
}

std::string PatternBytes() {
  const SettingsImage image = Pattern();
  return {reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size()};
}

unsigned ModeOf(const std::string& file) {
  struct stat st {};
  ::stat(file.c_str(), &st);
  return st.st_mode & 07777U;
}

struct TargetRow {
  const char* name;
  // Prepares the folder; returns the name to save under and the file that must get the bytes.
  std::pair<std::string, std::string> (*prepare)(const TempFolder&);
  unsigned mode;  // the real file's mode afterwards; 0: not checked
  bool symlinkStays;
};

class SwitchFileTargetTest : public ::testing::TestWithParam<TargetRow> {};

TEST_P(SwitchFileTargetTest, BytesReachTheMeantFileAndItsModeStays) {
  const TargetRow& row = GetParam();
  TempFolder folder;
  const auto [saveName, realFile] = row.prepare(folder);
  const Outcome outcome = WriteSwitchFile(saveName, Pattern());
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(Bytes(realFile), PatternBytes());
  if (row.mode != 0) {
    EXPECT_EQ(ModeOf(realFile), row.mode);
  }
  if (row.symlinkStays) {
    EXPECT_TRUE(fs::is_symlink(saveName));
  }
  // No temporary file is left behind.
  std::size_t entries = 0;
  for (const auto& e : fs::recursive_directory_iterator(folder.Path())) entries += e.is_regular_file() && !e.is_symlink();
  EXPECT_EQ(entries, 1U);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SwitchFileTargetTest,
    ::testing::Values(
        TargetRow{"SymbolicLink",
                  [](const TempFolder& f) {
                    fs::create_directory(f.Path() / "real");
                    const std::string real = f.Write("real/truck.joy", "old");
                    fs::create_symlink(real, f.File("link.joy"));
                    return std::pair{f.File("link.joy"), real};
                  },
                  0, true},
        TargetRow{"PrivateFile",
                  [](const TempFolder& f) {
                    const std::string file = f.Write("private.joy", "old");
                    ::chmod(file.c_str(), 0600);
                    return std::pair{file, file};
                  },
                  0600, false},
        TargetRow{"GroupReadableFile",
                  [](const TempFolder& f) {
                    const std::string file = f.Write("shared.joy", "old");
                    ::chmod(file.c_str(), 0640);
                    return std::pair{file, file};
                  },
                  0640, false},
        TargetRow{"NameOf250Characters",
                  [](const TempFolder& f) {
                    const std::string file = f.File(std::string(246, 'n') + ".joy");
                    return std::pair{file, file};
                  },
                  0, false}),
    [](const ::testing::TestParamInfo<TargetRow>& row) { return std::string(row.param.name); });

// The folder may not be written but the file may: the file is written in place.
TEST(SwitchFileTarget, FileInAFolderThatCannotBeWrittenIsWrittenInPlace) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes every folder";
  TempFolder folder;
  fs::create_directory(folder.Path() / "locked");
  const std::string file = folder.Write("locked/truck.joy", "old");
  ::chmod((folder.Path() / "locked").c_str(), 0500);
  const Outcome outcome = WriteSwitchFile(file, Pattern());
  ::chmod((folder.Path() / "locked").c_str(), 0700);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(Bytes(file), PatternBytes());
}

}  // namespace
}  // namespace zorv
