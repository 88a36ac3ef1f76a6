// History files written by earlier shipped schemas (kept in tests/data) are brought up to date
// when the tool opens them: every event and every waiting mark stays as it was, and what the new
// version adds is there and empty.
#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>

#include "history/HistoryRecorder.h"
#include "history/HistorySchema.h"
#include "history/HistoryStore.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

struct KeptEvent {
  const char* id;
  history::EventKind kind;
  const char* truck;
  int seed;  // image byte i is seed * 31 + i * 7
  std::optional<std::uint32_t> crc;
  const char* filePath;
};

// The kept event as it was written by the older version, with the new fields empty.
void ExpectKept(const history::HistoryStore& store, const KeptEvent& k) {
  const auto event = store.Load(k.id);
  ASSERT_TRUE(event.has_value()) << k.id;
  EXPECT_EQ(event->kind, k.kind) << k.id;
  EXPECT_EQ(event->truck, k.truck) << k.id;
  EXPECT_EQ(event->crc, k.crc) << k.id;
  EXPECT_EQ(event->filePath, k.filePath) << k.id;
  EXPECT_EQ(event->imageLength, kImageSize) << k.id;
  EXPECT_FALSE(event->repairedImage.has_value()) << k.id;
  EXPECT_FALSE(event->flashCrc.has_value()) << k.id;
  EXPECT_EQ(event->imageProduct, "") << k.id;
  for (std::size_t i = 0; i < event->image.size(); ++i) {
    ASSERT_EQ(event->image[i], static_cast<std::uint8_t>(k.seed * 31 + static_cast<int>(i) * 7))
        << k.id << " byte " << i;
  }
}

TEST(HistorySchemaTest, FileOfSchemaOneIsMigratedWithEveryEvent) {
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  ASSERT_TRUE(QFile::copy(ZORV_TEST_DATA_DIR "/history/history-v1.sqlite", file));
  QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);

  // Opened by the recorder as the tool does at start, then one new event waiting for a register
  // that cannot be reached (nothing listens on port 1).
  history::RegisterAddress nowhere;
  nowhere.host = "127.0.0.1";
  nowhere.port = 1;
  const history::Event added = history::NewEvent(history::EventKind::Uploaded, ImageBytes{});
  {
    history::HistoryRecorder recorder(file, nullptr, nullptr, nowhere);
    recorder.Record(added);
    ASSERT_TRUE(recorder.Flush(10000));
    ASSERT_TRUE(recorder.Recording()) << recorder.Line().toStdString();
  }

  history::HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  QString error;
  QSqlDatabase db = store.Database();
  EXPECT_EQ(history::ReadSchemaVersion(db, error), history::kSchemaVersion) << error.toStdString();
  EXPECT_EQ(store.Count(), 4);
  EXPECT_EQ(store.UnsentCount(), 1);  // only the new one: the old ones were never meant to go

  const KeptEvent kept[] = {
      {"1f0c6a52-6d7e-4d0c-9a51-000000000001", history::EventKind::Downloaded, "Unit 42", 0,
       0xDEADBEEFu, "/home/tech/unit42.zts"},
      {"1f0c6a52-6d7e-4d0c-9a51-000000000002", history::EventKind::Downloaded, "Unit 7", 1,
       std::nullopt, ""},
      {"1f0c6a52-6d7e-4d0c-9a51-000000000003", history::EventKind::ReplacedUnsent, "Unit 42", 2,
       std::nullopt, ""},
  };
  for (const KeptEvent& k : kept) {
    ExpectKept(store, k);
    EXPECT_EQ(store.Load(k.id)->linkText, "Connected to Zorv v1.1") << k.id;
  }
  const auto listed = store.Unsent(10);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed.front().id, added.id);
}

// history-v2.sqlite: three events of schema 2, the last two still waiting for the register.
TEST(HistorySchemaTest, FileOfSchemaTwoKeepsEventsAndWaitingMarksAndTakesTheNewFields) {
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  ASSERT_TRUE(QFile::copy(ZORV_TEST_DATA_DIR "/history/history-v2.sqlite", file));
  QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);

  // An event carrying every field the new schema adds.
  ImageBytes received{};
  received[100] = 66;  // within the 121 bytes a Zorv v1.0 sends
  received[101] = 129;
  history::Event added = history::NewEvent(history::EventKind::Downloaded, received);
  added.imageLength = 121;
  ImageBytes repaired = received;
  repaired[33] = 20;
  added.repairedImage = repaired;
  added.crc = 0x89ABCDEFu;
  added.flashCrc = 0xFEDCBA98u;
  added.imageProduct = "Tarnovex";
  {
    history::HistoryStore store(file);
    ASSERT_EQ(store.OpenForWriting().mode, history::StoreMode::ReadWrite);
    ASSERT_TRUE(store.Insert(added, true).ok());
  }

  history::HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  QString error;
  QSqlDatabase db = store.Database();
  EXPECT_EQ(history::ReadSchemaVersion(db, error), history::kSchemaVersion) << error.toStdString();
  EXPECT_EQ(store.Count(), 4);
  EXPECT_EQ(store.UnsentCount(), 3);  // the two old marks and the new one
  QSqlQuery asideTable(db);
  ASSERT_TRUE(asideTable.exec("SELECT COUNT(*) FROM set_aside") && asideTable.next());
  EXPECT_EQ(asideTable.value(0).toInt(), 0);

  const KeptEvent kept[] = {
      {"2b7d1e90-0000-4c1a-8f00-000000000001", history::EventKind::Downloaded, "Plow 12", 3,
       std::nullopt, ""},
      {"2b7d1e90-0000-4c1a-8f00-000000000002", history::EventKind::FirmwareInstalled, "Plow 12", 4,
       0xF00DF00Du, "/home/tech/tarnovex-2.4.hex"},
      {"2b7d1e90-0000-4c1a-8f00-000000000003", history::EventKind::Uploaded, "Unit 9", 5,
       std::nullopt, ""},
  };
  for (const KeptEvent& k : kept) ExpectKept(store, k);


  const auto back = store.Load(added.id);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->image, received);
  EXPECT_EQ(back->imageLength, 121u);
  ASSERT_TRUE(back->repairedImage.has_value());
  EXPECT_EQ(*back->repairedImage, repaired);
  EXPECT_EQ(back->crc, added.crc);
  EXPECT_EQ(back->flashCrc, added.flashCrc);
  EXPECT_EQ(back->imageProduct, "Tarnovex");
}

}  // namespace
}  // namespace zorv::test
