// The catalogue's tables and what a setting shows.
#include "Catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "CatalogueRows.h"
#include "Encodings.h"
#include "TextFields.h"
#include "ZorvLayout.h"

namespace zorv {

namespace catalogue {
std::vector<Setting> ZorvRows();
std::vector<Setting> TarnovexRows();
std::vector<Setting> HalverstonRows();
std::vector<Setting> QuirnRows();
std::vector<std::size_t> ZorvUnnamed();
std::vector<std::size_t> TarnovexUnnamed();
std::vector<std::size_t> HalverstonUnnamed();
std::vector<std::size_t> QuirnUnnamed();

std::string KeyPart(const std::string& caption) {
  std::string key;
  for (char c : caption) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    } else if (!key.empty() && key.back() != '_') {
      key.push_back('_');
    }
  }
  while (!key.empty() && key.back() == '_') key.pop_back();
  return key;
}
}  // namespace catalogue

namespace {

std::size_t Index(Layout layout) { return static_cast<std::size_t>(layout); }

// Bar limits of the frequency bars: the label shows the bar's position.
constexpr int kZorvFreqBarMin = 25, kZorvFreqBarMax = 450;
constexpr int kTarnovexFreqBarMin = 45, kTarnovexFreqBarMax = 325;

constexpr std::array<const char*, 4> kSlaveColours = {"Red", "Green", "Blue", "Yellow"};

std::string JoystickName(int code) {
  switch (code) {
    case joystick::kFourButtonHG: return "4 Button HG";
    case joystick::kSixButtonHG: return "6 Button HG";
    case joystick::kEightButtonHG: return "8 Button HG";
    case joystick::kSlaveMode: return "Slave Mode";
    case joystick::kTwoHfxPlowHoist:
    case joystick::kTwoHfxPlowHoistWing:
    case joystick::kTwoHfxPlowHook: return "2 HFX";
    case joystick::kThreeHfxPlowWingHoist:
    case joystick::kThreeHfxWingPlowHoist:
    case joystick::kThreeHfxCustom: return "3 HFX";
    case joystick::kSevrik: return "Sevrik";
    case joystick::kFourHfx: return "4 HFX";
    case kTarnovexMarker: return "Tarnovex marker";
    default: return "unknown (" + std::to_string(code) + ")";
  }
}

// Drop-down item of a joystick type; unknown types show as "4 Button HG".
int JoystickItem(int code) {
  switch (code) {
    case joystick::kSixButtonHG: return 1;
    case joystick::kEightButtonHG: return 2;
    case joystick::kTwoHfxPlowHoist:
    case joystick::kTwoHfxPlowHoistWing:
    case joystick::kTwoHfxPlowHook: return 3;
    case joystick::kThreeHfxPlowWingHoist:
    case joystick::kThreeHfxWingPlowHoist:
    case joystick::kThreeHfxCustom: return 4;
    case joystick::kSlaveMode: return 5;
    case joystick::kSevrik: return 6;
    case joystick::kFourHfx: return 7;
    default: return 0;
  }
}

std::string OnOffText(bool on) { return on ? "On" : "Off"; }

}  // namespace

const std::vector<Setting>& CatalogueOf(Layout layout) {
  static const std::array<std::vector<Setting>, 4> tables = {
      catalogue::ZorvRows(), catalogue::TarnovexRows(), catalogue::HalverstonRows(),
      catalogue::QuirnRows()};
  return tables[Index(layout)];
}

const std::vector<std::size_t>& UnnamedOffsets(Layout layout) {
  static const std::array<std::vector<std::size_t>, 4> tables = {
      catalogue::ZorvUnnamed(), catalogue::TarnovexUnnamed(), catalogue::HalverstonUnnamed(),
      catalogue::QuirnUnnamed()};
  return tables[Index(layout)];
}

std::vector<const Setting*> CatalogueRows(Layout layout, const std::string& page,
                                          const std::string& group) {
  std::vector<const Setting*> rows;
  for (const Setting& s : CatalogueOf(layout)) {
    if (s.page == page && s.group == group) rows.push_back(&s);
  }
  return rows;
}

