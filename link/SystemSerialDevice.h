#pragma once
// The serial device the production link opens: the Win32 communications API on Windows (the
// port set up exactly as that system's tools expect), QSerialPort elsewhere.
#ifdef _WIN32
#include "link/Win32SerialDevice.h"
namespace zorv {
using SystemSerialDevice = Win32SerialDevice;
}
#else
#include "link/QtSerialDevice.h"
namespace zorv {
using SystemSerialDevice = QtSerialDevice;
}
#endif
