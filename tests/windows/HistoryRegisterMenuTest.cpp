// View > History register on Windows: the build carries no PostgreSQL client, so the menu says
// so instead of offering a register it cannot reach, and nothing is stored.
#include <gtest/gtest.h>

#include "host/RegisterSetting.h"
#include "tests/app/FormFixture.h"

namespace zorv {
namespace {

class HistoryRegisterMenuTest : public test::FormFixture {
 protected:
  void SetUp() override { MakeForm(); }
};

TEST_F(HistoryRegisterMenuTest, SaysTheRegisterIsNotPartOfTheWindowsBuild) {
  prompts.ExpectMessage();
  Action("HistoryRegister1")->trigger();
  ASSERT_EQ(prompts.MessageTexts().size(), 1u);
  EXPECT_EQ(prompts.MessageTexts().front(),
            "The shared history register is not part of ZorvTrim for Windows.\n"
            "The service history is kept on this laptop.");
  EXPECT_FALSE(ReadRegisterAddress().IsSet());
}

}  // namespace
}  // namespace zorv
