#include "link/BootLoader.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <optional>


namespace zorv {
namespace {

constexpr std::uint32_t kDefaultFlashLimit = 0x3C00;
constexpr std::uint32_t kMega32FlashLimit = 0x7C00;
constexpr std::uint32_t kCanFlashLimit = 0x1F800;
constexpr std::uint32_t kDefaultPageSize = 128;
constexpr std::uint32_t kCanPageSize = 256;

constexpr std::uint32_t kAnswerWaitMs = 5000;
constexpr std::uint32_t kFrameGapMs = 10000;
// Longest single wait for a byte, so a stop request is seen within it.
constexpr std::uint32_t kWaitSliceMs = 50;
constexpr int kTransmissions = 6;
constexpr int kReadBackAttempts = 4;
// A line quiet this long after a request was given up has no answer of it still on its way.
constexpr std::uint32_t kLateAnswerQuietMs = kAnswerWaitMs;
constexpr std::uint32_t kLateAnswerLimitMs = 2 * kFrameGapMs;

// Command, length and XOR: the shortest frame.
constexpr int kMinFrameLength = 3;
// A read-back answer carries its block at positions 3..66.
constexpr int kReadBackLength = 2 + boot::kBlockSize + 1;
// Frames carry 16-bit addresses: a page beyond would be written over page 0.
constexpr std::uint32_t kLastPageAddress = 0xFFFF;

std::uint8_t Low(std::uint32_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t High(std::uint32_t value) {
  return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

BootLoader::BootLoader(LinkPort& port, Clock& clock, FlashImage& flash,
                       const std::atomic<bool>& stop)
    : port_(port), clock_(clock), flash_(flash), stop_(stop) {}

void BootLoader::IdentifyChip(const std::string& line) {
  std::string upper = line;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  ChipParameters chip;
  chip.flashLimit = kDefaultFlashLimit;
  chip.pageSize = kDefaultPageSize;
  if (upper.find("ATMEGA32") != std::string::npos) chip.flashLimit = kMega32FlashLimit;
  // Checked last, so a line naming both chips selects the larger one.
  if (upper.find("AT90CAN") != std::string::npos) {
    chip.flashLimit = kCanFlashLimit;
    chip.pageSize = kCanPageSize;
  }
  chip.blocksPerPage = chip.pageSize / boot::kBlockSize;
  flash_.chip = chip;
  flash_.chipLine = line;
}

// ---- frames ----

void BootLoader::BeginFrame(std::uint8_t command) {
  frame_.fill(0);
  position_ = 3;
  xor_ = 0;
  frame_[0] = command;
}

void BootLoader::AddFrameByte(std::uint8_t byte) {
  // Position 80 stays free for the XOR; no frame of ours comes near it.
  if (position_ >= boot::kFramePositions) return;
  frame_[position_ - 1] = byte;
  ++position_;
  xor_ ^= byte;
}

void BootLoader::EndFrame() {
  frame_[position_ - 1] = xor_;
  frame_[1] = static_cast<std::uint8_t>(position_);
}

bool BootLoader::WaitAnswer(std::uint8_t& answer) {
  const std::uint32_t start = clock_.Ticks();
  while (true) {
    if (stop_ || port_.Vanished()) return false;
    const std::uint32_t waited = clock_.Since(start);
    if (waited >= kAnswerWaitMs) return false;
    if (port_.ReadByte(answer)) return true;
    // Ends when the byte arrives; short slices keep the stop request answered promptly.
    port_.WaitReadable(std::min(kAnswerWaitMs - waited, kWaitSliceMs));
  }
}

bool BootLoader::SendFrame(bool waitForAnswer) {
  const int length = std::min<int>(frame_[1], boot::kFramePositions);
  int failedAttempts = 0;
  while (true) {
    if (stop_) return false;
    for (int p = 1; p <= length; ++p) {
      // A frame that did not leave whole cannot be answered; waiting for it would only delay.
      if (!port_.WriteByte(frame_[p - 1])) return false;
    }
    if (!waitForAnswer) return true;
    std::uint8_t answer = 0;
    if (!WaitAnswer(answer)) return false;  // silence: sending again would not help
    if (answer == boot::kAck) return true;
    if (++failedAttempts >= kTransmissions) return false;
    // Anything but a refusal means the two ends are out of step: start again from a quiet line.
    if (answer != boot::kNak) port_.DrainInput();
  }
}

bool BootLoader::ReceiveFrame() {
  frame_.fill(0);
  position_ = 1;
  xor_ = 0;
  int length = 0;
  std::uint32_t lastByte = clock_.Ticks();
  while (true) {
    if (stop_ || port_.Vanished()) return false;
    std::uint8_t byte = 0;
    if (!port_.ReadByte(byte)) {
      const std::uint32_t quiet = clock_.Since(lastByte);
      if (quiet > kFrameGapMs) return false;
      port_.WaitReadable(std::min(kFrameGapMs + 1 - quiet, kWaitSliceMs));
      continue;
    }
    lastByte = clock_.Ticks();
    if (position_ == 2) {
      length = byte;
      if (length < kMinFrameLength || length > boot::kFramePositions) {
        // No such frame fits the buffer: drop it, and what of it is already waiting, so the
        // rest is not taken for the start of the next answer.
        port_.DrainInput();
        return false;
      }
    } else if (position_ > 2 && position_ < length) {
      xor_ ^= byte;
    }
    frame_[position_ - 1] = byte;
    if (position_ > 2 && position_ == length) return xor_ == byte;
    ++position_;
  }
}

bool BootLoader::VerifyPage(std::uint32_t address) {
  if (!ReadBlock(address)) return false;
  if (std::size_t{address} + boot::kBlockSize > flash_.bytes.size()) return false;
  return std::equal(frame_.begin() + 2, frame_.begin() + 2 + boot::kBlockSize,
                    flash_.bytes.begin() + address);
}

bool BootLoader::SendAddressFrame(std::uint8_t command, std::uint32_t address, bool waitForAnswer) {
  BeginFrame(command);
  AddFrameByte(Low(address));
  AddFrameByte(High(address));
  EndFrame();
  return SendFrame(waitForAnswer);
}

bool BootLoader::SendEmptyFrame(std::uint8_t command) {
  BeginFrame(command);
  EndFrame();
  return SendFrame(true);
}

bool BootLoader::SendDataFrame(std::uint32_t address) {
  BeginFrame(boot::kData);
  for (std::uint32_t i = 0; i < boot::kBlockSize; ++i) AddFrameByte(FlashByte(address + i));
  EndFrame();
  return SendFrame(true);
}

std::uint8_t BootLoader::FlashByte(std::uint32_t address) const {
  return address < flash_.bytes.size() ? flash_.bytes[address] : std::uint8_t{0};
}

// ---- programming ----

bool BootLoader::PageInRange(std::uint32_t pageAddress) const {
  return pageAddress < flash_.chip.flashLimit && pageAddress <= flash_.highestAddress &&
         pageAddress <= kLastPageAddress;
}

int BootLoader::Progress(std::uint32_t pageAddress) const {
  if (flash_.highestAddress == 0) return 100;
  return static_cast<int>(std::uint64_t{pageAddress} * 100 / flash_.highestAddress);
}

void BootLoader::Report(LinkStatus& status, const JobClock& job, const char* stage,
                        const std::function<void()>& refreshStatus) {
  status.progressText = job.Text(stage, clock_.Ticks());
  refreshStatus();
}

bool BootLoader::OpenPage(std::uint32_t pageAddress) {
  if (!SendAddressFrame(boot::kAddress, pageAddress, true)) return false;
  // From here the boot loader may erase the page: the program is no longer whole.
  written_ = true;
  return SendEmptyFrame(boot::kPageOpen);
}

bool BootLoader::FillAndClosePage(std::uint32_t pageAddress) {
  for (std::uint32_t b = 0; b < flash_.chip.blocksPerPage; ++b) {
    if (!SendDataFrame(pageAddress + b * boot::kBlockSize)) return false;
  }
  return SendEmptyFrame(boot::kPageClose);
}

bool BootLoader::VerifyBlocks(std::uint32_t pageAddress, bool verified) {
  for (std::uint32_t b = 0; b < flash_.chip.blocksPerPage && verified; ++b) {
    verified = VerifyPage(pageAddress + b * boot::kBlockSize);
  }
  return verified;
}

BootLoader::Run BootLoader::Program(LinkStatus& status,
                                   const std::function<void()>& refreshStatus) {
  written_ = false;
  Run run;
  // A zero page size would never leave the loops.
  const std::uint32_t pageSize = std::max<std::uint32_t>(flash_.chip.pageSize, 1);
  const std::uint32_t writeBytes = WriteBytesPerPage(flash_.chip.blocksPerPage);
  const std::uint32_t verifyBytes = VerifyBytesPerPage(flash_.chip.blocksPerPage);
  JobClock job(clock_.Ticks(), std::uint64_t{PagesToWrite(flash_)} * (writeBytes + verifyBytes));
  const auto stopped = [&] {
    run.result = Result::Stopped;
    run.written = written_;
    return run;
  };

  // A stop request means the link thread is being destroyed and the window may be waiting for
  // it: no further synchronised call may be made.
  status.text = "Sending update...";
  for (std::uint32_t page = 0; PageInRange(page); page += pageSize) {
    bool failed = !OpenPage(page);
    if (stop_) return stopped();
    Report(status, job, "Writing", refreshStatus);
    if (!failed) failed = !FillAndClosePage(page);
    if (stop_) return stopped();
    job.Done(writeBytes);
    status.progress = Progress(page);
    Report(status, job, "Writing", refreshStatus);
    if (failed) {
      status.text = "Upload failed!";
      run.written = written_;
      return run;
    }
  }

  bool verified = true;
  status.text = "Verifying flash...";
  // After a mismatch the loop still runs to its end, so the progress reaches its last page.
  for (std::uint32_t page = 0; PageInRange(page); page += pageSize) {
    verified = VerifyBlocks(page, verified);
    if (stop_) return stopped();
    job.Done(verifyBytes);
    status.progress = Progress(page);
    Report(status, job, "Verifying", refreshStatus);
  }

  status.progress = 100;
  status.progressText.clear();
  status.text = "Completed";
  if (stop_) return stopped();
  refreshStatus();
  run.result = verified ? Result::Verified : Result::Mismatch;
  run.written = written_;
  return run;
}

void BootLoader::AbsorbLateAnswer() {
  const std::uint32_t start = clock_.Ticks();
  std::uint32_t lastByte = start;
  // A line that never falls quiet is not waited for without end: the copies decide then.
  while (!stop_ && !port_.Vanished() && clock_.Since(start) < kLateAnswerLimitMs) {
    std::uint8_t byte = 0;
    if (port_.ReadByte(byte)) {
      lastByte = clock_.Ticks();
      continue;
    }
    const std::uint32_t quiet = clock_.Since(lastByte);
    if (quiet >= kLateAnswerQuietMs) return;
    port_.WaitReadable(std::min(kLateAnswerQuietMs - quiet, kWaitSliceMs));
  }
}

bool BootLoader::ReadBlock(std::uint32_t address) {
  // An answer carries no address, so once a request has gone unanswered a copy is trusted only
  // when a second read gives the same bytes.
  bool retried = false;
  std::optional<std::array<std::uint8_t, boot::kBlockSize>> previous;
  int failures = 0;
  int copies = 0;
  while (failures < kReadBackAttempts && copies < kReadBackAttempts) {
    if (stop_) return false;
    // A valid but short answer does not hold the block: it cannot prove the flash right.
    const bool received = SendAddressFrame(boot::kReadBack, address, false) && ReceiveFrame() &&
                          frame_[1] >= kReadBackLength;
    if (!received) {
      ++failures;
      retried = true;
      previous.reset();
      // The given-up answer may still come: let it come and drop it, so it is not taken for
      // the answer to the next request.
      AbsorbLateAnswer();
      continue;
    }
    if (!retried) return true;
    ++copies;
    std::array<std::uint8_t, boot::kBlockSize> copy{};
    std::copy_n(frame_.begin() + 2, boot::kBlockSize, copy.begin());
    if (previous && *previous == copy) {
      // An answer later than the quiet wait puts one copy more on the line: drop it too, or
      // the next block would be taken from it.
      AbsorbLateAnswer();
      return true;
    }
    previous = copy;
  }
  return false;
}

bool BootLoader::ReadFlash(std::vector<std::uint8_t>& bytes, LinkStatus& status,
                           const std::function<void()>& refreshStatus, std::string& error) {
  const std::uint32_t end = std::min<std::uint32_t>(flash_.chip.flashLimit, kLastPageAddress + 1);
  const std::uint32_t blockBytes = VerifyBytesPerPage(1);
  JobClock job(clock_.Ticks(), std::uint64_t{end / boot::kBlockSize} * blockBytes);
  bytes.clear();
  bytes.reserve(end);
  status.text = "Reading flash...";
  for (std::uint32_t address = 0; address + boot::kBlockSize <= end;
       address += boot::kBlockSize) {
    if (!ReadBlock(address)) {
      char text[64];
      std::snprintf(text, sizeof text, "Reading flash failed at 0x%04X", address);
      error = stop_ ? "Reading flash stopped" : text;
      return false;
    }
    bytes.insert(bytes.end(), frame_.begin() + 2, frame_.begin() + 2 + boot::kBlockSize);
    job.Done(blockBytes);
    status.progress = job.Percent();
    // One refresh a page's worth of blocks keeps the window's queue short.
    if ((address / boot::kBlockSize) % 4 == 3) Report(status, job, "Reading", refreshStatus);
  }
  status.progress = 100;
  status.progressText.clear();
  return true;
}

}  // namespace zorv
