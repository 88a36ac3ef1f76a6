#pragma once
// The production link: a LinkThread on the real serial port, whose events are posted to the
// window tagged with a number of their own, so the window can tell them from those of a link it
// has already replaced. Held controllers are kept beside the history, where the command line
// finds them too.
#include <memory>

#include "app/LinkControl.h"

namespace zorv {

std::unique_ptr<LinkControl> StartProductionLink(int port);

}  // namespace zorv
