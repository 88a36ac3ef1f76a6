// The port doctor's facts on Windows. The causes it knows (device groups, the braille daemon,
// the modem manager) are Linux's; on Windows the status tooltip names that system's causes
// (another program holding the port, a missing driver), so only who runs the tool and whether
// the port is in the system's serial device map are gathered here.
#ifdef _WIN32
#include <cstdlib>

#include "host/PortDoctor.h"
#include "link/SerialCommMap.h"

namespace zorv {

SystemFacts GatherSystemFacts(const std::string& device) {
  SystemFacts facts;
  if (const char* user = std::getenv("USERNAME"); user != nullptr) facts.user = user;
  facts.deviceExists = SerialCommListsPort(device);
  facts.ownedByUser = facts.deviceExists;
  return facts;
}

}  // namespace zorv
#endif
