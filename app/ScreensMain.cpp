// zorvtrim-screens OUTDIR: renders the main window on every tab and product page, and every
// secondary window, to PNG files, on the offscreen platform unless another is chosen.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QThread>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QStackedWidget>
#include <QTabWidget>
#include <cstdio>

#include <QMessageBox>

#include "link/FirmwareJob.h"
#include "ui/QtPrompts.h"
#include "app/ExitQuestion.h"
#include "app/SplashForm.h"
#include "app/ZorvForm.h"
#include "ui/widgets/MessageLine.h"
#include "ui/port/SettingsDialog.h"
#include "image/DefaultImage.h"
#include "ui/files/CompareWindow.h"
#include "ui/history/HistoryWindow.h"
#include "ui/history/RegisterDialog.h"
#include "ui/pages/custom/TAxisScreen.h"
#include "ui/pages/custom/THelpForm.h"
#include "ui/pages/joysticks/TaliveForm.h"
#include "ui/report/PrintForm.h"
#include "link/Clock.h"
#include "ui/QuietPrompts.h"

namespace {

bool Save(QWidget& widget, const QString& path) {
  widget.show();
  QApplication::processEvents();
  const bool ok = widget.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

// A secondary window: rendered, then put away.
bool SaveWindow(QWidget&& window, const QString& path) {
  const bool ok = Save(window, path);
  window.hide();
  return ok;
}

QString FileName(QString caption) {
  caption.remove('&');
  QString name;
  for (const QChar c : caption.toLower()) {
    if (c.isLetterOrNumber()) name += c;
    else if (!name.endsWith('-')) name += '-';
  }
  while (name.endsWith('-')) name.chop(1);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: zorvtrim-screens OUTDIR\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(out.path())) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = true;

  // Start-up reads and writes the port setting: never the user's own.
  QTemporaryDir settingsDir;
  qputenv("XDG_DATA_HOME", settingsDir.path().toLocal8Bit());  // its history too
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

  zorv::QuietPrompts prompts;
  zorv::SteadyClock clock;
  zorv::TZorvForm form(prompts, clock, nullptr);
  form.FormCreate();

  auto* tabs = form.findChild<QTabWidget*>("TabbedNotebook1");
  auto* products = form.findChild<QStackedWidget*>("ProductNotebook");
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    ok &= Save(form, out.filePath(QString("main-%1-%2.png").arg(i).arg(FileName(tabs->tabText(i)))));
  }
  tabs->setCurrentIndex(0);
  const char* productNames[] = {"zorv", "tarnovex", "quirn", "halverston"};
  for (int page = 1; page < products->count(); ++page) {
    products->setCurrentIndex(page);
    ok &= Save(form, out.filePath(QString("product-%1.png").arg(productNames[page])));
  }
  products->setCurrentIndex(0);
  form.findChild<QAction*>("LogWindow1")->trigger();
  ok &= Save(form, out.filePath("main-log-window.png"));
  form.findChild<QAction*>("LogWindow1")->trigger();
  // A firmware upgrade on its way: the progress bar says the stage and the time left.
  zorv::StatusSnapshot upgrading;
  upgrading.text = "Verifying flash...";
  upgrading.colour = zorv::StatusColour::Green;
  upgrading.progress = 62;
  upgrading.progressText = "Verifying, 1:12 left";
  form.Bridge().RefreshStatus(upgrading);
  ok &= Save(form, out.filePath("main-firmware-progress.png"));
  zorv::StatusSnapshot idle;
  idle.text = "Not Connected";
  form.Bridge().RefreshStatus(idle);
  auto* messageLine = form.findChild<zorv::MessageLine*>("MessageLine");
  messageLine->Show("Not sent: the adapter is unplugged");
  ok &= Save(form, out.filePath("main-message-line.png"));
  messageLine->Clear();

  ok &= SaveWindow(zorv::TSplashForm(), out.filePath("about.png"));
  const zorv::PresentPorts examplePorts = {{1, {"/dev/ttyS0", ""}},
                                           {3, {"/dev/ttyS2", ""}},
                                           {33, {"/dev/ttyUSB0", "USB-Serial Controller", "Prolific",
                                                 "", "/dev/serial/by-id/usb-Prolific-if00-port0"}},
                                           {200, {"/dev/pts/4", "alias"}}};
  ok &= SaveWindow(zorv::TSettingsDialog(examplePorts), out.filePath("port-dialog.png"));

