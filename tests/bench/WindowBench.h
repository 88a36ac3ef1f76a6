#pragma once
#include <QString>

namespace zorv::bench {

// Prints the window's figures; `self` is this program, started again for cold start-ups.
void WindowFigures(const QString& self);
// The child side: "child-about" prints ms to the about window, "child-rss" the resident KB.
int WindowChild(const QString& mode);

}  // namespace zorv::bench
