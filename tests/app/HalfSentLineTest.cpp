// An upload cut after its image started to go out leaves the controller half-written: the
// window's message line says so, over other messages, until a later upload ends.
#include <gtest/gtest.h>

#include <functional>

#include "link/TransferNotes.h"
#include "tests/app/FormFixture.h"
#include "ui/widgets/MessageLine.h"

namespace zorv::test {
namespace {

LinkEvent Status(const char* text) {
  StatusEvent status;
  status.status.text = text;
  return status;
}

LinkEvent UploadEnded(JobResult result) {
  JobFinishedEvent finished;
  finished.job = JobKind::Upload;
  finished.result = result;
  return finished;
}

struct CutRow {
  const char* name;
  const char* statusBefore;  // the link's last status before the end
  std::function<void(TZorvForm&, LinkRecord&)> end;
  bool halfSent;
};

void PrintTo(const CutRow& row, std::ostream* out) { *out << row.name; }

const auto kEndedWith = [](JobResult result) {
  return [result](TZorvForm& form, LinkRecord& links) {
    form.OnLinkEvent(UploadEnded(result), links.currentSource);
  };
};
const auto kReset = [](TZorvForm& form, LinkRecord& links) {
  links.state = LinkState::Upload;
  form.ResetButtonClick();
};

class HalfSentLineTest : public FormFixture, public ::testing::WithParamInterface<CutRow> {
 protected:
  void SetUp() override { MakeForm(); }
  QString Line() const { return Find<MessageLine>("MessageLine")->text(); }
  void Tick() { form->Timer2Timer(); }
};

TEST_P(HalfSentLineTest, SaysWhatTheControllerHolds) {
  const CutRow& row = GetParam();
  form->OnLinkEvent(Status(row.statusBefore), links.currentSource);
  row.end(*form, links);
  links.state = LinkState::ConnectedIdle;
  if (!row.halfSent) {
    EXPECT_NE(Line(), kHalfSentText);
    return;
  }
  ASSERT_EQ(Line(), kHalfSentText);

  // Another message takes the line for its few seconds; the note then comes back.
  Find<MessageLine>("MessageLine")->Show("Busy: try again");
  Tick();
  EXPECT_EQ(Line(), "Busy: try again");
  Find<MessageLine>("MessageLine")->Clear();
  Tick();
  EXPECT_EQ(Line(), kHalfSentText);

  // A download changes nothing: the controller still holds the mixture.
  prompts.ExpectMessage();
  form->OnLinkEvent(DownloadedEvent{{}, 256, product::kZorv11}, links.currentSource);
  Tick();
  EXPECT_EQ(Line(), kHalfSentText);

  // A failed upload that never started leaves it; a whole upload ends it.
  form->OnLinkEvent(UploadEnded(JobResult::Failed), links.currentSource);
  EXPECT_EQ(Line(), kHalfSentText);
  prompts.ExpectMessage();  // "Upload Successful!"
  form->OnLinkEvent(UploadEnded(JobResult::Done), links.currentSource);
  Tick();
  EXPECT_TRUE(Line().isEmpty()) << Line().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, HalfSentLineTest,
    ::testing::Values(
        CutRow{"FailedWhileUploading", "Uploading v1.1 Calibration", kEndedWith(JobResult::Failed), true},
        CutRow{"UnpluggedWhileUploading", "Uploading v1.0 Calibration",
               kEndedWith(JobResult::Unplugged), true},
        CutRow{"ResetWhileUploading", "Uploading v1.1 Calibration", kReset, true},
        CutRow{"FailedBeforeTheImage", "Waiting For Link", kEndedWith(JobResult::Failed), false},
        CutRow{"ResetBeforeTheImage", "Connected to Zorv v1.1", kReset, false}),
    [](const ::testing::TestParamInfo<CutRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv::test
