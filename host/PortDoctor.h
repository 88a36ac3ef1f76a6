#pragma once
// The port doctor: from facts about this machine, the likely reasons a port will not open or
// never answers, each with the command that fixes it. The facts are gathered separately
// (SystemFacts), so a test can fake any machine.
#include <set>
#include <string>
#include <vector>

namespace zorv {

struct SystemFacts {
  std::string user;                     // who runs the tool
  std::set<std::string> userGroups;     // the groups of this process
  std::set<std::string> installed;      // of the packages the doctor knows: "brltty", "modemmanager"
  std::set<std::string> running;        // of the programs it knows: "brltty", "ModemManager"
  std::set<std::string> adapterDrivers; // drivers of the USB serial adapters present ("ch341", "cp210x", "ftdi_sio")
  // The port's device node as the system has it; deviceExists false when there is none.
  bool deviceExists = false;
  std::string deviceOwner;              // user owning the node
  std::string deviceGroup;              // group owning the node
  unsigned deviceMode = 0;              // the node's permission bits (0660)
  bool groupMayReadWrite = false;       // the node's group bits allow read and write
  bool othersMayReadWrite = false;
  bool ownedByUser = false;
};

enum class PortTrouble { OpenRefused, OpenMissing, OpenBusy, NoAnswer };

enum class PortCause { NotInDeviceGroup, BrailleDaemon, ModemManager, NodeClosedToGroup };

struct Diagnosis {
  PortCause cause;
  std::string why;  // one line: what was found
  std::string fix;  // one line: the command
};

// Causes found for this trouble on the device, most likely first; empty when none is found.
std::vector<Diagnosis> Diagnose(PortTrouble trouble, const std::string& device,
                                const SystemFacts& facts);

// The tooltip block for these findings ("" for none).
std::string DiagnosisText(const std::vector<Diagnosis>& found);

// "root:dialout, mode 0660": who may open the node, as ls -l would say it.
std::string NodeAccess(const SystemFacts& facts);

// Reads the facts of this machine for `device` (a path; a symbolic link is followed).
SystemFacts GatherSystemFacts(const std::string& device);

}  // namespace zorv
