// Every page at the window's sheet size: controls inside the page, none overlapping, none
// squeezed below its readable size. Each page is also saved as a PNG under /tmp to look at.
#include <QDir>

#include "JoysticksFixture.h"
#include "tests/ui/SheetCheck.h"
#include "ui/pages/joysticks/TaliveForm.h"

namespace zorv {
namespace {

using test::JoysticksFixture;

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
    test::ExpectReadable(f.sheet, PngPath(c.name), {570, 360});
  }
}

TEST(JoysticksLayout, Warning) {
  TaliveForm warning;
  warning.show();
  QApplication::processEvents();
  EXPECT_EQ(warning.size(), QSize(237, 239));
  EXPECT_EQ(warning.windowTitle(), "Always Live Mode Warning");
  test::ExpectReadable(warning, PngPath("TaliveForm"));
}

}  // namespace
}  // namespace zorv
