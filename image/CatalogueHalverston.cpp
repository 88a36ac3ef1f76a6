// The rows of the Halverston layout, in page order.
#include <array>

#include "CatalogueRows.h"
#include "HalverstonLayout.h"

namespace zorv::catalogue {

namespace hf = halverstonfield;

namespace {

constexpr std::array<TrimPairRow, 8> kTrimPairs = {{
    {"Arm / Boom Trims", "Arm Up", "ScrollBar11", "ScrollBar12", "Label216", "Label218",
     hf::ArmUpMin, hf::ArmUpMax},
    {"Arm / Boom Trims", "Arm Down", "ScrollBar9", "ScrollBar10", "Label211", "Label213",
     hf::ArmDownMin, hf::ArmDownMax},
    {"Arm / Boom Trims", "Boom In", "ScrollBar7", "ScrollBar8", "Label206", "Label208",
     hf::BoomInMin, hf::BoomInMax},
    {"Arm / Boom Trims", "Boom Out", "ScrollBar5", "ScrollBar6", "Label201", "Label203",
     hf::BoomOutMin, hf::BoomOutMax},
    {"Grip / Dump Trims", "Grip Close", "ScrollBar15", "ScrollBar16", "Label226", "Label228",
     hf::GripCloseMin, hf::GripCloseMax},
    {"Grip / Dump Trims", "Grip Open", "ScrollBar13", "ScrollBar14", "Label221", "Label223",
     hf::GripOpenMin, hf::GripOpenMax},
    {"Grip / Dump Trims", "UnDump", "ScrollBar3", "ScrollBar4", "Label196", "Label198",
     hf::UnDumpMin, hf::UnDumpMax},
    {"Grip / Dump Trims", "Dump", "ScrollBar1", "ScrollBar2", "Label191", "Label193", hf::DumpMin,
     hf::DumpMax},
}};

}  // namespace

std::vector<Setting> HalverstonRows() {
  std::vector<Setting> rows;
  rows.push_back(Byte("halverston.frequency", "Valve Frequency", {"Main", "Valve Frequency"},
                      Encoding::FreqZorv, hf::Frequency, {"ScrollBar17", "Label230"}, 1, 255));
  const Place times{"Main", "Times"};
  rows.push_back(Byte("halverston.grip_close_time", "Grip Close Time", times, Encoding::Ticks60ms,
                      hf::GripCloseTime, {"ScrollBar18", "Label240"}, 0, 250));
  rows.push_back(Byte("halverston.dump_run_time", "Dump Cylinder Run Time", times,
                      Encoding::Ticks60ms, hf::DumpRunTime, {"ScrollBar19", "Label241"}, 0, 250));
  const Place decel{"Main", "Deceleration"};
  rows.push_back(Flag("halverston.use_prox_sensors", "Use Prox Sensors ", decel,
                      hf::UseProxSensors, {"RadioButton1"}, Encoding::OnOffNonZero));
  rows.push_back(Byte("halverston.decel_rate", "Deceleration Rate", decel, Encoding::Number,
                      hf::DecelRate, {"SpinEdit2"}, 1, 50));
  rows.push_back(Byte("halverston.decel_update_laps", "Deceleration Update Laps", decel,
                      Encoding::Number, hf::DecelUpdateLaps, {"SpinEdit1"}, 1, 100));
  rows.push_back(Byte("halverston.decel_arm_up_time", "Arm up timer", decel, Encoding::Ticks60ms,
                      hf::DecelArmUpTime, {"ScrollBar22", "Label243"}, 0, 250));
  rows.push_back(Byte("halverston.decel_arm_down_time", "Arm down timer", decel,
                      Encoding::Ticks60ms, hf::DecelArmDownTime, {"ScrollBar21", "Label244"}, 0,
                      250));
  rows.push_back(Byte("halverston.decel_arm_in_time", "Arm in timer", decel, Encoding::Ticks60ms,
                      hf::DecelArmInTime, {"ScrollBar20", "Label245"}, 0, 250));
  AddTrimPairs(rows, "halverston", kTrimPairs);
  return rows;
}

std::vector<std::size_t> HalverstonUnnamed() {
  std::vector<std::size_t> unnamed;
  for (std::size_t o = hf::DecelArmDownTime + 1; o < kImageSize; ++o) unnamed.push_back(o);
  return unnamed;
}

}  // namespace zorv::catalogue
