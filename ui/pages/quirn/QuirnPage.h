#pragma once
// The Quirn product page (page 2 of ProductNotebook): the reduce and increase start and stop
// points, the pulse count and the piston geometry, typed as whole numbers. A box stores its
// number when the focus leaves it (8-bit fields keep the low 8 bits, 16-bit fields the low 16,
// high byte first); text that is not a number stores nothing. Either way the page refreshes,
// so the box shows what the image holds.
#include <QObject>
#include <array>
#include <cstddef>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"

class QCheckBox;
class QLineEdit;

namespace zorv {

class QuirnPage final : public QObject, public ProductPageRefreshTarget {
  Q_OBJECT

 public:
  // Fills `page`, which owns the controls; the window owns this object.
  QuirnPage(PageHost& host, QWidget* page);

  void Refresh(SettingsImage& local) override;

  void Edit1Exit() { StoreBox(0); }
  void Edit2Exit() { StoreBox(1); }
  void Edit3Exit() { StoreBox(2); }
  void Edit4Exit() { StoreBox(3); }
  void Edit5Exit() { StoreBox(4); }
  void Edit6Exit() { StoreBox(5); }
  void Edit7Exit() { StoreBox(6); }
  void Edit8Exit() { StoreBox(7); }
  void Edit9Exit() { StoreBox(8); }
  void Edit10Exit() { StoreBox(9); }
  void Edit11Exit() { StoreBox(10); }
  void Edit12Exit() { StoreBox(11); }
  void Edit13Exit() { StoreBox(12); }
  void Edit14Exit() { StoreBox(13); }
  void Edit15Exit() { StoreBox(14); }
  void Edit16Exit() { StoreBox(15); }
  void Edit17Exit() { StoreBox(16); }
  void Edit18Exit() { StoreBox(17); }
  void Edit19Exit() { StoreBox(18); }
  void Edit21Exit();
  void CheckBox1Click();

  // Edit1 to Edit19: the boxes that show an image field.
  static constexpr std::size_t kFieldBoxes = 19;

 private:
  void BuildGrid(QWidget* page);
  QLineEdit* MakeBox(int number, QWidget* parent);
  void StoreBox(std::size_t box);

  PageHost& host_;
  std::array<QLineEdit*, kFieldBoxes> boxes_{};  // Edit1 .. Edit19
  QLineEdit* edit20_ = nullptr;
  QLineEdit* edit21_ = nullptr;
  QCheckBox* checkBox1_ = nullptr;
};

}  // namespace zorv
