#include "sim/EventLog.h"

#include <cstdio>

namespace zorvsim {

void EventLog::Line(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Hex4(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

std::string ByteText(unsigned char value) {
  char text[16];
  if (value >= 0x20 && value < 0x7F) {
    std::snprintf(text, sizeof text, "0x%02X '%c'", value, value);
  } else {
    std::snprintf(text, sizeof text, "0x%02X", value);
  }
  return text;
}

}  // namespace zorvsim
