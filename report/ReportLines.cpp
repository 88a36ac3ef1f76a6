#include "report/ReportLines.h"

#include <array>
#include <cstddef>
#include <vector>

#include "image/Encodings.h"
#include "image/TarnovexLayout.h"
#include "image/ZorvLayout.h"

namespace zorv {
namespace {

struct ModeLine {
  const char* label;  // 19 characters, the mode text follows
  const char* dropDown;
};

struct ModeLines {
  std::uint8_t joystickType;
  std::vector<ModeLine> lines;
};

const std::array<ModeLines, 4>& ButtonModeLines() {
  static const std::array<ModeLines, 4> table = {{
      {joystick::kFourButtonHG,
       {{"Default mode:      ", "FourButton0DropDown"},
        {"Red button mode:   ", "FourButton1DropDown"},
        {"Green button mode: ", "FourButton2DropDown"}}},
      {joystick::kSixButtonHG,
       {{"Default mode:      ", "SixButton0DropDown"},
        {"Red button mode:   ", "SixButton1DropDown"},
        {"Green button mode: ", "SixButton2DropDown"},
        {"Blue button mode:  ", "SixButton3DropDown"},
        {"Yellow button mode:", "SixButton4DropDown"}}},
      {joystick::kEightButtonHG,
       {{"Default mode:      ", "EightButton0DropDown"},
        {"Red button mode:   ", "EightButton1DropDown"},
        {"Green button mode: ", "EightButton2DropDown"},
        {"Blue button mode:  ", "EightButton3DropDown"},
        {"Yellow button mode:", "EightButton4DropDown"},
        {"Orange button mode:", "EightButton5DropDown"},
        {"Purple button mode:", "EightButton6DropDown"}}},
      {joystick::kSlaveMode,
       {{"Red mode:          ", "SlaveButton1DropDown"},
        {"Green mode:        ", "SlaveButton2DropDown"},
        {"Blue mode:         ", "SlaveButton3DropDown"},
        {"Yellow mode:       ", "SlaveButton4DropDown"}}},
  }};
  return table;
}

struct TrimLine {
  const char* label;
  std::size_t min, max;
};

constexpr std::array<TrimLine, 8> kTarnovexTrims = {{
    {"Plow Up:                            ", tarnovexfield::PlowUpMin, tarnovexfield::PlowUpMax},
    {"Plow Down:                          ", tarnovexfield::PlowDownMin, tarnovexfield::PlowDownMax},
    {"Plow Left / V-Plow Left Wing Out:   ", tarnovexfield::PlowLeftMin, tarnovexfield::PlowLeftMax},
    {"Plow Right / V-Plow Left Wing In:   ", tarnovexfield::PlowRightMin,
     tarnovexfield::PlowRightMax},
    {"Hoist Up:                           ", tarnovexfield::HoistUpMin, tarnovexfield::HoistUpMax},
    {"Hoist Down:                         ", tarnovexfield::HoistDownMin,
     tarnovexfield::HoistDownMax},
    {"Hoist left / V-Plow Right Wing out: ", tarnovexfield::HoistLeftMin,
     tarnovexfield::HoistLeftMax},
    {"Hoist Right / V-Plow Right Wing In: ", tarnovexfield::HoistRightMin,
     tarnovexfield::HoistRightMax},
}};

// Valve function n has its pair at 2n-1, 2n; the labels follow the function order.
constexpr std::array<const char*, kFunctionCount> kZorvTrimLabels = {
    "Hoist Up:      ", "Hoist Down:    ", "Plow Up:       ", "Plow Down:     ",
    "Plow Left:     ", "Plow Right:    ", "Wing Toe Up    ", "Wing Toe Down: ",
    "Heel Up:       ", "Heel Down:     ", "Wing Slide In: ", "Wing Slide Out:",
    "Blade Up:      ", "Blade Down:    ", "Blade Left:    ", "Blade Right:   ",
};

QString OnOff(std::uint8_t byte) { return byte == 0 ? QStringLiteral("Off") : QStringLiteral(" On"); }

QString TrimLineText(const char* label, const SettingsImage& image, std::size_t min,
                     std::size_t max) {
  return QString::fromLatin1(label) + "Min: " + ReportTrimValue(image[min]) + "    Max: " +
         ReportTrimValue(image[max]);
}

QString TarnovexJoystickText(std::uint8_t systemMode) {
  switch (systemMode) {
    case 0: return "Single Stick";
    case 1: return "Dual Stick";
    case 2: return "Dual Stick (V-PLOW)";
    default: return {};
  }
}

QString ZorvJoystickText(std::uint8_t type) {
  switch (type) {
    case joystick::kFourButtonHG: return "4 button HG";
    case joystick::kSixButtonHG: return "6 button HG";
    case joystick::kEightButtonHG: return "8 button HG";
    case joystick::kSlaveMode: return " Slave Mode";
    case joystick::kTwoHfxPlowHoist:
    case joystick::kTwoHfxPlowHoistWing: return "   Twin HFX";
    case joystick::kThreeHfxPlowWingHoist: return " Triple HFX";
    default: return {};
  }
}

QStringList TarnovexForm(const SettingsImage& image, const ReportInputs& inputs) {
  QStringList lines = {
      "Tarnovex Trim/Configuration Settings",
      "",
      "Joystick Configuration:     " + TarnovexJoystickText(image[tarnovexfield::SystemMode]),
      "",
      "Frequency:                  " + QString::number(inputs.freqbarPosition),
      "",
      "Trims:",
      "",
  };
  for (const TrimLine& t : kTarnovexTrims) lines << TrimLineText(t.label, image, t.min, t.max);
  return lines;
}

// The lines between the joystick line and the blank line before the frequency.
QStringList ZorvModeLines(const SettingsImage& image, const ReportInputs& inputs) {
  using namespace zorvfield;
  const std::uint8_t type = image[JoystickType];
  QStringList lines;
  for (const ModeLines& table : ButtonModeLines()) {
    if (table.joystickType != type) continue;
    for (const ModeLine& line : table.lines) {
      const auto text = inputs.modeTexts.find(QString::fromLatin1(line.dropDown));
      const QString mode = text == inputs.modeTexts.end() ? QString() : text->second;
      // Padded, never cut: a longer text is printed whole.
      lines << QString::fromLatin1(line.label) + mode.rightJustified(20, ' ');
    }
    return lines;
  }
  const bool bladeWing = image[BlueButtonMode] == 6;
  switch (type) {
    case joystick::kTwoHfxPlowHoist:
      return {"Stick Configuration:       Plow + Hoist", "",
              "Plow Stick Safety:                  " + OnOff(image[GreenButtonMode]),
              "Hoist Stick Safety:                 " + OnOff(image[RedButtonMode])};
    case joystick::kTwoHfxPlowHoistWing:
      return {"Stick Configuration: Plow/Hoist + Blade", "",
              "Plow/Hoist Stick Button:    Switch Mode",
              "Blade Stick Safety:                 " + OnOff(image[RedButtonMode])};
    case joystick::kThreeHfxPlowWingHoist:
      return {bladeWing ? "Configuration:Plow + Blade/Wing + Hoist"
                        : "Configuration:     Plow + Blade + Hoist",
              "",
              "Plow Stick Safety:                  " + OnOff(image[GreenButtonMode]),
              bladeWing ? QString("Blade/Wing Stick Button:    Switch Mode")
                        : "Blade Stick Safety:                 " + OnOff(image[BlueButtonMode]),
              "Hoist Stick Safety:                 " + OnOff(image[RedButtonMode])};
    default: return {};
  }
}

QStringList ZorvForm(const SettingsImage& image, const ReportInputs& inputs) {
  QStringList lines = {
      "Zorv Trim/Configuration Settings",
      "",
      "Joystick Configuration:     " + ZorvJoystickText(image[zorvfield::JoystickType]),
      "",
  };
  lines << ZorvModeLines(image, inputs);
  lines << ""
        << "Frequency:                          " +
               QString::number(FreqBarPosition(image[zorvfield::Frequency])).rightJustified(3, ' ')
        << ""
        << "Trims:"
        << "";
  for (int function = 1; function <= kFunctionCount; ++function) {
    lines << TrimLineText(kZorvTrimLabels[static_cast<std::size_t>(function - 1)], image,
                          zorvfield::TrimMin(function), zorvfield::TrimMax(function));
  }
  return lines;
}

}  // namespace

QStringList ReportDropDownNames() {
  QStringList names;
  for (const ModeLines& table : ButtonModeLines()) {
    for (const ModeLine& line : table.lines) names << QString::fromLatin1(line.dropDown);
  }
  return names;
}

QString ReportTrimValue(int trimByte) {
  return QString::fromStdString(TrimVoltsText(trimByte)).rightJustified(5, ' ');
}

QStringList ReportLines(const SettingsImage& image, const ReportInputs& inputs) {
  if (image[kTarnovexMarkerOffset] == kTarnovexMarker) return TarnovexForm(image, inputs);
  return ZorvForm(image, inputs);
}

}  // namespace zorv
