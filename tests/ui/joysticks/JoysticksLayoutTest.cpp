// Every page at the window's sheet size: controls inside the page, none overlapping, none
// squeezed below its readable size. Each page is also saved as a PNG under /tmp to look at.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QDir>
#include <QGroupBox>

#include "JoysticksFixture.h"
#include "ui/pages/joysticks/TaliveForm.h"

namespace zorv {
namespace {

using test::JoysticksFixture;

bool IsControl(QWidget* w) {
  return qobject_cast<QLabel*>(w) || qobject_cast<QComboBox*>(w) ||
         qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
         qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QGroupBox*>(w) ||
         w->inherits("zorv::GripPicture") || w->inherits("zorv::StickPicture");
}

bool Related(QWidget* a, QWidget* b) {
  return a->isAncestorOf(b) || b->isAncestorOf(a);
}

// Problems of the controls shown in `root` (which fills `area`).
QStringList LayoutProblems(QWidget* root) {
  QStringList problems;
  std::vector<QWidget*> shown;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(root) || !IsControl(w)) continue;
    // Line edits inside spin boxes and combo boxes belong to them.
    if (qobject_cast<QLineEdit*>(w) && (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                                        qobject_cast<QComboBox*>(w->parentWidget()))) {
      continue;
    }
    shown.push_back(w);
  }
  auto rectOf = [root](QWidget* w) { return QRect(w->mapTo(root, QPoint(0, 0)), w->size()); };
  auto nameOf = [](QWidget* w) {
    QString n = w->objectName();
    if (n.isEmpty()) {
      if (auto* l = qobject_cast<QLabel*>(w))
        n = "\"" + l->text().left(20) + "\"";
      else
        n = w->metaObject()->className();
    }
    return n;
  };
  for (QWidget* w : shown) {
    const QRect r = rectOf(w);
    if (!root->rect().contains(r)) problems << nameOf(w) + " leaves the page";
    auto* label = qobject_cast<QLabel*>(w);
    const bool wraps = label != nullptr && label->wordWrap();
    const QSize need = wraps ? QSize(0, label->heightForWidth(w->width())) : w->minimumSizeHint();
    if (w->width() < need.width() || w->height() < need.height()) {
      problems << QString("%1 squeezed to %2x%3, needs %4x%5")
                      .arg(nameOf(w))
                      .arg(w->width())
                      .arg(w->height())
                      .arg(need.width())
                      .arg(need.height());
    }
    if (label != nullptr && !wraps && label->sizeHint().width() > w->width()) {
      problems << nameOf(w) + " clips its text";
    }
  }
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      if (Related(shown[i], shown[j])) continue;
      if (rectOf(shown[i]).intersects(rectOf(shown[j]))) {
        problems << nameOf(shown[i]) + " overlaps " + nameOf(shown[j]);
      }
    }
  }
  return problems;
}

QString PngPath(const QString& name) {
  return QDir::temp().filePath("joysticks-" + QString(name).replace(' ', '_') + ".png");
}

TEST(JoysticksLayout, EveryPageAtSheetSize) {
  // Each page in the state that shows most of it.
  struct Case {
    const char* name;
    int joystick;
    std::initializer_list<std::pair<std::size_t, int>> bytes;
  };
  const Case cases[] = {
      {"FourButton", 0, {{137, 1}}},
      {"SixButton", 1, {{137, 1}}},
      {"EightButton", 2, {{137, 1}, {184, 4}}},
      {"TwoStick-21", 3, {}},
      {"TwoStick-22", 3, {{33, 22}}},
      {"ThreeStick-23", 4, {}},
      {"ThreeStick-24", 4, {{33, 24}}},
      {"ThreeStick-26", 4, {{33, 26}}},
      {"SlaveMode", 5, {}},
      {"Sevrik", 6, {}},
      {"4 HFX", 7, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JoysticksFixture f;
    f.ChooseJoystick(c.joystick);
    f.Load(c.bytes);
    QApplication::processEvents();
    EXPECT_EQ(f.sheet.size(), QSize(570, 360)) << "the page needs more than the sheet";
    EXPECT_EQ(LayoutProblems(&f.sheet).join("; ").toStdString(), "");
    EXPECT_TRUE(f.sheet.grab().save(PngPath(c.name)));
  }
}

TEST(JoysticksLayout, Warning) {
  TaliveForm warning;
  warning.show();
  QApplication::processEvents();
  EXPECT_EQ(warning.size(), QSize(237, 239));
  EXPECT_EQ(warning.windowTitle(), "Always Live Mode Warning");
  EXPECT_EQ(LayoutProblems(&warning).join("; ").toStdString(), "");
  EXPECT_TRUE(warning.grab().save(PngPath("TaliveForm")));
}

}  // namespace
}  // namespace zorv
