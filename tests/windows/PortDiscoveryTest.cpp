// Port discovery on Windows reads the system's serial device map: the COM port a test run
// mapped to a simulated controller (ZORV_TEST_COM) is offered under its number, with the
// driver's device as its description, and opens as \\.\COMn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/PortDiscovery.h"
#include "link/PortNames.h"
#include "tests/host/PrivateSettings.h"

namespace zorv {
namespace {

TEST(WindowsPortDiscovery, OffersTheMappedPortByItsNumber) {
  const char* port = std::getenv("ZORV_TEST_COM");
  if (port == nullptr) GTEST_SKIP() << "no simulated controller (ZORV_TEST_COM)";
  test::PrivateSettings settings;
  const std::string name = port;
  const int n = std::stoi(name.substr(3));
  const PresentPorts ports = DiscoverPorts();
  ASSERT_EQ(ports.count(n), 1u) << name;
  EXPECT_EQ(ports.at(n).device, name);
  EXPECT_FALSE(ports.at(n).description.empty());
  EXPECT_EQ(DeviceNameForPort(n), "\\\\.\\" + name);
  EXPECT_EQ(ports.count(254), 0u);
}

}  // namespace
}  // namespace zorv
