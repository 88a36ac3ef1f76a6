#include "host/PortDoctor.h"

#include <cstdio>

namespace zorv {
namespace {

// brltty claims these adapters for braille displays that use the same chips.
bool BrailleClaims(const std::set<std::string>& drivers) {
  return drivers.count("ch341") != 0 || drivers.count("cp210x") != 0;
}

Diagnosis GroupCause(const std::string& device, const SystemFacts& facts) {
  return {PortCause::NotInDeviceGroup,
          "Your user " + facts.user + " is not in the group " + facts.deviceGroup + " that owns " +
              device + " (" + NodeAccess(facts) + ").",
          "sudo usermod -aG " + facts.deviceGroup + " " + facts.user +
              " (then log out and in again)"};
}

// Joining a group helps nothing when the group may not use the node either.
Diagnosis ClosedNodeCause(const std::string& device, const SystemFacts& facts) {
  return {PortCause::NodeClosedToGroup,
          device + " is " + NodeAccess(facts) + ": only " + facts.deviceOwner +
              " may open it; joining a group does not help.",
          "sudo chgrp dialout " + device + " && sudo chmod 0660 " + device +
              " (until it is plugged in again; a udev rule with GROUP=\"dialout\", "
              "MODE=\"0660\" makes it last), then join dialout"};
}

Diagnosis BrailleCause(bool running) {
  return {PortCause::BrailleDaemon,
          std::string("The braille daemon brltty is installed") + (running ? " and running" : "") +
              " and takes CH340/CP210x adapters for itself.",
          "sudo apt remove brltty (then unplug the adapter and plug it in again)"};
}

Diagnosis ModemCause() {
  return {PortCause::ModemManager,
          "The modem manager is running and probes new serial ports with modem commands.",
          "sudo systemctl disable --now ModemManager, or install the ZorvTrim package's udev rule"};
}

}  // namespace

std::vector<Diagnosis> Diagnose(PortTrouble trouble, const std::string& device,
                                const SystemFacts& facts) {
  std::vector<Diagnosis> found;
  const bool brltty = facts.installed.count("brltty") != 0 && BrailleClaims(facts.adapterDrivers);
  const bool modemManager = facts.running.count("ModemManager") != 0;
  const bool groupLocked = facts.deviceExists && !facts.ownedByUser && !facts.othersMayReadWrite &&
                           facts.groupMayReadWrite && !facts.deviceGroup.empty() &&
                           facts.userGroups.count(facts.deviceGroup) == 0;
  switch (trouble) {
    case PortTrouble::OpenRefused:
      if (groupLocked) {
        found.push_back(GroupCause(device, facts));
      } else if (facts.deviceExists && !facts.ownedByUser && !facts.othersMayReadWrite &&
                 !facts.groupMayReadWrite) {
        found.push_back(ClosedNodeCause(device, facts));
      }
      break;
    case PortTrouble::OpenMissing:
      // brltty unbinds the adapter's serial driver, so its device node goes away.
      if (brltty) found.push_back(BrailleCause(facts.running.count("brltty") != 0));
      break;
    case PortTrouble::OpenBusy:
      if (modemManager) found.push_back(ModemCause());
      if (brltty) found.push_back(BrailleCause(facts.running.count("brltty") != 0));
      break;
    case PortTrouble::NoAnswer:
      if (modemManager) found.push_back(ModemCause());
      if (brltty) found.push_back(BrailleCause(facts.running.count("brltty") != 0));
      break;
  }
  return found;
}

std::string NodeAccess(const SystemFacts& facts) {
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", facts.deviceMode & 07777u);
  return facts.deviceOwner + ":" + facts.deviceGroup + ", mode " + mode;
}

std::string DiagnosisText(const std::vector<Diagnosis>& found) {
  if (found.empty()) return {};
  std::string text = "Found on this machine:";
  for (const Diagnosis& d : found) text += "\n" + d.why + "\nFix: " + d.fix;
  return text;
}

}  // namespace zorv
