#include "ZorvTrimTabs.h"

#include <QGroupBox>

namespace zorv {

namespace {

// The output port each pair drives, in the catalogue's order of the tab's pairs.
constexpr const char* kHoistPorts[] = {"A6", "A5"};
constexpr const char* kPlowPorts[] = {"A2", "A1", "A4", "A3"};
constexpr const char* kWingPorts[] = {"B2", "B1", "B4", "B3", "B6", "B5"};
constexpr const char* kBladePorts[] = {"C2", "C1", "C4", "C3"};

}  // namespace

HoistTrimTab::HoistTrimTab(PageHost& host, QWidget* sheet)
    : TrimTab(host, sheet, "Hoist (A2)", kHoistPorts) {
  // This group's caption has always ended in a space; the page keeps its look.
  pair(0).group()->setTitle(QStringLiteral("Hoist Up "));
}

PlowTrimTab::PlowTrimTab(PageHost& host, QWidget* sheet)
    : TrimTab(host, sheet, "Plow (A4)", kPlowPorts) {}

WingTrimTab::WingTrimTab(PageHost& host, QWidget* sheet)
    : TrimTab(host, sheet, "Wing (B)", kWingPorts) {}

BladeTrimTab::BladeTrimTab(PageHost& host, QWidget* sheet)
    : TrimTab(host, sheet, "Blade (C)", kBladePorts) {}

}  // namespace zorv
