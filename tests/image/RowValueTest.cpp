// What a bound control stores, and the refresh's repairs, as functions of the image alone.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "image/Catalogue.h"
#include "image/RemotePair.h"
#include "image/Repairs.h"
#include "image/RowValue.h"
#include "image/ZorvLayout.h"

namespace zorv {
namespace {

enum class Op { Number, Position, Text, On, Off, RepairRow, RepairLayout };

struct StoreCase {
  Layout layout;
  const char* key;  // the row stored or repaired; "" for a whole-layout repair
  std::map<std::size_t, std::uint8_t> before;  // bytes set first
  Op op;
  long long value;
  std::map<std::size_t, std::uint8_t> changed;  // every byte that must differ afterwards
  const char* text = "";
  void (*repair)(SettingsImage&) = nullptr;
};

// The 24 switch bytes of the switch groups at switch 1, then `changes`.
std::map<std::size_t, std::uint8_t> SwitchBytes(std::map<std::size_t, std::uint8_t> changes) {
  for (std::size_t o = 211; o <= 234; ++o) changes.emplace(o, 0);
  return changes;
}

void RepairRedPair(SettingsImage& image) {
  RepairRemotePair(image[35], image[149], image[150]);
}

class RowStores : public ::testing::TestWithParam<StoreCase> {};

TEST_P(RowStores, ChangeExactlyTheRowsBytes) {
  const StoreCase& c = GetParam();
  SettingsImage image;
  for (std::size_t o = 0; o < kImageSize; ++o) image[o] = static_cast<std::uint8_t>(o * 7 + 3);
  for (const auto& [offset, byte] : c.before) image[offset] = byte;
  const SettingsImage start = image;
  const Setting* row = c.key[0] != '\0' ? FindSetting(c.layout, c.key) : nullptr;
  ASSERT_TRUE(row != nullptr || c.op == Op::RepairLayout) << c.key;
  switch (c.op) {
    case Op::Number: StoreNumber(*row, image, c.value); break;
    case Op::Position:
      image[row->ranges.front().offset] = ByteAtPosition(*row, static_cast<int>(c.value));
      break;
    case Op::Text: StoreText(*row, image, c.text); break;
    case Op::On: StoreOnOff(*row, image, true); break;
    case Op::Off: StoreOnOff(*row, image, false); break;
    case Op::RepairRow: RepairOnOff(*row, image); break;
    case Op::RepairLayout: c.repair(image); break;
  }
  SettingsImage expected = start;
  for (const auto& [offset, byte] : c.changed) expected[offset] = byte;
  for (std::size_t o = 0; o < kImageSize; ++o) {
    EXPECT_EQ(image[o], expected[o]) << c.key << " byte " << o;
  }
}

using L = Layout;
INSTANTIATE_TEST_SUITE_P(
    Cases, RowStores,
    ::testing::Values(
        // A byte keeps the low 8 bits, a word the low 16, high byte first.
        StoreCase{L::Quirn, "quirn.reduce_start.speed", {}, Op::Number, 300, {{0, 44}}},
        StoreCase{L::Quirn, "quirn.reduce_stop.speed", {}, Op::Number, -1, {{7, 255}}},
        StoreCase{L::Quirn, "quirn.reduce_start.psi", {}, Op::Number, 70000, {{3, 17}, {4, 112}}},
        StoreCase{L::Quirn, "quirn.increase_stop.output", {}, Op::Number, -1, {{26, 255}, {27, 255}}},
        // One row, two places: both written.
        StoreCase{L::Quirn, "quirn.plow_weight", {}, Op::Number, 500,
                  {{1, 1}, {2, 244}, {15, 1}, {16, 244}}},
        StoreCase{L::Quirn, "quirn.use_math_setup", {}, Op::On, 0, {{138, 1}}},
        StoreCase{L::Quirn, "quirn.use_math_setup", {{138, 1}}, Op::Off, 0, {{138, 0}}},
        // A byte that says "off": ticked stores 0.
        StoreCase{L::Zorv, "zorv.option.safestick", {}, Op::On, 0, {{183, 0}}},
        StoreCase{L::Zorv, "zorv.option.safestick", {}, Op::Off, 0, {{183, 1}}},
        // Bars and spins: a trim bar stores 256 - position, a frequency bar the code of its
        // hertz, a switch spin the switch number less one, 0 "none" (200), 13 held to 12.
        StoreCase{L::Zorv, "zorv.trim.hoist_up.min", {}, Op::Position, 2, {{1, 254}}},
        StoreCase{L::Halverston, "halverston.frequency", {}, Op::Position, 100, {{0, 64}}},
        StoreCase{L::Halverston, "halverston.grip_close_time", {}, Op::Position, 250, {{17, 250}}},
        StoreCase{L::Zorv, "zorv.switch_group.1.plus", {}, Op::Position, 1, {{211, 0}}},
        StoreCase{L::Zorv, "zorv.switch_group.1.plus", {}, Op::Position, 0, {{211, 200}}},
        StoreCase{L::Zorv, "zorv.switch_group.1.plus", {}, Op::Position, 13, {{211, 11}}},
        // A slave mode's drop-down item: red (item 0) is 1.
        StoreCase{L::Zorv, "zorv.remote.red.slave_mode", {}, Op::Position, 0, {{zorvfield::RedRemoteSelector, 1}}},
        // A float name keeps 5 characters, the rest of its field zero.
        StoreCase{L::Zorv, "zorv.float.one.name", {}, Op::Text, 0,
                  {{163, 'P'}, {164, 'L'}, {165, 'O'}, {166, 'W'}, {167, 'A'}}, "PLOWAB"},
        StoreCase{L::Zorv, "zorv.float.one.name", {}, Op::Text, 0,
                  {{163, 'A'}, {164, 0}, {165, 0}, {166, 0}, {167, 0}}, "A"},
        // The repairs: 0 and 1 stay, anything else becomes 0; "any non-zero" rows stay.
        StoreCase{L::Quirn, "quirn.use_math_setup", {{138, 7}}, Op::RepairRow, 0, {{138, 0}}},
        StoreCase{L::Quirn, "quirn.use_math_setup", {{138, 1}}, Op::RepairRow, 0, {}},
        StoreCase{L::Quirn, "quirn.reduce_start.speed", {{0, 7}}, Op::RepairRow, 0, {}},
        StoreCase{L::Zorv, "zorv.option.safestick", {{183, 9}}, Op::RepairRow, 0, {{183, 0}}},
        StoreCase{L::Quirn, "", {{138, 2}}, Op::RepairLayout, 0, {{138, 0}}, "", RepairQuirn},
        StoreCase{L::Quirn, "", {{138, 1}}, Op::RepairLayout, 0, {}, "", RepairQuirn},
        StoreCase{L::Halverston, "", {{18, 5}}, Op::RepairLayout, 0, {{18, 1}}, "", RepairHalverston},
        StoreCase{L::Halverston, "", {{18, 0}}, Op::RepairLayout, 0, {}, "", RepairHalverston},
        // Blade-up time above 10 becomes 0; a start-up delay above 80 becomes 1, 21..80 stay.
        StoreCase{L::Zorv, "", {{183, 0}, {235, 1}, {236, 5}, {239, 0}, {243, 1}, {244, 0},
                                {241, 11}, {242, 81}},
                  Op::RepairLayout, 0, {{236, 0}, {241, 0}, {242, 1}}, "", RepairZorvOptions},
        StoreCase{L::Zorv, "", {{183, 0}, {235, 1}, {236, 0}, {239, 0}, {243, 1}, {244, 0},
                                {241, 10}, {242, 80}},
                  Op::RepairLayout, 0, {}, "", RepairZorvOptions},
        // A float output beyond the 16 outputs becomes none; a delay outside 1..10 becomes 1.
        StoreCase{L::Zorv, "", {{138, 17}, {140, 16}, {139, 0}, {161, 3}, {237, 0}, {238, 1},
                                {240, 0}},
                  Op::RepairLayout, 0, {{138, 0}, {237, 1}}, "", RepairZorvFloats},
        StoreCase{L::Zorv, "", {{138, 1}, {140, 16}, {139, 0}, {161, 3}, {237, 11}, {238, 2},
                                {240, 1}},
                  Op::RepairLayout, 0, {{237, 1}, {238, 0}}, "", RepairZorvFloats},
        // Four sticks: a safety byte other than "Safety" (5) is cleared; other types keep theirs.
        StoreCase{L::Zorv, "", {{33, 28}, {35, 5}, {36, 6}, {37, 0}, {38, 255}},
                  Op::RepairLayout, 0, {{36, 0}, {38, 0}}, "", RepairFourStickSafeties},
        StoreCase{L::Zorv, "", {{33, 26}, {35, 5}, {36, 6}, {37, 1}, {38, 255}},
                  Op::RepairLayout, 0, {}, "", RepairFourStickSafeties},
        // The red remote pair under the red button's mode: a remote's switch and target are held
        // to 11 and 200, a slave's mode to 1..4 and target to 100, any other mode holds 255.
        StoreCase{L::Zorv, "", {{35, 9}, {149, 15}, {150, 250}}, Op::RepairLayout, 0,
                  {{149, 11}, {150, 200}}, "", RepairRedPair},
        StoreCase{L::Zorv, "", {{35, 9}, {149, 11}, {150, 50}}, Op::RepairLayout, 0, {}, "",
                  RepairRedPair},
        StoreCase{L::Zorv, "", {{35, 10}, {149, 0}, {150, 150}}, Op::RepairLayout, 0,
                  {{149, 1}, {150, 100}}, "", RepairRedPair},
        StoreCase{L::Zorv, "", {{35, 10}, {149, 7}, {150, 10}}, Op::RepairLayout, 0,
                  {{149, 4}}, "", RepairRedPair},
        StoreCase{L::Zorv, "", {{35, 5}, {149, 3}, {150, 120}}, Op::RepairLayout, 0,
                  {{149, 255}, {150, 255}}, "", RepairRedPair},
        // A switch number of 12 or more is "none".
        StoreCase{L::Zorv, "", SwitchBytes({{211, 12}, {212, 11}, {223, 255}, {224, 200}}),
                  Op::RepairLayout, 0, {{211, 200}, {223, 200}}, "", RepairSwitchGroups},
        StoreCase{L::Tarnovex, "", {{17, 2}, {18, 1}, {29, 0}, {20, 9}, {21, 1}, {22, 1},
                                    {23, 1}, {24, 1}},
                  Op::RepairLayout, 0, {{17, 0}, {20, 0}}, "", RepairTarnovexOptions}));

}  // namespace
}  // namespace zorv
