#include "TCOMThread.h"

#include <filesystem>
#include <system_error>

#include "link/FirmwareJob.h"
#include "link/HexReader.h"
#include "link/HexWriter.h"
#include "link/PortNames.h"

namespace zorv {
namespace {

// What each identification byte means to the link.
struct ProductRow {
  std::uint8_t code;
  const char* statusText;
  int transferLength;
  bool setsProductCode;   // 'G' leaves the window's product pages as they are
  std::uint8_t pageCode;  // the global product code when it is set
};

constexpr ProductRow kProducts[] = {
    {product::kZorv10, "ZORV v1.0 Connected and Listening", 121, false, 0},
    {product::kZorv11, "ZORV v1.1 Connected and Listening", 256, true, product::kZorvPages},
    {product::kTarnovex, "TARNOVEX Connected and Listening", 256, true, product::kTarnovex},
    {product::kHalverston, "HALVERSTON Connected and Listening", 256, true, product::kHalverston},
    {product::kQuirn, "QUIRN Connected and Listening", 256, true, product::kQuirn},
};

const ProductRow* FindProduct(std::uint8_t code) {
  for (const ProductRow& row : kProducts) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

// Bytes the link sends.
constexpr std::uint8_t kAcknowledge = 'E';
constexpr std::uint8_t kIdentifyYourself = 0xFF;
constexpr std::uint8_t kHookBootLoader = 'u';
constexpr std::uint8_t kAskChipLine = 'I';
constexpr std::uint8_t kRestart = 'R';
// Bytes the boot loader sends.
constexpr std::uint8_t kBootLoaderHere = 'B';
constexpr std::uint8_t kBootPrompt = '?';

constexpr std::uint32_t kSilenceMs = 250;
constexpr std::uint32_t kKeepAliveMs = 2000;
constexpr std::uint32_t kNoProgramMs = 2000;
constexpr std::uint32_t kRestartNoticeMs = 200;
constexpr std::uint32_t kLampMs = 200;

constexpr const char* kNoFirmwareSelect = "This system has no firmware, please select firmware now.";
constexpr const char* kNoFirmwareCycle =
    "This system has no firmware. \r\nPress OK, then cycle power and select firmware.";

constexpr const char* kNoFirmwareInstalled = "Error installing firmware";
constexpr const char* kNoFirmwareRead = "Error reading firmware";
constexpr const char* kBootHookFailed = "Boot Hook Failed!";

bool UsableFirmwareFile(const std::string& name) {
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(name), error);
}

}  // namespace

TCOMThread::TCOMThread(WindowChannel& window, int portNumber, Clock& clock, SerialDevice& device,
                       FlashImage& flash, std::atomic<std::uint8_t>& productCode,
                       const std::atomic<bool>& stop)
    : window_(window),
      portNumber_(portNumber),
      clock_(clock),
      port_(device, clock, window),
      flash_(flash),
      boot_(port_, clock, flash, stop),
      productCode_(productCode),
      stop_(stop) {
  port_.SetStopFlag(&stop_);
}

// ---- the state table -----------------------------------------------------------------------

namespace {

struct StateRow {
  LinkState state;
  void (TCOMThread::*step)();
};

}  // namespace

void TCOMThread::Step() {
  // Every state and the step that runs in it; the order is the states' numbers.
  static constexpr StateRow kStates[] = {
      {LinkState::Start, &TCOMThread::StepStart},
      {LinkState::PortFailed, &TCOMThread::StepPortFailed},
      {LinkState::WaitingForIdentification, &TCOMThread::StepWaitForIdentification},
      {LinkState::BootHook, &TCOMThread::StepBootHook},
      {LinkState::BootIdentification, &TCOMThread::StepBootIdentification},
      {LinkState::Programming, &TCOMThread::StepProgramming},
      {LinkState::ConnectedIdle, &TCOMThread::StepIdle},
      {LinkState::Upload, &TCOMThread::StepUpload},
      {LinkState::Download, &TCOMThread::StepDownload},
      {LinkState::Restart, &TCOMThread::StepRestart},
      {LinkState::FirmwareHeld, &TCOMThread::StepFirmwareHeld},
      {LinkState::ReadingFirmware, &TCOMThread::StepReadingFirmware},
      {LinkState::Unplugged, &TCOMThread::StepUnplugged},
  };
  static_assert(std::size(kStates) == kLinkStateCount);
  if (stop_) return;
  const auto index = static_cast<std::size_t>(Number(status_.linkState));
  if (index < std::size(kStates)) (this->*kStates[index].step)();
  // Whatever the step was doing, a vanished device ends it: the unplug is the news, not the
  // transfer that it cut.
  if (status_.linkState != LinkState::Unplugged && port_.Vanished() && !stop_) AdapterUnplugged();
}

void TCOMThread::AdapterUnplugged() {
  status_.linkState = LinkState::Unplugged;
  SetStatus("Adapter unplugged from COM" + std::to_string(portNumber_), StatusColour::Red);
  failureText_.clear();
  status_.progressText.clear();
  command_ = command::kIdle;
  port_.ClosePort();
  window_.Post(notice::kAdapterUnplugged, 0);
}

void TCOMThread::StepUnplugged() {}

bool TCOMThread::Accepts(LinkState state, std::uint8_t command) {
  if (state == LinkState::ConnectedIdle) return true;
  // Held in its boot loader, the controller can only be programmed.
  return state == LinkState::FirmwareHeld && command == command::kUpgradeFirmware;
}

void TCOMThread::SetCommand(std::uint8_t command, std::uint8_t argument) {
  const std::lock_guard<std::mutex> guard(lock_);
  if (!Accepts(status_.linkState, command)) return;
  command_ = command;
  argument_ = argument;
}

StatusSnapshot TCOMThread::Snapshot() {
  StatusSnapshot snapshot;
  snapshot.text = status_.text;
  snapshot.colour = status_.colour;
  if (!failureText_.empty()) {
    if (clock_.Since(failureShownAt_) < kFailureShownMs) {
      snapshot.text = failureText_;
      snapshot.colour = StatusColour::Red;
    } else {
      failureText_.clear();
    }
  }
  snapshot.progress = status_.progress;
  snapshot.progressText = status_.progressText;
  snapshot.receiveLamp = clock_.Since(port_.LastReceiveTime()) < kLampMs;
  snapshot.transmitLamp = clock_.Since(port_.LastTransmitTime()) < kLampMs;
  snapshot.portNote = port_.Note();
  snapshot.device = DeviceName();
  return snapshot;
}

void TCOMThread::Shutdown() {
  const std::lock_guard<std::mutex> guard(lock_);
  const LinkState state = status_.linkState;
  const bool inBootLoader = state == LinkState::BootHook ||
                            state == LinkState::BootIdentification ||
                            state == LinkState::ReadingFirmware;
  // Nothing was written: the program the controller ran before is intact.
  if (inBootLoader && hadProgram_ && !flash_.programIncomplete) Send(kRestart);
}

// ---- link states ---------------------------------------------------------------------------

void TCOMThread::StepStart() {
  // A controller whose flash a run left unverified stays in its boot loader, whatever link
  // comes next.
  firmwareWanted_ = flash_.programIncomplete;
  readWanted_ = false;
  hadProgram_ = false;
  restartPending_ = false;
  firmwareFile_.clear();
  SetStatus("Not Connected", StatusColour::Red);
  status_.progress = 0;
  status_.progressText.clear();
  port_.ClosePort();
  ConnectPort();
  port_.DrainInput();
  if (status_.linkState == LinkState::WaitingForIdentification && flash_.programIncomplete) {
    HoldInBootLoader(kFirmwareIncomplete);
  }
}

void TCOMThread::StepPortFailed() {}

void TCOMThread::StepWaitForIdentification() {
  std::uint8_t byte = 0;
  if (port_.ReadByte(byte)) {
    if (FindProduct(byte) != nullptr) {
      Identified(byte);
    } else if (byte == kBootLoaderHere) {
      BootLoaderAnnounced();
    }
    return;
  }
  if (restartPending_) {
    // The controller was told to start its program and never identified itself.
    if (Elapsed(kNoProgramMs)) {
      ShowError(kNoFirmwareCycle);
      firmwareWanted_ = true;
      restartPending_ = false;
    }
  } else if (Elapsed(kSilenceMs)) {
    SetStatus("Waiting For Link On COM" + std::to_string(portNumber_), StatusColour::Blue);
  }
}

void TCOMThread::StepBootHook() {
  std::uint8_t byte = 0;
  if (port_.ReadByte(byte) && byte == kBootPrompt) {
    if (firmwareWanted_ || readWanted_) {
      Send(kAskChipLine);
      status_.linkState = LinkState::BootIdentification;
    } else {
      restartPending_ = true;
      Send(kRestart);
      RenewStamp();
      status_.linkState = LinkState::WaitingForIdentification;
    }
    return;
  }
  if (Elapsed(kSilenceMs)) BootHookFailed();
}

void TCOMThread::StepBootIdentification() {
  std::string line;
  if (!port_.ReadLine(line)) {
    BootHookFailed();
    return;
  }
  SetStatus(line, StatusColour::Green);
  status_.linkState = readWanted_ ? LinkState::ReadingFirmware : LinkState::Programming;
  RefreshNow();
  boot_.IdentifyChip(line);
}

void TCOMThread::StepProgramming() {
  firmwareFile_ = Ask<std::string>([](WindowBridge& w) { return w.SelectFirmwareFile(); })
                      .value_or(std::string());
  if (stop_) return;
  if (!UsableFirmwareFile(firmwareFile_)) {
    FirmwareFailed(kNoFirmwareInstalled);
    return;
  }
  // Everything is checked before the first frame: a refused file writes nothing.
  const Outcome read = ReadHexFile(firmwareFile_, flash_);
  if (!read) {
    FirmwareFailed(read.error);
    return;
  }
  const std::string check = CheckFirmware(firmwareFile_, flash_).Text();
  const bool confirmed =
      Ask<bool>([check](WindowBridge& w) { return w.ConfirmFirmware(check); }).value_or(false);
  if (stop_) return;
  if (!confirmed) {
    FirmwareFailed(kNoFirmwareInstalled);
    return;
  }
  ProgrammingRun(firmwareFile_);
}

// Writes and verifies; after a failure that wrote, offers to read the same file again and
// program it once more, for as long as the user asks.
void TCOMThread::ProgrammingRun(const std::string& file) {
  while (true) {
    const BootLoader::Run run = boot_.Program(status_, [this] { RefreshNow(); });
    if (run.written) flash_.programIncomplete = true;
    if (run.result == BootLoader::Result::Stopped || stop_) return;
    if (run.result == BootLoader::Result::Verified) {
      FirmwareInstalled();
      return;
    }
    const std::string text = run.result == BootLoader::Result::Mismatch
                                 ? "Contents of flash doesn't match file"
                                 : "Upload failed!";
    if (!run.written) {
      FirmwareFailed(text);
      return;
    }
    SetStatus(text, StatusColour::Red);
    status_.progressText.clear();
    RefreshNow();
    const std::string question = text + "\r\n\r\n" + kFirmwareIncomplete;
    const bool retry =
        Ask<bool>([question](WindowBridge& w) { return w.AskRetryFirmware(question); })
            .value_or(false);
    if (stop_) return;
    KeepOnScreen(text);
    if (!retry) {
      HoldInBootLoader(kFirmwareIncomplete);
      return;
    }
    const Outcome read = ReadHexFile(file, flash_);
    if (!read) {
      SetStatus(read.error, StatusColour::Red);
      RefreshNow();
      ShowError(read.error);
      if (stop_) return;
      KeepOnScreen(read.error);
      HoldInBootLoader(kFirmwareIncomplete);
      return;
    }
  }
}

void TCOMThread::FirmwareInstalled() {
  flash_.programIncomplete = false;
  firmwareWanted_ = false;
  ShowInfo("Upload completed and verified!");
  if (stop_) return;
  window_.Post(notice::kFirmwareInstalled, 0);
  // The new program may have reset the settings: its identification downloads them again,
  // as a new link's would.
  firstLink_ = true;
  restartPending_ = true;
  Send(kRestart);
  status_.linkState = LinkState::WaitingForIdentification;
  RenewStamp();
}

void TCOMThread::FirmwareFailed(const std::string& text) {
  SetStatus(text, StatusColour::Red);
  status_.progressText.clear();
  RefreshNow();
  ShowError(text);
  if (stop_) return;
  KeepOnScreen(text);
  if (flash_.programIncomplete) {
    HoldInBootLoader(kFirmwareIncomplete);
  } else if (hadProgram_) {
    RestartProgram();
  } else {
    // Without a program, 'R' would only bring the boot loader back: stay in it.
    HoldInBootLoader(text);
  }
}

void TCOMThread::BootHookFailed() {
  // Only a firmware job is a failure to report; a boot loader met by chance keeps the old way
  // back through the keep-alive.
  if (firmwareWanted_ || readWanted_) {
    FirmwareFailed(kBootHookFailed);
    return;
  }
  SetStatus(kBootHookFailed, StatusColour::Red);
  status_.linkState = LinkState::ConnectedIdle;
}

void TCOMThread::HoldInBootLoader(const std::string& text) {
  SetStatus(text, StatusColour::Red);
  status_.linkState = LinkState::FirmwareHeld;
  firmwareWanted_ = true;
  readWanted_ = false;
  command_ = command::kIdle;
}

void TCOMThread::RestartProgram() {
  firmwareWanted_ = false;
  readWanted_ = false;
  restartPending_ = true;
  Send(kRestart);
  status_.linkState = LinkState::WaitingForIdentification;
  RenewStamp();
}

void TCOMThread::StepIdle() {
  switch (command_) {
    case command::kIdle:
      if (Elapsed(kKeepAliveMs)) {
        port_.DrainInput();
        Send(kIdentifyYourself);
        status_.linkState = LinkState::WaitingForIdentification;
        RenewStamp();
      }
      break;
    case command::kUpload:
      StartTransfer(LinkState::Upload);
      break;
    case command::kDownload:
      StartTransfer(LinkState::Download);
      break;
    case command::kReset:
      command_ = command::kIdle;
      port_.DrainInput();
      Send(kIdentifyYourself);
      status_.linkState = LinkState::Restart;
      RenewStamp();
      break;
    case command::kUpgradeFirmware:
      EnterBootLoader(false);
      break;
    case command::kReadFirmware:
      EnterBootLoader(true);
      break;
    default:
      // A live output pair: the mailbox keeps it, so it goes out again on the next cycle.
      Send(command_);
      Send(argument_);
      RenewStamp();
      break;
  }
}

void TCOMThread::StepRestart() {
  if (Elapsed(kRestartNoticeMs)) {
    window_.Post(notice::kRestartLink, 0);
    RenewStamp();
  }
}

void TCOMThread::StepFirmwareHeld() {
  if (command_ == command::kUpgradeFirmware) {
    command_ = command::kIdle;
    firmwareWanted_ = true;
    if (flash_.chipLine.empty()) {
      // Held by a run this link did not see (the command line's previous run): the boot
      // loader is waiting for commands, and the chip is not known yet.
      Send(kAskChipLine);
      RenewStamp();
      status_.linkState = LinkState::BootIdentification;
      return;
    }
    // The controller is already in its boot loader, and the chip is known.
    status_.linkState = LinkState::Programming;
    return;
  }
  std::uint8_t byte = 0;
  if (!port_.ReadByte(byte)) return;
  if (byte == kBootLoaderHere) {
    // Powered up again: hold it, and program once it prompts.
    Send(kHookBootLoader);
    firmwareWanted_ = true;
    status_.linkState = LinkState::BootHook;
    RenewStamp();
  } else if (FindProduct(byte) != nullptr) {
    Identified(byte);
  }
}

void TCOMThread::StepReadingFirmware() {
  const std::string file =
      Ask<std::string>([](WindowBridge& w) { return w.SelectFirmwareReadFile(); })
          .value_or(std::string());
  if (stop_) return;
  if (file.empty()) {
    FirmwareFailed(kNoFirmwareRead);
    return;
  }
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!boot_.ReadFlash(bytes, status_, [this] { RefreshNow(); }, error)) {
    if (stop_) return;
    FirmwareFailed(error);
    return;
  }
  const Outcome written = WriteHexFile(file, bytes);
  if (!written) {
    FirmwareFailed(written.error);
    return;
  }
  SetStatus("Firmware read", StatusColour::Green);
  RefreshNow();
  ShowInfo("Firmware read: " + std::to_string(bytes.size()) + " bytes saved to " + file);
  if (stop_) return;
  RestartProgram();
}

