#include "link/HexReader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace zorv {
namespace {

std::optional<unsigned> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return std::nullopt;
}

// The value of `digits` characters of hex at `pos`; the caller has checked they exist.
std::optional<unsigned> HexField(std::string_view text, std::size_t pos, std::size_t digits) {
  unsigned value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const std::optional<unsigned> d = HexDigit(text[pos + i]);
    if (!d) return std::nullopt;
    value = value * 16 + *d;
  }
  return value;
}

constexpr unsigned kData = 0;
constexpr unsigned kExtendedSegment = 2;
constexpr unsigned kExtendedLinear = 4;
constexpr std::size_t kSixteenBitSpace = 0x10000;
constexpr const char* kAbove64K = "data above 64 KB";
// Flash that no record writes reads back as erased.
constexpr std::uint8_t kErased = 0xFF;

// An extended segment or linear address record: checked like any record, and refused unless
// its base is 0, since every address this tool can program lies below 64 KB.
Outcome CheckAddressBase(std::string_view rest, unsigned count, unsigned sum) {
  if (rest.size() < 2 * std::size_t{count} + 2) return Outcome::Failure("packet truncated");
  unsigned base = 0;
  for (unsigned i = 0; i < count; ++i) {
    const std::optional<unsigned> byte = HexField(rest, 2 * std::size_t{i}, 2);
    if (!byte) return Outcome::Failure("bad packet data");
    sum += *byte;
    base |= *byte;
  }
  const std::optional<unsigned> checksum = HexField(rest, 2 * std::size_t{count}, 2);
  if (!checksum) return Outcome::Failure("bad checksum format");
  if (*checksum != ((256 - (sum % 256)) % 256)) return Outcome::Failure("checksum failed");
  if (base != 0) return Outcome::Failure(kAbove64K);
  return Outcome::Success();
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  return line;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::optional<std::string> ReadWholeFile(const std::string& fileName) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::string content;
  char chunk[8192];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) content.append(chunk, got);
  // A folder opens on some systems but fails on reading.
  if (std::ferror(file.get())) return std::nullopt;
  return content;
}

}  // namespace

Outcome ParseHexRecord(std::string_view line, FlashImage& flash) {
  if (line.size() < 9) return Outcome::Failure("not a valid packet");
  if (line[0] != ':') return Outcome::Failure("no start marker");

  const std::optional<unsigned> count = HexField(line, 1, 2);
  if (!count) return Outcome::Failure("bad length byte");
  unsigned sum = *count;

  const std::optional<unsigned> start = HexField(line, 3, 4);
  if (!start) return Outcome::Failure("bad address");
  sum += (*start >> 8) + (*start & 0xFF);

  const std::optional<unsigned> type = HexField(line, 7, 2);
  if (!type) return Outcome::Failure("bad rec type byte");
  sum += *type;

  std::string_view rest = line.substr(9);
  if (*type == kExtendedSegment || *type == kExtendedLinear) {
    return CheckAddressBase(rest, *count, sum);
  }
  // End-of-file and start address records carry nothing for the image.
  if (*type != kData) return Outcome::Success();

  if (rest.size() < 2 * std::size_t{*count} + 2) return Outcome::Failure("packet truncated");

  // The boot loader's page address has 16 bits: a byte past 0xFFFF would land on page 0.
  if (std::size_t{*start} + *count > kSixteenBitSpace) return Outcome::Failure(kAbove64K);
  // Never trust the chip limit beyond the image itself.
  const std::size_t limit = std::min<std::size_t>(flash.chip.flashLimit, flash.bytes.size());
  if (std::size_t{*start} + *count > limit) {
    return Outcome::Failure("data exceeds writeable flash space");
  }

  std::uint32_t address = *start;
  for (unsigned i = 0; i < *count; ++i) {
    const std::optional<unsigned> byte = HexField(rest, 0, 2);
    if (!byte) return Outcome::Failure("bad packet data");
    sum += *byte;
    // Stored before the checksum is known; a bad record fails the whole file anyway.
    flash.bytes[address] = static_cast<std::uint8_t>(*byte);
    flash.highestAddress = std::max(flash.highestAddress, address);
    ++flash.dataBytes;
    ++address;
    rest.remove_prefix(2);
  }

  const std::optional<unsigned> checksum = HexField(rest, 0, 2);
  if (!checksum) return Outcome::Failure("bad checksum format");
  if (*checksum != ((256 - (sum % 256)) % 256)) return Outcome::Failure("checksum failed");
  return Outcome::Success();
}

Outcome ReadFirmwareFile(const std::string& fileName, std::optional<std::string>& content) {
  const std::string failed = "Failed to read input file <" + fileName + ">";
  // Opening a FIFO would wait for a writer, and a folder or device holds no records: each is
  // named for what it is before anything is opened.
  std::error_code ec;
  const std::filesystem::file_status type = std::filesystem::status(fileName, ec);
  if (!ec) {
    switch (type.type()) {
      case std::filesystem::file_type::directory:
        return Outcome::Failure(failed + ": it is a folder, not a file");
      case std::filesystem::file_type::fifo:
        return Outcome::Failure(failed + ": it is a FIFO (named pipe), not a file");
      case std::filesystem::file_type::character:
      case std::filesystem::file_type::block:
        return Outcome::Failure(failed + ": it is a device, not a file");
      case std::filesystem::file_type::socket:
        return Outcome::Failure(failed + ": it is a socket, not a file");
      default:
        break;
    }
  }
  content = ReadWholeFile(fileName);
  if (!content) return Outcome::Failure(failed);
  return Outcome::Success();
}

Outcome ReadHexFile(const std::string& fileName, FlashImage& flash) {
  std::optional<std::string> content;
  const Outcome read = ReadFirmwareFile(fileName, content);
  if (!read) {
    // What gets programmed must depend on this file alone, never on one read earlier.
    flash.bytes.assign(kFlashImageSize, kErased);
    flash.highestAddress = 0;
    flash.dataBytes = 0;
    return read;
  }
  return ReadHexText(*content, flash);
}

Outcome ReadHexText(std::string_view text, FlashImage& flash) {
  // What gets programmed must depend on this file alone, never on one read earlier.
  flash.bytes.assign(kFlashImageSize, kErased);
  flash.highestAddress = 0;
  flash.dataBytes = 0;

  // CR, LF and CR LF all end a line: a file with bare CR breaks must not collapse into one
  // record whose tail would be ignored as trailing characters.
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end);
    if (!text.empty() && text.front() == '\r') text.remove_prefix(1);
    if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    if (line.empty()) continue;
    const Outcome record = ParseHexRecord(line, flash);
    if (!record) return Outcome::Failure("Error parsing file: " + record.error);
  }
  // Programming an empty image would only erase page 0.
  if (flash.dataBytes == 0) return Outcome::Failure("Error parsing file: no program data");
  return Outcome::Success();
}

}  // namespace zorv
