// Firmware files: record checks and their texts, the flash limit, line handling, and a
// cross-check against files written by binutils.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "link/HexReader.h"
#include "tests/link/HexRecord.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kDataDir = std::string(ZORV_TEST_DATA_DIR) + "/hex/";

using test::Record;

Bytes Range(std::uint8_t first, std::size_t count) {
  Bytes out(count);
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(first + i);
  return out;
}

Bytes ImageAt(const FlashImage& flash, std::size_t address, std::size_t count) {
  Bytes out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(flash.bytes.at((address + i) & 0xFFFF));
  return out;
}

// Reads `content` as a firmware file of its own.
Outcome ReadContent(const std::string& content, FlashImage& flash) {
  test::TempFolder folder;
  return ReadHexFile(folder.Write("f.hex", content), flash);
}

// Nothing stored: every byte erased.
bool AllErased(const FlashImage& flash) {
  for (std::uint8_t b : flash.bytes)
    if (b != 0xFF) return false;
  return true;
}

// Test names come from the rows' own names.
template <class Row>
std::string RowName(const ::testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

using test::TempFolder;

// ---- One row per check, in the order the reader makes them. Each line also breaks every later
// check, so a row passes only if the earliest failure is the one reported.

enum class Source { Line, MissingFile, Folder };

struct ErrorRow {
  const char* name;
  Source source;
  std::string line;
  std::string error;
};

class HexErrorTest : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(HexErrorTest, ReportsTheFirstFailingCheck) {
  const ErrorRow& row = GetParam();
  TempFolder folder;
  FlashImage flash;
  if (row.source != Source::Line) {
    const std::string name =
        row.source == Source::Folder ? folder.Path().string() : folder.File("none.hex");
    const Outcome outcome = ReadHexFile(name, flash);
    EXPECT_FALSE(outcome.ok);
    // A folder is named as one.
    EXPECT_EQ(outcome.error, "Failed to read input file <" + name + ">" +
                                 (row.source == Source::Folder ? ": it is a folder, not a file" : ""));
    return;
  }

  const Outcome record = ParseHexRecord(row.line, flash);
  EXPECT_FALSE(record.ok);
  EXPECT_EQ(record.error, row.error);

  // In a file, the bad record stops the read: the record after it is never stored.
  const std::string file = folder.Write("f.hex", Record(0, 0x0300, {0x11}) + "\n" + row.line +
                                                     "\n" + Record(0, 0x0310, {0x22}) + "\n");
  const Outcome outcome = ReadHexFile(file, flash);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, "Error parsing file: " + row.error);
  EXPECT_EQ(flash.bytes[0x0300], 0x11);
  EXPECT_EQ(flash.bytes[0x0310], 0xFF);  // erased: no record put data there
}

INSTANTIATE_TEST_SUITE_P(
    InCheckOrder, HexErrorTest,
    ::testing::Values(
        ErrorRow{"Unreadable", Source::MissingFile, "", ""},
        ErrorRow{"Folder", Source::Folder, "", ""},
        ErrorRow{"Short", Source::Line, ";G00000", "not a valid packet"},
        ErrorRow{"Marker", Source::Line, ";GGXXXXZZ", "no start marker"},
        ErrorRow{"Length", Source::Line, ":1GXXXXZZ", "bad length byte"},
        ErrorRow{"Address", Source::Line, ":0100X0ZZ55AA", "bad address"},
        ErrorRow{"Type", Source::Line, ":010000Z0GGZZ", "bad rec type byte"},
        ErrorRow{"Truncated", Source::Line, ":03FFFF00GGGGG", "packet truncated"},
        // The whole record is read before its meaning: bad data fails before the limit.
        ErrorRow{"Limit", Source::Line, ":023BFF00GGGGZZ", "bad packet data"},
        ErrorRow{"LimitOfAWholeRecord", Source::Line, Record(0, 0x3BFF, {1, 2}),
                 "data exceeds writeable flash space"},
        ErrorRow{"Data", Source::Line, ":020000001GGGZZ", "bad packet data"},
        ErrorRow{"ChecksumFormat", Source::Line, ":0100000055ZZ", "bad checksum format"},
        ErrorRow{"Checksum", Source::Line, ":0100000055AB", "checksum failed"},
        // Nothing above 64 KB can be programmed: an address base or a record reaching it.
        ErrorRow{"SegmentBase", Source::Line, ":020000021000EC", "data above 64 KB"},
        ErrorRow{"LinearBase", Source::Line, ":020000040001F9", "data above 64 KB"},
        ErrorRow{"PastFFFF", Source::Line, Record(0, 0xFFFE, {1, 2, 3, 4}), "data above 64 KB"},
        ErrorRow{"BaseChecksum", Source::Line, ":020000040001F8", "checksum failed"}),
    RowName<ErrorRow>);

