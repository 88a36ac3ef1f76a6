#include "HalverstonTrims.h"

#include <array>

#include "image/HalverstonLayout.h"

namespace zorv {

namespace {

namespace hf = halverstonfield;

// Caption, bars, labels, buttons, bytes, command (the Zorv function sharing the bytes).
constexpr std::array<TrimPairDef, 4> kArmSheet = {{
    {"Arm Up", nullptr, "ScrollBar11", "ScrollBar12", "Label216", "Label218", "Button27",
     "Button28", hf::ArmUpMin, hf::ArmUpMax, 3},
    {"Arm Down", nullptr, "ScrollBar9", "ScrollBar10", "Label211", "Label213", "Button25",
     "Button26", hf::ArmDownMin, hf::ArmDownMax, 4},
    {"Boom In", nullptr, "ScrollBar7", "ScrollBar8", "Label206", "Label208", "Button23", "Button24",
     hf::BoomInMin, hf::BoomInMax, 5},
    {"Boom Out", nullptr, "ScrollBar5", "ScrollBar6", "Label201", "Label203", "Button21",
     "Button22", hf::BoomOutMin, hf::BoomOutMax, 6},
}};

constexpr std::array<TrimPairDef, 4> kGripSheet = {{
    {"Grip Close", nullptr, "ScrollBar15", "ScrollBar16", "Label226", "Label228", "Button31",
     "Button32", hf::GripCloseMin, hf::GripCloseMax, 1},
    {"Grip Open", nullptr, "ScrollBar13", "ScrollBar14", "Label221", "Label223", "Button29",
     "Button30", hf::GripOpenMin, hf::GripOpenMax, 2},
    {"UnDump", nullptr, "ScrollBar3", "ScrollBar4", "Label196", "Label198", "Button19", "Button20",
     hf::UnDumpMin, hf::UnDumpMax, 7},
    {"Dump", nullptr, "ScrollBar1", "ScrollBar2", "Label191", "Label193", "Button1", "Button2",
     hf::DumpMin, hf::DumpMax, 8},
}};

// The refresh shows the pairs in byte order.
constexpr std::array<HalverstonTrims::Pair, HalverstonTrims::kPairCount> kShowOrder = {
    HalverstonTrims::kGripClose, HalverstonTrims::kGripOpen, HalverstonTrims::kArmUp,
    HalverstonTrims::kArmDown,   HalverstonTrims::kBoomIn,   HalverstonTrims::kBoomOut,
    HalverstonTrims::kUnDump,    HalverstonTrims::kDump};

}  // namespace

HalverstonTrims::HalverstonTrims(PageHost& host, QWidget* armSheet, QWidget* gripSheet)
    : QObject(armSheet) {
  AddTrimRow(host, armSheet, kArmSheet, pairs_);
  AddTrimRow(host, gripSheet, kGripSheet, pairs_);
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
