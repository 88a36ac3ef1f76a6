// Settings upload (link state 7) and download (link state 8): the image crosses the link byte by
// byte, every byte checked by its echo (upload) or echoed back (download).
#include "TCOMThread.h"

#include <memory>

namespace zorv {
namespace {

constexpr std::uint8_t kIdentifyYourself = 0xFF;
constexpr std::uint8_t kSendImage = 'H';
constexpr std::uint8_t kGetImage = 'F';
constexpr std::uint8_t kReadyForImage = 'I';

// Silence allowed between two accepted bytes.
constexpr std::uint32_t kTransferSilenceMs = 1000;

// numerator / denominator, rounded to the nearest integer with halves going to the even one.
int RoundHalfEven(int numerator, int denominator) {
  const int quotient = numerator / denominator;
  const int twiceRemainder = 2 * (numerator % denominator);
  if (twiceRemainder > denominator) return quotient + 1;
  if (twiceRemainder == denominator) return quotient + (quotient % 2);
  return quotient;
}

}  // namespace

int TCOMThread::TransferLengthFor(std::uint8_t productByte) {
  return productByte == product::kZorv10 ? 121 : 256;
}

void TCOMThread::StartTransfer(LinkState transfer) {
  command_ = command::kIdle;
  transferPhase_ = 0;
  // A product code still on its way (an announcement sent before the controller saw our 'E')
  // would be taken as the answer to this request, and its real answer as image byte 0.
  if (!port_.WaitForQuietLine()) {
    if (!port_.Vanished() && !stop_) {
      TransferFailed(transfer == LinkState::Upload ? "Upload Failed on COM"
                                                   : "Download Failed on COM");
    }
    return;
  }
  // The state changes before the copy, which runs with the lock released: a request arriving
  // meanwhile is dropped as in any other busy state.
  status_.linkState = transfer;
  if (transfer == LinkState::Upload) {
    // The window fills a copy of its own: a call given up never writes into the link.
    auto copy = std::make_shared<ImageBytes>(buffer_);
    if (Sync([copy](WindowBridge& w) { w.LoadBufferFromImage(*copy); })) buffer_ = *copy;
  }
  Send(kIdentifyYourself);
  RenewStamp();
}

void TCOMThread::UpdateProgress() {
  status_.progress = RoundHalfEven(transferIndex_ * 100, transferLength_);
}

void TCOMThread::TransferFailed(const char* what) {
  SetStatus(what + std::to_string(portNumber_), StatusColour::Red);
  status_.linkState = LinkState::PortFailed;
}

void TCOMThread::StepUpload() {
  std::uint8_t byte = 0;
  bool accepted = false;
  if (port_.ReadByte(byte)) {
    if (transferPhase_ == 0 && product::IsProductCode(byte)) {
      Send(kSendImage);
      transferPhase_ = 1;
      transferLength_ = TransferLengthFor(byte);
      status_.text = transferLength_ == 121 ? "Uploading v1.0 Calibration"
                                            : "Uploading v1.1 Calibration";
      status_.progress = 0;
      accepted = true;
    } else if (transferPhase_ == 1 && byte == kReadyForImage) {
      transferIndex_ = 1;
      Send(BufferAt(transferIndex_));
      transferPhase_ = 2;
      accepted = true;
    } else if (transferPhase_ == 2 && byte != BufferAt(transferIndex_)) {
      // The controller stored something else than was sent, or the line lost its step: either
      // way what it holds now is not what was sent, and waiting cannot mend that.
      TransferFailed("Upload Failed on COM");
      return;
    } else if (transferPhase_ == 2) {
      ++transferIndex_;
      UpdateProgress();
      if (transferIndex_ > transferLength_) {
        status_.progress = 100;
        status_.text = "Upload Successful";
        window_.Post(notice::kUploadDone, 0);
        status_.linkState = LinkState::WaitingForIdentification;
      } else {
        Send(BufferAt(transferIndex_));
      }
      accepted = true;
    }
  }
  if (accepted) {
    RenewStamp();
  } else if (Elapsed(kTransferSilenceMs)) {
    // Ignored bytes (a wrong echo, noise) count as silence, so a babbling line cannot hold
    // the upload open forever.
    TransferFailed("Upload Failed on COM");
  }
}

void TCOMThread::StepDownload() {
  std::uint8_t byte = 0;
  bool accepted = false;
  if (port_.ReadByte(byte)) {
    if (transferPhase_ == 0 && product::IsProductCode(byte)) {
      Send(kGetImage);
      transferPhase_ = 2;
      transferLength_ = TransferLengthFor(byte);
      status_.text = transferLength_ == 121 ? "Retrieving v1.0 Calibration"
                                            : "Retrieving v1.1 Calibration";
      status_.progress = 0;
      transferIndex_ = 1;
      accepted = true;
    } else if (transferPhase_ == 2) {
      BufferAt(transferIndex_) = byte;
      ++transferIndex_;
      UpdateProgress();
      if (transferIndex_ > transferLength_) {
        status_.progress = 100;
        status_.text = "Download Successful";
        // The window's refresh on notice 2 must see the new image, and the controller's last
        // echo follows the store.
        if (!Sync([image = buffer_, length = transferLength_](WindowBridge& w) {
              w.StoreBufferToImage(image, length);
            })) {
          return;
        }
        window_.Post(notice::kDownloadDone, 0);
        Send(byte);
        status_.linkState = LinkState::WaitingForIdentification;
      } else {
        Send(byte);
      }
      accepted = true;
    }
  }
  if (accepted) {
    RenewStamp();
  } else if (Elapsed(kTransferSilenceMs)) {
    TransferFailed("Download Failed on COM");
  }
}

}  // namespace zorv
