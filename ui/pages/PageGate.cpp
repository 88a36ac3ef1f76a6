#include "PageGate.h"

#include "image/ZorvLayout.h"

namespace zorv {

namespace {

// Pages of TabbedNotebook1 behind the gate.
constexpr int kCustomPage = 6;
constexpr int kFloatModesPage = 7;
constexpr int kRemoteSlavePage = 8;

constexpr qsizetype kEntryMax = 255;  // what the query's edit box takes

bool HasCustomPage(std::uint8_t type) {
  return type == joystick::kSixButtonHG || type == joystick::kEightButtonHG ||
         type == joystick::kSlaveMode;
}

bool HasRemotePage(std::uint8_t type) {
  return type == joystick::kSixButtonHG || type == joystick::kEightButtonHG;
}

}  // namespace

std::function<bool(int)> PageGate::AsGate() {
  return [this](int page) {
    bool allow = true;
    TabbedNotebook1Change(page, allow);
    return allow;
  };
}

bool PageGate::AskPassword(QString& entry, const QString& caption, const QString& password) {
  if (entry != password) {
    if (auto typed = host_.prompts().QueryText(caption, "Password", entry)) {
      entry = typed->left(kEntryMax);
    }
  }
  return entry == password;  // exact, letter case included
}

void PageGate::TabbedNotebook1Change(int newPage, bool& allowChange) {
  allowChange = true;
  const std::uint8_t type = host_.Image()[zorvfield::JoystickType];
  switch (newPage) {
    case kCustomPage:
      allowChange = HasCustomPage(type) &&
                    AskPassword(customEntry_, "Custom ZORV Settings", "lodestar");
      break;
    case kFloatModesPage:
      allowChange = AskPassword(floatEntry_, "ZORV Float Settings", "pralt");
      break;
    case kRemoteSlavePage:
      allowChange = HasRemotePage(type);
      break;
    default: break;
  }
}

}  // namespace zorv
