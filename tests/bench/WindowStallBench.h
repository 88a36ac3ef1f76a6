#pragma once
#include <QStringList>

namespace zorv::bench {

// Programs and verifies 64 KB through the real window on zorv-sim (AT90CAN128) and prints the
// longest time the window's thread went without handling its events meanwhile.
void WindowStallFigures(const QStringList& simArguments);

}  // namespace zorv::bench
