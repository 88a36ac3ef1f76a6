// Read Firmware's file write: never through a link planted beside the target, through a link
// chosen as the target to its file, the mode of a file kept.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "link/HexWriter.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

std::string Content(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Folder {
  const char* name;
  // Prepares the folder; returns the name given to the writer.
  std::string (*prepare)(const fs::path& folder);
  const char* fileWithHex;   // where the HEX text must end up
  const char* linkKept;      // a name that must still be a symbolic link ("" none)
  unsigned mode;             // the mode the file with the text must have (0: not checked)
};

const Folder kFolders[] = {
#ifdef _WIN32
    // Symbolic links need rights a technician's account lacks, and files have no modes.
    {"ExistingFileIsReplaced",
     [](const fs::path& d) {
       std::ofstream(d / "read.hex") << "old";
       return (d / "read.hex").string();
     },
     "read.hex", "", 0},
#else
    {"PlantedLinkAtTheOldFixedName",
     [](const fs::path& d) {
       std::ofstream(d / "victim") << "precious";
       fs::create_symlink(d / "victim", d / ".zorvtrim-read.hex.tmp");
       return (d / "read.hex").string();
     },
     "read.hex", ".zorvtrim-read.hex.tmp", 0},
    {"LinkChosenAsTheTarget",
     [](const fs::path& d) {
       std::ofstream(d / "real.hex") << "old";
       ::chmod((d / "real.hex").c_str(), 0640);
       fs::create_symlink(d / "real.hex", d / "chosen.hex");
       return (d / "chosen.hex").string();
     },
     "real.hex", "chosen.hex", 0640},
    {"ExistingFileKeepsItsMode",
     [](const fs::path& d) {
       std::ofstream(d / "read.hex") << "old";
       ::chmod((d / "read.hex").c_str(), 0604);
       return (d / "read.hex").string();
     },
     "read.hex", "", 0604},
#endif
};

class HexWrite : public ::testing::TestWithParam<Folder> {};

TEST_P(HexWrite, WritesOnlyTheChosenFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path folder(dir.path().toStdString());
  const Folder& setup = GetParam();
  const std::string name = setup.prepare(folder);
  const std::vector<std::uint8_t> flash(64, 0xA5);

  ASSERT_TRUE(WriteHexFile(name, flash));

  EXPECT_EQ(Content(folder / setup.fileWithHex), FormatHexText(flash));
  if (fs::exists(folder / "victim")) {
    EXPECT_EQ(Content(folder / "victim"), "precious");
  }
  if (*setup.linkKept != '\0') {
    EXPECT_TRUE(fs::is_symlink(folder / setup.linkKept));
  }
  if (setup.mode != 0) {
    EXPECT_EQ(static_cast<unsigned>(fs::status(folder / setup.fileWithHex).permissions()) & 07777,
              setup.mode);
  }
  // Nothing left beside it but what the row made.
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string file = entry.path().filename().string();
    EXPECT_TRUE(file == "victim" || file == setup.fileWithHex || file == setup.linkKept) << file;
  }
}

TEST(HexWriteFailure, NamesTheFileAndTheReason) {
  QTemporaryDir dir;
  const std::string name = dir.path().toStdString() + "/missing/read.hex";
  const Outcome written = WriteHexFile(name, std::vector<std::uint8_t>(64, 1));
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error, "Cannot write <" + name + ">: File not found");
}

INSTANTIATE_TEST_SUITE_P(Folders, HexWrite, ::testing::ValuesIn(kFolders),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
