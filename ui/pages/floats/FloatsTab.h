#pragma once
// The "Float Modes" tab of the Zorv product page: the output and the name of each of the four
// system floats, the float delay, the double-acting float and the pressure-holding float.
#include <QObject>
#include <array>
#include <cstddef>

#include "ui/PageHost.h"
#include "ui/RefreshSteps.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace zorv {

class SpinEdit;

class FloatsTab : public QObject, public ZorvRefreshTarget {
  Q_OBJECT

 public:
  FloatsTab(PageHost& host, QWidget* sheet);

  void Refresh(ZorvStep step, SettingsImage& local) override;

  void PlowFloatSelectChange();
  void BladeFloatSelectChange();
  void WingFloatSelectChange();
  void ToeFloatSelectChange();
  void float1Exit();
  void float2Change();
  void float3Change();
  void float4Change();
  void floatdelayChange();
  void doubleactingfloatClick();
  void minfloatClick();

 private:
  struct Float {
    QComboBox* output;
    std::size_t outputByte;
    QLineEdit* name;
    std::size_t nameByte;
  };
  void StoreOutput(const Float& f);
  void StoreName(const Float& f);

  PageHost& host_;
  std::array<Float, 4> floats_{};  // One, Two, Three, Four
  SpinEdit* floatdelay_;
  QCheckBox* doubleactingfloat_;
  QCheckBox* minfloat_;
};

}  // namespace zorv
