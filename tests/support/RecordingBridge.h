#pragma once
// A window bridge for tests: answers synchronised calls at once and records everything.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "image/DefaultImage.h"
#include "link/WindowBridge.h"

namespace zorv::test {

class RecordingBridge final : public WindowBridge {
 public:
  RecordingBridge() { LoadDefaultImage(image, trims); }

  void PostNotice(std::uint8_t code, std::uint8_t value) override {
    notices.emplace_back(code, value);
  }
  void RefreshStatus(const StatusSnapshot& status) override { refreshes.push_back(status); }
  void ShowLinkError(const std::string& text) override { errors.push_back(text); }
  void ShowLinkInfo(const std::string& text) override { infos.push_back(text); }
  void LoadBufferFromImage(ImageBytes& buffer) override { buffer = image.bytes; }
  void StoreBufferToImage(const ImageBytes& buffer) override {
    StoreDownloadedImage(buffer, image, trims);
  }
  std::string SelectFirmwareFile() override {
    ++firmwareDialogs;
    return firmwareFile;
  }

  // Notices other than the per-byte ones, which would drown the interesting ones.
  std::vector<std::pair<std::uint8_t, std::uint8_t>> LinkNotices() const {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> out;
    for (const auto& n : notices) {
      if (n.first != notice::kByteReceived && n.first != notice::kByteSent) out.push_back(n);
    }
    return out;
  }

  SettingsImage image;
  GlobalTrimPair trims;
  std::string firmwareFile;
  int firmwareDialogs = 0;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> notices;
  std::vector<StatusSnapshot> refreshes;
  std::vector<std::string> errors;
  std::vector<std::string> infos;
};

}  // namespace zorv::test
