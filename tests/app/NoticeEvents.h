#pragma once
// The window tests' short names for link events: the numbers the link's notices once had.
#include <cstdint>

#include "link/LinkJobs.h"

namespace zorv::test {

// 1 upload done, 2 downloaded (`image`, 256 bytes, from a controller that leaves the pages as
// they are), 3 firmware installed, 4 adapter unplugged, 251/252 a byte received/sent,
// 255 the link asks to be replaced; anything else an event that changes nothing.
inline LinkEvent EventFor(std::uint8_t code, std::uint8_t value = 0, const ImageBytes& image = {}) {
  switch (code) {
    case 1: {
      JobFinishedEvent done;
      done.job = JobKind::Upload;
      done.text = "Upload Successful";
      return done;
    }
    case 2: return DownloadedEvent{image, 256, product::kZorv10};
    case 3: {
      JobFinishedEvent done;
      done.job = JobKind::Upgrade;
      done.text = "Upload completed and verified!";
      return done;
    }
    case 4: return UnpluggedEvent{};
    case 251: return ByteEvent{false, value};
    case 252: return ByteEvent{true, value};
    case 255: return RestartWantedEvent{};
    default: return ProgressEvent{};
  }
}

}  // namespace zorv::test
