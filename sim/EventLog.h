#pragma once
// One line per event on stdout, flushed at once so a watching person or test sees it live.
#include <string>

namespace zorvsim {

class EventLog {
 public:
  virtual ~EventLog() = default;
  virtual void Line(const std::string& text);
};

// "0x0080": flash addresses in the log.
std::string Hex4(unsigned value);
// "0x41 'A'" or "0xFF": a byte with its character when printable.
std::string ByteText(unsigned char value);

}  // namespace zorvsim
