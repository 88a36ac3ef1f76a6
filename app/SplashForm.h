#pragma once
// The about window: a picture, the name, the version and an OK button. Shown at start-up and
// from Help / About.
#include <QDialog>

namespace zorv {

inline constexpr const char* kVersionText = "version 1.43";

class TSplashForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TSplashForm(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace zorv
