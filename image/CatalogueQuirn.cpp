// The rows of the Quirn layout, in page order.
#include <array>

#include "CatalogueRows.h"
#include "QuirnLayout.h"

namespace zorv::catalogue {

namespace qf = quirnfield;

namespace {

struct GridRow {
  const char* key;
  const char* caption;
  std::size_t offset;
  bool word;
};

// Edit1 .. Edit19, in that order.
constexpr std::array<GridRow, 19> kBoxes = {{
    {"reduce_start.speed", "Reduce Start Speed", qf::ReduceStartSpeed, false},
    {"reduce_start.weight", "Reduce Start Weight", qf::ReduceStartWeight, true},
    {"reduce_start.psi", "Reduce Start PSI", qf::ReduceStartPsi, true},
    {"reduce_start.output", "Reduce Start Output", qf::ReduceStartOutput, true},
    {"reduce_stop.speed", "Reduce Stop Speed", qf::ReduceStopSpeed, false},
    {"reduce_stop.weight", "Reduce Stop Weight", qf::ReduceStopWeight, true},
    {"reduce_stop.psi", "Reduce Stop PSI", qf::ReduceStopPsi, true},
    {"reduce_stop.output", "Reduce Stop Output", qf::ReduceStopOutput, true},
    {"increase_start.speed", "Increase Start Speed", qf::IncreaseStartSpeed, false},
    {"increase_start.weight", "Increase Start Weight", qf::IncreaseStartWeight, true},
    {"increase_start.psi", "Increase Start PSI", qf::IncreaseStartPsi, true},
    {"increase_start.output", "Increase Start Output", qf::IncreaseStartOutput, true},
    {"increase_stop.speed", "Increase Stop Speed", qf::IncreaseStopSpeed, false},
    {"increase_stop.weight", "Increase Stop Weight", qf::IncreaseStopWeight, true},
    {"increase_stop.psi", "Increase Stop PSI", qf::IncreaseStopPsi, true},
    {"increase_stop.output", "Increase Stop Output", qf::IncreaseStopOutput, true},
    {"pulses_per_distance", "Pulses per distance", qf::PulsesPerDistance, true},
    {"piston_angle", "Piston angle from horizontal", qf::PistonAngle, false},
    {"piston_face_diameter", "Piston face diameter (reduce)", qf::PistonFaceDiameter, false},
}};

constexpr std::size_t kIncreaseStartWeightBox = 9;

}  // namespace

std::vector<Setting> QuirnRows() {
  std::vector<Setting> rows;
  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    const GridRow& b = kBoxes[i];
    const Place place{"Quirn", i < 16 ? "Grid" : "Plow"};
    const std::string edit = "Edit" + std::to_string(i + 1);
    Setting row = b.word ? Row("quirn." + std::string(b.key), b.caption, place, Width::Word16,
                               Encoding::QuirnWord, b.offset, {edit}, 0, 65535)
                         : Byte("quirn." + std::string(b.key), b.caption, place,
                                Encoding::Number, b.offset, {edit});
    // With math setup this box repeats the plow weight.
    if (i == kIncreaseStartWeightBox) row = When(row, qf::UseMathSetup, 0, 0);
    rows.push_back(row);
  }
  // One box, two places: the plow weight entered once is both start weights.
  Setting weight = When(Row("quirn.plow_weight", "Plow Weight", {"Quirn", "Plow"}, Width::Word16,
                            Encoding::QuirnWord, qf::ReduceStartWeight, {"Edit21"}, 0, 65535),
                        qf::UseMathSetup, 1, 1);
  weight.ranges.push_back({qf::IncreaseStartWeight, 2});
  rows.push_back(weight);
  rows.push_back(
      Flag("quirn.use_math_setup", "Use Math Setup", {"Quirn", "Plow"}, qf::UseMathSetup,
           {"CheckBox1"}));
  return rows;
}

std::vector<std::size_t> QuirnUnnamed() {
  std::vector<std::size_t> unnamed;
  for (std::size_t o = 0; o < kImageSize; ++o) {
    const bool named = o <= qf::PulsesPerDistance + 1 || o == qf::PistonAngle ||
                       o == qf::PistonFaceDiameter || o == qf::UseMathSetup;
    if (!named) unnamed.push_back(o);
  }
  return unnamed;
}

}  // namespace zorv::catalogue
