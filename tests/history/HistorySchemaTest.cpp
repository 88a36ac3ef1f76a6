// A history file written by the first shipped schema (kept in tests/data) is brought up to date
// when the tool opens it: every event stays as it was, and the new table is there and empty.
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
    const auto event = store.Load(k.id);
    ASSERT_TRUE(event.has_value()) << k.id;
    EXPECT_EQ(event->kind, k.kind) << k.id;
    EXPECT_EQ(event->truck, k.truck) << k.id;
    EXPECT_EQ(event->crc, k.crc) << k.id;
    EXPECT_EQ(event->filePath, k.filePath) << k.id;
    EXPECT_EQ(event->linkText, "Connected to Zorv v1.1") << k.id;
    for (std::size_t i = 0; i < event->image.size(); ++i) {
      ASSERT_EQ(event->image[i], static_cast<std::uint8_t>(k.seed * 31 + static_cast<int>(i) * 7))
          << k.id << " byte " << i;
    }
  }
  const auto listed = store.Unsent(10);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed.front().id, added.id);
}

}  // namespace
}  // namespace zorv::test
