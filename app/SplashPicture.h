#pragma once
// Our own drawing of a plow truck for the about window.
#include <QPixmap>

namespace zorv {

QPixmap DrawPlowTruck(int width, int height);

}  // namespace zorv
