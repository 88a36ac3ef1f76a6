// The rows of the Tarnovex layout, in page order.
#include <array>

#include "CatalogueRows.h"
#include "TarnovexLayout.h"

namespace zorv::catalogue {

namespace tf = tarnovexfield;

namespace {

constexpr std::array<TrimPairRow, 10> kTrimPairs = {{
    {"Plow", "Plow Up", "plowupminbar", "plowupmaxbar", "plowupmin2", "plowupmax2", tf::PlowUpMin,
     tf::PlowUpMax},
    {"Plow", "Plow Down", "plowdownminbar", "plowdownmaxbar", "plowdownmin2", "plowdownmax2",
     tf::PlowDownMin, tf::PlowDownMax},
    {"Plow", "Plow Left", "plowleftminbar", "plowleftmaxbar", "plowleftmin2", "plowleftmax2",
     tf::PlowLeftMin, tf::PlowLeftMax},
    {"Plow", "Plow Right", "plowrightminbar", "plowrightmaxbar", "plowrightmin2", "plowrightmax2",
     tf::PlowRightMin, tf::PlowRightMax},
    {"Plow", "RT Wing in", "rtwinginmin", "rtwinginmax", "Label183", "Label185", tf::RtWingInMin,
     tf::RtWingInMax},
    {"Plow", "RT Wing out", "rtwingoutmin", "rtwingoutmax", "Label187", "Label189",
     tf::RtWingOutMin, tf::RtWingOutMax},
    {"Hoist/Hook", "Hoist Up", "hoistupminbar", "hoistupmaxbar", "hoistupmin2", "hoistupmax2",
     tf::HoistUpMin, tf::HoistUpMax},
    {"Hoist/Hook", "Hoist Down", "hoistdownminbar", "hoistdownmaxbar", "hoistdownmin2",
     "hoistdownmax2", tf::HoistDownMin, tf::HoistDownMax},
    {"Hoist/Hook", "Hoist left", "hoistleftminbar", "hoistleftmaxbar", "hoistleftmin2",
     "hoistleftmax2", tf::HoistLeftMin, tf::HoistLeftMax},
    {"Hoist/Hook", "Hoist Right", "hoistrightminbar", "hoistrightmaxbar", "hoistrightmin2",
     "hoistrightmax2", tf::HoistRightMin, tf::HoistRightMax},
}};

}  // namespace

std::vector<Setting> TarnovexRows() {
  std::vector<Setting> rows;
  AddTrimPairs(rows, "tarnovex", kTrimPairs);
  // Attitude control runs a V-plow alone: the refresh then forces "V-Plow Only".
  rows.push_back(When(ChoiceOf("tarnovex.system_mode", "System Mode:", {"Global", "System Mode"},
                          tf::SystemMode, {"joysetting"},
                          {"Single (Hoist / Plow)", "Dual (Hoist / Plow)",
                           "Dual (Hoist / V-Plow)", "Hoist Only", "V-Plow Only", "Plow Only",
                           "Dual (Hoist / Wide Out Plow)", "Wide Out Only", "Hook Only",
                           "3 stick"}),
                      tf::AttitudeControl, 0, 0));
  const Place safeties{"Global", "Enable Saftey Triggers"};
  rows.push_back(Flag("tarnovex.safety.joy1", "Joystick 1 (Hoist/Hook) ", safeties, tf::Joy1Safety,
                      {"joy1saftey"}));
  rows.push_back(Flag("tarnovex.safety.joy2", "Joystick 2 (Plow)", safeties, tf::Joy2Safety,
                      {"joy2saftey"}));
  rows.push_back(Flag("tarnovex.safety.joy3", "Joystick 3 (Wing)", safeties, tf::Joy3Safety,
                      {"joy3safety"}));
  // Built into the Options group as one check box each, in this order.
  const Place options{"Global", "Options"};
  rows.push_back(Flag("tarnovex.option.plow_float", "Enable Plow Float", options, tf::PlowFloat,
                      {"plowfloat"}));
  rows.push_back(Flag("tarnovex.option.hoist_limit", "Enable Hoist Limit", options,
                      tf::HoistLimit, {"hoistlimit"}));
  rows.push_back(Flag("tarnovex.option.cartridge",
                      "Cartridge valve control for open center systems ", options, tf::Cartridge,
                      {"cartridge"}));
  rows.push_back(Flag("tarnovex.option.attitude_control", "Henke V-plow with attitude control",
                      options, tf::AttitudeControl, {"attitudecontrol"}));
  rows.push_back(Flag("tarnovex.option.toggle_v_plow",
                      "toggle V-plow modes of running lift or wings", options, tf::ToggleVPlow,
                      {"togglevplow"}));
  rows.push_back(Byte("tarnovex.frequency", "Valve Frequency", {"Global", "Valve Frequency"},
                      Encoding::FreqTarnovex, tf::Frequency, {"freqbar", "Hertzlabel2"}, 0, 81));
  return rows;
}

std::vector<std::size_t> TarnovexUnnamed() {
  // Everything after the third safety; byte 33 holds the marker that selects this layout.
  std::vector<std::size_t> unnamed;
  for (std::size_t o = tf::Joy3Safety + 1; o < kImageSize; ++o) unnamed.push_back(o);
  return unnamed;
}

}  // namespace zorv::catalogue
