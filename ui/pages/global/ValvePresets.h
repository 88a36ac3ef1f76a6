#pragma once
// The valve types of the Zorv "Global" tab: the drop-down's items and the frequency and global
// trims each one suggests.
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace zorv {

struct ValvePreset {
  int hertz;
  std::uint8_t globalMin;
  std::uint8_t globalMax;
};

struct ValveType {
  QString text;                       // drop-down item, blanks included
  std::optional<ValvePreset> preset;  // none for "Other" and the empty item
};

inline constexpr int kValveTypeCount = 7;
inline constexpr int kValveOther = 0;
inline constexpr int kValveHusco = 3;

// Items in drop-down order.
const std::array<ValveType, kValveTypeCount>& ZorvValveTypes();

}  // namespace zorv
