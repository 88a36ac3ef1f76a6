#pragma once
// A window host for page tests: the real refresh over the pages a test registers, a fake clock,
// scripted prompts, and a record of the link commands.
#include <cstdint>
#include <utility>
#include <vector>

#include "image/DefaultImage.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/PageHost.h"
#include "ui/RefreshControls.h"

namespace zorv::test {

class FakePageHost final : public PageHost {
 public:
  FakePageHost() : refresher_(*this, [this](int page) { productPagesShown.push_back(page); }) {
    LoadDefaultImage(image, trims);
  }

  SettingsImage& Image() override { return image; }
  GlobalTrimPair& Trims() override { return trims; }
  std::uint8_t ProductCode() const override { return productCode; }
  void SetProductCode(std::uint8_t code) override { productCode = code; }
  void RefreshControls(int flag) override {
    ++refreshCount;
    refresher_.RefreshControls(flag);
  }
  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    commands.emplace_back(command, argument);
  }
  std::uint32_t& TestTimeStamp() override { return testTimeStamp; }
  Prompts& prompts() override { return scriptedPrompts; }
  Clock& clock() override { return fakeClock; }

  Refresher& refresher() { return refresher_; }

  SettingsImage image;
  GlobalTrimPair trims;
  std::uint8_t productCode = 0;
  std::uint32_t testTimeStamp = 0;
  int refreshCount = 0;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> commands;
  std::vector<int> productPagesShown;
  FakeClock fakeClock{1000};
  ScriptedPrompts scriptedPrompts;

 private:
  Refresher refresher_;
};

}  // namespace zorv::test
