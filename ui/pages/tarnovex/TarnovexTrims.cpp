#include "TarnovexTrims.h"

#include <QGroupBox>
#include <array>

#include "image/TarnovexLayout.h"

namespace zorv {

namespace {

namespace tf = tarnovexfield;

// Caption, bars, labels, buttons, bytes, command; in TarnovexTrims::Pair order.
constexpr std::array<TrimPairDef, 6> kPlowSheet = {{
    {"Plow Up", nullptr, "plowupminbar", "plowupmaxbar", "plowupmin2", "plowupmax2", "Button3",
     "Button4", tf::PlowUpMin, tf::PlowUpMax, 3},
    {"Plow Down", nullptr, "plowdownminbar", "plowdownmaxbar", "plowdownmin2", "plowdownmax2",
     "Button5", "Button6", tf::PlowDownMin, tf::PlowDownMax, 4},
    {"Plow Left", nullptr, "plowleftminbar", "plowleftmaxbar", "plowleftmin2", "plowleftmax2",
     "Button7", "Button8", tf::PlowLeftMin, tf::PlowLeftMax, 5},
    {"Plow Right", nullptr, "plowrightminbar", "plowrightmaxbar", "plowrightmin2", "plowrightmax2",
     "Button9", "Button10", tf::PlowRightMin, tf::PlowRightMax, 6},
    {"RT Wing in", nullptr, "rtwinginmin", "rtwinginmax", "Label183", "Label185", "rtwingminin",
     "rtwingmaxin", tf::RtWingInMin, tf::RtWingInMax, 9},
    {"RT Wing out", nullptr, "rtwingoutmin", "rtwingoutmax", "Label187", "Label189", "rtwingminout",
     "rtwingmaxout", tf::RtWingOutMin, tf::RtWingOutMax, 10},
}};

constexpr std::array<TrimPairDef, 4> kHoistSheet = {{
    {"Hoist Up", nullptr, "hoistupminbar", "hoistupmaxbar", "hoistupmin2", "hoistupmax2",
     "Button17", "Button18", tf::HoistUpMin, tf::HoistUpMax, 7},
    {"Hoist Down", nullptr, "hoistdownminbar", "hoistdownmaxbar", "hoistdownmin2", "hoistdownmax2",
     "Button15", "Button16", tf::HoistDownMin, tf::HoistDownMax, 8},
    {"Hoist left", nullptr, "hoistleftminbar", "hoistleftmaxbar", "hoistleftmin2", "hoistleftmax2",
     "Button13", "Button14", tf::HoistLeftMin, tf::HoistLeftMax, 1},
    {"Hoist Right", nullptr, "hoistrightminbar", "hoistrightmaxbar", "hoistrightmin2",
     "hoistrightmax2", "Button11", "Button12", tf::HoistRightMin, tf::HoistRightMax, 2},
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
  AddTrimRow(host, plowSheet, kPlowSheet, pairs_);
  AddTrimRow(host, hoistSheet, kHoistSheet, pairs_);
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
