// The port doctor: the causes it names for faked machines, one table; and real device nodes of
// each owner and mode, opened by the user nobody, another.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/PortDoctor.h"
#include "host/PortTooltip.h"

namespace zorv {
namespace {

// A technician's laptop: the adapter's node belongs to dialout, which may read and write it.
SystemFacts Laptop() {
  SystemFacts f;
  f.user = "tech";
  f.userGroups = {"tech", "dialout"};
  f.deviceExists = true;
  f.deviceGroup = "dialout";
  f.groupMayReadWrite = true;
  return f;
}

struct DoctorCase {
  const char* name;
  PortTrouble trouble;
  std::function<void(SystemFacts&)> machine;
  std::vector<PortCause> causes;
  const char* fix;  // in the first finding's fix, "" when none
};

class Doctor : public ::testing::TestWithParam<DoctorCase> {};

TEST_P(Doctor, NamesTheCausesFoundOnThisMachine) {
  const DoctorCase& c = GetParam();
  SystemFacts facts = Laptop();
  c.machine(facts);
  const std::vector<Diagnosis> found = Diagnose(c.trouble, "/dev/ttyUSB0", facts);
  std::vector<PortCause> causes;
  for (const Diagnosis& d : found) causes.push_back(d.cause);
  EXPECT_EQ(causes, c.causes);
  if (*c.fix != 0) {
    ASSERT_FALSE(found.empty());
    EXPECT_NE(found.front().fix.find(c.fix), std::string::npos) << found.front().fix;
  }
}

using F = SystemFacts;
INSTANTIATE_TEST_SUITE_P(
    Machines, Doctor,
    ::testing::Values(
        DoctorCase{"healthy_refused", PortTrouble::OpenRefused, [](F&) {}, {}, ""},
        DoctorCase{"not_in_dialout", PortTrouble::OpenRefused,
                   [](F& f) { f.userGroups = {"tech"}; },
                   {PortCause::NotInDeviceGroup}, "sudo usermod -aG dialout tech"},
        DoctorCase{"not_in_uucp_on_another_system", PortTrouble::OpenRefused,
                   [](F& f) { f.userGroups = {"tech"}; f.deviceGroup = "uucp"; },
                   {PortCause::NotInDeviceGroup}, "sudo usermod -aG uucp tech"},
        DoctorCase{"node_open_to_all_is_no_group_matter", PortTrouble::OpenRefused,
                   [](F& f) { f.userGroups = {"tech"}; f.othersMayReadWrite = true; }, {}, ""},
        DoctorCase{"own_node_is_no_group_matter", PortTrouble::OpenRefused,
                   [](F& f) { f.userGroups = {"tech"}; f.ownedByUser = true; }, {}, ""},
        DoctorCase{"brltty_with_ch340_and_node_gone", PortTrouble::OpenMissing,
                   [](F& f) {
                     f.deviceExists = false;
                     f.installed = {"brltty"};
                     f.adapterDrivers = {"ch341"};
                   },
                   {PortCause::BrailleDaemon}, "sudo apt remove brltty"},
        DoctorCase{"brltty_with_cp210x", PortTrouble::OpenMissing,
                   [](F& f) {
                     f.installed = {"brltty"};
                     f.adapterDrivers = {"cp210x"};
                   },
                   {PortCause::BrailleDaemon}, "sudo apt remove brltty"},
        DoctorCase{"brltty_with_ftdi_only_is_harmless", PortTrouble::OpenMissing,
                   [](F& f) {
                     f.installed = {"brltty"};
                     f.adapterDrivers = {"ftdi_sio"};
                   },
                   {}, ""},
        DoctorCase{"adapter_without_brltty", PortTrouble::OpenMissing,
                   [](F& f) { f.adapterDrivers = {"ch341"}; }, {}, ""},
        DoctorCase{"modem_manager_busy", PortTrouble::OpenBusy,
                   [](F& f) {
                     f.installed = {"modemmanager"};
                     f.running = {"ModemManager"};
                   },
                   {PortCause::ModemManager}, "systemctl disable --now ModemManager"},
        DoctorCase{"modem_manager_installed_not_running", PortTrouble::NoAnswer,
                   [](F& f) { f.installed = {"modemmanager"}; }, {}, ""},
        DoctorCase{"silent_port_with_both", PortTrouble::NoAnswer,
                   [](F& f) {
                     f.installed = {"brltty", "modemmanager"};
                     f.running = {"ModemManager", "brltty"};
                     f.adapterDrivers = {"ch341"};
                   },
                   {PortCause::ModemManager, PortCause::BrailleDaemon},
                   "systemctl disable --now ModemManager"}),
    [](const auto& row) { return std::string(row.param.name); });

// The tooltip joins the failure's hint and the findings; a connected port shows its note.
TEST(DoctorTooltip, FailureHintThenFindingsAndFactsGatheredOncePerText) {
  int gathered = 0;
  PortTooltip tooltip([&](const std::string&) {
    ++gathered;
    SystemFacts f = Laptop();
    f.userGroups = {"tech"};
    return f;
  });
  const std::string text = "COM Port Fail: Permission denied";
  const std::string shown = tooltip.For(text, "/dev/ttyUSB0", "");
  EXPECT_EQ(shown.rfind(text, 0), 0u);
  EXPECT_NE(shown.find("Found on this machine:\nYour user tech is not in the group dialout"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("Fix: sudo usermod -aG dialout tech"), std::string::npos);
  tooltip.For(text, "/dev/ttyUSB0", "");
  EXPECT_EQ(gathered, 1);
  EXPECT_EQ(tooltip.For("ZORV v1.1 Connected and Listening", "/dev/ttyUSB0", "note"), "note");
}

// The probe run as nobody on `node` (copied where nobody may run it): its output, "" when it
// could not be run.
std::string ProbeAsNobody(const QString& setpriv, const std::string& node) {
  QTemporaryDir dir("/tmp/zorv-doctor-XXXXXX");
  if (!dir.isValid() || chmod(dir.path().toLocal8Bit().constData(), 0755) != 0) return {};
  const QString probe = dir.filePath("probe");
  if (!QFile::copy(QStringLiteral(ZORV_DOCTOR_PROBE), probe)) return {};
  QProcess run;
  run.start(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--", probe,
                      QString::fromStdString(node)});
  if (!run.waitForFinished(20000) || run.exitCode() != 0) {
    ADD_FAILURE() << "the probe failed: " << run.readAllStandardError().toStdString();
  }
  return run.readAllStandardOutput().toStdString();
}

// The same failure after Reset gets findings made anew: a node mended meanwhile is not still
// blamed, and the advice names the node's real owner and mode.
TEST(DoctorTooltip, FindingsMadeAnewAfterTheFreshTimeAndTheRealOwnerNamed) {
  std::int64_t now = 1000;
  SystemFacts machine = Laptop();
  machine.userGroups = {"tech"};
  machine.deviceOwner = "root";
  machine.deviceGroup = "root";
  machine.groupMayReadWrite = false;
  machine.deviceMode = 0600;
  PortTooltip tooltip([&](const std::string&) { return machine; }, [&] { return now; });
  const std::string text = "COM Port Fail: Permission denied";
  const std::string closed = tooltip.For(text, "/dev/ttyUSB0", "");
  EXPECT_NE(closed.find("/dev/ttyUSB0 is root:root, mode 0600: only root may open it"),
            std::string::npos) << closed;
  // Joining dialout cannot help with a node dialout may not use.
  EXPECT_EQ(closed.find("usermod"), std::string::npos) << closed;
  EXPECT_EQ(closed.find("dialout group"), std::string::npos) << closed;

  machine.deviceGroup = "dialout";
  machine.groupMayReadWrite = true;
  machine.deviceMode = 0660;
  now += PortTooltip::kFreshMs + 1;
  const std::string mended = tooltip.For(text, "/dev/ttyUSB0", "");
  EXPECT_NE(mended.find("Your user tech is not in the group dialout that owns /dev/ttyUSB0 "
                        "(root:dialout, mode 0660)"), std::string::npos) << mended;
}

// A real node of each owner and mode, opened by the probe running as nobody: what opens, and
// what the doctor says about what does not. Root never gets "permission denied", so the probe
// runs as nobody.
struct NodeCase {
  const char* name;
  bool ownedByNobody;
  bool groupTty;  // else group root
  mode_t mode;
  const char* open;   // the probe's "open: " line
  const char* cause;  // in the output ("" : no cause line at all); {node} is the node
  const char* never;  // must not appear
  const char* fix = "";  // the advice line, where the row checks it
};

class DoctorNode : public ::testing::TestWithParam<NodeCase> {};

TEST_P(DoctorNode, AsNobody) {
  const NodeCase& c = GetParam();
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make nodes and run a process as nobody";
  const QString setpriv = QStandardPaths::findExecutable("setpriv");
  if (setpriv.isEmpty()) GTEST_SKIP() << "setpriv not installed";
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string node = ptsname(master);
  const passwd* nobody = getpwnam("nobody");
  const group* tty = getgrnam("tty");
  ASSERT_NE(nobody, nullptr);
  ASSERT_NE(tty, nullptr);
  ASSERT_EQ(chown(node.c_str(), c.ownedByNobody ? nobody->pw_uid : 0, c.groupTty ? tty->gr_gid : 0), 0);
  ASSERT_EQ(chmod(node.c_str(), c.mode), 0);

  const std::string out = ProbeAsNobody(setpriv, node);
  close(master);
  EXPECT_NE(out.find(std::string("open: ") + c.open), std::string::npos) << out;
  std::string cause = c.cause;
  if (const auto at = cause.find("{node}"); at != std::string::npos) cause.replace(at, 6, node);
  if (cause.empty()) {
    EXPECT_EQ(out.find("cause: "), std::string::npos) << out;
  } else {
    EXPECT_NE(out.find(cause), std::string::npos) << out;
  }
  if (*c.never != 0) {
    EXPECT_EQ(out.find(c.never), std::string::npos) << out;
  }
  if (*c.fix != 0) {
    EXPECT_NE(out.find(std::string("fix: ") + c.fix), std::string::npos) << out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    OwnersAndModes, DoctorNode,
    ::testing::Values(
        NodeCase{"RootOnly", false, false, 0600, "Permission denied",
                 "cause: 3 {node} is root:root, mode 0600: only root may open it", "usermod"},
        NodeCase{"GroupMayUseIt", false, true, 0660, "Permission denied",
                 "cause: 0 Your user nobody is not in the group tty that owns {node} (root:tty, "
                 "mode 0660)", "", "sudo usermod -aG tty nobody"},
        NodeCase{"GroupMayOnlyRead", false, true, 0640, "Permission denied",
                 "cause: 3 {node} is root:tty, mode 0640: only root may open it", "usermod"},
        NodeCase{"NobodysOwn", true, false, 0600, "ok", "", ""},
        NodeCase{"Everyone", false, false, 0666, "ok", "", ""}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv
