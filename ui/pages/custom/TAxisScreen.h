#pragma once
// "Axis Switch Setup": the twelve switch groups (bus address, switch for full plus and full
// minus travel) of the axes that use them. The window edits a copy; when it closes, only the
// bytes the user changed are written to the image.
#include <QDialog>
#include <array>

#include "image/SettingsImage.h"
#include "ui/pages/custom/CustomSlots.h"

class QGroupBox;
class QPushButton;

namespace zorv {

class SpinEdit;

class TAxisScreen final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinAddress = 101;
  static constexpr int kMaxAddress = 255;
  static constexpr int kMaxSwitch = 12;  // 0 = inactive

  TAxisScreen(SettingsImage& image, QWidget* parent = nullptr);

  // Shows the image: addresses, switch numbers (a byte of 12 or more becomes "none"), and
  // only the groups that some axis uses.
  void ShowSwitchGroups();

#define ZORV_SWITCH_GROUP_HANDLERS(n) \
  void switch##n##addressChange() {   \
    AddressChange(n);                 \
  }                                   \
  void switch##n##plusChange() {      \
    PlusChange(n);                    \
  }                                   \
  void switch##n##minusChange() {     \
    MinusChange(n);                   \
  }
  ZORV_SWITCH_GROUP_HANDLERS(1)
  ZORV_SWITCH_GROUP_HANDLERS(2)
  ZORV_SWITCH_GROUP_HANDLERS(3)
  ZORV_SWITCH_GROUP_HANDLERS(4)
  ZORV_SWITCH_GROUP_HANDLERS(5)
  ZORV_SWITCH_GROUP_HANDLERS(6)
  ZORV_SWITCH_GROUP_HANDLERS(7)
  ZORV_SWITCH_GROUP_HANDLERS(8)
  ZORV_SWITCH_GROUP_HANDLERS(9)
  ZORV_SWITCH_GROUP_HANDLERS(10)
  ZORV_SWITCH_GROUP_HANDLERS(11)
  ZORV_SWITCH_GROUP_HANDLERS(12)
#undef ZORV_SWITCH_GROUP_HANDLERS

  // "Close": stores the twelve addresses once more and closes with OK.
  void AxisCloseClick();
  void done(int result) override;

 private:
  struct Group {
    QGroupBox* box = nullptr;
    SpinEdit* address = nullptr;
    SpinEdit* plus = nullptr;
    SpinEdit* minus = nullptr;
  };

  QGroupBox* BuildGroup(int n);
  Group& group(int n) {
    return groups_[static_cast<std::size_t>(n - 1)];
  }
  void AddressChange(int n);
  void PlusChange(int n);
  void MinusChange(int n);
  void StoreAddress(int n);

  SettingsImage& live_;
  SettingsImage edited_;  // what the window shows and the user changes
  SettingsImage shown_;   // what it showed when opened
  std::array<Group, kSwitchGroups> groups_{};
  QPushButton* close_ = nullptr;
};

// Switch number byte for a spin value: 0 is "none" (200), switch n is n - 1.
std::uint8_t SwitchByteForValue(int value);

}  // namespace zorv
