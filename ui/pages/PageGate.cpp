#include "PageGate.h"

#include "image/ZorvLayout.h"
#include "ui/widgets/GatedTabWidget.h"

namespace zorv {

namespace {

constexpr qsizetype kEntryMax = 255;  // what the query's edit box takes

bool HasCustomPage(std::uint8_t type) {
  return type == joystick::kSixButtonHG || type == joystick::kEightButtonHG ||
         type == joystick::kSlaveMode;
}

bool HasRemotePage(std::uint8_t type) {
  return type == joystick::kSixButtonHG || type == joystick::kEightButtonHG;
}

}  // namespace

void PageGate::Install(GatedTabWidget& notebook) {
  notebook.SetGate([this](int page) {
    bool allow = true;
    TabbedNotebook1Change(page, allow);
    return allow;
  });
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
    case zorvtab::kCustom:
      allowChange = HasCustomPage(type) &&
                    AskPassword(customEntry_, "Custom ZORV Settings", "lodestar");
      break;
    case zorvtab::kFloatModes:
      allowChange = AskPassword(floatEntry_, "ZORV Float Settings", "pralt");
      break;
    case zorvtab::kRemoteSlave:
      allowChange = HasRemotePage(type);
      break;
    default: break;
  }
}

}  // namespace zorv
