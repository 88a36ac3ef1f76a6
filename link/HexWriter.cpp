#include "link/HexWriter.h"

#include <algorithm>
#include <cstdio>

#include "image/SwitchFile.h"

namespace zorv {
namespace {

constexpr std::size_t kRecordBytes = 16;

void AppendRecord(std::string& out, std::uint32_t address, std::uint8_t type,
                  const std::uint8_t* data, std::size_t count) {
  char field[16];
  unsigned sum = static_cast<unsigned>(count) + ((address >> 8) & 0xFFU) + (address & 0xFFU) + type;
  std::snprintf(field, sizeof field, ":%02X%04X%02X", static_cast<unsigned>(count),
                static_cast<unsigned>(address & 0xFFFFU), static_cast<unsigned>(type));
  out += field;
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(field, sizeof field, "%02X", static_cast<unsigned>(data[i]));
    out += field;
    sum += data[i];
  }
  std::snprintf(field, sizeof field, "%02X\r\n", (256U - (sum % 256U)) % 256U);
  out += field;
}

}  // namespace

std::string FormatHexText(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  const std::size_t size = std::min<std::size_t>(bytes.size(), 0x10000);
  out.reserve(size / kRecordBytes * 45 + 16);
  for (std::size_t at = 0; at < size; at += kRecordBytes) {
    AppendRecord(out, static_cast<std::uint32_t>(at), 0, bytes.data() + at,
                 std::min(kRecordBytes, size - at));
  }
  AppendRecord(out, 0, 1, nullptr, 0);
  return out;
}

Outcome WriteHexFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
  const std::string text = FormatHexText(bytes);
  const Outcome written = WriteFileSafely(
      fileName, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  if (!written) return Outcome::Failure("Cannot write <" + fileName + ">: " + written.error);
  return written;
}

}  // namespace zorv
