#include "TCOMThread.h"

#include <filesystem>
#include <system_error>

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

bool UsableFirmwareFile(const std::string& name) {
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(name), error);
}

}  // namespace

TCOMThread::TCOMThread(WindowBridge& bridge, int portNumber, Clock& clock, SerialDevice& device,
                       FlashImage& flash, std::atomic<std::uint8_t>& productCode,
                       const std::atomic<bool>& stop)
    : bridge_(bridge),
      portNumber_(portNumber),
      clock_(clock),
      port_(device, clock, bridge),
      boot_(port_, clock, flash, stop),
      productCode_(productCode),
      stop_(stop) {
  port_.SetStopFlag(&stop_);
}

void TCOMThread::Step() {
  if (stop_) return;
  switch (status_.linkState) {
    case 0: StepStart(); break;
    case 1: StepPortFailed(); break;
    case 2: StepWaitForIdentification(); break;
    case 3: StepBootHook(); break;
    case 4: StepBootIdentification(); break;
    case 5: StepProgramming(); break;
    case 6: StepIdle(); break;
    case 7: StepUpload(); break;
    case 8: StepDownload(); break;
    case 9: StepRestart(); break;
    default: break;
  }
}

void TCOMThread::SetCommand(std::uint8_t command, std::uint8_t argument) {
  const std::lock_guard<std::mutex> guard(lock_);
  if (status_.linkState != 6) return;
  command_ = command;
  argument_ = argument;
}

StatusSnapshot TCOMThread::Snapshot() {
  StatusSnapshot snapshot;
  snapshot.text = status_.text;
  snapshot.colour = status_.colour;
  snapshot.progress = status_.progress;
  snapshot.receiveLamp = clock_.Since(port_.LastReceiveTime()) < kLampMs;
  snapshot.transmitLamp = clock_.Since(port_.LastTransmitTime()) < kLampMs;
  return snapshot;
}

// ---- link states ---------------------------------------------------------------------------

void TCOMThread::StepStart() {
  firmwareWanted_ = false;
  restartPending_ = false;
  firmwareFile_.clear();
  SetStatus("Not Connected", StatusColour::Red);
  status_.progress = 0;
  port_.ClosePort();
  ConnectPort();
  port_.DrainInput();
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
      sync_.ShowLinkError(kNoFirmwareCycle);
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
    if (firmwareWanted_) {
      Send(kAskChipLine);
      status_.linkState = 4;
    } else {
      restartPending_ = true;
      Send(kRestart);
      RenewStamp();
      status_.linkState = 2;
    }
    return;
  }
  if (Elapsed(kSilenceMs)) {
    SetStatus("Boot Hook Failed!", StatusColour::Red);
    status_.linkState = 6;
  }
}

void TCOMThread::StepBootIdentification() {
  std::string line;
  if (!port_.ReadLine(line)) {
    SetStatus("Boot Hook Failed!", StatusColour::Red);
    status_.linkState = 6;
    return;
  }
  SetStatus(line, StatusColour::Green);
  status_.linkState = 5;
  RefreshNow();
  boot_.IdentifyChip(line);
}

void TCOMThread::StepProgramming() {
  firmwareFile_ = sync_.SelectFirmwareFile();
  if (!UsableFirmwareFile(firmwareFile_)) {
    SetStatus("Error installing firmware", StatusColour::Red);
    status_.linkState = 6;
    return;
  }
  // On false the programming has already set a red status and link state 6.
  if (!boot_.ProgramFirmware(firmwareFile_, status_, [this] { RefreshNow(); }, sync_)) return;
  // The new firmware is in; a later start through the boot loader must not program again.
  firmwareWanted_ = false;
  restartPending_ = true;
  Send(kRestart);
  status_.linkState = 2;
  RenewStamp();
}

