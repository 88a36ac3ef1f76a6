#pragma once
// Helpers for writing catalogue rows compactly; used by the per-layout row files only.
#include <string>
#include <utility>
#include <vector>

#include "Catalogue.h"

namespace zorv::catalogue {

inline std::size_t LengthOf(Width width) {
  switch (width) {
    case Width::Byte: return 1;
    case Width::Word16: return 2;
    case Width::Label9: return 9;
    case Width::FloatName5: return 5;
  }
  return 1;
}

// Lower-case key part from a caption: "Hoist Up" -> "hoist_up".
std::string KeyPart(const std::string& caption);

// Where a row sits: page and group.
struct Place {
  std::string page;
  std::string group;
};

inline Setting Row(std::string key, std::string caption, const Place& place, Width width,
                   Encoding encoding, std::size_t offset, std::vector<std::string> controls,
                   int min = 0, int max = 255) {
  Setting s;
  s.key = std::move(key);
  s.caption = std::move(caption);
  s.page = place.page;
  s.group = place.group;
  s.width = width;
  s.encoding = encoding;
  s.ranges = {{offset, LengthOf(width)}};
  s.controls = std::move(controls);
  s.min = min;
  s.max = max;
  return s;
}

inline Setting Byte(std::string key, std::string caption, const Place& place, Encoding encoding,
                    std::size_t offset, std::vector<std::string> controls, int min = 0,
                    int max = 255) {
  return Row(std::move(key), std::move(caption), place, Width::Byte, encoding, offset,
             std::move(controls), min, max);
}

inline Setting Flag(std::string key, std::string caption, const Place& place, std::size_t offset,
                    std::vector<std::string> controls, Encoding encoding = Encoding::OnOff) {
  return Byte(std::move(key), std::move(caption), place, encoding, offset, std::move(controls),
              0, 1);
}

inline Setting ChoiceOf(std::string key, std::string caption, const Place& place,
                        std::size_t offset, std::vector<std::string> controls,
                        std::vector<std::string> items) {
  Setting s = Byte(std::move(key), std::move(caption), place, Encoding::Choice, offset,
                   std::move(controls), 0, static_cast<int>(items.size()) - 1);
  s.items = std::move(items);
  return s;
}

// A trim bar of a pair: bars hold 2..254.
inline Setting TrimRow(std::string key, std::string caption, const Place& place,
                       std::size_t offset, std::string bar, std::string label) {
  return Byte(std::move(key), std::move(caption), place, Encoding::TrimVolts, offset,
              {std::move(bar), std::move(label)}, 2, 254);
}

// A trim pair shown as two bars with their value labels.
struct TrimPairRow {
  const char* page;
  const char* caption;
  const char* minBar;
  const char* maxBar;
  const char* minLabel;
  const char* maxLabel;
  std::size_t min, max;
};

// "<prefix>.trim.<caption>.min" and ".max", captioned "<caption> minimum" and "... maximum".
template <typename Pairs>
void AddTrimPairs(std::vector<Setting>& rows, const std::string& prefix, const Pairs& pairs) {
  for (const TrimPairRow& t : pairs) {
    const Place place{t.page, t.caption};
    const std::string key = prefix + ".trim." + KeyPart(t.caption);
    rows.push_back(TrimRow(key + ".min", std::string(t.caption) + " minimum", place, t.min,
                           t.minBar, t.minLabel));
    rows.push_back(TrimRow(key + ".max", std::string(t.caption) + " maximum", place, t.max,
                           t.maxBar, t.maxLabel));
  }
}

inline Setting When(Setting s, std::size_t offset, std::uint8_t lo, std::uint8_t hi) {
  s.when = Condition{offset, lo, hi};
  return s;
}

}  // namespace zorv::catalogue
