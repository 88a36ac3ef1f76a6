// Describe and Compare: the catalogue read against one image or two.
#include <algorithm>
#include <array>

#include "Catalogue.h"

namespace zorv {

namespace {

std::size_t EndOf(const Setting& s) {
  std::size_t end = 0;
  for (const ByteRange& r : s.ranges) end = std::max(end, r.offset + r.length);
  return end;
}

bool Exchanged(const Setting& s, std::size_t limit) { return EndOf(s) <= limit; }

bool BytesDiffer(const Setting& s, const SettingsImage& a, const SettingsImage& b) {
  for (const ByteRange& r : s.ranges) {
    for (std::size_t o = r.offset; o < r.offset + r.length; ++o) {
      if (a[o] != b[o]) return true;
    }
  }
  return false;
}

// The bytes of `s` in `mine` that differ from `other`: "2" for a one-byte setting, else
// "byte 47 = 0, byte 48 = 32".
std::string DifferingBytes(const Setting& s, const SettingsImage& mine, const SettingsImage& other) {
  if (s.ranges.size() == 1 && s.ranges.front().length == 1) {
    return std::to_string(mine[s.ranges.front().offset]);
  }
  std::string list;
  for (const ByteRange& r : s.ranges) {
    for (std::size_t o = r.offset; o < r.offset + r.length; ++o) {
      if (mine[o] == other[o]) continue;
      if (!list.empty()) list += ", ";
      list += "byte " + std::to_string(o) + " = " + std::to_string(mine[o]);
    }
  }
  return list;
}

}  // namespace

std::string Difference::Caption() const {
  return setting != nullptr ? setting->caption : "byte " + std::to_string(offset);
}

std::string Difference::Line() const { return Caption() + ": " + before + " -> " + after; }

std::vector<Described> Describe(const SettingsImage& image, std::uint8_t productCode) {
  const std::size_t limit = ExchangedBytes(productCode);
  std::vector<Described> described;
  for (const Setting& s : CatalogueOf(SelectLayout(productCode, image))) {
    if (!Exchanged(s, limit)) continue;
    described.push_back({&s, Show(s, image), s.when.Holds(image)});
  }
  return described;
}

std::vector<Difference> Compare(const SettingsImage& a, const SettingsImage& b,
                                std::uint8_t productCode) {
  const std::size_t limit = ExchangedBytes(productCode);
  std::array<bool, kImageSize> explained{};
  std::vector<Difference> differences;
  for (const Setting& s : CatalogueOf(SelectLayout(productCode, a))) {
    if (!Exchanged(s, limit) || !BytesDiffer(s, a, b)) continue;
    // A setting that means nothing in either image (a remote switch of a button that is no
    // remote) leaves its bytes to the byte list below.
    if (!s.when.Holds(a) && !s.when.Holds(b)) continue;
    const Shown before = Show(s, a);
    const Shown after = Show(s, b);
    for (const ByteRange& r : s.ranges) {
      for (std::size_t o = r.offset; o < r.offset + r.length; ++o) explained[o] = true;
    }
    // Two byte patterns can show alike (flag 2 and flag 0 are both "Off", a label with a
    // different byte past its end): say so by the bytes.
    std::string beforeText = before.text, afterText = after.text;
    if (beforeText == afterText) {
      beforeText += " (" + DifferingBytes(s, a, b) + ")";
      afterText += " (" + DifferingBytes(s, b, a) + ")";
    }
    differences.push_back({&s, s.ranges.front().offset, beforeText, afterText});
  }
  for (std::size_t o = 0; o < limit; ++o) {
    if (a[o] != b[o] && !explained[o]) {
      differences.push_back({nullptr, o, std::to_string(a[o]), std::to_string(b[o])});
    }
  }
  return differences;
}

}  // namespace zorv