// ---- helpers -------------------------------------------------------------------------------

void TCOMThread::ConnectPort() {
  const Outcome opened = port_.OpenPort(LinkPort::kBaudRate, DeviceName());
  if (opened) {
    status_.linkState = LinkState::WaitingForIdentification;
    firstLink_ = true;
    status_.text = "Waiting For Link On COM" + std::to_string(portNumber_);
  } else {
    status_.linkState = LinkState::PortFailed;
    status_.text = "COM Port Fail: " + opened.error;
  }
}

std::string TCOMThread::DeviceName() const { return DeviceNameForPort(portNumber_); }

void TCOMThread::Identified(std::uint8_t productByte) {
  const ProductRow& row = *FindProduct(productByte);
  restartPending_ = false;
  Send(kAcknowledge);
  status_.linkState = LinkState::ConnectedIdle;
  SetStatus(row.statusText, StatusColour::Green);
  transferLength_ = row.transferLength;
  if (row.setsProductCode) productCode_ = row.pageCode;
  if (firstLink_) {
    command_ = command::kDownload;
    firstLink_ = false;
  }
  RenewStamp();
}

void TCOMThread::BootLoaderAnnounced() {
  Send(kHookBootLoader);
  status_.linkState = LinkState::BootHook;
  if (restartPending_) {
    // Told to start its program, the controller came back to its boot loader: it has none.
    firmwareWanted_ = true;
    ShowError(kNoFirmwareSelect);
    restartPending_ = false;
  }
  // The prompt gets its full 250 ms from now, however long the link waited for the 'B'.
  RenewStamp();
}

