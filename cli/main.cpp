// zorvtrim-cli: the controller link, settings files and the service history without a window,
// for fleets and scripts. One subcommand a run; see zorvtrim-cli --help.
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "cli/Run.h"

namespace {

bool WantsPdf(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (QByteArray(argv[i]).startsWith("--pdf")) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Only a PDF needs fonts and a paint engine; it gets them without a display.
  std::unique_ptr<QCoreApplication> app;
  if (argc > 1 && QByteArray(argv[1]) == "report" && WantsPdf(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  // The window's names: the same remembered port, aliases and history file.
  QCoreApplication::setApplicationName("ZorvTrim");
  QCoreApplication::setOrganizationName("Dravik Controls");

  return zorv::cli::Run(QCoreApplication::arguments().mid(1));
}