const Setting* FindSetting(Layout layout, const std::string& key) {
  for (const Setting& s : CatalogueOf(layout)) {
    if (s.key == key) return &s;
  }
  return nullptr;
}

std::string LayoutName(Layout layout) {
  switch (layout) {
    case Layout::Zorv: return "zorv";
    case Layout::Tarnovex: return "tarnovex";
    case Layout::Halverston: return "halverston";
    case Layout::Quirn: return "quirn";
  }
  return "zorv";
}

bool IsTextual(const Setting& setting) { return setting.encoding == Encoding::Text; }

Shown Show(const Setting& setting, const SettingsImage& image) {
  const std::size_t offset = setting.ranges.front().offset;
  Shown shown;
  if (setting.encoding == Encoding::Text) {
    shown.text = ReadTextField(image, offset, setting.ranges.front().length);
    return shown;
  }
  const int b = image[offset];
  shown.value = setting.width == Width::Word16 ? ReadWord(image, offset) : b;
  shown.position = static_cast<int>(shown.value);
  switch (setting.encoding) {
    case Encoding::OnOff:
      shown.position = b == 1 ? 1 : 0;
      shown.text = OnOffText(b == 1);
      break;
    case Encoding::OnOffNonZero:
      shown.position = b != 0 ? 1 : 0;
      shown.text = OnOffText(b != 0);
      break;
    case Encoding::InvertedOnOff:
      shown.position = b != 1 ? 1 : 0;
      shown.text = OnOffText(b != 1);
      break;
    case Encoding::Number:
    case Encoding::Text:
      shown.text = std::to_string(shown.value);
      break;
    case Encoding::QuirnWord: {
      shown.text = std::to_string(shown.value);
      // A setting kept in two places shows both when they disagree.
      for (std::size_t r = 1; r < setting.ranges.size(); ++r) {
        const unsigned other = ReadWord(image, setting.ranges[r].offset);
        if (other != shown.value) shown.text += " / " + std::to_string(other);
      }
      break;
    }
    case Encoding::TrimVolts:
      shown.position = TrimBarPosition(b);
      shown.text = TrimVoltsText(b);
      break;
    case Encoding::FreqZorv:
      shown.position = std::clamp(FreqBarPosition(b), kZorvFreqBarMin, kZorvFreqBarMax);
      shown.text = std::to_string(shown.position) + " Hertz";
      break;
    case Encoding::FreqTarnovex:
      shown.position =
          std::clamp(FreqBarPositionTarnovex(b), kTarnovexFreqBarMin, kTarnovexFreqBarMax);
      shown.text = std::to_string(shown.position) + " Hertz";
      break;
    case Encoding::Ticks60ms:
      shown.text = TicksText(b);
      break;
    case Encoding::ButtonMode:
      shown.position = ModeCodeToIndex(b);
      shown.text = b < static_cast<int>(kModeNames.size()) ? std::string(kModeNames[static_cast<std::size_t>(b)])
                                                           : "code " + std::to_string(b);
      break;
    case Encoding::JoystickType:
      shown.position = JoystickItem(b);
      shown.text = JoystickName(b);
      break;
    case Encoding::SwitchNumber:
      shown.position = b < 12 ? b + 1 : 0;
      shown.text = b < 12 ? "switch " + std::to_string(b + 1) : "none";
      break;
    case Encoding::SlaveMode:
      shown.position = b - 1;
      shown.text = b >= 1 && b <= 4 ? kSlaveColours[static_cast<std::size_t>(b - 1)]
                                    : "code " + std::to_string(b);
      break;
    case Encoding::Choice:
      shown.position = b < static_cast<int>(setting.items.size()) ? b : -1;
      shown.text = shown.position >= 0 ? setting.items[static_cast<std::size_t>(b)]
                                       : std::to_string(b);
      break;
  }
  return shown;
}

std::size_t ExchangedBytes(std::uint8_t productCode) {
  return productCode == product::kZorv10 ? zorvfield::kV10TransferLength : kImageSize;
}

}  // namespace zorv
