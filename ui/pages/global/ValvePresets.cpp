#include "ValvePresets.h"

namespace zorv {

namespace {

// The blanks line the columns up in the window's proportional font.
QString Item(const char* name, int blanks, const char* parts) {
  return QString::fromLatin1(name) + QString(blanks, ' ') + "TYPICAL END" + QString(8, ' ') +
         QString::fromLatin1(parts);
}

}  // namespace

const std::array<ValveType, kValveTypeCount>& ZorvValveTypes() {
  static const std::array<ValveType, kValveTypeCount> types = {{
      {"Other", std::nullopt},
      {Item("MP18", 33, "RQ-7311 or RQ-7313"), ValvePreset{180, 70, 120}},
      {Item("HydraForce", 24, "RQ-7314 or RQ-7317"), ValvePreset{225, 70, 150}},
      {Item("Husco", 32, "RQ-7310 or RQ-7312"), ValvePreset{105, 88, 180}},
      {Item("Sauer-Danfoss", 19, "RQ-7320"), ValvePreset{105, 50, 120}},
      {Item("Walvoil", 31, "RQ-7316"), ValvePreset{225, 70, 140}},
      {QString(), std::nullopt},
  }};
  return types;
}

}  // namespace zorv
