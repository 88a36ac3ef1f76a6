#include <QCoreApplication>
#include <QTextBlock>

#include "app/LinkNotice.h"
#include "tests/app/FormFixture.h"
#include "tests/support/DelegatingPrompts.h"

namespace zorv::test {
namespace {

// The window with its message hook, fed by posted notices as the link posts them.
class Notices : public FormFixture {
 protected:
  void SetUp() override {
    MakeForm();
    hook = std::make_unique<MessageHook>(
        [this](std::uint8_t code, std::uint8_t value, std::uint64_t source) {
          form->LinkNotice(code, value, source);
        });
  }
  void TearDown() override { hook.reset(); }

  void Post(std::uint8_t code, std::uint8_t value = 0, std::uint64_t source = 0) {
    PostLinkNotice(code, value, source);
    QCoreApplication::processEvents();
  }
  void ShowLog() { Action("LogWindow1")->trigger(); }

  std::unique_ptr<MessageHook> hook;
};

struct SuccessCase {
  std::uint8_t code;
  const char* text;
  bool refreshes;
};

class SuccessNotice : public Notices, public ::testing::WithParamInterface<SuccessCase> {};

TEST_P(SuccessNotice, ShowsItsBoxThenClearsTheProgress) {
  // A refresh would move to the Halverston page for this product code.
  form->SetProductCode('d');
  prompts.ExpectMessage();
  const auto before = prompts.shown.size();
  Post(GetParam().code);
  ASSERT_EQ(prompts.shown.size(), before + 1);
  const auto& box = prompts.shown.back();
  EXPECT_EQ(box.kind, Prompts::Kind::Information);
  EXPECT_EQ(box.text, GetParam().text);
  EXPECT_EQ(links.progressClears, 1);
  EXPECT_EQ(Products()->currentIndex(), GetParam().refreshes ? 3 : 0);
  EXPECT_TRUE(links.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(Codes, SuccessNotice,
                         ::testing::Values(SuccessCase{1, "Upload Successful!", false},
                                           SuccessCase{2, "Download Successful!", true}));

// Shows a box like the scripted prompts do, but first runs the event loop as a real modal box
// would, and notes how far the log had got while the box was open.
class NestedLoopPrompts final : public DelegatingPrompts {
 public:
  NestedLoopPrompts(Prompts& inner, QPlainTextEdit*& log) : DelegatingPrompts(inner), log_(log) {}
  void Message(Kind kind, const QString& title, const QString& text) override {
    PostLinkNotice(251, 65, 0);
    QCoreApplication::processEvents();
    linesWhileOpen = log_->toPlainText().isEmpty() ? 0 : log_->document()->blockCount();
    DelegatingPrompts::Message(kind, title, text);
  }
  int linesWhileOpen = -1;

 private:
  QPlainTextEdit*& log_;
};

TEST(NoticeQueue, NoticesWaitWhileASuccessBoxIsOpen) {
  PrivateSettings settings;
  ScriptedPrompts scripted;
  QPlainTextEdit* log = nullptr;
  NestedLoopPrompts prompts(scripted, log);
  FakeClock clock{1000};
  LinkRecord links;
  TZorvForm form(prompts, clock, FakeLinkFactory(links));
  log = form.findChild<QPlainTextEdit*>("Memo1");
  scripted.ExpectModal([](QDialog&) { return QDialog::Accepted; });
  form.FormCreate();
  MessageHook hook([&](std::uint8_t c, std::uint8_t v, std::uint64_t s) { form.LinkNotice(c, v, s); });
  form.findChild<QAction*>("LogWindow1")->trigger();

  scripted.ExpectMessage();
  PostLinkNotice(1, 0, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts.linesWhileOpen, 0);
  EXPECT_EQ(log->toPlainText(), "< 65");
}

TEST_F(Notices, ByteNoticesAreLoggedOnlyWhileTheLogIsShown) {
  Post(251, 10);
  Post(252, 11);
  EXPECT_TRUE(LogLines().isEmpty());
  ShowLog();
  Post(251, 65);
  Post(252, 255);
  Post(251, 0);
  EXPECT_EQ(LogLines(), (QStringList{"< 65", "> 255", "< 0"}));
  ShowLog();  // hidden again
  Post(251, 1);
  EXPECT_EQ(LogLines().size(), 3);
}

TEST_F(Notices, OtherCodesDoNothingAndOtherEventsPassTheHook) {
  ShowLog();
  Post(3, 1);
  Post(250, 1);
  Post(253, 1);
  Post(0, 0);
  EXPECT_TRUE(LogLines().isEmpty());
  EXPECT_EQ(links.startedOn.size(), 1u);
  EXPECT_TRUE(links.commands.empty());
}

// Counts the events that reach it.
class Receiver final : public QObject {
 public:
  int received = 0;

 protected:
  void customEvent(QEvent*) override { ++received; }
};

TEST_F(Notices, HookTakesNoticesAndPassesEveryOtherEvent) {
  Receiver receiver;
  QCoreApplication::postEvent(&receiver, new QEvent(static_cast<QEvent::Type>(QEvent::User + 2)));
  QCoreApplication::postEvent(&receiver, new LinkNoticeEvent(251, 1, 0));
  QCoreApplication::processEvents();
  EXPECT_EQ(receiver.received, 1);
}

TEST_F(Notices, LogKeepsItsLastHundredThousandLines) {
  ShowLog();
  // The log is filled to 5 lines below its limit in one go (100,000 notices one by one take 20 s
  // under the sanitizers); the last 10 lines come as notices and push the oldest 5 out.
  constexpr int kLimit = 100000;
  constexpr int kEarlier = kLimit - 5;
  QStringList earlier;
  earlier.reserve(kEarlier);
  for (int i = 0; i < kEarlier; ++i) earlier << "earlier " + QString::number(i);
  Log()->setPlainText(earlier.join('\n'));
  ASSERT_EQ(Log()->document()->blockCount(), kEarlier);
  for (int i = 0; i < 10; ++i) form->LinkNotice(251, static_cast<std::uint8_t>(250 + i), 0);
  EXPECT_EQ(Log()->document()->blockCount(), kLimit);
  EXPECT_EQ(Log()->document()->firstBlock().text(), "earlier 5");
  EXPECT_EQ(Log()->document()->lastBlock().text(), "< 3");  // 259 as a byte
}

TEST_F(Notices, RestartReplacesTheLinkOnTheSamePortOnce) {
  const std::uint64_t first = links.currentSource;
  Post(255, 0, first);
  EXPECT_EQ(links.startedOn, (std::vector<int>{1, 1}));
  EXPECT_EQ(links.stopped, 1);
  EXPECT_EQ(links.live, 1);
  // The replaced link repeated its request before it was gone: the new link stays.
  Post(255, 0, first);
  EXPECT_EQ(links.startedOn.size(), 2u);
  // The new link's own request replaces it.
  Post(255, 0, links.currentSource);
  EXPECT_EQ(links.startedOn.size(), 3u);
  EXPECT_EQ(links.live, 1);
}

}  // namespace
}  // namespace zorv::test
