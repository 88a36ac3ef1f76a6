#pragma once
// The controller's whole configuration: 256 bytes in wire and file order, and the global trim
// pair that lives beside it but never travels with it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zorv {

inline constexpr std::size_t kImageSize = 256;

using ImageBytes = std::array<std::uint8_t, kImageSize>;

struct SettingsImage {
  ImageBytes bytes{};

  std::uint8_t& operator[](std::size_t offset) { return bytes.at(offset); }
  std::uint8_t operator[](std::size_t offset) const { return bytes.at(offset); }
  bool operator==(const SettingsImage&) const = default;
};

// Minimum and maximum used by the set-all-trims controls; never transferred, never saved.
struct GlobalTrimPair {
  std::uint8_t min = 1;
  std::uint8_t max = 254;
  bool operator==(const GlobalTrimPair&) const = default;
};

// Identification bytes the controller sends when the link comes up.
namespace product {
inline constexpr std::uint8_t kZorv10 = 'G';
inline constexpr std::uint8_t kZorv11 = 'g';
inline constexpr std::uint8_t kTarnovex = 'b';
inline constexpr std::uint8_t kHalverston = 'd';
inline constexpr std::uint8_t kQuirn = 'c';
inline constexpr std::uint8_t kZorvPages = 0;  // global product code of the Zorv pages

inline constexpr bool IsProductCode(std::uint8_t b) {
  return b == kZorv10 || b == kZorv11 || b == kTarnovex || b == kHalverston || b == kQuirn;
}
}  // namespace product

// Byte 33 holds this value once an image has been shown as Tarnovex.
inline constexpr std::uint8_t kTarnovexMarker = 20;
inline constexpr std::size_t kTarnovexMarkerOffset = 33;

enum class Layout { Zorv, Tarnovex, Halverston, Quirn };

// Which of the four byte layouts is in force for this product code and image.
Layout SelectLayout(std::uint8_t productCode, const SettingsImage& image);

}  // namespace zorv
