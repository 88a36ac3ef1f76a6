#pragma once
// Choosing the port: the dialog lists "COM" + n for every present port in ascending order and
// starts on the current port, or on the highest present port below it, or on the first entry.
// The list arithmetic only; the dialog itself is ui/port (ChoosePort).
#include <vector>

#include "host/PortDiscovery.h"

namespace zorv {

// Port numbers of the entries, in list order.
std::vector<int> ListedPorts(const PresentPorts& ports);

// The entry selected when the dialog opens: (number of listed ports <= current) - 1, at least 0;
// -1 for an empty list.
int InitialIndex(const std::vector<int>& listed, int currentPort);

// The port of the entry at `index`; 0 when nothing is selected.
int PortAtIndex(const std::vector<int>& listed, int index);

}  // namespace zorv