void TCOMThread::EnterBootLoader(bool forReading) {
  command_ = command::kIdle;
  port_.DrainInput();
  Send(kIdentifyYourself);
  std::uint8_t byte = 0;
  if (port_.WaitByte(byte) && FindProduct(byte) != nullptr) {
    Send(kRestart);
    status_.linkState = LinkState::WaitingForIdentification;
    hadProgram_ = true;
    firmwareWanted_ = !forReading;
    readWanted_ = forReading;
  } else {
    status_.linkState = LinkState::Restart;
  }
  RenewStamp();
}

void TCOMThread::RefreshNow() { Sync([snapshot = Snapshot()](WindowBridge& w) { w.RefreshStatus(snapshot); }); }

void TCOMThread::SetStatus(std::string text, StatusColour colour) {
  status_.text = std::move(text);
  status_.colour = colour;
}

void TCOMThread::KeepOnScreen(const std::string& text) {
  failureText_ = text;
  failureShownAt_ = clock_.Ticks();
}

// ---- synchronised calls --------------------------------------------------------------------

bool TCOMThread::Sync(std::function<void(WindowBridge&)> work) {
  if (stop_) return false;
  // Relocks even if the window's side throws, so the caller's guard stays balanced.
  struct Relock {
    std::mutex& lock;
    ~Relock() { lock.lock(); }
  };
  lock_.unlock();
  const Relock relock{lock_};
  return window_.Call(std::move(work));
}

template <typename Answer>
std::optional<Answer> TCOMThread::Ask(std::function<Answer(WindowBridge&)> question) {
  // The answer lives in a share of its own: a call given up may still be running.
  auto answer = std::make_shared<Answer>();
  if (!Sync([answer, question](WindowBridge& w) { *answer = question(w); })) return std::nullopt;
  return *answer;
}

void TCOMThread::ShowError(const std::string& text) {
  Sync([text](WindowBridge& w) { w.ShowLinkError(text); });
}

void TCOMThread::ShowInfo(const std::string& text) {
  Sync([text](WindowBridge& w) { w.ShowLinkInfo(text); });
}

}  // namespace zorv
