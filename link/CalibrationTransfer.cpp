// Settings upload (link state 7) and download (link state 8): the image crosses the link byte by
// byte, every byte checked by its echo (upload) or echoed back (download).
#include "TCOMThread.h"

#include <algorithm>

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
  transferPhase_ = 0;
  port_.DrainInput();
  // An upload's bytes came with its job.
  status_.linkState = transfer;
  Send(kIdentifyYourself);
  RenewStamp();
}

void TCOMThread::UpdateProgress() {
  status_.progress = RoundHalfEven(transferIndex_ * 100, transferLength_);
}

void TCOMThread::TransferFailed(const char* what) {
  SetStatus(what + std::to_string(portNumber_), StatusColour::Red);
  const JobKind job = status_.linkState == LinkState::Upload ? JobKind::Upload : JobKind::Download;
  status_.linkState = LinkState::PortFailed;
  Finished(job, JobResult::Failed, status_.text);
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
    } else if (transferPhase_ == 2 && byte == BufferAt(transferIndex_)) {
      ++transferIndex_;
      UpdateProgress();
      if (transferIndex_ > transferLength_) {
        status_.progress = 100;
        status_.text = "Upload Successful";
        Finished(JobKind::Upload, JobResult::Done, status_.text);
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
      identifiedProduct_ = byte;
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
        // The bytes exactly as received: the window decides what a blank controller shows.
        ImageBytes received{};
        std::copy_n(buffer_.begin(), transferLength_, received.begin());
        PostStatus();
        events_.Post(DownloadedEvent{received, transferLength_, identifiedProduct_});
        Finished(JobKind::Download, JobResult::Done, status_.text);
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
