#include "ZorvTrimTabs.h"

namespace zorv {
namespace {

// Caption, output port, object names, minimum and maximum byte, live-test command.
const TrimPairDef kHoistPairs[] = {
    {"Hoist Up ", "A6", "HoistUpMinScrollBar", "HoistUpMaxScrollbar", "HoistUpMinValueLabel",
     "HoistUpMaxValueLabel", "HoistUpButton", "HoistUpMaxButton", 1, 2, 1},
    {"Hoist Down", "A5", "HoistDownMinScrollBar", "HoistDownMaxScrollBar", "HoistDownMinValueLabel",
     "HoistDownMaxValueLabel", "HoistDownButton", "HoistDownMaxButton", 3, 4, 2},
};
const TrimPairDef kPlowPairs[] = {
    {"Plow Up", "A2", "PlowUpMinScrollBar", "PlowUpMaxScrollbar", "PlowUpMinValueLabel",
     "PlowUpMaxValueLabel", "PlowUpButton", "PlowUpMaxButton", 5, 6, 3},
    {"Plow Down", "A1", "PlowDownMinScrollBar", "PlowDownMaxScrollBar", "PlowDownMinValueLabel",
     "PlowDownMaxValueLabel", "PlowDownButton", "PlowDownMaxButton", 7, 8, 4},
    {"Plow Left", "A4", "PlowLeftMinScrollBar", "PlowLeftMaxScrollbar", "PlowLeftMinValueLabel",
     "PlowLeftMaxValueLabel", "PlowLeftButton", "PlowLeftMaxButton", 9, 10, 5},
    {"Plow Right", "A3", "PlowRightMinScrollBar", "PlowRightMaxScrollBar", "PlowRightMinValueLabel",
     "PlowRightMaxValueLabel", "PlowRightButton", "PlowRightMaxButton", 11, 12, 6},
};
const TrimPairDef kWingPairs[] = {
    {"Toe Up", "B2", "WingToeUpMinScrollBar", "WingToeUpMaxScrollbar", "WingToeUpMinValueLabel",
     "WingToeUpMaxValueLabel", "WingToeUpButton", "WingToeUpMaxButton", 13, 14, 7},
    {"Toe Down", "B1", "WingToeDownMinScrollBar", "WingToeDownMaxScrollBar", "WingToeDownMinValueLabel",
     "WingToeDownMaxValueLabel", "WingToeDownButton", "WingToeDownMaxButton", 15, 16, 8},
    {"Heel Up", "B4", "WingHeelUpMinScrollBar", "WingHeelUpMaxScrollbar", "WingHeelUpMinValueLabel",
     "WingHeelUpMaxValueLabel", "WingHeelUpButton", "WingHeelUpMaxButton", 17, 18, 9},
    {"Heel Down", "B3", "WingHeelDownMinScrollBar", "WingHeelDownMaxScrollBar", "WingHeelDownMinValueLabel",
     "WingHeelDownMaxValueLabel", "WingHeelDownButton", "WingHeelDownMaxButton", 19, 20, 10},
    {"Slide In", "B6", "WingSlideInMinScrollBar", "WingSlideInMaxScrollbar", "WingSlideInMinValueLabel",
     "WingSlideInMaxValueLabel", "WingSlideInButton", "WingSlideInMaxButton", 21, 22, 11},
    {"Slide Out", "B5", "WingSlideOutMinScrollBar", "WingSlideOutMaxScrollBar", "WingSlideOutMinValueLabel",
     "WingSlideOutMaxValueLabel", "WingSlideOutButton", "WingSlideOutMaxButton", 23, 24, 12},
};
const TrimPairDef kBladePairs[] = {
    {"Blade Up", "C2", "BladeUpMinScrollBar", "BladeUpMaxScrollbar", "BladeUpMinValueLabel",
     "BladeUpMaxValueLabel", "BladeUpButton", "BladeUpMaxButton", 25, 26, 13},
    {"Blade Down", "C1", "BladeDownMinScrollBar", "BladeDownMaxScrollBar", "BladeDownMinValueLabel",
     "BladeDownMaxValueLabel", "BladeDownButton", "BladeDownMaxButton", 27, 28, 14},
    {"Blade Left", "C4", "BladeLeftMinScrollBar", "BladeLeftMaxScrollbar", "BladeLeftMinValueLabel",
     "BladeLeftMaxValueLabel", "BladeLeftButton", "BladeLeftMaxButton", 29, 30, 15},
    {"Blade Right", "C3", "BladeRightMinScrollBar", "BladeRightMaxScrollBar", "BladeRightMinValueLabel",
     "BladeRightMaxValueLabel", "BladeRightButton", "BladeRightMaxButton", 31, 32, 16},
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
