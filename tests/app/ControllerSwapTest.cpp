// Another controller at the same port: each history event names the product of its own image
// (the replaced edits the previous controller's, the new download its own), and the window's
// note about kept edits goes after a few seconds.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QStandardPaths>
#include <QThread>

#include "history/HistoryStore.h"
#include "tests/app/FormFixture.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

using history::EventKind;

struct Controller {
  std::uint8_t identification;
  bool tarnovexMarker;  // the image carries the Tarnovex marker in byte 33
  const char* product;  // the history's name for its image
  const char* link;     // the history's name for the controller itself
};

struct SwapRow {
  const char* name;
  Controller first;
  Controller second;
};

void PrintTo(const SwapRow& row, std::ostream* out) { *out << row.name; }

constexpr Controller kZorv{product::kZorv11, false, "Zorv", "Zorv v1.1"};
constexpr Controller kTarnovex{product::kTarnovex, false, "Tarnovex", "Tarnovex"};
constexpr Controller kTarnovexMarked{product::kTarnovex, true, "Tarnovex", "Tarnovex"};
constexpr Controller kHalverston{product::kHalverston, false, "Halverston", "Halverston"};
constexpr Controller kQuirn{product::kQuirn, false, "Quirn", "Quirn"};

class ControllerSwapTest : public FormFixture {
 protected:
  void SetUp() override {
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.Path().string()));
#ifdef _WIN32
    // No variable moves Windows' per-user data folder: Qt's test folders stand in for it, and
    // each case starts with an empty one.
    QStandardPaths::setTestModeEnabled(true);
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
#endif
    MakeForm();
  }
  void TearDown() override {
    form.reset();
    qputenv("XDG_DATA_HOME", oldDataHome_);
#ifdef _WIN32
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
#endif
  }
  void Download(const Controller& c, std::uint8_t mark) {
    ImageBytes image{};
    image[200] = mark;
    if (c.tarnovexMarker) image[kTarnovexMarkerOffset] = kTarnovexMarker;
    prompts.ExpectMessage();  // "Download Successful!"
    form->OnLinkEvent(DownloadedEvent{image, 256, c.identification}, links.currentSource);
  }
  // Unsent edits the next download replaces.
  void Edit() {
    form->Image()[201] ^= 0x5A;
    form->RefreshControls(1);
  }
  std::vector<history::Event> Events() {
    form->History().Recorder()->Flush(3000);
    history::HistoryStore store(form->History().Recorder()->File());
    EXPECT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
    return store.All();
  }
  QString Line() const { return Find<QLabel>("HistoryLine")->text(); }

  TempFolder data;
  QByteArray oldDataHome_;
};

class SwapTable : public ControllerSwapTest, public ::testing::WithParamInterface<SwapRow> {};

TEST_P(SwapTable, EachEventNamesItsOwnImagesProduct) {
  const SwapRow& row = GetParam();
  Download(row.first, 1);
  Edit();
  ASSERT_TRUE(form->isWindowModified());
  Download(row.second, 2);
  ASSERT_TRUE(prompts.AllUsed());

  int seen = 0;
  for (const history::Event& e : Events()) {
    SCOPED_TRACE(history::KindKey(e.kind).toStdString());
    if (e.kind == EventKind::ReplacedUnsent) {
      ++seen;
      EXPECT_EQ(e.product.toStdString(), row.first.product);
      EXPECT_EQ(e.imageProduct.toStdString(), row.first.product);
      EXPECT_EQ(e.image[200], 1);
    } else if (e.kind == EventKind::Downloaded) {
      ++seen;
      const Controller& c = e.image[200] == 1 ? row.first : row.second;
      EXPECT_EQ(e.product.toStdString(), c.product);
      EXPECT_EQ(e.imageProduct.toStdString(), c.link);
      EXPECT_EQ(e.linkText.toStdString(), c.link);
    }
  }
  EXPECT_EQ(seen, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Swaps, SwapTable,
    ::testing::Values(SwapRow{"ZorvThenTarnovex", kZorv, kTarnovex},
                      SwapRow{"TarnovexThenZorv", kTarnovexMarked, kZorv},
                      SwapRow{"TarnovexUnmarkedThenZorv", kTarnovex, kZorv},
                      SwapRow{"ZorvThenHalverston", kZorv, kHalverston},
                      SwapRow{"HalverstonThenQuirn", kHalverston, kQuirn},
                      SwapRow{"QuirnThenTarnovex", kQuirn, kTarnovexMarked}),
    [](const ::testing::TestParamInfo<SwapRow>& row) { return std::string(row.param.name); });

// "Unsent edits kept in the history" is a note: it goes after 5 s as the window's others do.
TEST_F(ControllerSwapTest, KeptEditsNoteGoesAfterFiveSeconds) {
  Download(kZorv, 1);
  Edit();
  Download(kTarnovex, 2);
  ASSERT_EQ(Line(), kUnsentEditsKept);
  QElapsedTimer shown;
  shown.start();
  while (!Line().isEmpty() && shown.elapsed() < 8000) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
  EXPECT_TRUE(Line().isEmpty()) << Line().toStdString();
  EXPECT_GE(shown.elapsed(), 4500);
}

}  // namespace
}  // namespace zorv::test
