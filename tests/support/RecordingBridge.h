#pragma once
// A window bridge for tests: answers synchronised calls at once and records everything. It is
// its own channel too, so a link under test reaches it directly.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "image/DefaultImage.h"
#include "link/WindowBridge.h"

namespace zorv::test {

class RecordingBridge final : public WindowBridge, public WindowChannel {
 public:
  RecordingBridge() { LoadDefaultImage(image, trims); }

  // WindowChannel.
  void Post(std::uint8_t code, std::uint8_t value) override { PostNotice(code, value, 0); }
  bool Call(std::function<void(WindowBridge&)> work) override {
    work(*this);
    return true;
  }

  void PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t) override {
    notices.emplace_back(code, value);
  }
  void RefreshStatus(const StatusSnapshot& status) override { refreshes.push_back(status); }
  void ShowLinkError(const std::string& text) override { errors.push_back(text); }
  void ShowLinkInfo(const std::string& text) override { infos.push_back(text); }
  void LoadBufferFromImage(ImageBytes& buffer) override { buffer = image.bytes; }
  void StoreBufferToImage(const ImageBytes& buffer, int length) override {
    storedLengths.push_back(length);
    StoreDownloadedImage(buffer, image, trims);
  }
  std::string SelectFirmwareFile() override {
    ++firmwareDialogs;
    return firmwareFile;
  }
  bool ConfirmFirmware(const std::string& check) override {
    checks.push_back(check);
    return confirmWrite;
  }
  bool AskRetryFirmware(const std::string& text) override {
    retryQuestions.push_back(text);
    if (onRetryQuestion) onRetryQuestion();
    if (retryAnswers.empty()) return false;
    const bool retry = retryAnswers.front();
    retryAnswers.erase(retryAnswers.begin());
    return retry;
  }
  std::string SelectFirmwareReadFile() override { return firmwareReadFile; }

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
  std::string firmwareReadFile;
  bool confirmWrite = true;          // the answer to the check before writing
  std::vector<bool> retryAnswers;    // answers to "Retry", in order; then Cancel
  std::function<void()> onRetryQuestion;
  int firmwareDialogs = 0;
  std::vector<std::string> checks;
  std::vector<std::string> retryQuestions;
  std::vector<int> storedLengths;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> notices;
  std::vector<StatusSnapshot> refreshes;
  std::vector<std::string> errors;
  std::vector<std::string> infos;
};

}  // namespace zorv::test
