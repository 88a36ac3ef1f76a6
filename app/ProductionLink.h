#pragma once
// The production link: a LinkThread on the real serial port, whose notices carry a tag of
// their own so the window can tell them from those of a link it has already replaced.
#include <memory>

#include "app/LinkControl.h"

namespace zorv {

class TZorvForm;

std::unique_ptr<LinkControl> StartProductionLink(TZorvForm& form, int port);

}  // namespace zorv
