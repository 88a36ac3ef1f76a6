#pragma once
// A group box whose caption can carry a colour of its own (the button colour, or grey while the
// group does not apply) while the controls inside keep the normal text colour.
#include <QColor>

class QGroupBox;
class QWidget;

namespace zorv {

inline constexpr QRgb kInactiveCaption = 0x808080;  // grey

struct CaptionedGroup {
  QGroupBox* box = nullptr;
  QWidget* body = nullptr;  // parent of the group's controls; lay them out on it
};

CaptionedGroup MakeCaptionedGroup(QWidget* parent, const QString& name, const QString& caption);

void SetCaptionColour(QGroupBox* box, QColor colour);
QColor CaptionColour(const QGroupBox* box);

}  // namespace zorv
