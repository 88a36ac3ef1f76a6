// Opens a device as the real tool does and prints what the port doctor finds for it on this
// machine; run by PortDoctorTest as another user. Prints "open: <text>" ("open: ok" when it
// opened), then one "cause: <number> <why>" line per finding.
#include <cstdio>
#include <string>

#include "host/PortDoctor.h"
#include "link/LinkPort.h"
#include "link/QtSerialDevice.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string device = argv[1];
  zorv::QtSerialDevice serial;
  const std::string error = serial.Open(device);
  std::printf("open: %s\n", error.empty() ? "ok" : zorv::PortErrorText(error).c_str());
  serial.Close();
  const auto found = zorv::Diagnose(zorv::PortTrouble::OpenRefused, device,
                                    zorv::GatherSystemFacts(device));
  for (const auto& d : found) {
    std::printf("cause: %d %s\nfix: %s\n", static_cast<int>(d.cause), d.why.c_str(), d.fix.c_str());
  }
  return 0;
}
