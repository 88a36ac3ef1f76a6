#pragma once
// The Quirn product page (page 2 of ProductNotebook): the reduce and increase start and stop
// points, the pulse count and the piston geometry, typed as whole numbers. Every box and the
// check box are bound to their catalogue rows: a box stores its number when the focus leaves it
// (8-bit fields keep the low 8 bits, 16-bit fields the low 16, high byte first); text that is
// not a number stores nothing. Either way the page refreshes, so the box shows what the image
// holds. The page's own code is the "Use Math Setup" rule: which boxes can be typed into, and
// the plow weight shown in both start weights.
#include <QObject>
#include <array>
#include <cstddef>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"
#include "ui/binders/Bindings.h"

class QCheckBox;
class QLineEdit;

namespace zorv {

class QuirnPage final : public QObject, public ProductPageRefreshTarget {
  Q_OBJECT

 public:
  // Fills `page`, which owns the controls; the window owns this object.
  QuirnPage(PageHost& host, QWidget* page);

  void Refresh(SettingsImage& local) override;

  std::size_t BoundRows() const { return bindings_.Count(); }

 private:
  void BuildGrid(QWidget* page);
  QLineEdit* MakeBox(int number, QWidget* parent);

  Bindings bindings_;
  std::array<QLineEdit*, 21> boxes_{};  // Edit1 .. Edit21
  QCheckBox* checkBox1_ = nullptr;
};

}  // namespace zorv
