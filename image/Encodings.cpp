#include "Encodings.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

namespace zorv {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

int ClampInt(long double v, int lo, int hi) {
  if (!(v >= lo)) return lo;  // also catches NaN
  if (v > hi) return hi;
  return static_cast<int>(v);
}

// Converts a rounded value to int without undefined behaviour for huge values.
int ToInt(long double rounded) {
  return ClampInt(rounded, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

}  // namespace

long double RoundEven(long double x) {
  // nearbyint honours the current rounding mode, which is to-nearest-even unless someone
  // changed it; do not depend on that.
  const int saved = std::fegetround();
  if (saved != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  const long double r = std::nearbyint(x);
  if (saved != FE_TONEAREST) std::fesetround(saved);
  return r;
}

int FreqCodeToHz(int code) {
  const long double a = code;
  const long double angle = ((1.0L - a / 256.0L) * 77.0L + 9.0L) * kPi / 180.0L;
  return ToInt(RoundEven(std::tan(angle) * 32.0L + 25.0L));
}

int HzToFreqCode(long double hz) {
  const long double degrees = std::atan((hz - 25.0L) / 32.0L) * 180.0L / kPi;
  return ClampInt(RoundEven(256.0L - (degrees - 9.0L) * 256.0L / 77.0L), 0, 255);
}

int FreqCodeToHzTarnovex(int code) {
  const long double a = code;
  // 190, not 180: the controller's curve is built that way.
  const long double angle = ((1.0L - a / 110.0L) * 79.0L + 9.0L) * kPi / 190.0L;
  return ToInt(RoundEven(std::tan(angle) * 32.0L)) + 50;
}

int HzToFreqCodeTarnovex(long double hz) {
  const long double turns = std::atan(hz / 25.0L) * 190.0L / kPi;
  return ClampInt(RoundEven(255.0L - (turns - 9.0L) * 110.0L / 35.0L), 0, 255);
}

int FreqBarPosition(int code) { return FreqCodeToHz(code) / 5 * 5; }
int FreqBarPositionTarnovex(int code) { return FreqCodeToHzTarnovex(code) / 5 * 5; }

int TrimBarPosition(int trimByte) { return 256 - trimByte; }
std::uint8_t TrimByteFromBar(int barPosition) {
  return static_cast<std::uint8_t>(256 - barPosition);
}

std::string TrimVoltsText(int trimByte) {
  // The quotient is rounded to a double first; the scaling in FormatScaled is extended.
  const double volts = static_cast<double>(trimByte) / 20.0;
  return FormatScaled(1, volts) + "v";
}

std::string FormatScaled(int decimals, long double x) {
  static constexpr std::array<long double, 11> kPowers = {
      1.0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L};
  const int d = std::clamp(decimals, 0, 10);
  const long double scaled = RoundEven(x * kPowers[static_cast<std::size_t>(d)]);
  // Saturate rather than overflow for values no setting can hold.
  constexpr long double kLimit = 9.0e18L;
  const long double bounded = std::isnan(scaled) ? 0.0L : std::clamp(scaled, -kLimit, kLimit);
  const long long n = static_cast<long long>(bounded);
  const bool negative = n < 0;
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);

  std::string text = std::to_string(magnitude);
  while (text.size() < static_cast<std::size_t>(d) + 1) text.insert(text.begin(), '0');
  text.insert(text.size() - static_cast<std::size_t>(d), ".");
  while (!text.empty() && text.front() == '0') text.erase(text.begin());
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (text.empty() || text.front() == '.') text.insert(text.begin(), '0');
  if (text.back() == '.') text.push_back('0');
  if (negative) text.insert(text.begin(), '-');
  return text;
}

std::string TicksText(int ticks) {
  const long double seconds = static_cast<long double>(ticks) * 0.06L;
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.15Lg", seconds);
  return std::string(buffer.data()) + " s";
}

int IndexToModeCode(int index) { return index > 4 ? index + 3 : index; }
int ModeCodeToIndex(int code) { return code < 5 ? code : code - 3; }

std::string TrimTextSpaces(std::string_view s) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  return std::string(s);
}

}  // namespace zorv
