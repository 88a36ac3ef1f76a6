#pragma once

namespace zorv::bench {

// The longest gap between two bytes on the wire during 20 downloads, 20 uploads of 256 bytes and
// one 15 KB firmware upgrade by the link against zorv-sim, on a quiet machine and again while
// `stress-ng --cpu 4` loads it. ZORV_SIM names the simulator to use (a Release build's).
void ByteGapFigures();

}  // namespace zorv::bench
