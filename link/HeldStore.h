#pragma once
// Controllers held in their boot loader because a firmware run wrote to their flash and did not
// end verified. Kept on disk, so a restart of the window or of the command line still holds
// them: keyed by the adapter's resolved device (its /dev/serial/by-id path where it has one),
// never by the COM number, which differs between the two programs' aliases.
#include <cstdint>
#include <optional>
#include <string>

namespace zorv {

struct HeldRecord {
  std::string chipLine;
  std::optional<std::uint32_t> fileCrc;  // of the firmware file whose run was cut
  // Nothing was written: the controller sits in its boot loader with its program intact (the
  // adapter vanished meanwhile) and is told to start it when its port next opens.
  bool intact = false;
  bool operator==(const HeldRecord&) const = default;
};

class HeldStore {
 public:
  // `file` is the store's path; "" keeps nothing (every question answers "not held").
  explicit HeldStore(std::string file) : file_(std::move(file)) {}

  std::optional<HeldRecord> Find(const std::string& deviceKey) const;
  // False when the store could not be written (the held state then lasts this run only).
  bool Hold(const std::string& deviceKey, const HeldRecord& record);
  bool Release(const std::string& deviceKey);

  const std::string& File() const { return file_; }

  // The key of the device `path` names: symbolic links resolved, then the /dev/serial/by-id
  // name of that device when one exists (`byIdFolder` for tests).
  static std::string DeviceKey(const std::string& path,
                               const std::string& byIdFolder = "/dev/serial/by-id");
  // Beside the history, in the folder both programs share.
  static std::string DefaultFile();

 private:
  std::string file_;
};

}  // namespace zorv
