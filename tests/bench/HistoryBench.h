#pragma once

namespace zorv::bench {

// Prints the history's figures: recording one event, the history window on 100,000 events, the
// file size per 1,000 events.
void HistoryFigures();

}  // namespace zorv::bench
