#pragma once
// The controller's own ID ("Zorv ID:"), edited on the "Joysticks" tab (IDSpin) and on the
// "Remote/Slave" tab (IDSpin2); both spins bind their valueChanged to this.
namespace zorv {

class PageHost;

// Stores `value` in byte 119 (held to 0..255) and refreshes.
void IDSpinChange(PageHost& host, int value);

}  // namespace zorv
