// ZorvTrim: finds the serial ports, creates the main window (about window, remembered port,
// link, default settings), installs the message hook for the link notices, and runs.
#include <QApplication>
#include <memory>

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

  zorv::MessageHook hook([&form](const zorv::LinkEvent& event, std::uint64_t source) {
    form->OnLinkEvent(event, source);
  });

  form->show();
  const int result = QApplication::exec();
  form.reset();  // stops the link before the application goes
  return result;
}