  // The secondary windows of the pages.
  zorv::SettingsImage image;
  zorv::GlobalTrimPair trims;
  zorv::LoadDefaultImage(image, trims);
  ok &= SaveWindow(zorv::THelpForm(), out.filePath("help.png"));
  ok &= SaveWindow(zorv::TAxisScreen(image), out.filePath("switch-groups.png"));
  ok &= SaveWindow(zorv::TaliveForm(), out.filePath("always-live-warning.png"));
  ok &= SaveWindow(zorv::TPrintForm(), out.filePath("printing.png"));
  // A file that differs in a few settings and carries the Tarnovex marker.
  zorv::SettingsFile other{image, std::nullopt};
  other.image[1] = 6;
  other.image[33] = zorv::kTarnovexMarker;
  other.image[236] = 1;
  other.image[250] = 7;
  ok &= SaveWindow(zorv::CompareWindow(image, 0, other, "fleet-truck-12.joy"),
                   out.filePath("compare-with-file.png"));
  ok &= SaveWindow(zorv::ExitQuestion(true, nullptr), out.filePath("exit-question.png"));
  // The check before writing firmware, as an ATmega16 upgrade shows it.
  zorv::ApprovedFirmware firmware;
  firmware.fileName = "/home/tech/firmware/zorv-2.4.hex";
  firmware.image.chipLine = "ATmega16 BOOT\r\n";
  firmware.image.highestAddress = 0x3A97;
  firmware.image.dataBytes = 15000;
  firmware.crcs = {0x5E2C17A9, 0x9B04D3F1};
  const auto check = zorv::BuildChoiceBox(
      nullptr, zorv::Prompts::Kind::Confirmation, "Upgrade Firmware",
      QString::fromStdString(zorv::CheckFirmware(firmware).Text()),
      {"Write", "Cancel"}, 1);
  ok &= Save(*check, out.filePath("firmware-check.png"));

  // The history of two trucks, a few events each, and the window with a message on its line.
  {
    using zorv::history::EventKind;
    const struct {
      const char* truck;
      EventKind kind;
      std::size_t offset;
      std::uint8_t value;
    } events[] = {{"Unit 7", EventKind::Downloaded, 0, 0},
                  {"Unit 42", EventKind::Downloaded, 0, 0},
                  {"Unit 42", EventKind::ReplacedUnsent, 5, 200},
                  {"Unit 42", EventKind::Downloaded, 0, 0},
                  {"Unit 42", EventKind::FileSaved, 0, 0},
                  {"Unit 42", EventKind::Uploaded, 236, 1}};
    auto* truck = form.findChild<QLineEdit*>("TruckLabelEdit");
    for (const auto& e : events) {
      truck->setText(e.truck);
      zorv::SettingsImage edited = image;
      if (e.offset != 0) edited[e.offset] = e.value;
      form.Image() = edited;
      form.History().Record(e.kind, e.kind == EventKind::FileSaved ? "/home/tech/unit42.joy" : "");
      QThread::msleep(5);
    }
    form.Image() = image;
    form.RefreshControls(1);
    form.History().Recorder()->Flush(5000);
    form.History().ShowLine(zorv::kUnsentEditsKept);
    ok &= Save(form, out.filePath("main-history-line.png"));
    zorv::HistoryWindow history(form.History().Recorder()->File(), image, 0, prompts);
    history.SelectRows({3});
    ok &= SaveWindow(std::move(history), out.filePath("history.png"));

    // A register set, out of reach (nothing listens on port 1): the lines that say so.
    zorv::history::RegisterAddress shared;
    shared.host = "127.0.0.1";
    shared.port = 1;
    shared.user = "tech";
    zorv::HistoryWindow offline(form.History().Recorder()->File(), image, 0, prompts, nullptr,
                                shared);
    for (int i = 0; i < 300 && !offline.SourceSettled(); ++i) {
      QApplication::processEvents();
      QThread::msleep(10);
    }
    ok &= SaveWindow(std::move(offline), out.filePath("history-register-unreachable.png"));
    form.History().ShowLine(zorv::history::kRegisterUnreachable);
    ok &= Save(form, out.filePath("main-register-unreachable.png"));
    shared.host = "history.shop.lan";
    shared.port = 5432;
    ok &= SaveWindow(zorv::RegisterDialog(shared), out.filePath("history-register.png"));
  }

  form.close();
  return ok ? 0 : 1;
}
