// Switch files: the 256 image bytes on disk, what a short or long file loads, and saves that
// fail without touching the previous file or leaving a temporary one behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifdef __linux__
#include <linux/fs.h>
#endif

#include "image/SwitchFile.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using test::TempFolder;

Bytes ReadRaw(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteRaw(const std::string& file, const Bytes& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// Every byte value once, in an order that is not the offset order.
SettingsImage Permutation(unsigned step, unsigned offset) {
  SettingsImage image;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    image.bytes[i] = static_cast<std::uint8_t>((i * step + offset) & 0xFF);
  }
  return image;
}

Bytes AsBytes(const SettingsImage& image) {
  return Bytes(image.bytes.begin(), image.bytes.end());
}

TEST(SwitchFileRoundTrip, SaveThenOpenRestoresAll256Bytes) {
  TempFolder folder;
  const std::string file = folder.File("truck.joy");
  for (const SettingsImage& saved : {Permutation(167, 13), Permutation(91, 200)}) {
    const Outcome written = WriteSwitchFile(file, saved);
    ASSERT_TRUE(written.ok) << written.error;
    EXPECT_EQ(ReadRaw(file), AsBytes(saved));  // exactly the bytes, no header

    SettingsImage opened;
    opened.bytes.fill(0xEE);
    const Outcome read = ReadSwitchFile(file, opened);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(opened, saved);
    EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"truck.joy"});
  }
}

TEST(SwitchFileRoundTrip, NameWithoutExtensionIsUsedAsGiven) {
  TempFolder folder;
  ASSERT_TRUE(WriteSwitchFile(folder.File("fleet7"), Permutation(3, 1)).ok);
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"fleet7"});
}

// ---- Opening: what each kind of file does to the caller's image.

enum class Kind { Sized, Missing, Folder };

struct OpenRow {
  const char* name;
  Kind kind;
  std::size_t size;
  std::string error;  // empty: the open succeeds
};

class SwitchFileOpenTest : public ::testing::TestWithParam<OpenRow> {};

TEST_P(SwitchFileOpenTest, LoadsTheFirstRecordOrLeavesTheImage) {
  const OpenRow& row = GetParam();
  TempFolder folder;
  std::string file = folder.File("in.joy");
  Bytes content(row.size);
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<std::uint8_t>(i * 7 + 3);
  if (row.kind == Kind::Sized) WriteRaw(file, content);
  if (row.kind == Kind::Folder) file = folder.Path().string();

  const SettingsImage before = Permutation(167, 13);
  SettingsImage image = before;
  const Outcome outcome = ReadSwitchFile(file, image);
  EXPECT_EQ(outcome.ok, row.error.empty());
  EXPECT_EQ(outcome.error, row.error);
  if (!row.error.empty()) {
    EXPECT_EQ(image, before);
  } else if (row.size == 0) {
    EXPECT_EQ(image, SettingsImage{});
  } else {
    EXPECT_EQ(AsBytes(image), Bytes(content.begin(), content.begin() + kImageSize));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SwitchFileOpenTest,
    ::testing::Values(OpenRow{"Empty", Kind::Sized, 0, ""},
                      OpenRow{"OneByte", Kind::Sized, 1, "Read beyond end of file"},
                      OpenRow{"Short100", Kind::Sized, 100, "Read beyond end of file"},
                      OpenRow{"Short255", Kind::Sized, 255, "Read beyond end of file"},
                      OpenRow{"Exact256", Kind::Sized, 256, ""},
                      OpenRow{"Long300", Kind::Sized, 300, ""},
                      OpenRow{"Missing", Kind::Missing, 0, "File not found"},
                      OpenRow{"Folder", Kind::Folder, 0, "Is a folder, not a file"}),
    [](const ::testing::TestParamInfo<OpenRow>& row) { return std::string(row.param.name); });

// ---- Saves that cannot complete. Root ignores file modes, so the blockers are ones root
// cannot ignore: the immutable flag, a read-only mount, a full file system.

enum class Blocker { ImmutableFolder, ReadOnlyMount, ImmutableFile, ReadOnlyFile, FullDisk };

struct SaveRow {
  const char* name;
  Blocker blocker;
  std::string error;
};

class SwitchFileSaveFailureTest : public ::testing::TestWithParam<SaveRow> {
 protected:
  void TearDown() override {
    for (const std::string& path : immutable_) SetImmutable(path, false);
    if (mounted_) umount2(folder_.Path().c_str(), MNT_DETACH);
  }

  // True when the flag could be set; the file system or the machine may not allow it.
  bool SetImmutable(const std::string& path, bool on) {
#ifdef __linux__
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    if (done && on) immutable_.push_back(path);
    return done;
#else
    (void)path;
    (void)on;
    return false;
#endif
  }

  bool MountSmallFileSystem() {
    mounted_ = mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, "size=64k,mode=0700") == 0;
    return mounted_;
  }

  // Fills the file system holding the folder until the next write fails for lack of space.
  bool FillUp() {
    const int fd = open(folder_.File("filler").c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd < 0) return false;
    const std::vector<char> block(4096, 'x');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    const bool full = errno == ENOSPC;
    close(fd);
    return full;
  }

  // Applies the row's blocker after the old file exists; false when the machine cannot.
  bool Block(Blocker blocker, const std::string& file) {
    switch (blocker) {
      case Blocker::ImmutableFolder:
        return SetImmutable(folder_.Path(), true);
      case Blocker::ReadOnlyMount:
        return mount("tmpfs", folder_.Path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) ==
               0;
      case Blocker::ImmutableFile:
        return SetImmutable(file, true);
      case Blocker::ReadOnlyFile:
        return chmod(file.c_str(), 0444) == 0;
      case Blocker::FullDisk:
        return FillUp();
    }
    return false;
  }

  TempFolder folder_;
  std::vector<std::string> immutable_;
  bool mounted_ = false;
};

TEST_P(SwitchFileSaveFailureTest, OldFileStaysAndNothingIsLeftBehind) {
  const SaveRow& row = GetParam();
  const bool needsMount = row.blocker == Blocker::ReadOnlyMount || row.blocker == Blocker::FullDisk;
  if (needsMount && !MountSmallFileSystem()) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
  }
  const std::string file = folder_.File("old.joy");
  const SettingsImage old = Permutation(167, 13);
  ASSERT_TRUE(WriteSwitchFile(file, old).ok);
  if (!Block(row.blocker, file)) GTEST_SKIP() << "this machine cannot apply " << row.name;
  const std::set<std::string> entries = Entries(folder_.Path());

  const Outcome outcome = WriteSwitchFile(file, Permutation(91, 200));
  EXPECT_EQ(Entries(folder_.Path()), entries);
  if (row.error.empty()) {
    // Only the folder refuses a new file: the file itself is written in place.
    EXPECT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(ReadRaw(file), AsBytes(Permutation(91, 200)));
    return;
  }
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, row.error);
  EXPECT_EQ(ReadRaw(file), AsBytes(old));
}

INSTANTIATE_TEST_SUITE_P(
    Blockers, SwitchFileSaveFailureTest,
    ::testing::Values(SaveRow{"ImmutableFolder", Blocker::ImmutableFolder, ""},
                      SaveRow{"ReadOnlyMount", Blocker::ReadOnlyMount, "Read-only file system"},
                      SaveRow{"ImmutableFile", Blocker::ImmutableFile, "Permission denied"},
                      SaveRow{"ReadOnlyFile", Blocker::ReadOnlyFile, "Permission denied"},
                      SaveRow{"DiskFull", Blocker::FullDisk, "Disk full"}),
    [](const ::testing::TestParamInfo<SaveRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
