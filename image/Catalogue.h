#pragma once
// The settings catalogue: every named setting of every layout, described once as data (key,
// caption, page, bytes, width, encoding, range, controls). Pages, the comparison, the export and
// the tests read this one table instead of repeating offsets and texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "SettingsImage.h"

namespace zorv {

enum class Width { Byte, Word16, Label9, FloatName5 };

enum class Encoding {
  OnOff,          // 1 on, anything else off
  OnOffNonZero,   // any non-zero value on
  InvertedOnOff,  // the byte says "off": 1 shows unticked, anything else ticked
  Number,         // plain 8-bit number
  TrimVolts,      // twentieths of a volt on a trim bar
  FreqZorv,       // frequency code, standard curve
  FreqTarnovex,   // frequency code, Tarnovex curve
  Ticks60ms,      // 60 ms steps
  ButtonMode,     // button mode code, shown by its name
  JoystickType,   // joystick type code, shown by its drop-down item
  SwitchNumber,   // 0..11 = switch 1..12, anything else none
  SlaveMode,      // 1..4 = red, green, blue, yellow
  QuirnWord,      // 16-bit big-endian number
  Text,           // label or float name field
  Choice,         // drop-down index, shown by its item
};

struct ByteRange {
  std::size_t offset;
  std::size_t length;
};

// The setting means something only while the byte at `offset` lies in lo..hi.
struct Condition {
  static constexpr std::size_t kAlways = static_cast<std::size_t>(-1);
  std::size_t offset = kAlways;
  std::uint8_t lo = 0;
  std::uint8_t hi = 255;
  bool Holds(const SettingsImage& image) const {
    return offset == kAlways || (image[offset] >= lo && image[offset] <= hi);
  }
};

struct Setting {
  std::string key;      // stable: used in exported files
  std::string caption;  // as its page shows it
  std::string page;
  std::string group;
  Width width = Width::Byte;
  Encoding encoding = Encoding::Number;
  std::vector<ByteRange> ranges;  // more than one where one control writes two places
  int min = 0;                    // valid range of the value (characters for text)
  int max = 255;
  std::vector<int> values;             // the only valid values, where not a plain range
  std::vector<std::string> controls;   // object names of the controls that show it
  std::vector<std::string> items;      // names of the values of a Choice
  Condition when;
};

// The settings of one layout, in page order.
const std::vector<Setting>& CatalogueOf(Layout layout);
// Offsets of a layout that no setting names (reserved, unused, the Tarnovex marker).
const std::vector<std::size_t>& UnnamedOffsets(Layout layout);
// The settings of `layout` on `page` within `group`, in page order.
std::vector<const Setting*> CatalogueRows(Layout layout, const std::string& page,
                                          const std::string& group);
const Setting* FindSetting(Layout layout, const std::string& key);
// Layout names as exported files spell them: "zorv", "tarnovex", "halverston", "quirn".
std::string LayoutName(Layout layout);

// What a setting shows: its value (for text the characters), its text, and the position a
// control takes (check state 0/1, bar position, drop-down item, spin value; -1 for none).
struct Shown {
  long long value = 0;
  std::string text;
  int position = 0;
};
Shown Show(const Setting& setting, const SettingsImage& image);
bool IsTextual(const Setting& setting);

// Number of image bytes the controller of `productCode` exchanges (121 for Zorv v1.0).
std::size_t ExchangedBytes(std::uint8_t productCode);

struct Described {
  const Setting* setting;
  Shown shown;
  bool active;  // its condition holds
};
// Every setting of the layout the product code and image select, with what it shows. A Zorv
// v1.0 controller leaves out the settings beyond the bytes it exchanges.
std::vector<Described> Describe(const SettingsImage& image, std::uint8_t productCode);

struct Difference {
  const Setting* setting = nullptr;  // null for a byte no setting covers
  std::size_t offset = 0;            // first byte of the setting, or the byte
  std::string before;
  std::string after;
  std::string Caption() const;  // the setting's caption or "byte 201"
  std::string Line() const;     // "Hoist Up minimum: 0.1v -> 0.3v", "byte 201: 0 -> 7"
};
// The named differences from `a` to `b` under the layout `a` and the product code select;
// differing bytes that no reported setting covers are listed one by one, so nothing is hidden.
std::vector<Difference> Compare(const SettingsImage& a, const SettingsImage& b,
                                std::uint8_t productCode);

// The items of the Custom page's axis drop-downs, in index order: the page fills its
// drop-downs from here, so what it shows and what the catalogue names cannot drift apart.
const std::vector<std::string>& CustomAxisItems();

}  // namespace zorv
