// The CRC-32 the firmware check shows and the history records for an installed file: the
// known answers of the IEEE polynomial, whole files read in binary.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "link/FirmwareJob.h"
#include "link/LinkJobs.h"
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

// The check's time against what the benchmark measured programming and verifying took
// (zorvtrim-bench firmware15 firmware64 latency=0,1): within 5 % either way.
struct EstimateCase {
  const char* name;
  ChipParameters chip;
  std::uint32_t bytes;
  double measuredSeconds;
};

class Estimate : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(Estimate, IsWithinFivePercentOfTheMeasuredTime) {
  const EstimateCase& c = GetParam();
  ApprovedFirmware firmware;
  firmware.image.chip = c.chip;
  firmware.image.highestAddress = c.bytes - 1;
  const double estimate = CheckFirmware(firmware).estimateMs / 1000.0;
  EXPECT_NEAR(estimate, c.measuredSeconds, c.measuredSeconds * 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Measured, Estimate,
    ::testing::Values(EstimateCase{"ATmega16_15KB_latency0", {0x3C00, 128, 2}, 15360, 37.12},
                      EstimateCase{"ATmega16_15KB_latency1", {0x3C00, 128, 2}, 15360, 38.02},
                      EstimateCase{"AT90CAN_64KB_latency0", {0x1F800, 256, 4}, 65536, 154.29},
                      EstimateCase{"AT90CAN_64KB_latency1", {0x1F800, 256, 4}, 65536, 161.11}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FileCrc, NothingForAFileThatCannotBeRead) {
  TempFolder folder;
  EXPECT_FALSE(FileCrc32(folder.File("missing.hex")).has_value());
  EXPECT_FALSE(FileCrc32("").has_value());
}

}  // namespace
}  // namespace zorv::test
