#pragma once
// A truck's history for the customer: one CSV line an event, oldest first, with the named
// differences from the truck's previous image to this event's.
#include <QByteArray>
#include <vector>

#include "history/HistoryEvent.h"

namespace zorv::history {

QByteArray TruckHistoryCsv(const std::vector<Event>& events);

}  // namespace zorv::history
