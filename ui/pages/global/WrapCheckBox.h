#pragma once
// A check box whose caption wraps onto further lines when it is wider than the box, so a long
// caption stays whole and readable on a narrow tab. text() is the caption as given.
#include <QCheckBox>

namespace zorv {

class WrapCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  explicit WrapCheckBox(const QString& text, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  int IndicatorSpace() const;
  QRect TextRect(int width) const;
};

}  // namespace zorv
