#pragma once
// The four trim tabs of the Zorv product page: "Hoist (A2)", "Plow (A4)", "Wing (B)" and
// "Blade (C)". Valve function n drives live-test command n and owns image bytes 2n-1 (minimum)
// and 2n (maximum). Every bar and test button has its own named handler; one ButtonMouseUp
// ends a test for all of them.
#include "ui/pages/trims/TrimTab.h"

namespace zorv {
class HoistTrimTab final : public TrimTab {
 public:
  HoistTrimTab(PageHost& host, QWidget* sheet);
  void HoistUpMinScrollBarChange() { pair(0).MinBarChange(); }
  void HoistUpMaxScrollbarChange() { pair(0).MaxBarChange(); }
  void HoistUpButtonMouseDown() { pair(0).TestMinDown(); }
  void HoistUpMaxButtonMouseDown() { pair(0).TestMaxDown(); }
  void HoistDownMinScrollBarChange() { pair(1).MinBarChange(); }
  void HoistDownMaxScrollBarChange() { pair(1).MaxBarChange(); }
  void HoistDownButtonMouseDown() { pair(1).TestMinDown(); }
  void HoistDownMaxButtonMouseDown() { pair(1).TestMaxDown(); }
};

class PlowTrimTab final : public TrimTab {
 public:
  PlowTrimTab(PageHost& host, QWidget* sheet);
  void PlowUpMinScrollBarChange() { pair(0).MinBarChange(); }
  void PlowUpMaxScrollbarChange() { pair(0).MaxBarChange(); }
  void PlowUpButtonMouseDown() { pair(0).TestMinDown(); }
  void PlowUpMaxButtonMouseDown() { pair(0).TestMaxDown(); }
  void PlowDownMinScrollBarChange() { pair(1).MinBarChange(); }
  void PlowDownMaxScrollBarChange() { pair(1).MaxBarChange(); }
  void PlowDownButtonMouseDown() { pair(1).TestMinDown(); }
  void PlowDownMaxButtonMouseDown() { pair(1).TestMaxDown(); }
  void PlowLeftMinScrollBarChange() { pair(2).MinBarChange(); }
  void PlowLeftMaxScrollbarChange() { pair(2).MaxBarChange(); }
  void PlowLeftButtonMouseDown() { pair(2).TestMinDown(); }
  void PlowLeftMaxButtonMouseDown() { pair(2).TestMaxDown(); }
  void PlowRightMinScrollBarChange() { pair(3).MinBarChange(); }
  void PlowRightMaxScrollBarChange() { pair(3).MaxBarChange(); }
  void PlowRightButtonMouseDown() { pair(3).TestMinDown(); }
  void PlowRightMaxButtonMouseDown() { pair(3).TestMaxDown(); }
};

class WingTrimTab final : public TrimTab {
 public:
  WingTrimTab(PageHost& host, QWidget* sheet);
  void WingToeUpMinScrollBarChange() { pair(0).MinBarChange(); }
  void WingToeUpMaxScrollbarChange() { pair(0).MaxBarChange(); }
  void WingToeUpButtonMouseDown() { pair(0).TestMinDown(); }
  void WingToeUpMaxButtonMouseDown() { pair(0).TestMaxDown(); }
  void WingToeDownMinScrollBarChange() { pair(1).MinBarChange(); }
  void WingToeDownMaxScrollBarChange() { pair(1).MaxBarChange(); }
  void WingToeDownButtonMouseDown() { pair(1).TestMinDown(); }
  void WingToeDownMaxButtonMouseDown() { pair(1).TestMaxDown(); }
  void WingHeelUpMinScrollBarChange() { pair(2).MinBarChange(); }
  void WingHeelUpMaxScrollbarChange() { pair(2).MaxBarChange(); }
  void WingHeelUpButtonMouseDown() { pair(2).TestMinDown(); }
  void WingHeelUpMaxButtonMouseDown() { pair(2).TestMaxDown(); }
  void WingHeelDownMinScrollBarChange() { pair(3).MinBarChange(); }
  void WingHeelDownMaxScrollBarChange() { pair(3).MaxBarChange(); }
  void WingHeelDownButtonMouseDown() { pair(3).TestMinDown(); }
  void WingHeelDownMaxButtonMouseDown() { pair(3).TestMaxDown(); }
  void WingSlideInMinScrollBarChange() { pair(4).MinBarChange(); }
  void WingSlideInMaxScrollbarChange() { pair(4).MaxBarChange(); }
  void WingSlideInButtonMouseDown() { pair(4).TestMinDown(); }
  void WingSlideInMaxButtonMouseDown() { pair(4).TestMaxDown(); }
  void WingSlideOutMinScrollBarChange() { pair(5).MinBarChange(); }
  void WingSlideOutMaxScrollBarChange() { pair(5).MaxBarChange(); }
  void WingSlideOutButtonMouseDown() { pair(5).TestMinDown(); }
  void WingSlideOutMaxButtonMouseDown() { pair(5).TestMaxDown(); }
};

class BladeTrimTab final : public TrimTab {
 public:
  BladeTrimTab(PageHost& host, QWidget* sheet);
  void BladeUpMinScrollBarChange() { pair(0).MinBarChange(); }
  void BladeUpMaxScrollbarChange() { pair(0).MaxBarChange(); }
  void BladeUpButtonMouseDown() { pair(0).TestMinDown(); }
  void BladeUpMaxButtonMouseDown() { pair(0).TestMaxDown(); }
  void BladeDownMinScrollBarChange() { pair(1).MinBarChange(); }
  void BladeDownMaxScrollBarChange() { pair(1).MaxBarChange(); }
  void BladeDownButtonMouseDown() { pair(1).TestMinDown(); }
  void BladeDownMaxButtonMouseDown() { pair(1).TestMaxDown(); }
  void BladeLeftMinScrollBarChange() { pair(2).MinBarChange(); }
  void BladeLeftMaxScrollbarChange() { pair(2).MaxBarChange(); }
  void BladeLeftButtonMouseDown() { pair(2).TestMinDown(); }
  void BladeLeftMaxButtonMouseDown() { pair(2).TestMaxDown(); }
  void BladeRightMinScrollBarChange() { pair(3).MinBarChange(); }
  void BladeRightMaxScrollBarChange() { pair(3).MaxBarChange(); }
  void BladeRightButtonMouseDown() { pair(3).TestMinDown(); }
  void BladeRightMaxButtonMouseDown() { pair(3).TestMaxDown(); }
};

}  // namespace zorv
