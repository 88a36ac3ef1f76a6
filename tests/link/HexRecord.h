#pragma once
// An Intel HEX record with a correct checksum, as the firmware-file tests write them (without
// the line end).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zorv::test {

inline std::string Record(unsigned type, unsigned address, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> fields{static_cast<std::uint8_t>(data.size()),
                                   static_cast<std::uint8_t>(address >> 8),
                                   static_cast<std::uint8_t>(address & 0xFF),
                                   static_cast<std::uint8_t>(type)};
  fields.insert(fields.end(), data.begin(), data.end());
  unsigned sum = 0;
  std::string line = ":";
  char hex[3];
  for (std::uint8_t b : fields) {
    sum += b;
    std::snprintf(hex, sizeof hex, "%02X", b);
    line += hex;
  }
  std::snprintf(hex, sizeof hex, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return line + hex;
}

}  // namespace zorv::test