// ---- The flash limit: a record ending on the limit passes, one byte further fails.

struct LimitRow {
  std::uint32_t limit;
  unsigned address;
  std::size_t count;
  const char* error;  // "": accepted
};

class HexLimitTest : public ::testing::TestWithParam<LimitRow> {};

TEST_P(HexLimitTest, AddressPlusCountMayEqualTheLimit) {
  const LimitRow& row = GetParam();
  FlashImage flash;
  flash.chip.flashLimit = row.limit;
  const Bytes data = Range(0x80, row.count);
  const Outcome outcome = ParseHexRecord(Record(0, row.address, data), flash);
  if (*row.error == '\0') {
    EXPECT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(ImageAt(flash, row.address, row.count), data);
  } else {
    EXPECT_EQ(outcome.error, row.error);
    EXPECT_TRUE(AllErased(flash));  // refused before any byte is stored
  }
}

constexpr const char* kBeyondChip = "data exceeds writeable flash space";
constexpr const char* kAbove64K = "data above 64 KB";

// On the largest chip the 16-bit page address is the limit: a record ending on 0xFFFF passes,
// one reaching past it would land on page 0 and is refused.
INSTANTIATE_TEST_SUITE_P(
    ChipSizes, HexLimitTest,
    ::testing::Values(LimitRow{15360, 0x3BF0, 16, ""}, LimitRow{15360, 0x3BF1, 16, kBeyondChip},
                      LimitRow{15360, 0x3BFF, 1, ""}, LimitRow{15360, 0x3C00, 1, kBeyondChip},
                      LimitRow{31744, 0x7BF0, 16, ""}, LimitRow{31744, 0x7BF1, 16, kBeyondChip},
                      LimitRow{31744, 0x7B01, 255, ""}, LimitRow{31744, 0x7B02, 255, kBeyondChip},
                      LimitRow{129024, 0xFF00, 255, ""}, LimitRow{129024, 0xFF01, 255, ""}, LimitRow{129024, 0xFF02, 255, kAbove64K},
                      LimitRow{129024, 0xFFFF, 1, ""}, LimitRow{129024, 0xFFFF, 2, kAbove64K},
                      LimitRow{15360, 0xFFFF, 2, kAbove64K}));

TEST(HexLimit, LimitBeyondTheImageNeverWritesOutsideIt) {
  FlashImage flash;
  flash.chip.flashLimit = 0xFFFFFFFF;
  flash.bytes.assign(64, 0);
  EXPECT_EQ(ParseHexRecord(Record(0, 0x0038, Range(1, 16)), flash).error,
            "data exceeds writeable flash space");
  EXPECT_TRUE(ParseHexRecord(Record(0, 0x0030, Range(1, 16)), flash).ok);
  EXPECT_EQ(flash.bytes.size(), 64u);
}

// ---- Lines that are accepted: data stored exactly, address records ignored.

