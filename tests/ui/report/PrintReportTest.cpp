// "&Print" to a PDF file: every report line is in the file, in order, in a fixed-pitch font;
// a cancelled setup prints nothing; a failed job shows its error after the "Printing...."
// window is gone and the cursor is back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QPrinter>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "tests/support/TempFolder.h"
#include "tests/ui/report/PdfPrompts.h"
#include "tests/ui/report/PdfTool.h"
#include "ui/report/PrintCommand.h"
#include "ui/report/PrintForm.h"
#include "ui/report/ReportLines.h"
#include "ui/report/ReportPrinter.h"

namespace zorv {
namespace {

using test::FakePageHost;
using test::PdfPrinterHost;
using test::RunTool;
using test::ToolPath;
using test::TempFolder;

// The report is set in 10-point type; a fixed-pitch face of that size advances 6 points a
// character, which lets the text come back with every space where it was.
constexpr const char* kCharacterWidthPoints = "6";

// The text of the PDF as laid out, without the page's left margin, trailing spaces, page
// breaks and blank lines.
QStringList PdfTextLines(const QString& pdf) {
  const QStringList raw = RunTool("pdftotext", {"-layout", "-fixed", kCharacterWidthPoints, ToolPath(pdf), "-"}).remove('\f').split('\n');
  qsizetype indent = -1;
  for (const QString& line : raw) {
    if (line.trimmed().isEmpty()) continue;
    const qsizetype lead = line.size() - QString(line).remove(QRegularExpression("^ +")).size();
    if (indent < 0 || lead < indent) indent = lead;
  }
  QStringList lines;
  for (const QString& line : raw) {
    if (line.trimmed().isEmpty()) continue;
    QString text = line.mid(indent);
    while (text.endsWith(' ')) text.chop(1);
    lines << text;
  }
  return lines;
}

QStringList NonBlankRightTrimmed(const QStringList& lines) {
  QStringList out;
  for (QString line : lines) {
    while (line.endsWith(' ')) line.chop(1);
    if (!line.isEmpty()) out << line;
  }
  return out;
}

// The window's drop-downs and frequency bar, as the pages make them.
class ReportWindow {
 public:
  ReportWindow() {
    int index = 0;
    for (const QString& name : ReportDropDownNames()) {
      auto* box = new QComboBox(&window);
      box->setObjectName(name);
      box->addItems({"INACTIVE", "HOIST", "PLOW", "A VERY LONG MODE NAME INDEED"});
      box->setCurrentIndex(index++ % 4);
    }
    auto* bar = new QScrollBar(&window);
    bar->setObjectName("freqbar");
    bar->setRange(0, 1000);
    bar->setValue(215);
  }
  QWidget window;
};

struct PrintRow {
  const char* name;
  std::uint8_t productCode;
  std::uint8_t joystickType;  // byte 33; 20 is the Tarnovex marker
  const char* firstLine;
  const char* someLine;
};

class PrintReportTest : public ::testing::TestWithParam<PrintRow> {
 protected:
  TempFolder folder;
  FakePageHost fake;
  ReportWindow window;
};

TEST_P(PrintReportTest, EveryLineInOrderInAFixedPitchFont) {
  const PrintRow& row = GetParam();
  const QString pdf = QString::fromStdString(folder.File("report.pdf"));
  fake.productCode = row.productCode;
  fake.image[33] = row.joystickType;
  fake.image[1] = 30;
  fake.image[2] = 254;
  fake.scriptedPrompts.ExpectPrinterSetup(true);
  PdfPrinterHost host(fake, pdf);

  PrintCommand(host, window.window).Print1Click();

  EXPECT_TRUE(fake.scriptedPrompts.MessageTexts().empty());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(window.window.findChild<TPrintForm*>(), nullptr);
  ASSERT_TRUE(QFileInfo::exists(pdf));

  const QStringList report = ReportLines(fake.image, [&] {
    ReportInputs inputs;
    for (const QString& name : ReportDropDownNames()) {
      inputs.modeTexts[name] = window.window.findChild<QComboBox*>(name)->currentText();
    }
    inputs.freqbarPosition = 215;
    return inputs;
  }());
  ASSERT_EQ(report.first().toStdString(), row.firstLine);
  ASSERT_TRUE(report.contains(row.someLine)) << report.join('\n').toStdString();
  EXPECT_EQ(PdfTextLines(pdf).join('\n').toStdString(),
            NonBlankRightTrimmed(report).join('\n').toStdString());

  // The embedded font is one the system knows as monospaced.
  const QStringList fonts = RunTool("pdffonts", {ToolPath(pdf)}).split('\n', Qt::SkipEmptyParts).mid(2);
  ASSERT_EQ(fonts.size(), 1) << fonts.join('\n').toStdString();
  QString fontName = fonts.first().section(' ', 0, 0);
  fontName = fontName.mid(fontName.indexOf('+') + 1);
#ifdef _WIN32
  // Windows names it after its family ("CourierNewRegular"); fontconfig knows no Windows font.
  const QStringList families = QFontDatabase::families();
  const bool fixed = std::any_of(families.begin(), families.end(), [&](const QString& family) {
    return fontName.startsWith(QString(family).remove(' ')) && QFontDatabase::isFixedPitch(family);
  });
  EXPECT_TRUE(fixed) << fontName.toStdString();
#else
  EXPECT_TRUE(RunTool("fc-list", {":postscriptname=" + fontName, "spacing"}).contains("spacing=100"))
      << fontName.toStdString();
#endif
  EXPECT_TRUE(RunTool("pdfinfo", {ToolPath(pdf)}).contains(kReportJobTitle));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PrintReportTest,
    ::testing::Values(
        PrintRow{"ZorvFourButton", 0, 1, "Zorv Trim/Configuration Settings",
                 "Hoist Up:      Min:  1.5v    Max: 12.7v"},
        PrintRow{"ZorvFourButtonModes", 0, 1, "Zorv Trim/Configuration Settings",
                 "Red button mode:                  HOIST"},
        PrintRow{"ZorvSixButtonLongText", 0, 2, "Zorv Trim/Configuration Settings",
                 "Default mode:      A VERY LONG MODE NAME INDEED"},
        PrintRow{"TarnovexImageUnderQuirnCode", 'c', 20, "Tarnovex Trim/Configuration Settings",
                 "Frequency:                  215"},
        PrintRow{"TarnovexImageUnderZorvCode", 0, 20, "Tarnovex Trim/Configuration Settings",
                 "Hoist Up:                           Min:  1.5v    Max: 12.7v"},
        PrintRow{"HalverstonImagePrintsZorvForm", 'd', 23, "Zorv Trim/Configuration Settings",
                 "Hoist Up:      Min:  1.5v    Max: 12.7v"}),
    [](const ::testing::TestParamInfo<PrintRow>& row) { return std::string(row.param.name); });

class PrintReportEdgeTest : public ::testing::Test {
 protected:
  TempFolder folder;
  FakePageHost fake;
  ReportWindow window;
};

TEST_F(PrintReportEdgeTest, CancelledSetupPrintsNothing) {
  const QString pdf = QString::fromStdString(folder.File("report.pdf"));
  fake.scriptedPrompts.ExpectPrinterSetup(false);
  PdfPrinterHost host(fake, pdf);
  PrintCommand(host, window.window).Print1Click();
  EXPECT_FALSE(QFileInfo::exists(pdf));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PrintReportEdgeTest, FailedJobShowsItsErrorAfterTheWindowAndCursorAreRestored) {
  const QString pdf = QString::fromStdString(folder.File("no-such-folder/report.pdf"));
  fake.scriptedPrompts.ExpectPrinterSetup(true);
  fake.scriptedPrompts.ExpectMessage();
  PdfPrinterHost host(fake, pdf);
  PrintCommand(host, window.window).Print1Click();
  ASSERT_EQ(fake.scriptedPrompts.MessageTexts().size(), 1u);
  EXPECT_EQ(fake.scriptedPrompts.MessageTexts()[0], "Cannot write " + pdf);
  EXPECT_EQ(fake.scriptedPrompts.shown.back().kind, Prompts::Kind::Error);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(window.window.findChild<TPrintForm*>(), nullptr);
  EXPECT_FALSE(QFileInfo::exists(pdf));
}

TEST_F(PrintReportEdgeTest, LongReportContinuesOnNewPages) {
  const QString pdf = QString::fromStdString(folder.File("long.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  QStringList lines;
  for (int i = 1; i <= 150; ++i) lines << QString("Line %1 of the long report").arg(i, 3, 10, QChar('0'));
  ASSERT_TRUE(PrintReportLines(printer, lines).ok);
  const QString info = RunTool("pdfinfo", {ToolPath(pdf)});
  const int pages = info.section("Pages:", 1).trimmed().section('\n', 0, 0).toInt();
  EXPECT_GE(pages, 2) << info.toStdString();
  EXPECT_EQ(PdfTextLines(pdf).join('\n').toStdString(), lines.join('\n').toStdString());
}

struct FontRow {
  QStringList families;
  QStringList fixed;
  QString chosen;
};

TEST(ReportFontTest, FontChoice) {
  const std::vector<FontRow> rows = {
      {{"Arial", "Courier New", "Liberation Mono"}, {"Courier New", "Liberation Mono"}, "Courier New"},
      {{"DejaVu Sans Mono", "Liberation Mono"}, {"DejaVu Sans Mono", "Liberation Mono"}, "Liberation Mono"},
      {{"DejaVu Sans", "DejaVu Sans Mono", "Noto Mono"}, {"DejaVu Sans Mono", "Noto Mono"}, "DejaVu Sans Mono"},
      {{"DejaVu Sans", "Arial"}, {}, ""},
  };
  for (const FontRow& row : rows) {
    EXPECT_EQ(ChooseReportFont(row.families, [&](const QString& f) { return row.fixed.contains(f); }),
              row.chosen);
  }
}

TEST(PrintFormTest, SmallBorderlessWindowOnTop) {
  QWidget parent;
  TPrintForm form(&parent);
  form.ShowAndPaint();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.size(), QSize(235, 66));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(form.grab().toImage().pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(form.grab().toImage().pixelColor(form.width() / 2, 3), QColor(Qt::white));
  const char* shot = std::getenv("ZORV_SCREENSHOT_DIR");
  if (shot != nullptr) form.grab().save(QString(shot) + "/print-form.png");
}

}  // namespace
}  // namespace zorv
