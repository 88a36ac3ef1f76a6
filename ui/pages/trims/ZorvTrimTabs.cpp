#include "ZorvTrimTabs.h"

#include "image/ZorvLayout.h"

namespace zorv {
namespace {

namespace f = zorvfield;

// Caption, output port, object names, minimum and maximum byte, live-test command (the valve
// function number).
const TrimPairDef kHoistPairs[] = {
    {"Hoist Up ", "A6", "HoistUpMinScrollBar", "HoistUpMaxScrollbar", "HoistUpMinValueLabel",
     "HoistUpMaxValueLabel", "HoistUpButton", "HoistUpMaxButton",
     f::HoistUpMin, f::HoistUpMax, 1},
    {"Hoist Down", "A5", "HoistDownMinScrollBar", "HoistDownMaxScrollBar", "HoistDownMinValueLabel",
     "HoistDownMaxValueLabel", "HoistDownButton", "HoistDownMaxButton",
     f::HoistDownMin, f::HoistDownMax, 2},
};
const TrimPairDef kPlowPairs[] = {
    {"Plow Up", "A2", "PlowUpMinScrollBar", "PlowUpMaxScrollbar", "PlowUpMinValueLabel",
     "PlowUpMaxValueLabel", "PlowUpButton", "PlowUpMaxButton",
     f::PlowUpMin, f::PlowUpMax, 3},
    {"Plow Down", "A1", "PlowDownMinScrollBar", "PlowDownMaxScrollBar", "PlowDownMinValueLabel",
     "PlowDownMaxValueLabel", "PlowDownButton", "PlowDownMaxButton",
     f::PlowDownMin, f::PlowDownMax, 4},
    {"Plow Left", "A4", "PlowLeftMinScrollBar", "PlowLeftMaxScrollbar", "PlowLeftMinValueLabel",
     "PlowLeftMaxValueLabel", "PlowLeftButton", "PlowLeftMaxButton",
     f::PlowLeftMin, f::PlowLeftMax, 5},
    {"Plow Right", "A3", "PlowRightMinScrollBar", "PlowRightMaxScrollBar", "PlowRightMinValueLabel",
     "PlowRightMaxValueLabel", "PlowRightButton", "PlowRightMaxButton",
     f::PlowRightMin, f::PlowRightMax, 6},
};
const TrimPairDef kWingPairs[] = {
    {"Toe Up", "B2", "WingToeUpMinScrollBar", "WingToeUpMaxScrollbar", "WingToeUpMinValueLabel",
     "WingToeUpMaxValueLabel", "WingToeUpButton", "WingToeUpMaxButton",
     f::WingToeUpMin, f::WingToeUpMax, 7},
    {"Toe Down", "B1", "WingToeDownMinScrollBar", "WingToeDownMaxScrollBar", "WingToeDownMinValueLabel",
     "WingToeDownMaxValueLabel", "WingToeDownButton", "WingToeDownMaxButton",
     f::WingToeDownMin, f::WingToeDownMax, 8},
    {"Heel Up", "B4", "WingHeelUpMinScrollBar", "WingHeelUpMaxScrollbar", "WingHeelUpMinValueLabel",
     "WingHeelUpMaxValueLabel", "WingHeelUpButton", "WingHeelUpMaxButton",
     f::WingHeelUpMin, f::WingHeelUpMax, 9},
    {"Heel Down", "B3", "WingHeelDownMinScrollBar", "WingHeelDownMaxScrollBar", "WingHeelDownMinValueLabel",
     "WingHeelDownMaxValueLabel", "WingHeelDownButton", "WingHeelDownMaxButton",
     f::WingHeelDownMin, f::WingHeelDownMax, 10},
    {"Slide In", "B6", "WingSlideInMinScrollBar", "WingSlideInMaxScrollbar", "WingSlideInMinValueLabel",
     "WingSlideInMaxValueLabel", "WingSlideInButton", "WingSlideInMaxButton",
     f::WingSlideInMin, f::WingSlideInMax, 11},
    {"Slide Out", "B5", "WingSlideOutMinScrollBar", "WingSlideOutMaxScrollBar", "WingSlideOutMinValueLabel",
     "WingSlideOutMaxValueLabel", "WingSlideOutButton", "WingSlideOutMaxButton",
     f::WingSlideOutMin, f::WingSlideOutMax, 12},
};
const TrimPairDef kBladePairs[] = {
    {"Blade Up", "C2", "BladeUpMinScrollBar", "BladeUpMaxScrollbar", "BladeUpMinValueLabel",
     "BladeUpMaxValueLabel", "BladeUpButton", "BladeUpMaxButton",
     f::BladeUpMin, f::BladeUpMax, 13},
    {"Blade Down", "C1", "BladeDownMinScrollBar", "BladeDownMaxScrollBar", "BladeDownMinValueLabel",
     "BladeDownMaxValueLabel", "BladeDownButton", "BladeDownMaxButton",
     f::BladeDownMin, f::BladeDownMax, 14},
    {"Blade Left", "C4", "BladeLeftMinScrollBar", "BladeLeftMaxScrollbar", "BladeLeftMinValueLabel",
     "BladeLeftMaxValueLabel", "BladeLeftButton", "BladeLeftMaxButton",
     f::BladeLeftMin, f::BladeLeftMax, 15},
    {"Blade Right", "C3", "BladeRightMinScrollBar", "BladeRightMaxScrollBar", "BladeRightMinValueLabel",
     "BladeRightMaxValueLabel", "BladeRightButton", "BladeRightMaxButton",
     f::BladeRightMin, f::BladeRightMax, 16},
};

}  // namespace

HoistTrimTab::HoistTrimTab(PageHost& host, QWidget* sheet) : TrimTab(host, sheet, kHoistPairs) {
  Bind(0, &HoistTrimTab::HoistUpMinScrollBarChange, &HoistTrimTab::HoistUpMaxScrollbarChange,
       &HoistTrimTab::HoistUpButtonMouseDown, &HoistTrimTab::HoistUpMaxButtonMouseDown);
  Bind(1, &HoistTrimTab::HoistDownMinScrollBarChange, &HoistTrimTab::HoistDownMaxScrollBarChange,
       &HoistTrimTab::HoistDownButtonMouseDown, &HoistTrimTab::HoistDownMaxButtonMouseDown);
}

PlowTrimTab::PlowTrimTab(PageHost& host, QWidget* sheet) : TrimTab(host, sheet, kPlowPairs) {
  Bind(0, &PlowTrimTab::PlowUpMinScrollBarChange, &PlowTrimTab::PlowUpMaxScrollbarChange,
       &PlowTrimTab::PlowUpButtonMouseDown, &PlowTrimTab::PlowUpMaxButtonMouseDown);
  Bind(1, &PlowTrimTab::PlowDownMinScrollBarChange, &PlowTrimTab::PlowDownMaxScrollBarChange,
       &PlowTrimTab::PlowDownButtonMouseDown, &PlowTrimTab::PlowDownMaxButtonMouseDown);
  Bind(2, &PlowTrimTab::PlowLeftMinScrollBarChange, &PlowTrimTab::PlowLeftMaxScrollbarChange,
       &PlowTrimTab::PlowLeftButtonMouseDown, &PlowTrimTab::PlowLeftMaxButtonMouseDown);
  Bind(3, &PlowTrimTab::PlowRightMinScrollBarChange, &PlowTrimTab::PlowRightMaxScrollBarChange,
       &PlowTrimTab::PlowRightButtonMouseDown, &PlowTrimTab::PlowRightMaxButtonMouseDown);
}

WingTrimTab::WingTrimTab(PageHost& host, QWidget* sheet) : TrimTab(host, sheet, kWingPairs) {
  Bind(0, &WingTrimTab::WingToeUpMinScrollBarChange, &WingTrimTab::WingToeUpMaxScrollbarChange,
       &WingTrimTab::WingToeUpButtonMouseDown, &WingTrimTab::WingToeUpMaxButtonMouseDown);
  Bind(1, &WingTrimTab::WingToeDownMinScrollBarChange, &WingTrimTab::WingToeDownMaxScrollBarChange,
       &WingTrimTab::WingToeDownButtonMouseDown, &WingTrimTab::WingToeDownMaxButtonMouseDown);
  Bind(2, &WingTrimTab::WingHeelUpMinScrollBarChange, &WingTrimTab::WingHeelUpMaxScrollbarChange,
       &WingTrimTab::WingHeelUpButtonMouseDown, &WingTrimTab::WingHeelUpMaxButtonMouseDown);
  Bind(3, &WingTrimTab::WingHeelDownMinScrollBarChange, &WingTrimTab::WingHeelDownMaxScrollBarChange,
       &WingTrimTab::WingHeelDownButtonMouseDown, &WingTrimTab::WingHeelDownMaxButtonMouseDown);
  Bind(4, &WingTrimTab::WingSlideInMinScrollBarChange, &WingTrimTab::WingSlideInMaxScrollbarChange,
       &WingTrimTab::WingSlideInButtonMouseDown, &WingTrimTab::WingSlideInMaxButtonMouseDown);
  Bind(5, &WingTrimTab::WingSlideOutMinScrollBarChange, &WingTrimTab::WingSlideOutMaxScrollBarChange,
       &WingTrimTab::WingSlideOutButtonMouseDown, &WingTrimTab::WingSlideOutMaxButtonMouseDown);
}

BladeTrimTab::BladeTrimTab(PageHost& host, QWidget* sheet) : TrimTab(host, sheet, kBladePairs) {
  Bind(0, &BladeTrimTab::BladeUpMinScrollBarChange, &BladeTrimTab::BladeUpMaxScrollbarChange,
       &BladeTrimTab::BladeUpButtonMouseDown, &BladeTrimTab::BladeUpMaxButtonMouseDown);
  Bind(1, &BladeTrimTab::BladeDownMinScrollBarChange, &BladeTrimTab::BladeDownMaxScrollBarChange,
       &BladeTrimTab::BladeDownButtonMouseDown, &BladeTrimTab::BladeDownMaxButtonMouseDown);
  Bind(2, &BladeTrimTab::BladeLeftMinScrollBarChange, &BladeTrimTab::BladeLeftMaxScrollbarChange,
       &BladeTrimTab::BladeLeftButtonMouseDown, &BladeTrimTab::BladeLeftMaxButtonMouseDown);
  Bind(3, &BladeTrimTab::BladeRightMinScrollBarChange, &BladeTrimTab::BladeRightMaxScrollBarChange,
       &BladeTrimTab::BladeRightButtonMouseDown, &BladeTrimTab::BladeRightMaxButtonMouseDown);
}

}  // namespace zorv