struct LineRow {
  const char* name;
  std::string line;
  unsigned address;
  Bytes data;  // empty: the image must not change
};

class HexLineTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(HexLineTest, StoresDataAndIgnoresTheRest) {
  const LineRow& row = GetParam();
  FlashImage flash;
  ASSERT_TRUE(ParseHexRecord(Record(0, 0x0200, {0xA5, 0x5A}), flash).ok);
  FlashImage before = flash;

  const Outcome outcome = ParseHexRecord(row.line, flash);
  EXPECT_TRUE(outcome.ok) << outcome.error;
  for (std::size_t i = 0; i < row.data.size(); ++i) before.bytes[row.address + i] = row.data[i];
  EXPECT_TRUE(flash.bytes == before.bytes);
  const std::size_t last = row.data.empty() ? 0 : row.address + row.data.size() - 1;
  EXPECT_EQ(flash.highestAddress, std::max<std::size_t>(0x0201, last));
}

const Bytes kSample{0x21, 0x46, 0x01, 0x36, 0x01, 0x21, 0x47, 0x01,
                    0x36, 0x00, 0x7E, 0xFE, 0x09, 0xD2, 0x19, 0x01};

INSTANTIATE_TEST_SUITE_P(
    Records, HexLineTest,
    ::testing::Values(
        LineRow{"UpperCase", ":10010000214601360121470136007EFE09D2190140", 0x0100, kSample},
        LineRow{"LowerCase", ":10010000214601360121470136007efe09d2190140", 0x0100, kSample},
        LineRow{"MixedCase", ":10010000214601360121470136007eFe09d2190140", 0x0100, kSample},
        LineRow{"EmptyData", ":00030000FD", 0x0300, {}}, LineRow{"EndOfFile", ":00000001FF", 0, {}},
        LineRow{"ExtendedSegmentZero", ":020000020000FC", 0, {}},
        LineRow{"StartSegment", ":0400000300001000E9", 0, {}},
        LineRow{"ExtendedLinearZero", ":020000040000FA", 0, {}},
        LineRow{"StartLinear", ":0400000500000000F7", 0, {}},
        LineRow{"AddressRecordAtTheLimit", ":02FFFF040000FC", 0, {}}),
    RowName<LineRow>);

// ---- Whole files: line breaks, blank lines and the characters trimmed around a record.

struct LayoutRow {
  const char* name;
  std::string content;
};

class HexLayoutTest : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(HexLayoutTest, EveryRecordIsReadWhateverTheLineLayout) {
  FlashImage flash;
  const Outcome outcome = ReadContent(GetParam().content, flash);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(ImageAt(flash, 0x0000, 4), Bytes({1, 2, 3, 4}));
  EXPECT_EQ(ImageAt(flash, 0x0100, 2), Bytes({0xAA, 0xBB}));
  EXPECT_EQ(flash.highestAddress, 0x0101u);
}

const std::string kA = Record(0, 0x0000, {1, 2, 3, 4});
const std::string kB = Record(0, 0x0100, {0xAA, 0xBB});
const std::string kEnd = ":00000001FF";

