// The report's lines: both forms whole, the joystick block of every type, and the value formats.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/report/ReportLines.h"

namespace zorv {
namespace {

std::vector<std::string> Std(const QStringList& lines) {
  std::vector<std::string> out;
  for (const QString& line : lines) out.push_back(line.toStdString());
  return out;
}

// Zorv trims: function n has minimum 10n and maximum 240 - 2n.
SettingsImage ZorvImage(std::uint8_t joystickType) {
  SettingsImage image;
  image[0] = 100;  // 72 Hz, shown as 70
  for (int n = 1; n <= 16; ++n) {
    image[static_cast<std::size_t>(2 * n - 1)] = static_cast<std::uint8_t>(10 * n);
    image[static_cast<std::size_t>(2 * n)] = static_cast<std::uint8_t>(240 - 2 * n);
  }
  image[33] = joystickType;
  return image;
}

const std::vector<std::string> kZorvTail = {
    "",
    "Frequency:                           70",
    "",
    "Trims:",
    "",
    "Hoist Up:      Min:  0.5v    Max: 11.9v",
    "Hoist Down:    Min:  1.0v    Max: 11.8v",
    "Plow Up:       Min:  1.5v    Max: 11.7v",
    "Plow Down:     Min:  2.0v    Max: 11.6v",
    "Plow Left:     Min:  2.5v    Max: 11.5v",
    "Plow Right:    Min:  3.0v    Max: 11.4v",
    "Wing Toe Up    Min:  3.5v    Max: 11.3v",
    "Wing Toe Down: Min:  4.0v    Max: 11.2v",
    "Heel Up:       Min:  4.5v    Max: 11.1v",
    "Heel Down:     Min:  5.0v    Max: 11.0v",
    "Wing Slide In: Min:  5.5v    Max: 10.9v",
    "Wing Slide Out:Min:  6.0v    Max: 10.8v",
    "Blade Up:      Min:  6.5v    Max: 10.7v",
    "Blade Down:    Min:  7.0v    Max: 10.6v",
    "Blade Left:    Min:  7.5v    Max: 10.5v",
    "Blade Right:   Min:  8.0v    Max: 10.4v",
};

TEST(ReportLinesTest, TarnovexFormIsWholeAndInOrder) {
  SettingsImage image;
  image[0] = 7;
  for (int k = 1; k <= 8; ++k) {
    image[static_cast<std::size_t>(2 * k - 1)] = static_cast<std::uint8_t>(20 * k);
    image[static_cast<std::size_t>(2 * k)] = static_cast<std::uint8_t>(200 + 2 * k);
  }
  image[19] = 2;
  image[33] = 20;
  ReportInputs inputs;
  inputs.freqbarPosition = 125;
  inputs.modeTexts["FourButton0DropDown"] = "PLOW";  // not part of this form
  const std::vector<std::string> expected = {
      "Tarnovex Trim/Configuration Settings",
      "",
      "Joystick Configuration:     Dual Stick (V-PLOW)",
      "",
      "Frequency:                  125",
      "",
      "Trims:",
      "",
      "Plow Up:                            Min:  5.0v    Max: 10.5v",
      "Plow Down:                          Min:  6.0v    Max: 10.6v",
      "Plow Left / V-Plow Left Wing Out:   Min:  7.0v    Max: 10.7v",
      "Plow Right / V-Plow Left Wing In:   Min:  8.0v    Max: 10.8v",
      "Hoist Up:                           Min:  1.0v    Max: 10.1v",
      "Hoist Down:                         Min:  2.0v    Max: 10.2v",
      "Hoist left / V-Plow Right Wing out: Min:  3.0v    Max: 10.3v",
      "Hoist Right / V-Plow Right Wing In: Min:  4.0v    Max: 10.4v",
  };
  EXPECT_EQ(Std(ReportLines(image, inputs)), expected);
}

struct TarnovexJoystickRow {
  std::uint8_t systemMode;
  std::string line;
};

TEST(ReportLinesTest, TarnovexJoystickLineFollowsByte19) {
  const std::vector<TarnovexJoystickRow> rows = {
      {0, "Joystick Configuration:     Single Stick"},
      {1, "Joystick Configuration:     Dual Stick"},
      {2, "Joystick Configuration:     Dual Stick (V-PLOW)"},
      {3, "Joystick Configuration:     "},
      {255, "Joystick Configuration:     "},
  };
  for (const TarnovexJoystickRow& row : rows) {
    SettingsImage image;
    image[33] = 20;
    image[19] = row.systemMode;
    EXPECT_EQ(ReportLines(image, {}).at(2).toStdString(), row.line) << int(row.systemMode);
  }
}

// The Zorv form whole and in order, with the lines from the joystick line up to the frequency
// line for one joystick type.
struct JoystickRow {
  const char* name;
  std::uint8_t type;
  std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
  std::map<QString, QString> texts;
  std::vector<std::string> block;  // joystick line, blank, mode lines
};

class ReportJoystickTest : public ::testing::TestWithParam<JoystickRow> {};

TEST_P(ReportJoystickTest, ModeLinesOfTheJoystickType) {
  const JoystickRow& row = GetParam();
  SettingsImage image = ZorvImage(row.type);
  for (const auto& [offset, value] : row.bytes) image[offset] = value;
  ReportInputs inputs;
  inputs.modeTexts = row.texts;
  std::vector<std::string> expected = {"Zorv Trim/Configuration Settings", ""};
  expected.insert(expected.end(), row.block.begin(), row.block.end());
  expected.insert(expected.end(), kZorvTail.begin(), kZorvTail.end());
  EXPECT_EQ(Std(ReportLines(image, inputs)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ReportJoystickTest,
    ::testing::Values(
        JoystickRow{"FourButton",
                    1,
                    {},
                    {{"FourButton0DropDown", "PLOW"},
                     {"FourButton1DropDown", "HOIST"},
                     {"FourButton2DropDown", "WING"},
                     {"SixButton0DropDown", "BLADE"}},
                    {"Joystick Configuration:     4 button HG", "",
                     "Default mode:                      PLOW",
                     "Red button mode:                  HOIST",
                     "Green button mode:                 WING"}},
        JoystickRow{"SixButton",
                    2,
                    {},
                    {{"SixButton0DropDown", "INACTIVE"},
                     {"SixButton1DropDown", "HOIST"},
                     {"SixButton2DropDown", "PLOW"},
                     {"SixButton3DropDown", "CUSTOM"},
                     {"SixButton4DropDown", "SAFETY"}},
                    {"Joystick Configuration:     6 button HG", "",
                     "Default mode:                  INACTIVE",
                     "Red button mode:                  HOIST",
                     "Green button mode:                 PLOW",
                     "Blue button mode:                CUSTOM",
                     "Yellow button mode:              SAFETY"}},
        JoystickRow{"EightButton",
                    3,
                    {},
                    {{"EightButton0DropDown", "A"},
                     {"EightButton1DropDown", "B"},
                     {"EightButton2DropDown", "C"},
                     {"EightButton3DropDown", "D"},
                     {"EightButton4DropDown", "E"},
                     {"EightButton5DropDown", "F"},
                     {"EightButton6DropDown", "G"}},
                    {"Joystick Configuration:     8 button HG", "",
                     "Default mode:                         A",
                     "Red button mode:                      B",
                     "Green button mode:                    C",
                     "Blue button mode:                     D",
                     "Yellow button mode:                   E",
                     "Orange button mode:                   F",
                     "Purple button mode:                   G"}},
        JoystickRow{"SlaveMode",
                    19,
                    {},
                    {{"SlaveButton1DropDown", "SLAVE"},
                     {"SlaveButton2DropDown", "REMOTE"},
                     {"SlaveButton3DropDown", "TOGGLE"},
                     {"SlaveButton4DropDown", "PASS"}},
                    {"Joystick Configuration:      Slave Mode", "",
                     "Red mode:                         SLAVE",
                     "Green mode:                      REMOTE",
                     "Blue mode:                       TOGGLE",
                     "Yellow mode:                       PASS"}},
        JoystickRow{"TwinPlowHoist",
                    21,
                    {{35, 0}, {36, 1}},
                    {},
                    {"Joystick Configuration:        Twin HFX", "",
                     "Stick Configuration:       Plow + Hoist", "",
                     "Plow Stick Safety:                   On",
                     "Hoist Stick Safety:                 Off"}},
        JoystickRow{"TwinPlowHoistSafetiesSwapped",
                    21,
                    {{35, 200}, {36, 0}},
                    {},
                    {"Joystick Configuration:        Twin HFX", "",
                     "Stick Configuration:       Plow + Hoist", "",
                     "Plow Stick Safety:                  Off",
                     "Hoist Stick Safety:                  On"}},
        JoystickRow{"TwinPlowHoistBlade",
                    22,
                    {{35, 7}},
                    {},
                    {"Joystick Configuration:        Twin HFX", "",
                     "Stick Configuration: Plow/Hoist + Blade", "",
                     "Plow/Hoist Stick Button:    Switch Mode",
                     "Blade Stick Safety:                  On"}},
        JoystickRow{"TripleBladeWing",
                    23,
                    {{35, 1}, {36, 0}, {37, 6}},
                    {},
                    {"Joystick Configuration:      Triple HFX", "",
                     "Configuration:Plow + Blade/Wing + Hoist", "",
                     "Plow Stick Safety:                  Off",
                     "Blade/Wing Stick Button:    Switch Mode",
                     "Hoist Stick Safety:                  On"}},
        JoystickRow{"TripleBladeSafetyOn",
                    23,
                    {{35, 0}, {36, 1}, {37, 5}},
                    {},
                    {"Joystick Configuration:      Triple HFX", "",
                     "Configuration:     Plow + Blade + Hoist", "",
                     "Plow Stick Safety:                   On",
                     "Blade Stick Safety:                  On",
                     "Hoist Stick Safety:                 Off"}},
        JoystickRow{"TripleBladeSafetyOff",
                    23,
                    {{35, 0}, {36, 0}, {37, 0}},
                    {},
                    {"Joystick Configuration:      Triple HFX", "",
                     "Configuration:     Plow + Blade + Hoist", "",
                     "Plow Stick Safety:                  Off",
                     "Blade Stick Safety:                 Off",
                     "Hoist Stick Safety:                 Off"}},
        // Types without mode lines: the two blank lines meet.
        JoystickRow{"FourHfxWithoutModeLines", 4, {}, {}, {"Joystick Configuration:     ", ""}},
        JoystickRow{"HfxWithoutModeLines", 24, {}, {}, {"Joystick Configuration:     ", ""}},
        JoystickRow{"UnknownType", 0, {}, {}, {"Joystick Configuration:     ", ""}},
        JoystickRow{"LongDropDownTextPrintedWhole",
                    1,
                    {},
                    {{"FourButton0DropDown", "A MODE TEXT OF 25 LETTERS"},
                     {"FourButton1DropDown", "EXACTLY TWENTY CHARS"}},
                    {"Joystick Configuration:     4 button HG", "",
                     "Default mode:      A MODE TEXT OF 25 LETTERS",
                     "Red button mode:   EXACTLY TWENTY CHARS",
                     "Green button mode:                     "}}),
    [](const ::testing::TestParamInfo<JoystickRow>& row) { return std::string(row.param.name); });

struct TrimRow {
  std::uint8_t min, max;
  std::string hoistUpLine;
};

TEST(ReportLinesTest, TrimValuesArePaddedToFiveCharacters) {
  const std::vector<TrimRow> rows = {
      {30, 254, "Hoist Up:      Min:  1.5v    Max: 12.7v"},
      {0, 254, "Hoist Up:      Min:  0.0v    Max: 12.7v"},
      {254, 0, "Hoist Up:      Min: 12.7v    Max:  0.0v"},
      {200, 200, "Hoist Up:      Min: 10.0v    Max: 10.0v"},
      {255, 20, "Hoist Up:      Min: 12.8v    Max:  1.0v"},
  };
  for (const TrimRow& row : rows) {
    SettingsImage image = ZorvImage(1);
    image[1] = row.min;
    image[2] = row.max;
    const QStringList lines = ReportLines(image, {});
    ASSERT_TRUE(lines.contains(QString::fromStdString(row.hoistUpLine)))
        << row.hoistUpLine << "\n" << lines.join('\n').toStdString();
  }
}

TEST(ReportLinesTest, ZorvFrequencyIsPaddedToThreeCharacters) {
  const std::vector<std::pair<std::uint8_t, std::string>> rows = {
      {0, "Frequency:                          480"},
      {128, "Frequency:                           60"},
      {255, "Frequency:                           30"},
  };
  for (const auto& [code, line] : rows) {
    SettingsImage image = ZorvImage(4);
    image[0] = code;
    EXPECT_EQ(ReportLines(image, {}).at(5).toStdString(), line) << int(code);
  }
}

TEST(ReportLinesTest, EveryImageWithoutTheMarkerPrintsTheZorvForm) {
  for (const int byte33 : {0, 1, 19, 21, 23, 255}) {
    SettingsImage image = ZorvImage(static_cast<std::uint8_t>(byte33));
    EXPECT_EQ(ReportLines(image, {}).at(0).toStdString(), "Zorv Trim/Configuration Settings");
  }
}

}  // namespace
}  // namespace zorv
