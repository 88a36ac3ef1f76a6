#pragma once
// Byte offsets of the Quirn layout (product code 'c'). 16-bit fields are big-endian: the high
// byte sits at the named (lower) offset.
#include <cstddef>

namespace zorv::quirnfield {

inline constexpr std::size_t ReduceStartSpeed = 0;
inline constexpr std::size_t ReduceStartWeight = 1;
inline constexpr std::size_t ReduceStartPsi = 3;
inline constexpr std::size_t ReduceStartOutput = 5;
inline constexpr std::size_t ReduceStopSpeed = 7;
inline constexpr std::size_t ReduceStopWeight = 8;
inline constexpr std::size_t ReduceStopPsi = 10;
inline constexpr std::size_t ReduceStopOutput = 12;
inline constexpr std::size_t IncreaseStartSpeed = 14;
inline constexpr std::size_t IncreaseStartWeight = 15;
inline constexpr std::size_t IncreaseStartPsi = 17;
inline constexpr std::size_t IncreaseStartOutput = 19;
inline constexpr std::size_t IncreaseStopSpeed = 21;
inline constexpr std::size_t IncreaseStopWeight = 22;
inline constexpr std::size_t IncreaseStopPsi = 24;
inline constexpr std::size_t IncreaseStopOutput = 26;
inline constexpr std::size_t PulsesPerDistance = 28;
inline constexpr std::size_t PistonAngle = 32;
inline constexpr std::size_t PistonFaceDiameter = 119;
inline constexpr std::size_t UseMathSetup = 138;

}  // namespace zorv::quirnfield
