#pragma once
// Installs controller firmware through the microcontroller's boot loader: checked frames, page
// by page, then a read-back of every block. Runs on the link thread inside one supervisor step.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/FirmwareJob.h"
#include "link/FlashImage.h"
#include "link/LinkPort.h"
#include "link/LinkStatus.h"

namespace zorv {

namespace boot {
inline constexpr std::uint8_t kAddress = 'A';
inline constexpr std::uint8_t kPageOpen = 'E';
inline constexpr std::uint8_t kData = 'D';
inline constexpr std::uint8_t kPageClose = 'F';
inline constexpr std::uint8_t kReadBack = 'V';
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr int kFramePositions = 80;
inline constexpr int kBlockSize = 64;
}  // namespace boot

class BootLoader {
 public:
  // `stop` is the link thread's terminate request: every wait gives up at once when it is set.
  BootLoader(LinkPort& port, Clock& clock, FlashImage& flash, const std::atomic<bool>& stop);

  // Chip parameters from the boot loader's identification line.
  void IdentifyChip(const std::string& line);

  // How a programming run ended. `written`: a page open ('E') went out, so the boot loader
  // may have erased flash and the program there can no longer be trusted.
  enum class Result { Verified, Mismatch, Failed, Stopped };
  struct Run {
    Result result = Result::Failed;
    bool written = false;
  };

  // Writes every page of the loaded image up to the highest address, then reads every block
  // back. Sets the status texts, the progress and its text; `refreshStatus` runs a synchronised
  // refresh. Never shows a box: the supervisor does, once it knows what follows.
  Run Program(LinkStatus& status, const std::function<void()>& refreshStatus);

  // Reads the chip's flash up to its limit, at most 64 KB, through read-back frames. False
  // with `error` set when a block could not be read in 4 attempts or the link stopped.
  bool ReadFlash(std::vector<std::uint8_t>& bytes, LinkStatus& status,
                 const std::function<void()>& refreshStatus, std::string& error);

  // Frame building: positions 1..80 are Frame()[0..79].
  void BeginFrame(std::uint8_t command);
  void AddFrameByte(std::uint8_t byte);
  void EndFrame();
  // Sends the frame; when waiting, up to six transmissions for an ACK, 5000 ms each.
  bool SendFrame(bool waitForAnswer);
  // Receives one frame into Frame(); true when it is complete and its XOR matches.
  bool ReceiveFrame();
  // Reads 64 bytes at `address` back (up to 4 attempts) and compares them with the flash image.
  bool VerifyPage(std::uint32_t address);
  // Reads 64 bytes at `address` back into Frame() positions 3..66: up to 4 unanswered
  // attempts; after one, two equal copies are needed.
  bool ReadBlock(std::uint32_t address);

  const std::array<std::uint8_t, boot::kFramePositions>& Frame() const { return frame_; }

 private:
  // Address and page open; then every block and page close. False when a frame failed.
  bool OpenPage(std::uint32_t pageAddress);
  bool FillAndClosePage(std::uint32_t pageAddress);
  // Every block of one page, as long as all read back equal so far.
  bool VerifyBlocks(std::uint32_t pageAddress, bool verified);
  // Reads and drops what arrives until the line has been quiet for as long as an answer may take.
  void AbsorbLateAnswer();
  bool SendAddressFrame(std::uint8_t command, std::uint32_t address, bool waitForAnswer);
  bool SendEmptyFrame(std::uint8_t command);
  bool SendDataFrame(std::uint32_t address);
  // One answer byte within 5000 ms; false at once when the stop flag is set.
  bool WaitAnswer(std::uint8_t& answer);
  // Flash image byte, 0 past the end of the image.
  std::uint8_t FlashByte(std::uint32_t address) const;
  // A page loop runs while the page lies below the chip's limit, at or below the highest
  // address and within the 16 bits a frame can address.
  bool PageInRange(std::uint32_t pageAddress) const;
  // Whole-number percentage of the file done when `pageAddress` is finished.
  int Progress(std::uint32_t pageAddress) const;
  void Report(LinkStatus& status, const JobClock& job, const char* stage,
              const std::function<void()>& refreshStatus);

  LinkPort& port_;
  Clock& clock_;
  FlashImage& flash_;
  const std::atomic<bool>& stop_;
  std::array<std::uint8_t, boot::kFramePositions> frame_{};
  int position_ = 1;  // 1-based position of the next byte
  std::uint8_t xor_ = 0;
  bool written_ = false;  // a page open went out in this run
};

}  // namespace zorv
