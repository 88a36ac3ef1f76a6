#include "sim/Memories.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cctype>

namespace zorvsim {

ChipParameters ChipFromLine(const std::string& line) {
  std::string upper = line;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  ChipParameters chip;
  if (upper.find("ATMEGA32") != std::string::npos) chip = {0x7C00, 128};
  // Tested second, so it wins when a line names both.
  if (upper.find("AT90CAN") != std::string::npos) chip = {0x1F800, 256};
  return chip;
}

Memories::Memories(const ChipParameters& parameters)
    : flash(parameters.flashSize, 0xFF), chip(parameters) {}

std::uint8_t Memories::FlashAt(std::uint32_t address) const {
  return address < flash.size() ? flash[address] : std::uint8_t{0xFF};
}

zorv::Outcome SaveFlash(const std::string& fileName, const std::vector<std::uint8_t>& flash) {
  QSaveFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::WriteOnly)) return zorv::Outcome::Failure(file.errorString().toStdString());
  const auto size = static_cast<qint64>(flash.size());
  if (file.write(reinterpret_cast<const char*>(flash.data()), size) != size || !file.commit()) {
    return zorv::Outcome::Failure(file.errorString().toStdString());
  }
  return zorv::Outcome::Success();
}

}  // namespace zorvsim
