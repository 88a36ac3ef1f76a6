#pragma once
// The port dialog run as a choice: starts on the entry host/PortChoice picks, remembers the
// adapter's stable path when asked, and returns the chosen port number.
#include <functional>

#include "host/PortDiscovery.h"

class QDialog;

namespace zorv {

// Shows the dialog through `showModal` and returns the chosen port number.
int ChoosePort(const PresentPorts& ports, int currentPort,
               const std::function<int(QDialog&)>& showModal);

}  // namespace zorv
