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

constexpr unsigned kEndOfFile = 1;
constexpr unsigned kStartSegment = 3;
constexpr unsigned kStartLinear = 5;

// What the whole file's records have put into the image so far.
struct ReadState {
  std::vector<bool> stored = std::vector<bool>(kFlashImageSize, false);
  bool ended = false;
};

// One record, checked whole before its type is looked at: every field, its length and its
// checksum; a damaged type byte then fails the checksum instead of being skipped.
Outcome ParseRecord(std::string_view line, FlashImage& flash, ReadState& state) {
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

  const std::string_view rest = line.substr(9);
  if (rest.size() < 2 * std::size_t{*count} + 2) return Outcome::Failure("packet truncated");
  std::vector<std::uint8_t> data;
  data.reserve(*count);
  for (unsigned i = 0; i < *count; ++i) {
    const std::optional<unsigned> byte = HexField(rest, 2 * std::size_t{i}, 2);
    if (!byte) return Outcome::Failure("bad packet data");
    sum += *byte;
    data.push_back(static_cast<std::uint8_t>(*byte));
  }
  const std::optional<unsigned> checksum = HexField(rest, 2 * std::size_t{*count}, 2);
  if (!checksum) return Outcome::Failure("bad checksum format");
  if (*checksum != ((256 - (sum % 256)) % 256)) return Outcome::Failure("checksum failed");
  // A second record on the line, or anything else, is not silently dropped.
  if (rest.size() != 2 * std::size_t{*count} + 2) {
    return Outcome::Failure("characters after the checksum");
  }

  switch (*type) {
    case kData:
      break;
    case kEndOfFile:
      state.ended = true;
      return Outcome::Success();
    case kExtendedSegment:
    case kExtendedLinear: {
      // Every address this tool can program lies below 64 KB: only a base of 0 is taken.
      unsigned base = 0;
      for (std::uint8_t b : data) base |= b;
      return base != 0 ? Outcome::Failure(kAbove64K) : Outcome::Success();
    }
    case kStartSegment:
    case kStartLinear:
      return Outcome::Success();  // a start address means nothing to the image
    default:
      return Outcome::Failure("unknown record type");
  }

  // The boot loader's page address has 16 bits: a byte past 0xFFFF would land on page 0.
  if (std::size_t{*start} + *count > kSixteenBitSpace) return Outcome::Failure(kAbove64K);
  // Never trust the chip limit beyond the image itself.
  const std::size_t limit = std::min<std::size_t>(flash.chip.flashLimit, flash.bytes.size());
  if (std::size_t{*start} + *count > limit) {
    return Outcome::Failure("data exceeds writeable flash space");
  }
  for (unsigned i = 0; i < *count; ++i) {
    const std::size_t address = std::size_t{*start} + i;
    if (state.stored[address] && flash.bytes[address] != data[i]) {
      char text[48];
      std::snprintf(text, sizeof text, "conflicting data at 0x%04X", static_cast<unsigned>(address));
      return Outcome::Failure(text);
    }
  }
  for (unsigned i = 0; i < *count; ++i) {
    const std::size_t address = std::size_t{*start} + i;
    flash.bytes[address] = data[i];
    // Program data counts each address once, however often the file repeats it.
    if (!state.stored[address]) ++flash.dataBytes;
    state.stored[address] = true;
    flash.highestAddress = std::max(flash.highestAddress, static_cast<std::uint32_t>(address));
  }
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
  ReadState state;
  return ParseRecord(line, flash, state);
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
  ReadState state;

  // CR, LF and CR LF all end a line: a file with bare CR breaks must not collapse into one
  // record whose tail would be ignored as trailing characters.
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end);
    if (!text.empty() && text.front() == '\r') text.remove_prefix(1);
    if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    if (line.empty()) continue;
    const Outcome record = ParseRecord(line, flash, state);
    if (!record) return Outcome::Failure("Error parsing file: " + record.error);
    // Whatever follows the end record (a signature, a note) is not part of the program.
    if (state.ended) break;
  }
  // Programming an empty image would only erase page 0.
  if (flash.dataBytes == 0) return Outcome::Failure("Error parsing file: no program data");
  if (!state.ended) return Outcome::Failure("Error parsing file: no end record");
  return Outcome::Success();
}

}  // namespace zorv
