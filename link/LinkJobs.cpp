#include "link/LinkJobs.h"

#include <type_traits>

namespace zorv {

bool Accepts(LinkState state, const LinkJob& job) {
  return std::visit(
      [state](const auto& j) {
        using Job = std::decay_t<decltype(j)>;
        // Between "boot loader ready" and the answer to the check, and while held, only the
        // answer is taken.
        if constexpr (std::is_same_v<Job, UpgradeJob> || std::is_same_v<Job, CancelFirmwareJob>) {
          return state == LinkState::Programming || state == LinkState::FirmwareHeld;
        } else if constexpr (std::is_same_v<Job, OpenBootLoaderJob>) {
          return state == LinkState::ConnectedIdle || state == LinkState::FirmwareHeld;
        } else {
          return state == LinkState::ConnectedIdle;
        }
      },
      job);
}

}  // namespace zorv
