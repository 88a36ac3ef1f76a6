#pragma once
// Byte offsets of the Tarnovex layout (product code 'b', or byte 33 holding the marker 20).
#include <cstddef>

namespace zorv::tarnovexfield {

inline constexpr std::size_t Frequency = 0;  // Tarnovex frequency curve
// Eight trim pairs, minimum then maximum: pair k (1..8) at 2k-1 and 2k.
inline constexpr std::size_t HoistUpMin = 1, HoistUpMax = 2;
inline constexpr std::size_t HoistDownMin = 3, HoistDownMax = 4;
inline constexpr std::size_t HoistLeftMin = 5, HoistLeftMax = 6;
inline constexpr std::size_t HoistRightMin = 7, HoistRightMax = 8;
inline constexpr std::size_t PlowUpMin = 9, PlowUpMax = 10;
inline constexpr std::size_t PlowDownMin = 11, PlowDownMax = 12;
inline constexpr std::size_t PlowLeftMin = 13, PlowLeftMax = 14;
inline constexpr std::size_t PlowRightMin = 15, PlowRightMax = 16;
inline constexpr std::size_t Joy1Safety = 17;
inline constexpr std::size_t Joy2Safety = 18;
inline constexpr std::size_t SystemMode = 19;  // drop-down index 0..9
inline constexpr std::size_t PlowFloat = 20;
inline constexpr std::size_t HoistLimit = 21;
inline constexpr std::size_t Cartridge = 22;
inline constexpr std::size_t AttitudeControl = 23;
inline constexpr std::size_t ToggleVPlow = 24;
inline constexpr std::size_t RtWingInMin = 25, RtWingInMax = 26;
inline constexpr std::size_t RtWingOutMin = 27, RtWingOutMax = 28;
inline constexpr std::size_t Joy3Safety = 29;
inline constexpr std::size_t Marker = 33;

}  // namespace zorv::tarnovexfield
