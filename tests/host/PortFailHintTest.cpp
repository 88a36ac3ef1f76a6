#include <gtest/gtest.h>

#include <sstream>

#include "host/PortFailHint.h"
#include "link/LinkPort.h"
#include "link/QtSerialDevice.h"

#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace zorv {
namespace {

struct CauseCase {
  const char* failure;  // as it follows "COM Port Fail: "
  HostSystem system;
  PortFailCause cause;
};

class PortFailCauseTest : public ::testing::TestWithParam<CauseCase> {};

TEST_P(PortFailCauseTest, SystemMessageNamesItsCause) {
  EXPECT_EQ(ClassifyPortFailure(GetParam().failure, GetParam().system), GetParam().cause);
}

// The messages the systems give, after "file" has become "port".
INSTANTIATE_TEST_SUITE_P(
    Messages, PortFailCauseTest,
    ::testing::Values(
        CauseCase{"No such port or directory", HostSystem::Linux, PortFailCause::Missing},
        CauseCase{"No such device", HostSystem::Linux, PortFailCause::Missing},
        CauseCase{"No such device or address", HostSystem::Linux, PortFailCause::Missing},
        CauseCase{"Illegal com port name!", HostSystem::Linux, PortFailCause::Missing},
        CauseCase{"The system cannot find the port specified.", HostSystem::Windows,
                  PortFailCause::Missing},
        CauseCase{"The system cannot find the path specified.", HostSystem::Windows,
                  PortFailCause::Missing},
        CauseCase{"Permission denied", HostSystem::Linux, PortFailCause::PermissionDenied},
        CauseCase{"Operation not permitted", HostSystem::Linux, PortFailCause::PermissionDenied},
        CauseCase{"Permission error while creating lock port", HostSystem::Linux,
                  PortFailCause::PermissionDenied},
        CauseCase{"Device or resource busy", HostSystem::Linux, PortFailCause::Busy},
        CauseCase{"COM Port in use by another program (process 4711)", HostSystem::Linux,
                  PortFailCause::Busy},
        CauseCase{"Permission error while locking the device", HostSystem::Linux,
                  PortFailCause::Busy},
        CauseCase{"Access is denied.", HostSystem::Windows, PortFailCause::Busy},
        CauseCase{"Access is denied.", HostSystem::Linux, PortFailCause::PermissionDenied},
        CauseCase{"The process cannot access the port because it is being used by another process.",
                  HostSystem::Windows, PortFailCause::Busy},
        CauseCase{"PERMISSION DENIED", HostSystem::Linux, PortFailCause::PermissionDenied},
        CauseCase{"Illegal baud rate <4800>.", HostSystem::Linux, PortFailCause::Unknown},
        CauseCase{"The port could not be opened.", HostSystem::Linux, PortFailCause::Unknown},
        CauseCase{"", HostSystem::Windows, PortFailCause::Unknown}));

struct HintCase {
  const char* status;
  HostSystem system;
  std::vector<const char*> mentions;  // empty: no tooltip at all
  std::vector<const char*> absent;
};

class PortFailHintTest : public ::testing::TestWithParam<HintCase> {};

TEST_P(PortFailHintTest, TooltipRepeatsTheStatusAndGivesCauseAndFix) {
  const HintCase& c = GetParam();
  const std::string hint = PortFailHint(c.status, c.system);
  if (c.mentions.empty()) {
    EXPECT_EQ(hint, "");
    return;
  }
  EXPECT_EQ(hint.rfind(std::string(c.status) + "\n\n", 0), 0u) << hint;
  for (const char* part : c.mentions) EXPECT_NE(hint.find(part), std::string::npos) << part;
  for (const char* part : c.absent) EXPECT_EQ(hint.find(part), std::string::npos) << part;
  // A plain-text tooltip does not wrap: every line must fit on a laptop screen.
  std::istringstream lines(hint.substr(std::string(c.status).size()));
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 90u) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, PortFailHintTest,
    ::testing::Values(
        HintCase{"COM Port Fail: No such port or directory", HostSystem::Linux,
                 {"unplugged", "COM33-COM64 /dev/ttyUSB0-31", "COMn=path", "[Port%20Aliases]",
                  "Datalink > Port Number"},
                 {"dialout", "Device Manager"}},
        HintCase{"COM Port Fail: The system cannot find the port specified.", HostSystem::Windows,
                 {"unplugged", "Device Manager", "Datalink > Port Number", "Other devices",
                  "install the driver"},
                 {"/dev/", "dialout"}},
        HintCase{"COM Port Fail: Permission denied", HostSystem::Linux,
                 {"dialout", "usermod -aG dialout", "log out and in", "Reset"},
                 {"unplugged", "another program"}},
        HintCase{"COM Port Fail: Device or resource busy", HostSystem::Linux,
                 {"another program", "close that program", "Reset"},
                 {"dialout", "unplugged"}},
        HintCase{"COM Port Fail: Access is denied.", HostSystem::Windows,
                 {"another program", "Reset"},
                 {"dialout", "/dev/"}},
        HintCase{"COM Port Fail: Illegal baud rate <4800>.", HostSystem::Linux,
                 {"cable", "another port"},
                 {"dialout", "another program"}},
        HintCase{"Not Connected", HostSystem::Linux, {}, {}},
        HintCase{"Waiting For Link On COM3", HostSystem::Linux, {}, {}},
        HintCase{"ZORV v1.1 Connected and Listening", HostSystem::Windows, {}, {}},
        HintCase{"Boot Hook Failed!", HostSystem::Linux, {}, {}},
        HintCase{"COM Port Fail", HostSystem::Linux, {}, {}},
        HintCase{"", HostSystem::Linux, {}, {}}));

#ifndef _WIN32
// What this machine's serial layer really says, run through the link's own wording.
std::string OpenFailure(QtSerialDevice& device, const std::string& path) {
  return PortErrorText(device.Open(path));
}

TEST(PortFailOnThisHost, MissingDeviceReadsAsMissing) {
  QtSerialDevice device;
  const std::string failure = OpenFailure(device, "/dev/zorv-no-such-device");
  ASSERT_FALSE(device.IsOpen());
  EXPECT_EQ(ClassifyPortFailure(failure, kThisHostSystem), PortFailCause::Missing) << failure;
}

TEST(PortFailOnThisHost, PortHeldByAnotherOpenReadsAsBusy) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string path = ptsname(master);
  QtSerialDevice first;
  ASSERT_EQ(first.Open(path), "");
  QtSerialDevice second;
  const std::string failure = OpenFailure(second, path);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(ClassifyPortFailure(failure, kThisHostSystem), PortFailCause::Busy) << failure;
  first.Close();
  close(master);
}
#endif

}  // namespace
}  // namespace zorv
