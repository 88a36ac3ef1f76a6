#include "TextFields.h"

#include <algorithm>

#include "Encodings.h"
#include "ZorvLayout.h"

namespace zorv {

std::string ReadTextField(const SettingsImage& image, std::size_t offset, std::size_t width) {
  std::string text;
  for (std::size_t i = 0; i < width; ++i) {
    const auto c = static_cast<char>(image[offset + i]);
    if (c == '\0') break;
    text.push_back(c);
  }
  return TrimTextSpaces(text);
}

std::string ReadLabel(const SettingsImage& image, std::size_t offset) {
  return ReadTextField(image, offset, zorvfield::kLabelWidth);
}

std::string ReadFloatName(const SettingsImage& image, std::size_t offset) {
  return ReadTextField(image, offset, zorvfield::kFloatNameWidth);
}

std::string CentreLabel(std::string_view text) {
  std::string label(text.substr(0, 8));
  std::transform(label.begin(), label.end(), label.begin(), [](char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  });
  while (label.size() < 8) {
    label.push_back(' ');
    if (label.size() < 8) label.insert(label.begin(), ' ');
  }
  return label;
}

void WriteLabel(SettingsImage& image, std::size_t offset, std::string_view text) {
  const std::string label = CentreLabel(text);
  for (std::size_t i = 0; i < 8; ++i) image[offset + i] = static_cast<std::uint8_t>(label[i]);
  image[offset + 8] = 0;
}

void WriteFloatName(SettingsImage& image, std::size_t offset, std::string_view text) {
  for (std::size_t i = 0; i < zorvfield::kFloatNameWidth; ++i) {
    image[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
  }
}

unsigned ReadWord(const SettingsImage& image, std::size_t offset) {
  return static_cast<unsigned>(image[offset]) * 256U + image[offset + 1];
}

void WriteWord(SettingsImage& image, std::size_t offset, long long value) {
  const auto word = static_cast<unsigned long long>(value) & 0xFFFFU;
  image[offset] = static_cast<std::uint8_t>(word >> 8);
  image[offset + 1] = static_cast<std::uint8_t>(word & 0xFFU);
}

}  // namespace zorv
