#pragma once
// The trims of the Tarnovex page: sheet "Plow" (plow up, down, left, right and the right wing
// in and out) and sheet "Hoist/Hook" (hoist up, down, left, right). Each pair drives its own
// live-test command; releasing a test button sends (command, 0) and leaves the final (0, 0) to
// the window's timer. The group captions follow the system mode.
#include <QObject>
#include <cstdint>

#include "ui/pages/tarnovex/ProductSheets.h"

namespace zorv {

class TarnovexTrims final : public QObject {
  Q_OBJECT

 public:
  TarnovexTrims(PageHost& host, QWidget* plowSheet, QWidget* hoistSheet);

  // Captions of the groups the system mode renames; the others keep theirs.
  void ShowCaptions(std::uint8_t systemMode);
  // Labels and bars of the ten pairs.
  void Show(const SettingsImage& local);

  // Pairs in sheet order.
  enum Pair {
    kPlowUp,
    kPlowDown,
    kPlowLeft,
    kPlowRight,
    kRtWingIn,
    kRtWingOut,
    kHoistUp,
    kHoistDown,
    kHoistLeft,
    kHoistRight,
    kPairCount
  };
  TrimPair& pair(Pair p) { return *pairs_.at(p); }

  void plowupminbarChange() { pair(kPlowUp).MinBarChange(); }
  void plowupmaxbarChange() { pair(kPlowUp).MaxBarChange(); }
  void plowdownminbarChange() { pair(kPlowDown).MinBarChange(); }
  void plowdownmaxbarChange() { pair(kPlowDown).MaxBarChange(); }
  void plowleftminbarChange() { pair(kPlowLeft).MinBarChange(); }
  void plowleftmaxbarChange() { pair(kPlowLeft).MaxBarChange(); }
  void plowrightminbarChange() { pair(kPlowRight).MinBarChange(); }
  void plowrightmaxbarChange() { pair(kPlowRight).MaxBarChange(); }
  void rtwinginminChange() { pair(kRtWingIn).MinBarChange(); }
  void rtwinginmaxChange() { pair(kRtWingIn).MaxBarChange(); }
  void rtwingoutminChange() { pair(kRtWingOut).MinBarChange(); }
  void rtwingoutmaxChange() { pair(kRtWingOut).MaxBarChange(); }
  void hoistupminbarChange() { pair(kHoistUp).MinBarChange(); }
  void hoistupmaxbarChange() { pair(kHoistUp).MaxBarChange(); }
  void hoistdownminbarChange() { pair(kHoistDown).MinBarChange(); }
  void hoistdownmaxbarChange() { pair(kHoistDown).MaxBarChange(); }
  void hoistleftminbarChange() { pair(kHoistLeft).MinBarChange(); }
  void hoistleftmaxbarChange() { pair(kHoistLeft).MaxBarChange(); }
  void hoistrightminbarChange() { pair(kHoistRight).MinBarChange(); }
  void hoistrightmaxbarChange() { pair(kHoistRight).MaxBarChange(); }

  void Button3MouseDown() { pair(kPlowUp).TestMinDown(); }
  void Button3MouseUp() { pair(kPlowUp).ReleaseOwnCommand(); }
  void Button4MouseDown() { pair(kPlowUp).TestMaxDown(); }
  void Button4MouseUp() { pair(kPlowUp).ReleaseOwnCommand(); }
  void Button5MouseDown() { pair(kPlowDown).TestMinDown(); }
  void Button5MouseUp() { pair(kPlowDown).ReleaseOwnCommand(); }
  void Button6MouseDown() { pair(kPlowDown).TestMaxDown(); }
  void Button6MouseUp() { pair(kPlowDown).ReleaseOwnCommand(); }
  void Button7MouseDown() { pair(kPlowLeft).TestMinDown(); }
  void Button7MouseUp() { pair(kPlowLeft).ReleaseOwnCommand(); }
  void Button8MouseDown() { pair(kPlowLeft).TestMaxDown(); }
  void Button8MouseUp() { pair(kPlowLeft).ReleaseOwnCommand(); }
  void Button9MouseDown() { pair(kPlowRight).TestMinDown(); }
  void Button9MouseUp() { pair(kPlowRight).ReleaseOwnCommand(); }
  void Button10MouseDown() { pair(kPlowRight).TestMaxDown(); }
  void Button10MouseUp() { pair(kPlowRight).ReleaseOwnCommand(); }
  void rtwingmininMouseDown() { pair(kRtWingIn).TestMinDown(); }
  void rtwingmininMouseUp() { pair(kRtWingIn).ReleaseOwnCommand(); }
  void rtwingmaxinMouseDown() { pair(kRtWingIn).TestMaxDown(); }
  void rtwingmaxinMouseUp() { pair(kRtWingIn).ReleaseOwnCommand(); }
  void rtwingminoutMouseDown() { pair(kRtWingOut).TestMinDown(); }
  void rtwingminoutMouseUp() { pair(kRtWingOut).ReleaseOwnCommand(); }
  void rtwingmaxoutMouseDown() { pair(kRtWingOut).TestMaxDown(); }
  void rtwingmaxoutMouseUp() { pair(kRtWingOut).ReleaseOwnCommand(); }
  void Button17MouseDown() { pair(kHoistUp).TestMinDown(); }
  void Button17MouseUp() { pair(kHoistUp).ReleaseOwnCommand(); }
  void Button18MouseDown() { pair(kHoistUp).TestMaxDown(); }
  void Button18MouseUp() { pair(kHoistUp).ReleaseOwnCommand(); }
  void Button15MouseDown() { pair(kHoistDown).TestMinDown(); }
  void Button15MouseUp() { pair(kHoistDown).ReleaseOwnCommand(); }
  void Button16MouseDown() { pair(kHoistDown).TestMaxDown(); }
  void Button16MouseUp() { pair(kHoistDown).ReleaseOwnCommand(); }
  void Button13MouseDown() { pair(kHoistLeft).TestMinDown(); }
  void Button13MouseUp() { pair(kHoistLeft).ReleaseOwnCommand(); }
  void Button14MouseDown() { pair(kHoistLeft).TestMaxDown(); }
  void Button14MouseUp() { pair(kHoistLeft).ReleaseOwnCommand(); }
  void Button11MouseDown() { pair(kHoistRight).TestMinDown(); }
  void Button11MouseUp() { pair(kHoistRight).ReleaseOwnCommand(); }
  void Button12MouseDown() { pair(kHoistRight).TestMaxDown(); }
  void Button12MouseUp() { pair(kHoistRight).ReleaseOwnCommand(); }

 private:
  void Bind();

  TrimPairs pairs_;
};

}  // namespace zorv
