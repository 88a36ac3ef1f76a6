#pragma once
// Writing a catalogue row's value into the image: what a bound control stores when the user
// changes it. Pure functions of the image, so they are tested without a window.
#include <cstdint>
#include <string>
#include <string_view>

#include "Catalogue.h"

namespace zorv {

// Stores a number in every place the row names: a byte keeps the low 8 bits, a 16-bit field the
// low 16 (high byte first), as the pages always have.
void StoreNumber(const Setting& row, SettingsImage& image, long long value);

// Stores a label (centred, upper case) or a float name (its first 5 characters).
void StoreText(const Setting& row, SettingsImage& image, std::string_view text);

// Stores a tick: 1 for on and 0 for off, the other way round where the byte says "off".
void StoreOnOff(const Setting& row, SettingsImage& image, bool on);

// What a bar or spin edit at `position` stores for the row (a trim bar's 256 - position, a
// frequency bar's code for its hertz, a switch spin's switch number or "none" for 0, otherwise
// the number), and the text a bar's value label shows for it.
std::uint8_t ByteAtPosition(const Setting& row, int position);
std::string PositionText(const Setting& row, int position);

// The repair the refresh makes to an on/off byte a check box cannot show: a byte that is
// neither 0 nor 1 becomes 0 (which an inverted row shows ticked, as before). Rows whose any
// non-zero value means "on" are left alone.
void RepairOnOff(const Setting& row, SettingsImage& image);

}  // namespace zorv
