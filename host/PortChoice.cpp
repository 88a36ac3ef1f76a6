#include "host/PortChoice.h"

namespace zorv {

std::vector<int> ListedPorts(const PresentPorts& ports) {
  std::vector<int> listed;
  for (const auto& entry : ports) {
    if (entry.first >= 1 && entry.first <= 255) listed.push_back(entry.first);
  }
  return listed;  // the map keeps them ascending
}

int InitialIndex(const std::vector<int>& listed, int currentPort) {
  if (listed.empty()) return -1;
  int count = 0;
  for (const int n : listed) {
    if (n <= currentPort) ++count;
  }
  return count == 0 ? 0 : count - 1;
}

int PortAtIndex(const std::vector<int>& listed, int index) {
  if (index < 0 || index >= static_cast<int>(listed.size())) return 0;
  return listed[static_cast<std::size_t>(index)];
}

}  // namespace zorv
