#pragma once
// The refresh shows the image on the Zorv page in a fixed order of steps; each page of the
// window takes the steps that concern its controls. Other product pages refresh as a whole.
#include "image/SettingsImage.h"

namespace zorv {

// In the order the refresh runs them.
enum class ZorvStep {
  JoystickType = 1,        // JoystickCombo from byte 33 (unknown types become 1)
  Frequency,               // FreqScrollbar
  TrimBars,                // the 32 trim bars and the two global bars
  JoystickPage,            // JoystickNotebook page = JoystickCombo index
  SafeStickAndCartridge,   // cartridgebox (235)
  JoystickPages,           // button pages (modes, labels) or stick pages
  TrimLabels,              // the 32 value labels and the two global labels
  CustomModes,             // custom boxes and axis drop-downs
  Floats,                  // float outputs (17+ become 0) and names
  AlwaysLive,              // alwayslive, alwayslive2 from byte 184
  FloatOptions,            // doubleactingfloat (238), minfloat (240)
  Delays,                  // floatdelay, bladeuptime, startupdelay
  OptionBoxes,             // the Global tab's option boxes (catalogue rows: safestickbox, ...)
  Trigger,                 // trigger and multi-mode boxes, always-live enabling
  IdSpins,                 // IDSpin, IDSpin2 from byte 119
  OrangePurpleGroups,      // orange and purple custom groups enabled for "8 Button HG"
  RemoteGroups,            // the six remote groups
};
inline constexpr int kFirstZorvStep = static_cast<int>(ZorvStep::JoystickType);
inline constexpr int kLastZorvStep = static_cast<int>(ZorvStep::RemoteGroups);

// A tab of the Zorv product page.
class ZorvRefreshTarget {
 public:
  virtual ~ZorvRefreshTarget() = default;
  // Sets this tab's controls for `step` from the refresh's local copy; repairs go into `local`.
  virtual void Refresh(ZorvStep step, SettingsImage& local) = 0;
};

// The Tarnovex, Quirn and Halverston product pages.
class ProductPageRefreshTarget {
 public:
  virtual ~ProductPageRefreshTarget() = default;
  virtual void Refresh(SettingsImage& local) = 0;
};

// Pages of ProductNotebook.
namespace productpage {
inline constexpr int kZorv = 0;
inline constexpr int kTarnovex = 1;
inline constexpr int kQuirn = 2;
inline constexpr int kHalverston = 3;
}  // namespace productpage

}  // namespace zorv
