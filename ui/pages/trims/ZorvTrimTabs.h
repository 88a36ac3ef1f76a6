#pragma once
// The four trim tabs of the Zorv product page: "Hoist (A2)", "Plow (A4)", "Wing (B)" and
// "Blade (C)". Each shows the catalogue's trim pairs of its tab; valve function n drives
// live-test command n and owns image bytes 2n-1 (minimum) and 2n (maximum).
#include "ui/pages/trims/TrimTab.h"

namespace zorv {

class HoistTrimTab final : public TrimTab {
 public:
  HoistTrimTab(PageHost& host, QWidget* sheet);
};

class PlowTrimTab final : public TrimTab {
 public:
  PlowTrimTab(PageHost& host, QWidget* sheet);
};

class WingTrimTab final : public TrimTab {
 public:
  WingTrimTab(PageHost& host, QWidget* sheet);
};

class BladeTrimTab final : public TrimTab {
 public:
  BladeTrimTab(PageHost& host, QWidget* sheet);
};

}  // namespace zorv
