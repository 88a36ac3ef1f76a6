#pragma once
// Text and multi-byte fields inside the settings image.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "SettingsImage.h"

namespace zorv {

// Characters up to the first NUL or `width`, whichever comes first, then TrimTextSpaces.
std::string ReadTextField(const SettingsImage& image, std::size_t offset, std::size_t width);
std::string ReadLabel(const SettingsImage& image, std::size_t offset);      // 9-byte label field
std::string ReadFloatName(const SettingsImage& image, std::size_t offset);  // 5-byte name field

// Upper case, centred in 8 characters with the odd space at the right; longer text is cut.
std::string CentreLabel(std::string_view text);
// Stores CentreLabel(text) and the terminating NUL.
void WriteLabel(SettingsImage& image, std::size_t offset, std::string_view text);
// Stores the first 5 characters, the rest of the field zero.
void WriteFloatName(SettingsImage& image, std::size_t offset, std::string_view text);

// 16-bit big-endian fields: high byte at `offset`, low byte at `offset + 1`.
unsigned ReadWord(const SettingsImage& image, std::size_t offset);
// Keeps the low 16 bits of `value`.
void WriteWord(SettingsImage& image, std::size_t offset, long long value);

}  // namespace zorv
