#include "HalverstonTrims.h"

#include <array>


namespace zorv {

namespace {

// Buttons and command (the Zorv function sharing the bytes) of each pair, in the catalogue's
// order, which is the sheet's.
constexpr std::array<TrimPairButtons, 4> kArmSheet = {{
    {"Button27", "Button28", 3}, {"Button25", "Button26", 4},  // arm up, arm down
    {"Button23", "Button24", 5}, {"Button21", "Button22", 6},  // boom in, boom out
}};

constexpr std::array<TrimPairButtons, 4> kGripSheet = {{
    {"Button31", "Button32", 1}, {"Button29", "Button30", 2},  // grip close, grip open
    {"Button19", "Button20", 7}, {"Button1", "Button2", 8},    // undump, dump
}};

// The refresh shows the pairs in byte order.
constexpr std::array<HalverstonTrims::Pair, HalverstonTrims::kPairCount> kShowOrder = {
    HalverstonTrims::kGripClose, HalverstonTrims::kGripOpen, HalverstonTrims::kArmUp,
    HalverstonTrims::kArmDown,   HalverstonTrims::kBoomIn,   HalverstonTrims::kBoomOut,
    HalverstonTrims::kUnDump,    HalverstonTrims::kDump};

}  // namespace

HalverstonTrims::HalverstonTrims(PageHost& host, QWidget* armSheet, QWidget* gripSheet)
    : QObject(armSheet) {
  AddTrimRow(host, armSheet, TrimPairsOf(Layout::Halverston, "Arm / Boom Trims", kArmSheet),
             pairs_);
  AddTrimRow(host, gripSheet, TrimPairsOf(Layout::Halverston, "Grip / Dump Trims", kGripSheet),
             pairs_);
  Bind();
}

void HalverstonTrims::Bind() {
  using H = HalverstonTrims;
  constexpr auto up = &H::ButtonMouseUp;
  BindPair<H>(this, pair(kGripClose),
              {&H::ScrollBar15Change, &H::ScrollBar16Change, &H::HoistUpButtonMouseDown, up,
               &H::HoistUpMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kGripOpen),
              {&H::ScrollBar13Change, &H::ScrollBar14Change, &H::HoistDownButtonMouseDown, up,
               &H::HoistDownMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kArmUp),
              {&H::ScrollBar11Change, &H::ScrollBar12Change, &H::PlowUpButtonMouseDown, up,
               &H::PlowUpMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kArmDown),
              {&H::ScrollBar9Change, &H::ScrollBar10Change, &H::PlowDownButtonMouseDown, up,
               &H::PlowDownMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kBoomIn),
              {&H::ScrollBar7Change, &H::ScrollBar8Change, &H::PlowLeftButtonMouseDown, up,
               &H::PlowLeftMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kBoomOut),
              {&H::ScrollBar5Change, &H::ScrollBar6Change, &H::PlowRightButtonMouseDown, up,
               &H::PlowRightMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kUnDump),
              {&H::ScrollBar3Change, &H::ScrollBar4Change, &H::WingToeUpButtonMouseDown, up,
               &H::WingToeUpMaxButtonMouseDown, up});
  BindPair<H>(this, pair(kDump),
              {&H::ScrollBar1Change, &H::ScrollBar2Change, &H::WingToeDownButtonMouseDown, up,
               &H::WingToeDownMaxButtonMouseDown, up});
}

void HalverstonTrims::ShowBars(const SettingsImage& local) {
  for (Pair p : kShowOrder) pair(p).ShowBars(local);
}

void HalverstonTrims::ShowLabels(const SettingsImage& local) {
  for (Pair p : kShowOrder) pair(p).ShowLabels(local);
}

}  // namespace zorv
