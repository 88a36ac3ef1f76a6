// Another controller at the same alias, through the real window and link against zorv-sim: a
// Zorv with unsent edits in the window is unplugged, a Tarnovex comes back under the same name.
// The replaced edits are recorded as Zorv settings, the new download as the Tarnovex's.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>

#include "history/HistoryStore.h"
#include "tests/e2e/WindowHarness.h"

namespace zorv::test {
namespace {

TEST(SwapE2E, EachEventNamesItsOwnImagesProduct) {
  WindowHarness h;
  h.aliasThroughLink = true;
  ASSERT_TRUE(h.Start({"--product", "g"})) << h.sim.Output().toStdString();
  h.Find<QScrollBar>("plowupminbar")->setValue(200);
  ASSERT_TRUE(h.form->isWindowModified());

  zorvtest::SimProcess tarnovex;
  const QString port = tarnovex.Start({"--product", "b", "--fast"});
  ASSERT_FALSE(port.isEmpty()) << tarnovex.Output().toStdString();
  h.sim.Stop();  // the Zorv's cable pulled
  ASSERT_TRUE(WaitUntil(
      [&] { return h.Find<QLabel>("ConnectedPanel")->text() == "Adapter unplugged from COM200"; },
      5000));
  h.prompts.ExpectMessage();  // "Download Successful!" from the Tarnovex
  ASSERT_TRUE(h.PointLinkAt(port));
  ASSERT_TRUE(WaitUntil([&] { return h.prompts.AllUsed() && h.LinkIdle(); }, 20000))
      << h.Find<QLabel>("ConnectedPanel")->text().toStdString();

  h.form->History().Recorder()->Flush(5000);
  history::HistoryStore store(h.form->History().Recorder()->File());
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  QStringList seen;
  for (const history::Event& e : store.All()) {
    seen << history::KindKey(e.kind) + " " + e.product + " / " + e.linkText;
  }
  h.form.reset();
  // Oldest first; times within one millisecond keep no order, so compared as a set.
  seen.sort();
  EXPECT_EQ(seen.join("; ").toStdString(),
            "downloaded Tarnovex / Tarnovex; downloaded Zorv / Zorv v1.1; "
            "replaced-unsent Zorv / Zorv v1.1");
}

}  // namespace
}  // namespace zorv::test
