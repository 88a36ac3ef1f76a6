#pragma once
// The trims of the Halverston page: sheet "Arm / Boom Trims" (arm up, arm down, boom in, boom
// out) and sheet "Grip / Dump Trims" (grip close, grip open, undump, dump). The test buttons
// drive the Zorv function whose bytes each group shares, with the Zorv press handlers, and one
// ButtonMouseUp stops every output.
//
// Every bar edits its pair: the five minimum bars of grip close, arm up, arm down, boom in and
// undump, and also the other eleven, so that no bar can show a trim the image does not hold.
#include <QObject>

#include "ui/pages/tarnovex/ProductSheets.h"

namespace zorv {

class HalverstonTrims final : public QObject {
  Q_OBJECT

 public:
  HalverstonTrims(PageHost& host, QWidget* armSheet, QWidget* gripSheet);

  void ShowBars(const SettingsImage& local);
  void ShowLabels(const SettingsImage& local);

  // Pairs in sheet order.
  enum Pair {
    kArmUp,
    kArmDown,
    kBoomIn,
    kBoomOut,
    kGripClose,
    kGripOpen,
    kUnDump,
    kDump,
    kPairCount
  };
  TrimPair& pair(Pair p) { return *pairs_.at(p); }

  void ScrollBar15Change() { pair(kGripClose).MinBarChange(); }
  void ScrollBar16Change() { pair(kGripClose).MaxBarChange(); }
  void ScrollBar13Change() { pair(kGripOpen).MinBarChange(); }
  void ScrollBar14Change() { pair(kGripOpen).MaxBarChange(); }
  void ScrollBar11Change() { pair(kArmUp).MinBarChange(); }
  void ScrollBar12Change() { pair(kArmUp).MaxBarChange(); }
  void ScrollBar9Change() { pair(kArmDown).MinBarChange(); }
  void ScrollBar10Change() { pair(kArmDown).MaxBarChange(); }
  void ScrollBar7Change() { pair(kBoomIn).MinBarChange(); }
  void ScrollBar8Change() { pair(kBoomIn).MaxBarChange(); }
  void ScrollBar5Change() { pair(kBoomOut).MinBarChange(); }
  void ScrollBar6Change() { pair(kBoomOut).MaxBarChange(); }
  void ScrollBar3Change() { pair(kUnDump).MinBarChange(); }
  void ScrollBar4Change() { pair(kUnDump).MaxBarChange(); }
  void ScrollBar1Change() { pair(kDump).MinBarChange(); }
  void ScrollBar2Change() { pair(kDump).MaxBarChange(); }

  // The Zorv press handlers of functions 1 to 8.
  void HoistUpButtonMouseDown() { pair(kGripClose).TestMinDown(); }
  void HoistUpMaxButtonMouseDown() { pair(kGripClose).TestMaxDown(); }
  void HoistDownButtonMouseDown() { pair(kGripOpen).TestMinDown(); }
  void HoistDownMaxButtonMouseDown() { pair(kGripOpen).TestMaxDown(); }
  void PlowUpButtonMouseDown() { pair(kArmUp).TestMinDown(); }
  void PlowUpMaxButtonMouseDown() { pair(kArmUp).TestMaxDown(); }
  void PlowDownButtonMouseDown() { pair(kArmDown).TestMinDown(); }
  void PlowDownMaxButtonMouseDown() { pair(kArmDown).TestMaxDown(); }
  void PlowLeftButtonMouseDown() { pair(kBoomIn).TestMinDown(); }
  void PlowLeftMaxButtonMouseDown() { pair(kBoomIn).TestMaxDown(); }
  void PlowRightButtonMouseDown() { pair(kBoomOut).TestMinDown(); }
  void PlowRightMaxButtonMouseDown() { pair(kBoomOut).TestMaxDown(); }
  void WingToeUpButtonMouseDown() { pair(kUnDump).TestMinDown(); }
  void WingToeUpMaxButtonMouseDown() { pair(kUnDump).TestMaxDown(); }
  void WingToeDownButtonMouseDown() { pair(kDump).TestMinDown(); }
  void WingToeDownMaxButtonMouseDown() { pair(kDump).TestMaxDown(); }
  void ButtonMouseUp() { pair(kGripClose).ReleaseToIdle(); }

 private:
  void Bind();

  TrimPairs pairs_;
};

}  // namespace zorv
