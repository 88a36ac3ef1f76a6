#include "TarnovexTrims.h"

#include <QGroupBox>
#include <array>


namespace zorv {

namespace {

// Buttons and command of each pair, in the catalogue's order, which is TarnovexTrims::Pair's.
constexpr std::array<TrimPairButtons, 6> kPlowSheet = {{
    {"Button3", "Button4", 3},          // plow up
    {"Button5", "Button6", 4},          // plow down
    {"Button7", "Button8", 5},          // plow left
    {"Button9", "Button10", 6},         // plow right
    {"rtwingminin", "rtwingmaxin", 9},  // right wing in
    {"rtwingminout", "rtwingmaxout", 10},
}};

constexpr std::array<TrimPairButtons, 4> kHoistSheet = {{
    {"Button17", "Button18", 7},  // hoist up
    {"Button15", "Button16", 8},  // hoist down
    {"Button13", "Button14", 1},  // hoist left
    {"Button11", "Button12", 2},  // hoist right
}};

// Group names, in TarnovexTrims::Pair order.
constexpr std::array<const char*, TarnovexTrims::kPairCount> kGroupNames = {
    "PlowUpGroup", "PlowDownGroup", "GroupBox16",     "GroupBox17", "GroupBox22",
    "GroupBox12",  "HoistUpGroup",  "HoistDownGroup", "GroupBox19", "GroupBox18"};

// The order in which the refresh shows the pairs.
constexpr std::array<TarnovexTrims::Pair, TarnovexTrims::kPairCount> kShowOrder = {
    TarnovexTrims::kPlowUp,    TarnovexTrims::kPlowDown,   TarnovexTrims::kPlowLeft,
    TarnovexTrims::kPlowRight, TarnovexTrims::kHoistUp,    TarnovexTrims::kHoistDown,
    TarnovexTrims::kHoistLeft, TarnovexTrims::kHoistRight, TarnovexTrims::kRtWingIn,
    TarnovexTrims::kRtWingOut};

}  // namespace

TarnovexTrims::TarnovexTrims(PageHost& host, QWidget* plowSheet, QWidget* hoistSheet)
    : QObject(plowSheet) {
  AddTrimRow(host, plowSheet, TrimPairsOf(Layout::Tarnovex, "Plow", kPlowSheet), pairs_);
  AddTrimRow(host, hoistSheet, TrimPairsOf(Layout::Tarnovex, "Hoist/Hook", kHoistSheet), pairs_);
  for (int p = 0; p < kPairCount; ++p) {
    pairs_[static_cast<std::size_t>(p)]->group()->setObjectName(
        kGroupNames[static_cast<std::size_t>(p)]);
  }
  Bind();
}

void TarnovexTrims::Bind() {
  using T = TarnovexTrims;
  BindPair<T>(this, pair(kPlowUp),
              {&T::plowupminbarChange, &T::plowupmaxbarChange, &T::Button3MouseDown,
               &T::Button3MouseUp, &T::Button4MouseDown, &T::Button4MouseUp});
  BindPair<T>(this, pair(kPlowDown),
              {&T::plowdownminbarChange, &T::plowdownmaxbarChange, &T::Button5MouseDown,
               &T::Button5MouseUp, &T::Button6MouseDown, &T::Button6MouseUp});
  BindPair<T>(this, pair(kPlowLeft),
              {&T::plowleftminbarChange, &T::plowleftmaxbarChange, &T::Button7MouseDown,
               &T::Button7MouseUp, &T::Button8MouseDown, &T::Button8MouseUp});
  BindPair<T>(this, pair(kPlowRight),
              {&T::plowrightminbarChange, &T::plowrightmaxbarChange, &T::Button9MouseDown,
               &T::Button9MouseUp, &T::Button10MouseDown, &T::Button10MouseUp});
  BindPair<T>(this, pair(kRtWingIn),
              {&T::rtwinginminChange, &T::rtwinginmaxChange, &T::rtwingmininMouseDown,
               &T::rtwingmininMouseUp, &T::rtwingmaxinMouseDown, &T::rtwingmaxinMouseUp});
  BindPair<T>(this, pair(kRtWingOut),
              {&T::rtwingoutminChange, &T::rtwingoutmaxChange, &T::rtwingminoutMouseDown,
               &T::rtwingminoutMouseUp, &T::rtwingmaxoutMouseDown, &T::rtwingmaxoutMouseUp});
  BindPair<T>(this, pair(kHoistUp),
              {&T::hoistupminbarChange, &T::hoistupmaxbarChange, &T::Button17MouseDown,
               &T::Button17MouseUp, &T::Button18MouseDown, &T::Button18MouseUp});
  BindPair<T>(this, pair(kHoistDown),
              {&T::hoistdownminbarChange, &T::hoistdownmaxbarChange, &T::Button15MouseDown,
               &T::Button15MouseUp, &T::Button16MouseDown, &T::Button16MouseUp});
  BindPair<T>(this, pair(kHoistLeft),
              {&T::hoistleftminbarChange, &T::hoistleftmaxbarChange, &T::Button13MouseDown,
               &T::Button13MouseUp, &T::Button14MouseDown, &T::Button14MouseUp});
  BindPair<T>(this, pair(kHoistRight),
              {&T::hoistrightminbarChange, &T::hoistrightmaxbarChange, &T::Button11MouseDown,
               &T::Button11MouseUp, &T::Button12MouseDown, &T::Button12MouseUp});
}

void TarnovexTrims::ShowCaptions(std::uint8_t systemMode) {
  auto title = [this](Pair p, const char* caption) { pair(p).group()->setTitle(caption); };
  switch (systemMode) {
    case 2:
    case 4:
      title(kPlowLeft, "LT Wing Out");
      title(kPlowRight, "LT Wing In");
      break;
    case 6:
    case 7:
      title(kHoistLeft, "LT Wing Out");
      title(kHoistRight, "LT Wing In");
      break;
    case 8:
      title(kHoistLeft, "JIB Out");
      title(kHoistRight, "JIB In");
      break;
    case 9:
      title(kHoistLeft, "Blade Left");
      title(kHoistRight, "Blade Right");
      title(kRtWingOut, "Blade Up");
      title(kRtWingIn, "Blade Down");
      break;
    default:
      title(kPlowLeft, "Plow Left");
      title(kPlowRight, "Plow Right");
      title(kHoistLeft, "Hoist Left");
      title(kHoistRight, "Hoist Right");
      title(kRtWingIn, "RT Wing In");
      title(kRtWingOut, "RT Wing Out");
      break;
  }
}

void TarnovexTrims::Show(const SettingsImage& local) {
  for (Pair p : kShowOrder) {
    pair(p).ShowLabels(local);
    pair(p).ShowBars(local);
  }
}

}  // namespace zorv