INSTANTIATE_TEST_SUITE_P(
    Layouts, HexLayoutTest,
    ::testing::Values(LayoutRow{"Lf", kA + "\n" + kB + "\n" + kEnd + "\n"},
                      LayoutRow{"CrLf", kA + "\r\n" + kB + "\r\n" + kEnd + "\r\n"},
                      LayoutRow{"Cr", kA + "\r" + kB + "\r" + kEnd + "\r"},
                      LayoutRow{"NoFinalBreak", kA + "\n" + kB + "\n" + kEnd},
                      LayoutRow{"BlankLines", "\n\n" + kA + "\n\n   \n\t\n" + kB + "\n\n" + kEnd},
                      LayoutRow{"Surrounded",
                                "  \t" + kA + " \t \n\x01\x1f" + kB + std::string(1, '\0') + " \n" + kEnd},
                      LayoutRow{"FormFeedAndVerticalTab", "\f\v" + kA + "\v\n" + kB + "\f\n" + kEnd},
                      LayoutRow{"Shuffled", kB + "\n" + kA + "\n" + kEnd + "\n"},
                      LayoutRow{"DuplicatesWithEqualData", kA + "\n" + kB + "\n" + kA + "\n" + kEnd},
                      LayoutRow{"EmptyAndStartRecords",
                                ":00030000FD\n:0400000300001000E9\n" + kA + "\n:0400000500000000F7\n" +
                                    kB + "\n" + kEnd},
                      LayoutRow{"BaseZeroAddressRecords",
                                ":020000020000FC\n" + kA + "\n:020000040000FA\n" + kB + "\n" + kEnd},
                      LayoutRow{"TextAfterTheEndRecord",
                                kA + "\n" + kB + "\n" + kEnd + "\nsigned: build 41\n:GARBAGE\n"}),
    RowName<LayoutRow>);

// ---- Highest address: the largest address that received a byte, over the whole file.

struct HighestRow {
  const char* name;
  std::uint32_t limit;
  std::vector<std::string> lines;
  std::uint32_t highest;
};

class HexHighestTest : public ::testing::TestWithParam<HighestRow> {};

TEST_P(HexHighestTest, IsTheLargestStoredAddress) {
  const HighestRow& row = GetParam();
  std::string content;
  for (const std::string& line : row.lines) content += line + "\n";
  FlashImage flash;
  flash.chip.flashLimit = row.limit;
  const Outcome outcome = ReadContent(content, flash);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  EXPECT_EQ(flash.highestAddress, row.highest);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HexHighestTest,
    ::testing::Values(HighestRow{"Descending",
                                 0x3C00,
                                 {Record(0, 0x0200, Range(0, 4)), Record(0, 0x0010, {9}), kEnd},
                                 0x0203},
                      HighestRow{"AddressRecordsDoNotCount",
                                 0x3C00,
                                 {Record(0, 0x0020, {1}), ":02FFFF040000FC", Record(4, 0, {0, 0}), kEnd},
                                 0x0020},
                      HighestRow{"LastByteOf64K", 0x1F800, {Record(0, 0xFFFC, Range(1, 4)), kEnd}, 0xFFFF}),
    RowName<HighestRow>);

// ---- A file that carries no program would only erase page 0: refused before anything is sent.

struct EmptyRow {
  const char* name;
  std::string content;
};

class HexNoProgramTest : public ::testing::TestWithParam<EmptyRow> {};

TEST_P(HexNoProgramTest, IsRefused) {
  FlashImage flash;
  const Outcome outcome = ReadContent(GetParam().content, flash);
  EXPECT_EQ(outcome.error, "Error parsing file: no program data");
  EXPECT_EQ(flash.dataBytes, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HexNoProgramTest,
    ::testing::Values(EmptyRow{"Empty", ""}, EmptyRow{"BlankLines", "\n  \r\n\t\n"},
                      EmptyRow{"OnlyEndOfFile", kEnd + "\n"},
                      EmptyRow{"AddressRecordsAndEnd", ":020000040000FA\n" + kEnd + "\n"},
                      EmptyRow{"EmptyDataRecord", ":00030000FD\n" + kEnd + "\n"}),
    RowName<EmptyRow>);

// ---- Files the reader refuses: every record's checksum is checked before its type, and a file
// that other tools refuse is never programmed. A damaged type byte once let 16 zero bytes be
// "verified" into flash.

struct RefusedRow {
  const char* name;
  std::string content;
  std::string error;
};

class HexRefusedTest : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(HexRefusedTest, IsRefusedWithItsReason) {
  FlashImage flash;
  const Outcome outcome = ReadContent(GetParam().content, flash);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.error, "Error parsing file: " + GetParam().error);
}

