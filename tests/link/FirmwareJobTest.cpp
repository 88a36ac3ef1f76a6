// The CRC-32 the firmware check shows and the history records for an installed file: the
// known answers of the IEEE polynomial, whole files read in binary.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "link/FirmwareJob.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

struct CrcCase {
  const char* name;
  std::string bytes;
  std::uint32_t crc;
};

class Crc : public ::testing::TestWithParam<CrcCase> {};

TEST_P(Crc, OfBytesAndOfTheSameFile) {
  const CrcCase& c = GetParam();
  EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()), c.crc);
  TempFolder folder;
  const std::string file = folder.File("program.hex");
  std::ofstream(file, std::ios::binary) << c.bytes;
  EXPECT_EQ(FileCrc32(file), c.crc);
}

INSTANTIATE_TEST_SUITE_P(
    KnownAnswers, Crc,
    ::testing::Values(CrcCase{"empty", "", 0x00000000U},
                      CrcCase{"check_string", "123456789", 0xCBF43926U},
                      // A text mode read would turn CR LF into LF and change the answer.
                      CrcCase{"record_line_ends", ":00000001FF\r\n", 0x6255F30DU},
                      CrcCase{"zero_and_ff_bytes", std::string("\0\xFF\0\xFF", 4), 0xB2DE047CU}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FileCrc, NothingForAFileThatCannotBeRead) {
  TempFolder folder;
  EXPECT_FALSE(FileCrc32(folder.File("missing.hex")).has_value());
  EXPECT_FALSE(FileCrc32("").has_value());
}

}  // namespace
}  // namespace zorv::test
