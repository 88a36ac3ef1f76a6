#include "link/HeldStore.h"

#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>
#include <vector>

namespace zorv {
namespace {

namespace fs = std::filesystem;

// One line a device: key, intact (0/1), CRC (hex, or -), chip line; tab-separated.
using Records = std::map<std::string, HeldRecord>;

Records Load(const std::string& file) {
  Records records;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream parts(line);
    std::string field;
    while (std::getline(parts, field, '\t')) fields.push_back(field);
    if (fields.size() < 3 || fields[0].empty()) continue;
    HeldRecord record;
    record.intact = fields[1] == "1";
    if (fields[2] != "-") {
      try {
        record.fileCrc = static_cast<std::uint32_t>(std::stoul(fields[2], nullptr, 16));
      } catch (...) {
        // A damaged CRC does not release the controller.
      }
    }
    if (fields.size() > 3) record.chipLine = fields[3];
    records[fields[0]] = record;
  }
  return records;
}

bool Save(const std::string& file, const Records& records) {
  std::error_code ec;
  const fs::path target(file);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  const fs::path temporary = target.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::trunc);
    for (const auto& [key, record] : records) {
      char crc[16] = "-";
      if (record.fileCrc) std::snprintf(crc, sizeof crc, "%08X", *record.fileCrc);
      std::string chip = record.chipLine;
      std::replace(chip.begin(), chip.end(), '\t', ' ');
      std::replace(chip.begin(), chip.end(), '\n', ' ');
      out << key << '\t' << (record.intact ? "1" : "0") << '\t' << crc << '\t' << chip << '\n';
    }
    out.flush();
    if (!out) return false;
  }
  fs::rename(temporary, target, ec);
  return !ec;
}

}  // namespace

std::optional<HeldRecord> HeldStore::Find(const std::string& deviceKey) const {
  if (file_.empty() || deviceKey.empty()) return std::nullopt;
  const Records records = Load(file_);
  const auto found = records.find(deviceKey);
  if (found == records.end()) return std::nullopt;
  return found->second;
}

bool HeldStore::Hold(const std::string& deviceKey, const HeldRecord& record) {
  if (file_.empty() || deviceKey.empty()) return false;
  Records records = Load(file_);
  records[deviceKey] = record;
  return Save(file_, records);
}

bool HeldStore::Release(const std::string& deviceKey) {
  if (file_.empty() || deviceKey.empty()) return false;
  Records records = Load(file_);
  if (records.erase(deviceKey) == 0) return true;
  return Save(file_, records);
}

std::string HeldStore::DeviceKey(const std::string& path, const std::string& byIdFolder) {
  if (path.empty()) return {};
  std::error_code ec;
  const fs::path resolved = fs::canonical(path, ec);
  if (ec) return path;
  std::vector<fs::path> names;
  for (fs::directory_iterator it(byIdFolder, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path());
  }
  std::sort(names.begin(), names.end());
  for (const fs::path& name : names) {
    std::error_code nameError;
    if (fs::canonical(name, nameError) == resolved && !nameError) return name.string();
  }
  return resolved.string();
}

std::string HeldStore::DefaultFile() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (folder.isEmpty()) return {};
  return (folder + "/held-controllers.txt").toStdString();
}

}  // namespace zorv