// A data record whose type byte was changed, its checksum left as it was.
std::string Retyped(const std::string& record, const char* type) {
  return record.substr(0, 7) + type + record.substr(9);
}

const std::string kData16 = Record(0, 0x0010, Range(0x30, 16));

INSTANTIATE_TEST_SUITE_P(
    Files, HexRefusedTest,
    ::testing::Values(
        RefusedRow{"TypeChangedTo08", kA + "\n" + Retyped(kData16, "08") + "\n" + kEnd,
                   "checksum failed"},
        RefusedRow{"TypeChangedTo01", kA + "\n" + Retyped(kData16, "01") + "\n" + kEnd,
                   "checksum failed"},
        RefusedRow{"UnknownTypeWithItsChecksum", kA + "\n" + Record(8, 0x0010, {1, 2}) + "\n" + kEnd,
                   "unknown record type"},
        RefusedRow{"TwoRecordsOnOneLine", kA + kB + "\n" + kEnd, "characters after the checksum"},
        RefusedRow{"TextAfterTheChecksum", kA + " trailing text\n" + kEnd,
                   "characters after the checksum"},
        RefusedRow{"HexAfterTheChecksum", kA + "00FF\n" + kEnd, "characters after the checksum"},
        RefusedRow{"NoEndRecord", kA + "\n" + kB + "\n", "no end record"},
        RefusedRow{"OverlapWithOtherData",
                   kA + "\n" + Record(0, 0x0002, {9, 9}) + "\n" + kEnd,
                   "conflicting data at 0x0002"}),
    RowName<RefusedRow>);

// "Program data" counts each address once, however often the file repeats it.
TEST(HexDistinctBytes, RepeatedRecordsCountOnce) {
  FlashImage flash;
  std::string content;
  for (int i = 0; i < 50; ++i) content += kA + "\n" + kB + "\n";
  ASSERT_TRUE(ReadContent(content + kEnd, flash).ok);
  EXPECT_EQ(flash.dataBytes, 6u);
}

// ---- Each file is read into a cleared image.

TEST(HexFreshImage, ASecondFileDoesNotSeeTheFirstFilesBytes) {
  TempFolder folder;
  FlashImage flash;
  flash.chip.flashLimit = 0x7C00;
  ASSERT_TRUE(ReadHexFile(folder.Write("a.hex", Record(0, 0x7000, Range(1, 16)) + "\n" + kEnd), flash).ok);
  ASSERT_EQ(flash.highestAddress, 0x700Fu);

  ASSERT_TRUE(ReadHexFile(folder.Write("b.hex", Record(0, 0x0100, {0x77}) + "\n" + kEnd), flash).ok);
  EXPECT_EQ(ImageAt(flash, 0x7000, 16), Bytes(16, 0xFF));
  EXPECT_EQ(flash.bytes[0x0100], 0x77);
  EXPECT_EQ(flash.highestAddress, 0x0100u);
  EXPECT_EQ(flash.chip.flashLimit, 0x7C00u);  // the chip stays as identified

  EXPECT_FALSE(ReadHexFile(folder.File("missing.hex"), flash).ok);
  EXPECT_TRUE(AllErased(flash));
  EXPECT_EQ(flash.highestAddress, 0u);
}

// ---- The fixed files under tests/data/hex.

struct DataFileRow {
  const char* name;
  const char* file;
  std::string error;
  std::uint32_t highest;
  std::vector<std::pair<unsigned, Bytes>> expected;
};

class HexDataFileTest : public ::testing::TestWithParam<DataFileRow> {};

