#pragma once
// Byte offsets of the Halverston layout (product code 'd').
#include <cstddef>

namespace zorv::halverstonfield {

inline constexpr std::size_t Frequency = 0;  // standard frequency curve
inline constexpr std::size_t GripCloseMin = 1, GripCloseMax = 2;
inline constexpr std::size_t GripOpenMin = 3, GripOpenMax = 4;
inline constexpr std::size_t ArmUpMin = 5, ArmUpMax = 6;
inline constexpr std::size_t ArmDownMin = 7, ArmDownMax = 8;
inline constexpr std::size_t BoomInMin = 9, BoomInMax = 10;
inline constexpr std::size_t BoomOutMin = 11, BoomOutMax = 12;
inline constexpr std::size_t UnDumpMin = 13, UnDumpMax = 14;
inline constexpr std::size_t DumpMin = 15, DumpMax = 16;
inline constexpr std::size_t GripCloseTime = 17;    // 60 ms ticks, 0..250
inline constexpr std::size_t UseProxSensors = 18;   // 1 sensors, 0 timers
inline constexpr std::size_t DumpRunTime = 19;      // 60 ms ticks, 0..250
inline constexpr std::size_t DecelRate = 20;        // 1..50
inline constexpr std::size_t DecelUpdateLaps = 21;  // 1..100
inline constexpr std::size_t DecelArmInTime = 22;   // 60 ms ticks
inline constexpr std::size_t DecelArmUpTime = 23;
inline constexpr std::size_t DecelArmDownTime = 24;

}  // namespace zorv::halverstonfield
