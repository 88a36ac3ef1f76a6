// What a bound control stores, and the refresh's repairs, as functions of the image alone.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "image/Catalogue.h"
#include "image/Repairs.h"
#include "image/RowValue.h"

namespace zorv {
namespace {

enum class Op { Number, On, Off, Repair, RepairQuirn };

struct StoreCase {
  Layout layout;
  const char* key;
  std::map<std::size_t, std::uint8_t> before;  // bytes set first
  Op op;
  long long value;
  std::map<std::size_t, std::uint8_t> changed;  // every byte that must differ afterwards
};

class RowStores : public ::testing::TestWithParam<StoreCase> {};

TEST_P(RowStores, ChangeExactlyTheRowsBytes) {
  const StoreCase& c = GetParam();
  SettingsImage image;
  for (std::size_t o = 0; o < kImageSize; ++o) image[o] = static_cast<std::uint8_t>(o * 7 + 3);
  for (const auto& [offset, byte] : c.before) image[offset] = byte;
  const SettingsImage start = image;
  const Setting* row = c.key[0] != '\0' ? FindSetting(c.layout, c.key) : nullptr;
  ASSERT_TRUE(row != nullptr || c.op == Op::RepairQuirn) << c.key;
  switch (c.op) {
    case Op::Number: StoreNumber(*row, image, c.value); break;
    case Op::On: StoreOnOff(*row, image, true); break;
    case Op::Off: StoreOnOff(*row, image, false); break;
    case Op::Repair: RepairOnOff(*row, image); break;
    case Op::RepairQuirn: RepairQuirn(image); break;
  }
  SettingsImage expected = start;
  for (const auto& [offset, byte] : c.changed) expected[offset] = byte;
  for (std::size_t o = 0; o < kImageSize; ++o) {
    EXPECT_EQ(image[o], expected[o]) << c.key << " byte " << o;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowStores,
    ::testing::Values(
        // A byte keeps the low 8 bits, a word the low 16, high byte first.
        StoreCase{Layout::Quirn, "quirn.reduce_start.speed", {}, Op::Number, 300, {{0, 44}}},
        StoreCase{Layout::Quirn, "quirn.reduce_stop.speed", {}, Op::Number, -1, {{7, 255}}},
        StoreCase{Layout::Quirn, "quirn.reduce_start.psi", {}, Op::Number, 70000, {{3, 17}, {4, 112}}},
        StoreCase{Layout::Quirn, "quirn.increase_stop.output", {}, Op::Number, -1, {{26, 255}, {27, 255}}},
        // One row, two places: both written.
        StoreCase{Layout::Quirn, "quirn.plow_weight", {}, Op::Number, 500,
                  {{1, 1}, {2, 244}, {15, 1}, {16, 244}}},
        StoreCase{Layout::Quirn, "quirn.use_math_setup", {}, Op::On, 0, {{138, 1}}},
        StoreCase{Layout::Quirn, "quirn.use_math_setup", {{138, 1}}, Op::Off, 0, {{138, 0}}},
        // A byte that says "off": ticked stores 0.
        StoreCase{Layout::Zorv, "zorv.option.safestick", {}, Op::On, 0, {{183, 0}}},
        StoreCase{Layout::Zorv, "zorv.option.safestick", {}, Op::Off, 0, {{183, 1}}},
        StoreCase{Layout::Zorv, "zorv.option.safestick", {{183, 9}}, Op::Repair, 0, {{183, 0}}},
        // The repairs: 0 and 1 stay, anything else becomes 0; "any non-zero" rows stay.
        StoreCase{Layout::Quirn, "quirn.use_math_setup", {{138, 7}}, Op::Repair, 0, {{138, 0}}},
        StoreCase{Layout::Quirn, "quirn.use_math_setup", {{138, 1}}, Op::Repair, 0, {}},
        StoreCase{Layout::Quirn, "quirn.reduce_start.speed", {{0, 7}}, Op::Repair, 0, {}},
        StoreCase{Layout::Quirn, "", {{138, 2}}, Op::RepairQuirn, 0, {{138, 0}}},
        StoreCase{Layout::Quirn, "", {{138, 1}}, Op::RepairQuirn, 0, {}}));

}  // namespace
}  // namespace zorv