TEST_P(HexDataFileTest, ReadsAsExpected) {
  const DataFileRow& row = GetParam();
  FlashImage flash;
  const Outcome outcome = ReadHexFile(kDataDir + row.file, flash);
  EXPECT_EQ(outcome.ok, row.error.empty());
  EXPECT_EQ(outcome.error, row.error);
  EXPECT_EQ(flash.highestAddress, row.highest);
  for (const auto& [address, bytes] : row.expected) {
    EXPECT_EQ(ImageAt(flash, address, bytes.size()), bytes) << "at " << address;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, HexDataFileTest,
    ::testing::Values(DataFileRow{"Good",
                                  "good.hex",
                                  "",
                                  0x3BFF,
                                  {{0x0000, Range(0x10, 16)},
                                   {0x0010, {0xAB, 0xCD, 0xEF, 0x01, 0xFF}},
                                   {0x3BF0, Range(0xF0, 16)}}},
                      // The failing record is checked whole before any of its bytes is stored.
                      DataFileRow{"BadChecksum",
                                  "bad-checksum.hex",
                                  "Error parsing file: checksum failed",
                                  0x0003,
                                  {{0x0000, {1, 2, 3, 4}}, {0x0020, {0xFF, 0xFF}}, {0x0040, {0xFF}}}},
                      DataFileRow{"OverLimit",
                                  "over-limit.hex",
                                  "Error parsing file: data exceeds writeable flash space",
                                  0x0001,
                                  {{0x0000, {1, 2}}, {0x3BF1, Bytes(15, 0xFF)}}},
                      DataFileRow{"Truncated",
                                  "truncated.hex",
                                  "Error parsing file: packet truncated",
                                  0x0002,
                                  {{0x0000, {7, 8, 9, 0xFF}}}}),
    RowName<DataFileRow>);

// ---- Cross-check: random binaries converted by binutils read back byte for byte.

struct ObjcopyRow {
  std::size_t size;
  std::uint32_t limit;
};

class HexObjcopyTest : public ::testing::TestWithParam<ObjcopyRow> {};

TEST_P(HexObjcopyTest, ReadsBackWhatObjcopyWrote) {
  const ObjcopyRow& row = GetParam();
  if (std::system("objcopy --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "binutils objcopy not found";

  std::mt19937 random(static_cast<unsigned>(row.size));
  Bytes binary(row.size);
  for (std::uint8_t& b : binary) b = static_cast<std::uint8_t>(random() & 0xFF);

  TempFolder folder;
  const std::string in = folder.Write("firmware.bin", std::string(binary.begin(), binary.end()));
  const std::string out = folder.File("firmware.hex");
  const std::string command = "objcopy -I binary -O ihex '" + in + "' '" + out + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  FlashImage flash;
  flash.chip.flashLimit = row.limit;
  const Outcome outcome = ReadHexFile(out, flash);
  ASSERT_TRUE(outcome.ok) << outcome.error;
  const auto differ = std::mismatch(binary.begin(), binary.end(), flash.bytes.begin());
  EXPECT_EQ(differ.first - binary.begin(), static_cast<std::ptrdiff_t>(row.size))
      << "first wrong byte";
  EXPECT_EQ(flash.highestAddress, row.size - 1);
  EXPECT_TRUE(std::all_of(flash.bytes.begin() + static_cast<std::ptrdiff_t>(row.size),
                          flash.bytes.end(), [](std::uint8_t b) { return b == 0xFF; }));
}

INSTANTIATE_TEST_SUITE_P(Sizes, HexObjcopyTest,
                         ::testing::Values(ObjcopyRow{1, 0x3C00}, ObjcopyRow{15, 0x3C00},
                                           ObjcopyRow{16, 0x3C00}, ObjcopyRow{17, 0x3C00},
                                           ObjcopyRow{255, 0x3C00}, ObjcopyRow{1000, 0x3C00},
                                           ObjcopyRow{15360, 15360}, ObjcopyRow{31744, 31744},
                                           ObjcopyRow{65536, 0x1F800}),
                         [](const ::testing::TestParamInfo<ObjcopyRow>& row) {
                           return std::to_string(row.param.size);
                         });

}  // namespace
}  // namespace zorv
