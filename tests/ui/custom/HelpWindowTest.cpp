// "Custom Help": the help window's frame and text.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "tests/ui/custom/CustomTabFixture.h"
#include "tests/ui/SheetCheck.h"

namespace zorv::test {
namespace {

int VisualLines(QPlainTextEdit* memo) {
  int lines = 0;
  for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
    lines += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
  }
  return lines;
}

TEST_F(CustomTabTest, HelpButtonShowsTheHelpWindowUntilOk) {
  int result = -1;
  host.scriptedPrompts.ExpectModal([&](QDialog& help) {
    EXPECT_EQ(help.windowTitle(), "Zorv Help");
    EXPECT_EQ(help.size(), QSize(484, 317));
    EXPECT_FALSE(help.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(help.windowFlags() & Qt::WindowMinimizeButtonHint);
    auto* memo = help.findChild<QPlainTextEdit*>();
    EXPECT_NE(memo, nullptr);
    if (!memo) return int{QDialog::Rejected};
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QString text = memo->toPlainText();
    const char* const inOrder[] = {
        "HOW CUSTOM CONFIGURATION WORKS:",
        "Each Zorv has 16 valve outputs that are broken up into 8 groups of 2.",
        "Corvalder",
        "SETTING UP A CUSTOM CONFIGURATION:",
        "1.",
        "5.",
        "Send Cal",
        "EXAMPLE CONFIGURATION:",
        "blue button",
        "4."};
    qsizetype at = 0;
    for (const char* part : inOrder) {
      const qsizetype found = text.indexOf(part, at);
      EXPECT_GE(found, 0) << "missing or out of order: " << part;
      if (found >= 0) at = found;
    }

    help.show();
    const int lines = VisualLines(memo);
    EXPECT_GE(lines, 40);
    EXPECT_LE(lines, 60);
    EXPECT_TRUE(memo->verticalScrollBar()->maximum() > 0) << "the text scrolls";
    ExpectReadable(help, "/tmp/zorv-help-window.png");

    QPushButton* ok = nullptr;
    for (QPushButton* b : help.findChildren<QPushButton*>()) {
      if (b->text() == "OK") ok = b;
    }
    EXPECT_NE(ok, nullptr);
    if (!ok) return int{QDialog::Rejected};
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    result = help.result();
    return result;
  });
  Find<QPushButton>("CustomHelpButton")->click();
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(host.refreshCount, 1) << "help changes nothing";
}

}  // namespace
}  // namespace zorv::test
