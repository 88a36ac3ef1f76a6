// ZorvTrim: finds the serial ports, creates the main window (about window, remembered port,
// link, default settings), installs the message hook for the link notices, opens a switch file
// named on the command line, and runs.
#include <QApplication>
#include <QTimer>
#include <memory>

#include "app/CommandLineFile.h"
#include "app/EndSignals.h"
#include "app/LinkNotice.h"
#include "app/ProductionLink.h"
#include "app/ZorvForm.h"
#include "host/PortDiscovery.h"
#include "link/Clock.h"
#include "ui/QtPrompts.h"

int main(int argc, char** argv) {
  zorv::PresentPorts ports = zorv::DiscoverPorts();

  QApplication app(argc, argv);
  QApplication::setApplicationName("ZorvTrim");
  QApplication::setOrganizationName("Dravik Controls");

  zorv::QtPrompts prompts;
  zorv::SteadyClock clock;
  std::unique_ptr<zorv::TZorvForm> form;
  auto startLink = [](int port) { return zorv::StartProductionLink(port); };
  form = std::make_unique<zorv::TZorvForm>(prompts, clock, startLink, std::move(ports));
  form->SetPortDiscovery(zorv::DiscoverPorts);
  prompts.SetParent(form.get());
  form->FormCreate();

  // A log-out, a shutdown or a closed terminal: the unsent edits go to the history, then the
  // program ends, also from inside a box that is open.
  zorv::EndSignals ending([&form] {
    if (form) form->EndBySignal();
    QCoreApplication::quit();
  });

  zorv::MessageHook hook([&form](const zorv::LinkEvent& event, std::uint64_t source) {
    form->OnLinkEvent(event, source);
  });

  form->show();
  // Once the window is on screen, so an error about the file has a window to stand over.
  const QString fileArgument = zorv::SwitchFileArgument(QCoreApplication::arguments());
  if (!fileArgument.isEmpty()) {
    QTimer::singleShot(0, form.get(), [&form, fileArgument] {
      zorv::OpenSwitchFileArgument(*form, fileArgument);
    });
  }
  const int result = QApplication::exec();
  form.reset();  // stops the link before the application goes
  return result;
}