void TCOMThread::StepIdle() {
  switch (command_) {
    case command::kIdle:
      if (Elapsed(kKeepAliveMs)) {
        port_.DrainInput();
        Send(kIdentifyYourself);
        status_.linkState = 2;
        RenewStamp();
      }
      break;
    case command::kUpload:
      StartTransfer(7);
      break;
    case command::kDownload:
      StartTransfer(8);
      break;
    case command::kReset:
      command_ = command::kIdle;
      port_.DrainInput();
      Send(kIdentifyYourself);
      status_.linkState = 9;
      RenewStamp();
      break;
    case command::kUpgradeFirmware:
      StartUpgrade();
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
    bridge_.PostNotice(notice::kRestartLink, 0);
    RenewStamp();
  }
}

// ---- helpers -------------------------------------------------------------------------------

void TCOMThread::ConnectPort() {
  const Outcome opened = port_.OpenPort(LinkPort::kBaudRate, DeviceName());
  if (opened) {
    status_.linkState = 2;
    firstLink_ = true;
    status_.text = "Waiting For Link On COM" + std::to_string(portNumber_);
  } else {
    status_.linkState = 1;
    status_.text = "COM Port Fail: " + opened.error;
  }
}

std::string TCOMThread::DeviceName() const { return DeviceNameForPort(portNumber_); }

void TCOMThread::Identified(std::uint8_t productByte) {
  const ProductRow& row = *FindProduct(productByte);
  restartPending_ = false;
  Send(kAcknowledge);
  status_.linkState = 6;
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
  status_.linkState = 3;
  if (restartPending_) {
    // Told to start its program, the controller came back to its boot loader: it has none.
    firmwareWanted_ = true;
    sync_.ShowLinkError(kNoFirmwareSelect);
    restartPending_ = false;
  }
  // The prompt gets its full 250 ms from now, however long the link waited for the 'B'.
  RenewStamp();
}

void TCOMThread::StartUpgrade() {
  command_ = command::kIdle;
  port_.DrainInput();
  Send(kIdentifyYourself);
  std::uint8_t byte = 0;
  if (port_.WaitByte(byte) && FindProduct(byte) != nullptr) {
    Send(kRestart);
    status_.linkState = 2;
    firmwareWanted_ = true;
  } else {
    status_.linkState = 9;
  }
  RenewStamp();
}

void TCOMThread::RefreshNow() { sync_.RefreshStatus(Snapshot()); }

void TCOMThread::SetStatus(std::string text, StatusColour colour) {
  status_.text = std::move(text);
  status_.colour = colour;
}

// ---- synchronised calls --------------------------------------------------------------------

bool TCOMThread::SyncBridge::Run(const std::function<void()>& call) {
  if (owner_.stop_) return false;
  // Relocks even if the window's side throws, so the caller's guard stays balanced.
  struct Relock {
    std::mutex& lock;
    ~Relock() { lock.lock(); }
  };
  owner_.lock_.unlock();
  const Relock relock{owner_.lock_};
  call();
  return true;
}

void TCOMThread::SyncBridge::PostNotice(std::uint8_t code, std::uint8_t value) {
  owner_.bridge_.PostNotice(code, value);
}

void TCOMThread::SyncBridge::RefreshStatus(const StatusSnapshot& status) {
  Run([&] { owner_.bridge_.RefreshStatus(status); });
}

void TCOMThread::SyncBridge::ShowLinkError(const std::string& text) {
  Run([&] { owner_.bridge_.ShowLinkError(text); });
}

void TCOMThread::SyncBridge::ShowLinkInfo(const std::string& text) {
  Run([&] { owner_.bridge_.ShowLinkInfo(text); });
}

void TCOMThread::SyncBridge::LoadBufferFromImage(ImageBytes& buffer) {
  Run([&] { owner_.bridge_.LoadBufferFromImage(buffer); });
}

void TCOMThread::SyncBridge::StoreBufferToImage(const ImageBytes& buffer) {
  Run([&] { owner_.bridge_.StoreBufferToImage(buffer); });
}

std::string TCOMThread::SyncBridge::SelectFirmwareFile() {
  std::string name;
  Run([&] { name = owner_.bridge_.SelectFirmwareFile(); });
  return name;
}

}  // namespace zorv
