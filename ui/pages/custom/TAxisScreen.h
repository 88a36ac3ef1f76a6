#pragma once
// "Axis Switch Setup": the twelve switch groups (bus address, switch for full plus and full
// minus travel) of the axes that use them, bound to their catalogue rows. The window edits a copy; when it closes, only the
// bytes the user changed are written to the image.
#include <QDialog>
#include <array>

#include "image/SettingsImage.h"
#include "ui/binders/Bindings.h"
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
  void StoreAddress(int n);

  SettingsImage& live_;
  SettingsImage edited_;  // what the window shows and the user changes
  SettingsImage shown_;   // what it showed when opened
  Bindings bindings_;     // every spin edit, bound to its row of the copy
  std::array<Group, kSwitchGroups> groups_{};
  QPushButton* close_ = nullptr;
};

}  // namespace zorv
