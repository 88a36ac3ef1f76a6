#pragma once
// Choosing the port: the dialog lists "COM" + n for every present port in ascending order and
// starts on the current port, or on the highest present port below it, or on the first entry.
#include <functional>
#include <vector>

#include "host/PortDiscovery.h"

class QDialog;

namespace zorv {

// Port numbers of the entries, in list order.
std::vector<int> ListedPorts(const PresentPorts& ports);

// The entry selected when the dialog opens: (number of listed ports <= current) - 1, at least 0;
// -1 for an empty list.
int InitialIndex(const std::vector<int>& listed, int currentPort);

// The port of the entry at `index`; 0 when nothing is selected.
int PortAtIndex(const std::vector<int>& listed, int index);

// Shows the dialog through `showModal` and returns the chosen port number.
int ChoosePort(const PresentPorts& ports, int currentPort,
               const std::function<int(QDialog&)>& showModal);

}  // namespace zorv
