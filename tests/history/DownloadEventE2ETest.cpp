// The download event from the real window against zorv-sim: the bytes the controller sent, not
// the window's image after the refresh's repairs (kept beside them, marked), and the
// controller's identification in "Link".
#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>

#include "history/HistoryStore.h"
#include "image/DefaultImage.h"
#include "tests/e2e/WindowHarness.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

TEST(DownloadEventE2E, RecordsTheBytesAsReceivedAndTheRepairedImageBeside) {
  TempFolder folder;
  SettingsImage held;
  GlobalTrimPair trims;
  LoadDefaultImage(held, trims);
  held[139] = 66;  // values the refresh repairs
  held[140] = 129;
  QFile joy(QString::fromStdString(folder.File("held.joy")));
  ASSERT_TRUE(joy.open(QIODevice::WriteOnly));
  joy.write(reinterpret_cast<const char*>(held.bytes.data()), kImageSize);
  joy.close();

  WindowHarness h;
  ASSERT_TRUE(h.Start({"--product", "g", "--image", joy.fileName()})) << h.sim.Output().toStdString();
  history::HistoryRecorder* recorder = h.form->History().Recorder();
  ASSERT_TRUE(recorder->Flush(10000));
  const ImageBytes shown = h.form->Image().bytes;
  ASSERT_TRUE(shown[139] != 66 || shown[140] != 129) << "the refresh no longer repairs these";

  history::HistoryStore store(recorder->File());
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  QSqlQuery list = store.ListQuery({});
  std::optional<history::Event> download;
  while (list.next() && !download) {
    auto event = store.Load(list.value(0).toString());
    if (event && event->kind == history::EventKind::Downloaded) download = event;
  }
  ASSERT_TRUE(download.has_value());
  EXPECT_EQ(download->image, held.bytes);
  EXPECT_EQ(download->imageLength, kImageSize);
  ASSERT_TRUE(download->repairedImage.has_value());
  EXPECT_EQ(*download->repairedImage, shown);
  EXPECT_EQ(download->linkText, "Zorv v1.1");
  EXPECT_EQ(download->imageProduct, "Zorv v1.1");
}

}  // namespace
}  // namespace zorv::test
