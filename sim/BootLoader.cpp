#include "sim/BootLoader.h"

#include <algorithm>
#include <string>

namespace zorvsim {
namespace {
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr auto kHookWait = Millis(1000);
constexpr auto kFrameByteTimeout = Millis(1000);
constexpr std::uint32_t kBlock = 64;
// Beyond the 10 s a tool waits for a read-back answer.
constexpr auto kLateAnswer = Millis(10500);

bool IsFrameCommand(std::uint8_t b) {
  return b == 'A' || b == 'E' || b == 'D' || b == 'F' || b == 'V';
}

std::size_t ExpectedLength(std::uint8_t command) {
  switch (command) {
    case 'A':
    case 'V': return 5;
    case 'D': return 3 + kBlock;
    default: return 3;
  }
}

std::string CommandText(std::uint8_t command) {
  return std::string("frame '") + static_cast<char>(command) + "'";
}
}  // namespace

void BootLoader::Enter(TimePoint now) {
  hooked_ = false;
  frame_.reset();
  announced_ = now;
  ctx_.log.Line("boot loader entered");
  ctx_.send('B');
}

Switch BootLoader::StartProgram(TimePoint now) {
  if (ctx_.memories.programPresent) return Switch::ToProgram;
  ctx_.log.Line("no program present");
  Enter(now);
  return Switch::Stay;
}

Switch BootLoader::OnByte(std::uint8_t byte, TimePoint now) {
  lastByte_ = now;
  if (frame_) {
    frame_->Add(byte);
    if (frame_->Complete()) {
      Execute(now);
      frame_.reset();
    }
    return Switch::Stay;
  }
  if (byte == 'u') {
    hooked_ = true;
    ctx_.log.Line("boot loader hooked");
    ctx_.send('?');
  } else if (byte == 'I') {
    hooked_ = true;
    ctx_.log.Line("chip line sent: " + ctx_.chipLine);
    for (const char c : ctx_.chipLine) ctx_.send(static_cast<std::uint8_t>(c));
    ctx_.send('\r');
    ctx_.send('\n');
  } else if (byte == 'R') {
    ctx_.log.Line("program start requested");
    return StartProgram(now);
  } else if (IsFrameCommand(byte)) {
    hooked_ = true;
    frame_.emplace();
    frame_->Begin(byte);
  } else {
    ctx_.log.Line("boot loader: byte " + ByteText(byte) + " ignored");
  }
  return Switch::Stay;
}

Switch BootLoader::Tick(TimePoint now) {
  if (frame_ && now - lastByte_ > kFrameByteTimeout) {
    ctx_.log.Line(CommandText(frame_->Command()) + " abandoned after " +
                  std::to_string(frame_->Received()) + " bytes: no byte for 1000 ms");
    frame_.reset();
  }
  if (hooked_ || now - announced_ < kHookWait) return Switch::Stay;
  if (ctx_.memories.programPresent) {
    ctx_.log.Line("boot loader not held: starting the program");
    return Switch::ToProgram;
  }
  announced_ = now;  // no program to start: keep announcing the boot loader
  ctx_.send('B');
  return Switch::Stay;
}

void BootLoader::Answer(bool accepted) { ctx_.send(accepted ? kAck : kNak); }

void BootLoader::Execute(TimePoint now) {
  const FrameReceiver& f = *frame_;
  const std::uint8_t command = f.Command();
  if (f.LengthUnusable() || !f.LengthIs(ExpectedLength(command))) {
    ++ctx_.faults.naksForBadFrames;
    ctx_.log.Line(CommandText(command) + " refused: bad length " + std::to_string(f.Length()));
    Answer(false);
    return;
  }
  if (!f.ChecksumMatches()) {
    ++ctx_.faults.naksForBadFrames;
    ctx_.log.Line(CommandText(command) + " refused: bad checksum");
    Answer(false);
    return;
  }
  if (command != 'V' && ctx_.faults.nakLeft > 0) {
    --ctx_.faults.nakLeft;
    ++ctx_.faults.naksInjected;
    ctx_.log.Line("fault: " + CommandText(command) + " refused, " +
                  std::to_string(ctx_.faults.nakLeft) + " more to refuse");
    Answer(false);
    return;
  }
  const std::uint32_t pageSize = ctx_.memories.chip.pageSize;
  switch (command) {
    case 'A':
      address_ = static_cast<std::uint32_t>(f.Payload(0) | (f.Payload(1) << 8));
      blocks_ = 0;
      Answer(true);
      break;
    case 'E':
      page_.assign(pageSize, 0xFF);
      blocks_ = 0;
      Answer(true);
      break;
    case 'D':
      if (page_.size() != pageSize) page_.assign(pageSize, 0xFF);  // data without 'E'
      if ((blocks_ + 1) * kBlock > pageSize) {
        ctx_.log.Line("frame 'D' refused: page buffer full");
        Answer(false);
        break;
      }
      for (std::uint32_t i = 0; i < kBlock; ++i) page_[blocks_ * kBlock + i] = f.Payload(i);
      ++blocks_;
      Answer(true);
      break;
    case 'F':
      WritePage();
      break;
    case 'V': {
      const auto at = static_cast<std::uint32_t>(f.Payload(0) | (f.Payload(1) << 8));
      std::vector<std::uint8_t> data(kBlock);
      for (std::uint32_t i = 0; i < kBlock; ++i) data[i] = ctx_.memories.FlashAt(at + i);
      ctx_.log.Line("read back " + Hex4(at));
      if (ctx_.faults.lateReadBack == at) {
        ctx_.faults.lateReadBack.reset();
        ctx_.faults.outputHeldUntil = now + kLateAnswer;
        ++ctx_.faults.lateAnswers;
        ctx_.log.Line("fault: read back " + Hex4(at) + " answered 10500 ms late");
      }
      for (const std::uint8_t b : BuildFrame('V', data)) ctx_.send(b);
      break;
    }
    default: break;
  }
}

void BootLoader::WritePage() {
  Memories& m = ctx_.memories;
  const std::uint32_t page = address_ - address_ % m.chip.pageSize;
  if (page + m.chip.pageSize > m.flash.size()) {
    ctx_.log.Line("page " + Hex4(page) + " refused: beyond the flash limit " +
                  Hex4(static_cast<unsigned>(m.flash.size())));
    Answer(false);
    return;
  }
  if (page_.size() != m.chip.pageSize) page_.assign(m.chip.pageSize, 0xFF);
  std::copy(page_.begin(), page_.end(), m.flash.begin() + page);
  auto& corrupt = ctx_.faults.corruptFlash;
  if (corrupt && *corrupt >= page && *corrupt < page + m.chip.pageSize) {
    m.flash[*corrupt] = static_cast<std::uint8_t>(~m.flash[*corrupt]);
    ++ctx_.faults.flashBytesFlipped;
    ctx_.log.Line("fault: flash byte " + Hex4(*corrupt) + " flipped");
    if (ctx_.faults.corruptOnce) corrupt.reset();
  }
  m.programPresent = true;
  m.flashWritten = true;
  page_.assign(m.chip.pageSize, 0xFF);
  blocks_ = 0;
  ctx_.log.Line("page " + Hex4(page) + " written");
  Answer(true);
}

}  // namespace zorvsim
