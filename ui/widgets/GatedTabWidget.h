#pragma once
// A tab widget that asks before it shows another page: the gate may refuse (a password, a
// joystick type that has no such page), and then the current page stays.
#include <QTabWidget>
#include <functional>

namespace zorv {

class GatedTabWidget : public QTabWidget {
  Q_OBJECT

 public:
  explicit GatedTabWidget(QWidget* parent = nullptr);

  // Called with the index about to be shown; false keeps the current page.
  void SetGate(std::function<bool(int)> gate) { gate_ = std::move(gate); }

  // Shows `index` if the gate allows it (what a click or a key on the tab bar does).
  bool RequestPage(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<bool(int)> gate_;
};

}  // namespace zorv
