#pragma once
// Conversions between image bytes and what the user sees. Pure functions; arithmetic in
// extended precision and rounding to nearest with ties to even, so the window, the report and
// the tests agree to the last digit.
#include <cstdint>
#include <string>
#include <string_view>

namespace zorv {

// Round to nearest, ties to even (2.5 -> 2, 3.5 -> 4).
long double RoundEven(long double x);

// Standard curve (Zorv and Halverston). A larger code means a lower frequency.
int FreqCodeToHz(int code);
int HzToFreqCode(long double hz);  // clamped to 0..255
// Tarnovex curve; not the inverse of each other.
int FreqCodeToHzTarnovex(int code);
int HzToFreqCodeTarnovex(long double hz);  // clamped to 0..255
// What a frequency bar shows for a code: the hertz rounded down to a multiple of 5.
int FreqBarPosition(int code);
int FreqBarPositionTarnovex(int code);

// Trim bars show 256 - byte, so a higher bar position means a lower trim byte.
int TrimBarPosition(int trimByte);
std::uint8_t TrimByteFromBar(int barPosition);
// Trim byte in twentieths of a volt: 254 -> "12.7v".
std::string TrimVoltsText(int trimByte);

// Fixed-point text with `decimals` (0..10) places; trailing zeros dropped, one digit after the
// point always kept: (1, 3) -> "3.0", (2, -0.05) -> "-0.05".
std::string FormatScaled(int decimals, long double x);

// Halverston timers: one step is 60 ms. 17 -> "1.02 s".
std::string TicksText(int ticks);

// Colour-button drop-down index <-> button mode code (items 5..7 are codes 8..10).
int IndexToModeCode(int index);
int ModeCodeToIndex(int code);

// Removes characters with code 32 or less from the end, then from the start.
std::string TrimTextSpaces(std::string_view s);

}  // namespace zorv
