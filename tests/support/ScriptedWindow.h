#pragma once
// The window as the link's tests see it: records every event the link posts and, when Answer()
// is called (after a step), answers them as the window would: stores downloads, asks the
// scripted firmware questions through the shared FirmwareFlow and submits the jobs they lead
// to. The old notice numbers survive here as the tests' short names for events.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "image/DefaultImage.h"
#include "link/FirmwareFlow.h"
#include "link/HexWriter.h"
#include "link/LinkJobs.h"

namespace zorv::test {

// Short names for what the link reported, in the order it did.
namespace notice {
inline constexpr std::uint8_t kUploadDone = 1;
inline constexpr std::uint8_t kDownloadDone = 2;
inline constexpr std::uint8_t kFirmwareInstalled = 3;
inline constexpr std::uint8_t kAdapterUnplugged = 4;
inline constexpr std::uint8_t kByteReceived = 251;
inline constexpr std::uint8_t kByteSent = 252;
inline constexpr std::uint8_t kRestartLink = 255;
}  // namespace notice

// The window's buttons as the tests press them: 0 switches a live output off, any other value
// not named here is a live output pair.
namespace command {
inline constexpr std::uint8_t kIdle = 0;
inline constexpr std::uint8_t kReadFirmware = 250;
inline constexpr std::uint8_t kUpgradeFirmware = 251;
inline constexpr std::uint8_t kDownload = 253;
inline constexpr std::uint8_t kUpload = 254;
inline constexpr std::uint8_t kReset = 255;
}  // namespace command

class ScriptedWindow final : public LinkEvents {
 public:
  ScriptedWindow() { LoadDefaultImage(image, trims); }

  // Link thread.
  void Post(LinkEvent event) override {
    const std::lock_guard<std::mutex> guard(lock_);
    if (std::holds_alternative<DownloadedEvent>(event)) ++downloadsPosted;
    pending_.push_back(std::move(event));
  }

  // The job a button press hands the link.
  LinkJob JobFor(std::uint8_t code, std::uint8_t argument = 0) {
    if (code == command::kUpload) sentOnThisLink = image.bytes;
    switch (code) {
      case command::kIdle: return LiveOutputOffJob{};
      case command::kReadFirmware: return ReadFlashJob{};
      case command::kUpgradeFirmware: return OpenBootLoaderJob{};
      case command::kDownload: return DownloadJob{};
      case command::kUpload: return UploadJob{image.bytes};
      case command::kReset: return ResetJob{};
      default: return LiveOutputJob{code, argument};
    }
  }

  // Handles what the link posted so far; `submit` hands the answers back to the link.
  void Answer(const std::function<bool(LinkJob)>& submit) {
    while (true) {
      LinkEvent event;
      {
        const std::lock_guard<std::mutex> guard(lock_);
        if (pending_.empty()) return;
        event = std::move(pending_.front());
        pending_.pop_front();
      }
      Handle(event, submit);
    }
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
  std::string firmwareReadFile;
  bool confirmWrite = true;          // the answer to the check before writing
  std::vector<bool> retryAnswers;    // answers to "Retry", in order; then Cancel
  std::function<void()> onRetryQuestion;
  std::function<void()> onCheck;     // runs while the check is open
  ImageBytes sentOnThisLink{};  // the last upload on the present link
  int downloadsPosted = 0;  // counted as the link posts them, before any answer
  int firmwareDialogs = 0;
  std::vector<std::string> checks;
  std::vector<std::string> retryQuestions;
  std::vector<int> storedLengths;
  std::vector<DownloadedEvent> downloads;
  std::vector<JobFinishedEvent> finished;
  std::vector<HeldEvent> held;
  std::vector<BootLoaderReadyEvent> ready;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> notices;
  std::vector<StatusSnapshot> refreshes;
  std::vector<ProgressEvent> progress;
  std::vector<std::string> errors;
  std::vector<std::string> infos;

 private:
  void Handle(const LinkEvent& event, const std::function<bool(LinkJob)>& submit) {
    if (const auto* status = std::get_if<StatusEvent>(&event)) {
      refreshes.push_back(status->status);
    } else if (const auto* byte = std::get_if<ByteEvent>(&event)) {
      notices.emplace_back(byte->sent ? notice::kByteSent : notice::kByteReceived, byte->byte);
    } else if (const auto* downloaded = std::get_if<DownloadedEvent>(&event)) {
      storedLengths.push_back(downloaded->length);
      downloads.push_back(*downloaded);
      // A short image (a Zorv v1.0) is completed with what this link last sent, zeros before
      // any upload, as the link's own buffer always completed it.
      ImageBytes merged = sentOnThisLink;
      std::copy_n(downloaded->bytes.begin(), downloaded->length, merged.begin());
      StoreDownloadedImage(merged, image, trims);
      notices.emplace_back(notice::kDownloadDone, 0);
    } else if (const auto* boot = std::get_if<BootLoaderReadyEvent>(&event)) {
      ready.push_back(*boot);
      submit(flow_.Ready(*boot));
    } else if (const auto* done = std::get_if<JobFinishedEvent>(&event)) {
      Finished(*done, submit);
    } else if (const auto* message = std::get_if<MessageEvent>(&event)) {
      (message->error ? errors : infos).push_back(message->text);
    } else if (std::holds_alternative<UnpluggedEvent>(event)) {
      notices.emplace_back(notice::kAdapterUnplugged, 0);
    } else if (const auto* h = std::get_if<HeldEvent>(&event)) {
      held.push_back(*h);
    } else if (std::holds_alternative<RestartWantedEvent>(event)) {
      notices.emplace_back(notice::kRestartLink, 0);
    } else if (const auto* p = std::get_if<ProgressEvent>(&event)) {
      progress.push_back(*p);
    }
  }

  void Finished(const JobFinishedEvent& done, const std::function<bool(LinkJob)>& submit) {
    finished.push_back(done);
    switch (done.job) {
      case JobKind::Upload:
        if (done.result == JobResult::Done) notices.emplace_back(notice::kUploadDone, 0);
        break;
      case JobKind::Upgrade:
        if (done.result == JobResult::Done) notices.emplace_back(notice::kFirmwareInstalled, 0);
        if (auto next = flow_.Finished(done)) submit(std::move(*next));
        break;
      case JobKind::ReadFlash:
        if (done.result != JobResult::Done) {
          errors.push_back(done.text);
        } else if (const Outcome written = WriteHexFile(firmwareReadFile, done.flash); !written) {
          errors.push_back(written.error);
        } else {
          infos.push_back("Firmware read: " + std::to_string(done.flash.size()) +
                          " bytes saved to " + firmwareReadFile);
        }
        break;
      default:
        break;
    }
  }

  FirmwareFlow flow_{FirmwareFlow::Questions{
      [this] {
        ++firmwareDialogs;
        return firmwareFile;
      },
      [this](const std::string& check) {
        checks.push_back(check);
        if (onCheck) onCheck();
        return confirmWrite;
      },
      [this](const std::string& text) {
        retryQuestions.push_back(text);
        if (onRetryQuestion) onRetryQuestion();
        if (retryAnswers.empty()) return false;
        const bool retry = retryAnswers.front();
        retryAnswers.erase(retryAnswers.begin());
        return retry;
      },
      [this](const std::string& text) { errors.push_back(text); },
      [this](const std::string& text) { infos.push_back(text); }}};
  std::mutex lock_;
  std::deque<LinkEvent> pending_;
};

}  // namespace zorv::test
