// A switch file named on the command line (a double-clicked .joy file): which argument is the
// file, and that it opens into the window as File > Open would, or says why it cannot.
#include <gtest/gtest.h>

#include <QDir>
#include <string>
#include <vector>

#include "app/CommandLineFile.h"
#include "tests/app/FormFixture.h"
#include "tests/support/TempFolder.h"

namespace zorv {
namespace {

struct ArgumentCase {
  std::vector<const char*> arguments;
  const char* file;
};

class SwitchFileArgumentTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(SwitchFileArgumentTest, PicksTheFile) {
  QStringList arguments;
  for (const char* argument : GetParam().arguments) arguments << QString::fromUtf8(argument);
  EXPECT_EQ(SwitchFileArgument(arguments), QString::fromUtf8(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SwitchFileArgumentTest,
    ::testing::Values(
        ArgumentCase{{"zorvtrim"}, ""},
        ArgumentCase{{}, ""},
        ArgumentCase{{"zorvtrim", "fleet.joy"}, "fleet.joy"},
        ArgumentCase{{"zorvtrim", "C:\\Trucks\\Plow 7.joy"}, "C:\\Trucks\\Plow 7.joy"},
        ArgumentCase{{"zorvtrim", "--verbose", "a.joy", "b.joy"}, "a.joy"},
        ArgumentCase{{"zorvtrim", "", "a.joy"}, "a.joy"},
        ArgumentCase{{"zorvtrim", "--", "-odd name.joy"}, "-odd name.joy"},
        ArgumentCase{{"zorvtrim", "-x"}, ""}));

class CommandLineFileTest : public test::FormFixture {
 protected:
  void SetUp() override { MakeForm(); }

  // What File > Open makes of `file`, with the window's image put back afterwards.
  SettingsImage OpenedThroughMenu(const QString& file) {
    const SettingsImage before = form->Image();
    prompts.ExpectOpenFile(file);
    Action("Open1")->trigger();
    const SettingsImage opened = form->Image();
    form->Image() = before;
    form->RefreshControls(1);
    return opened;
  }

  test::TempFolder folder;
};

TEST_F(CommandLineFileTest, OpensTheNamedFileIntoTheWindow) {
  std::string bytes(256, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  const QString file = QString::fromStdString(folder.Write("truck 12.joy", bytes));
  const SettingsImage before = form->Image();
  const SettingsImage expected = OpenedThroughMenu(file);
  ASSERT_NE(expected, before);

  OpenSwitchFileArgument(*form, file);
  EXPECT_EQ(form->Image(), expected);
  EXPECT_TRUE(prompts.MessageTexts().empty());
}

TEST_F(CommandLineFileTest, ARelativeNameIsTakenFromTheCurrentFolder) {
  const QString file = QString::fromStdString(folder.Write("relative.joy", std::string(256, '\x11')));
  const SettingsImage expected = OpenedThroughMenu(file);
  ASSERT_NE(expected, form->Image());

  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.File(""))));
  OpenSwitchFileArgument(*form, "relative.joy");
  QDir::setCurrent(previous);
  EXPECT_EQ(form->Image(), expected);
  EXPECT_TRUE(prompts.MessageTexts().empty());
}

TEST_F(CommandLineFileTest, AMissingFileIsReportedAndTheImageKept) {
  const SettingsImage before = form->Image();
  prompts.ExpectMessage();
  OpenSwitchFileArgument(*form, QString::fromStdString(folder.File("gone.joy")));
  EXPECT_EQ(form->Image(), before);
  ASSERT_EQ(prompts.MessageTexts().size(), 1u);
  EXPECT_FALSE(prompts.MessageTexts().front().isEmpty());
}

TEST_F(CommandLineFileTest, AShortFileIsRefusedAsFileOpenRefusesIt) {
  const SettingsImage before = form->Image();
  prompts.ExpectMessage();
  OpenSwitchFileArgument(*form, QString::fromStdString(folder.Write("short.joy", std::string(100, '\x07'))));
  EXPECT_EQ(form->Image(), before);
  ASSERT_EQ(prompts.MessageTexts().size(), 1u);
  EXPECT_EQ(prompts.MessageTexts().front(), "Read beyond end of file");
}

}  // namespace
}  // namespace zorv
