// The rows of the Zorv layout, in page order.
#include <array>

#include "CatalogueRows.h"
#include "ZorvLayout.h"

namespace zorv::catalogue {

namespace f = zorvfield;

namespace {

struct TrimPairRow {
  const char* page;
  const char* caption;  // group caption on the trim tab
  const char* name;     // object name stem: name + "MinScrollBar", ...
  const char* maxBar;   // the maximum bars are not spelled alike
  std::size_t min, max;
};

constexpr std::array<TrimPairRow, kFunctionCount> kTrimPairs = {{
    {"Hoist (A2)", "Hoist Up", "HoistUp", "MaxScrollbar", f::HoistUpMin, f::HoistUpMax},
    {"Hoist (A2)", "Hoist Down", "HoistDown", "MaxScrollBar", f::HoistDownMin, f::HoistDownMax},
    {"Plow (A4)", "Plow Up", "PlowUp", "MaxScrollbar", f::PlowUpMin, f::PlowUpMax},
    {"Plow (A4)", "Plow Down", "PlowDown", "MaxScrollBar", f::PlowDownMin, f::PlowDownMax},
    {"Plow (A4)", "Plow Left", "PlowLeft", "MaxScrollbar", f::PlowLeftMin, f::PlowLeftMax},
    {"Plow (A4)", "Plow Right", "PlowRight", "MaxScrollBar", f::PlowRightMin, f::PlowRightMax},
    {"Wing (B)", "Toe Up", "WingToeUp", "MaxScrollbar", f::WingToeUpMin, f::WingToeUpMax},
    {"Wing (B)", "Toe Down", "WingToeDown", "MaxScrollBar", f::WingToeDownMin, f::WingToeDownMax},
    {"Wing (B)", "Heel Up", "WingHeelUp", "MaxScrollbar", f::WingHeelUpMin, f::WingHeelUpMax},
    {"Wing (B)", "Heel Down", "WingHeelDown", "MaxScrollBar", f::WingHeelDownMin,
     f::WingHeelDownMax},
    {"Wing (B)", "Slide In", "WingSlideIn", "MaxScrollbar", f::WingSlideInMin, f::WingSlideInMax},
    {"Wing (B)", "Slide Out", "WingSlideOut", "MaxScrollBar", f::WingSlideOutMin,
     f::WingSlideOutMax},
    {"Blade (C)", "Blade Up", "BladeUp", "MaxScrollbar", f::BladeUpMin, f::BladeUpMax},
    {"Blade (C)", "Blade Down", "BladeDown", "MaxScrollBar", f::BladeDownMin, f::BladeDownMax},
    {"Blade (C)", "Blade Left", "BladeLeft", "MaxScrollbar", f::BladeLeftMin, f::BladeLeftMax},
    {"Blade (C)", "Blade Right", "BladeRight", "MaxScrollBar", f::BladeRightMin, f::BladeRightMax},
}};

// The seven button slots: key part, caption, mode byte, label, axes, and which pages show them.
struct SlotRow {
  const char* key;
  const char* caption;
  int number;  // drop-down and label edit number on the button pages
  std::size_t mode, label, axes;
  const char* customPrefix;
  bool four, six, slave;
};

constexpr std::array<SlotRow, 7> kSlots = {{
    {"no_button", "No Button", 0, f::NoButtonMode, f::NoButtonLabel, f::NoButtonAxes, "NoButton",
     true, true, false},
    {"red", "Red", 1, f::RedButtonMode, f::RedButtonLabel, f::RedButtonAxes, "RedButton", true,
     true, true},
    {"green", "Green", 2, f::GreenButtonMode, f::GreenButtonLabel, f::GreenButtonAxes,
     "GreenButton", true, true, true},
    {"blue", "Blue", 3, f::BlueButtonMode, f::BlueButtonLabel, f::BlueButtonAxes, "BlueButton",
     false, true, true},
    {"yellow", "Yellow", 4, f::YellowButtonMode, f::YellowButtonLabel, f::YellowButtonAxes,
     "YellowButton", false, true, true},
    {"orange", "Orange", 5, f::OrangeButtonMode, f::OrangeButtonLabel, f::OrangeButtonAxes,
     "OrangeButton", false, false, false},
    {"purple", "Purple", 6, f::PurpleButtonMode, f::PurpleButtonLabel, f::PurpleButtonAxes,
     "PurpleButton", false, false, false},
}};

struct RemoteRow {
  const char* key;
  const char* colour;
  std::size_t mode, selector, target;
};

constexpr std::array<RemoteRow, 6> kRemotes = {{
    {"red", "Red", f::RedButtonMode, f::RedRemoteSelector, f::RedTargetID},
    {"green", "Green", f::GreenButtonMode, f::GreenRemoteSelector, f::GreenTargetID},
    {"blue", "Blue", f::BlueButtonMode, f::BlueRemoteSelector, f::BlueTargetID},
    {"yellow", "Yellow", f::YellowButtonMode, f::YellowRemoteSelector, f::YellowTargetID},
    {"orange", "Orange", f::OrangeButtonMode, f::OrangeRemoteSelector, f::OrangeTargetID},
    {"purple", "Purple", f::PurpleButtonMode, f::PurpleRemoteSelector, f::PurpleTargetID},
}};

struct FloatRow {
  const char* key;
  const char* ordinal;
  std::size_t output, name;
  const char* select;
  const char* edit;
};

constexpr std::array<FloatRow, 4> kFloats = {{
    {"one", "One", f::FloatOneOutput, f::FloatOneName, "PlowFloatSelect", "float1"},
    {"two", "Two", f::FloatTwoOutput, f::FloatTwoName, "BladeFloatSelect", "float2"},
    {"three", "Three", f::FloatThreeOutput, f::FloatThreeName, "WingFloatSelect", "float3"},
    {"four", "Four", f::FloatFourOutput, f::FloatFourName, "ToeFloatSelect", "float4"},
}};

struct StickRow {
  const char* key;
  const char* caption;
  std::size_t offset;
  const char* control;  // on the "4 HFX" page
};

// Captioned by the stick the "4 HFX" page shows each drop-down under; the keys are older than
// these captions and stay as exported files spell them.
constexpr std::array<StickRow, 5> kSticks = {{
    {"stick1", "JS1 function", f::Stick1Function, "js1setting"},
    {"stick3", "JS3 function", f::Stick3Function, "js2setting"},
    {"stick2a", "JS2 function", f::Stick2aFunction, "js3setting"},
    {"stick2b", "JS2 secondary function", f::Stick2bFunction, "js4setting"},
    {"stick4", "JS4 function", f::Stick4Function, "js5setting"},
}};

// The same bytes on the "3 HFX" page when its custom type is chosen.
constexpr std::array<StickRow, 4> kThreeSticks = {{
    {"stick1", "Hoist or JS1 function", f::Stick1Function, "joystick1"},
    {"stick3", "Plow or JS2 function", f::Stick3Function, "joystick3"},
    {"stick2a", "Wing/Blade or JS3 primary function", f::Stick2aFunction, "joystick2a"},
    {"stick2b", "Wing/Blade or JS3 secondary function", f::Stick2bFunction, "joystick2b"},
}};

std::vector<std::string> FunctionItems() {
  std::vector<std::string> items = {"None"};
  for (std::string_view name : kFunctionOutputNames) items.emplace_back(name);
  return items;
}

const std::vector<std::string> kStickItems = {"None",          "Hoist (HYD A)", "Plow (HYD A)",
                                              "Wing (HYD B)",  "Blade (HYD C)", "Hook (HYD C)",
                                              "Slide/Tilt (HYD B)"};
const std::vector<std::string> kThreeStickItems = {"None",          "Hoist (HYD A)", "Plow (HYD A)",
                                                   "Wing (HYD B)",  "Blade (HYD C)", "Hook (HYD C)",
                                                   "Wing Slide (HYD B)"};
const std::vector<std::string> kAlwaysLiveItems = {"Inactive", "Hoist (port A)", "Plow (port A)",
                                                   "Wing (port B)", "Blade (port C)"};

void AddTrims(std::vector<Setting>& rows) {
  for (const TrimPairRow& t : kTrimPairs) {
    const Place place{t.page, t.caption};
    const std::string key = "zorv.trim." + KeyPart(t.caption);
    const std::string stem = t.name;
    rows.push_back(TrimRow(key + ".min", std::string(t.caption) + " minimum", place, t.min,
                           stem + "MinScrollBar", stem + "MinValueLabel"));
    rows.push_back(TrimRow(key + ".max", std::string(t.caption) + " maximum", place, t.max,
                           stem + t.maxBar, stem + "MaxValueLabel"));
  }
}

void AddButtons(std::vector<Setting>& rows) {
  const Place modes{"Joysticks", "Button modes"};
  for (const SlotRow& s : kSlots) {
    const std::string n = std::to_string(s.number);
    std::vector<std::string> combos;
    if (s.four) combos.push_back("FourButton" + n + "DropDown");
    if (s.six) combos.push_back("SixButton" + n + "DropDown");
    combos.push_back("EightButton" + n + "DropDown");
    if (s.slave) combos.push_back("SlaveButton" + n + "DropDown");
    Setting mode = Byte("zorv.button." + std::string(s.key) + ".mode",
                        std::string(s.caption) + " mode", modes, Encoding::ButtonMode, s.mode,
                        combos);
    mode.values = {mode::kInactive, mode::kHoist, mode::kPlow,   mode::kWing,
                   mode::kBlade,    mode::kCustom, mode::kRemote, mode::kSlave};
    rows.push_back(mode);

    std::vector<std::string> edits;
    if (s.six) edits.push_back("SixButton" + n + "LabelEdit");
    edits.push_back("EightButton" + n + "LabelEdit");
    rows.push_back(Row("zorv.button." + std::string(s.key) + ".label",
                       std::string(s.caption) + " label", modes, Width::Label9, Encoding::Text,
                       s.label, edits, 0, 8));
  }
}

void AddCustom(std::vector<Setting>& rows) {
  const std::vector<std::string>& axes = CustomAxisItems();
  for (const SlotRow& s : kSlots) {
    const Place place{"Custom", std::string(s.caption) + " Button Mode"};
    const char* names[3] = {"X", "Y", "Z"};
    for (std::size_t a = 0; a < 3; ++a) {
      rows.push_back(ChoiceOf("zorv.custom." + std::string(s.key) + "." + KeyPart(names[a]),
                              std::string(s.caption) + " " + names[a] + " axis", place,
                              s.axes + a, {std::string(s.customPrefix) + names[a] + "Axis"},
                              axes));
    }
  }
}

void AddTriggerAndAlwaysLive(std::vector<Setting>& rows) {
  const Place place{"Joysticks", "Trigger"};
  rows.push_back(Flag("zorv.button.trigger", "Mode Buttons Act As Trigger", place,
                      f::ModeButtonsAreTrigger,
                      {"ModeButtonsAreTriggerCheckbox", "ModeButtonsAreTriggerCheckbox2",
                       "ModeButtonsAreTriggerCheckbox3"},
                      Encoding::OnOffNonZero));
  rows.push_back(Flag("zorv.button.multi_mode", "Multi Mode", place, f::MultiMode,
                      {"MultiModeCheckbox", "MultiModeCheckBox2", "MultiModeCheckbox3"},
                      Encoding::OnOffNonZero));
  const Place live{"Joysticks", "Always Live Mode"};
  rows.push_back(When(ChoiceOf("zorv.button.always_live.mode", "Always Live Mode", live,
                               f::AlwaysLiveMode, {"alwayslive", "alwayslive2"},
                               kAlwaysLiveItems),
                      f::ModeButtonsAreTrigger, 1, 255));
  rows.push_back(When(Row("zorv.button.always_live.label", "Always Live label", live,
                          Width::Label9, Encoding::Text, f::AlwaysLiveLabel,
                          {"alwayslivetext", "alwayslivetext2"}, 0, 8),
                      f::ModeButtonsAreTrigger, 1, 255));
}

void AddFloats(std::vector<Setting>& rows) {
  const Place place{"Float Modes", "Zorv System Floats:"};
  const std::vector<std::string> outputs = FunctionItems();
  for (const FloatRow& fl : kFloats) {
    rows.push_back(ChoiceOf("zorv.float." + std::string(fl.key) + ".output",
                            "Float " + std::string(fl.ordinal) + " output", place, fl.output,
                            {fl.select}, outputs));
    rows.push_back(Row("zorv.float." + std::string(fl.key) + ".name",
                       "Float " + std::string(fl.ordinal) + " Name", place, Width::FloatName5,
                       Encoding::Text, fl.name, {fl.edit}, 0, 5));
  }
  rows.push_back(Byte("zorv.float.delay", "Float Delay Time", place, Encoding::Number, f::FloatDelay,
                      {"floatdelay"}, 1, 10));
  rows.push_back(Flag("zorv.float.double_acting",
                      "Make Float One a double acting float, which will replace the wing slide "
                      "functions with a dump valve.",
                      place,
                      f::DoubleActingFloat, {"doubleactingfloat"}));
  rows.push_back(Flag("zorv.float.min_float", "Active pressure holding float", place, f::MinFloat,
                      {"minfloat"}));
}

void AddSticks(std::vector<Setting>& rows) {
  const Place place{"Joysticks", "4 HFX"};
  for (const StickRow& s : kSticks) {
    rows.push_back(When(ChoiceOf("zorv.stick." + std::string(s.key), s.caption, place, s.offset,
                                 {s.control}, kStickItems),
                        f::JoystickType, joystick::kFourHfx, joystick::kFourHfx));
  }
  for (const StickRow& s : kThreeSticks) {
    rows.push_back(When(ChoiceOf("zorv.three_stick." + std::string(s.key), s.caption, place,
                                 s.offset, {s.control}, kThreeStickItems),
                        f::JoystickType, joystick::kThreeHfxCustom, joystick::kThreeHfxCustom));
  }
}

// Switches 1..12 (codes 0..11) and "no switch", which the switch window writes as 200.
Setting WithNoSwitch(Setting s) {
  for (int v = 0; v <= 11; ++v) s.values.push_back(v);
  s.values.push_back(200);
  return s;
}

void AddSwitchGroups(std::vector<Setting>& rows) {
  for (int n = 1; n <= 12; ++n) {
    const std::string number = std::to_string(n);
    const Place place{"Axis Switch Setup", "Switch Group " + number};
    const std::string key = "zorv.switch_group." + number;
    const std::string stem = "switch" + number;
    rows.push_back(Byte(key + ".address", "Switch Group " + number + " Target ID", place,
                        Encoding::Number, f::SwitchGroupAddress(n), {stem + "address"}, 101,
                        255));
    rows.push_back(WithNoSwitch(Byte(key + ".plus", "Switch Group " + number + " Switch Plus",
                                     place, Encoding::SwitchNumber, f::SwitchGroupPlus(n),
                                     {stem + "plus"}, 0, 11)));
    rows.push_back(WithNoSwitch(Byte(key + ".minus", "Switch Group " + number + " Switch Minus",
                                     place, Encoding::SwitchNumber, f::SwitchGroupMinus(n),
                                     {stem + "minus"}, 0, 11)));
  }
}

void AddRemotes(std::vector<Setting>& rows) {
  for (const RemoteRow& r : kRemotes) {
    const std::string colour = r.colour;
    const Place place{"Remote/Slave", colour + " Button Remote Settings"};
    const std::string key = "zorv.remote." + std::string(r.key);
    // A remote targets another controller (101..200); a slave answers to a master (10..100).
    rows.push_back(When(Byte(key + ".target", colour + " Target ID", place, Encoding::Number,
                             r.target, {colour + "TargetIDSpin"}, 101, 200),
                        r.mode, mode::kRemote, mode::kRemote));
    rows.push_back(When(Byte(key + ".slave_target", colour + " Target ID", place,
                             Encoding::Number, r.target, {colour + "TargetIDSpin"}, 10, 100),
                        r.mode, mode::kSlave, mode::kSlave));
    rows.push_back(When(Byte(key + ".switch", colour + " remote switch", place,
                             Encoding::SwitchNumber, r.selector, {colour + "RemoteIDSpin"}, 0,
                             11),
                        r.mode, mode::kRemote, mode::kRemote));
    rows.push_back(When(Byte(key + ".slave_mode", colour + " Slave Mode", place,
                             Encoding::SlaveMode, r.selector, {colour + "RemoteModeDropdown"}, 1,
                             4),
                        r.mode, mode::kSlave, mode::kSlave));
  }
}

}  // namespace

std::vector<Setting> ZorvRows() {
  std::vector<Setting> rows;
  Setting type = Byte("zorv.joystick.type", "Joystick type", {"Joysticks", "Joystick"},
                      Encoding::JoystickType, f::JoystickType, {"JoystickCombo"});
  type.values = {joystick::kFourButtonHG,        joystick::kSixButtonHG,
                 joystick::kEightButtonHG,       joystick::kSlaveMode,
                 joystick::kTwoHfxPlowHoist,     joystick::kTwoHfxPlowHoistWing,
                 joystick::kThreeHfxPlowWingHoist, joystick::kThreeHfxWingPlowHoist,
                 joystick::kTwoHfxPlowHook,      joystick::kThreeHfxCustom,
                 joystick::kSevrik,              joystick::kFourHfx};
  rows.push_back(type);
  rows.push_back(Byte("zorv.controller_id", "Zorv ID", {"Joysticks", "Joystick"},
                      Encoding::Number, f::ControllerID, {"IDSpin", "IDSpin2"}));
  AddButtons(rows);
  AddTriggerAndAlwaysLive(rows);
  AddSticks(rows);

  const Place frequency{"Global", "PWM Frequency"};
  rows.push_back(Byte("zorv.global.frequency", "PWM Frequency", frequency, Encoding::FreqZorv,
                      f::Frequency, {"FreqScrollbar", "HertzLabel"}, 1, 255));
  // Built into the Global tab's option box as one check box each, in this order.
  const Place options{"Global", "Options"};
  rows.push_back(Flag("zorv.option.safestick", "Enable SafeStick", options, f::SafeStickOff,
                      {"safestickbox"}, Encoding::InvertedOnOff));
  rows.push_back(Flag("zorv.option.hoist_limit", "Enable Hoist Limit", options,
                      f::HoistLimitEnable, {"hoistlimitenable"}));
  rows.push_back(Flag("zorv.option.body_lock", "Enable Body Lock", options, f::BodyLockEnable,
                      {"bodylockenable"}));
  rows.push_back(Flag("zorv.option.hoist_limit_key", "Enable Key for Limit", options,
                      f::HoistLimitKey, {"hoistlimitkey"}));
  rows.push_back(Flag("zorv.option.screen_to_brevicor", "Screen data to Brevicor", options,
                      f::ScreenToBrevicor, {"screen_to_BR"}));
  const Place delays{"Global", "Delays"};
  rows.push_back(Byte("zorv.option.blade_up_time", "Auto blade up time", delays,
                      Encoding::Number, f::BladeUpTime, {"bladeuptime"}, 0, 10));
  rows.push_back(Byte("zorv.option.startup_delay", "Startup Delay", delays, Encoding::Number,
                      f::StartupDelay, {"startupdelay"}, 1, 20));
  rows.push_back(Flag("zorv.option.cartridge", "Enable Power/ Cartridge Valve (see note below)",
                      {"Global", "Power/Cartridge Valve"}, f::CartridgeEnable,
                      {"cartridgebox"}));

  AddTrims(rows);
  AddCustom(rows);
  AddFloats(rows);
  AddRemotes(rows);
  AddSwitchGroups(rows);
  return rows;
}

std::vector<std::size_t> ZorvUnnamed() {
  std::vector<std::size_t> unnamed;
  // The reserved label, the bytes after the no-button label, the last byte of the short
  // transfer, the byte before the trigger flag, and the reserved tail.
  for (std::size_t o = f::PurpleButtonLabel + f::kLabelWidth; o < f::NoButtonLabel; ++o)
    unnamed.push_back(o);
  for (std::size_t o = f::NoButtonLabel + f::kLabelWidth; o < f::ControllerID; ++o)
    unnamed.push_back(o);
  unnamed.push_back(f::ControllerID + 1);
  unnamed.push_back(f::ModeButtonsAreTrigger - 1);
  for (std::size_t o = f::HoistLimitKey + 1; o < kImageSize; ++o) unnamed.push_back(o);
  return unnamed;
}

}  // namespace zorv::catalogue

namespace zorv {

const std::vector<std::string>& CustomAxisItems() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> list = {"Inactive",
                                     "HOIST (up / down)",
                                     "PLOW (left / right)",
                                     "PLOW (up / down)",
                                     "WING HEEL (up / down)",
                                     "WING TOE (up / down)",
                                     "WING SLIDE (in / out)",
                                     "BLADE (left / right)",
                                     "BLADE (up / down)"};
    for (int group = 1; group <= 12; ++group) list.push_back("SWITCH GROUP " + std::to_string(group));
    return list;
  }();
  return items;
}

}  // namespace zorv
