// File > "Export..." and File > Open of an exported JSON file, through the real window: the
// round trip gives the same 256 bytes for every product, and a file changed by hand is refused
// with a clear text while the window's image stays as it was.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <random>

#include "image/Catalogue.h"
#include "image/QuirnLayout.h"
#include "image/SwitchFile.h"
#include "image/TextFields.h"
#include "image/ZorvLayout.h"
#include "report/SettingsExport.h"
#include "ui/files/CompareWindow.h"
#include "tests/app/FormFixture.h"

namespace zorv::test {
namespace {

class ExportTest : public FormFixture {
 protected:
  void SetUp() override { MakeForm(); }

  // A busy image for `productCode`, as the window keeps it after showing it.
  SettingsImage Shown(std::uint8_t productCode, unsigned seed) {
    std::mt19937 random(seed);
    SettingsImage image;
    for (auto& b : image.bytes) b = static_cast<std::uint8_t>(random() % 256);
    image[kTarnovexMarkerOffset] = productCode == product::kTarnovex ? kTarnovexMarker : 1;
    form->Image() = image;
    form->SetProductCode(productCode);
    form->RefreshControls(1);
    return form->Image();
  }

  void Export(const QString& path) {
    prompts.ExpectSaveFile(path);
    Action("Export1")->trigger();
  }
  void Open(const QString& path) {
    prompts.ExpectOpenFile(path);
    Action("Open1")->trigger();
  }
  QByteArray Read(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
  }
  void Write(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
  }

  QString LastMessage() const {
    const std::vector<QString> texts = prompts.MessageTexts();
    return texts.empty() ? QString() : texts.back();
  }

  QTemporaryDir folder;
};

TEST_F(ExportTest, JsonRoundTripIsByteIdenticalForEveryProduct) {
  for (const std::uint8_t code : {std::uint8_t{0}, product::kZorv10, product::kTarnovex,
                                  product::kHalverston, product::kQuirn}) {
    const SettingsImage exported = Shown(code, code + 7U);
    const std::uint8_t productAfterRefresh = form->ProductCode();
    const QString path = folder.filePath(QString("export-%1.json").arg(code));
    Export(path);
    const QByteArray json = Read(path);
    EXPECT_TRUE(json.contains("\"toolVersion\"")) << code;

    // Something else in the window, and other global trims: opening changes only the image.
    Shown(productAfterRefresh, 99);
    form->Trims() = {17, 171};
    Open(path);
    EXPECT_TRUE(prompts.MessageTexts().empty())
        << int(code) << ": " << prompts.MessageTexts().front().toStdString();
    EXPECT_EQ(form->Image(), exported) << "product " << int(code);
    EXPECT_EQ(form->ProductCode(), productAfterRefresh);
    EXPECT_EQ(form->Trims(), (GlobalTrimPair{17, 171}));
  }
}

TEST_F(ExportTest, CsvHasOneLineASettingWithKeyCaptionPageValueAndText) {
  SettingsImage image = Shown(0, 3);
  const QString path = folder.filePath("export.csv");
  Export(path);
  const QStringList lines = QString::fromUtf8(Read(path)).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.front(), "key,caption,page,value,text");
  EXPECT_EQ(lines.size(), static_cast<qsizetype>(Describe(image, 0).size()) + 1);
  const QString hoistUp = "zorv.trim.hoist_up.min,Hoist Up minimum,Hoist (A2)," +
                          QString::number(image[1]) + ",";
  EXPECT_TRUE(lines.filter(hoistUp).size() == 1) << hoistUp.toStdString();
}

struct DamageRow {
  const char* name;
  QByteArray (*damage)(QByteArray);
  const char* says;  // part of the error text
};

TEST_F(ExportTest, HandDamagedJsonIsRefusedAndTheImageStays) {
  const std::vector<DamageRow> rows = {
      {"a value changed by hand",
       [](QByteArray j) {
         return j.replace("\"text\": \"0.1v\"", "\"text\": \"0.9v\"");
       },
       "Hoist Up minimum"},
      {"a byte cut from the raw bytes",
       [](QByteArray j) {
         const qsizetype at = j.indexOf("\"bytes\": \"") + 10;
         return j.remove(at, 2);
       },
       "256 bytes"},
      {"not JSON", [](QByteArray j) { return j.left(j.size() / 2); }, "not a settings export"},
      {"a setting left out",
       [](QByteArray j) { return j.replace("zorv.option.body_lock", "zorv.option.no_such"); },
       "Enable Body Lock"},
  };
  SettingsImage image = Shown(0, 5);
  image[1] = 2;  // Hoist Up minimum 0.1v, which the first row changes
  form->Image() = image;
  form->RefreshControls(1);
  const SettingsImage exported = form->Image();
  const QString path = folder.filePath("good.json");
  Export(path);
  const QByteArray good = Read(path);
  ASSERT_TRUE(good.contains("\"text\": \"0.1v\""));
  for (const DamageRow& row : rows) {
    const QString damaged = folder.filePath("damaged.json");
    Write(damaged, row.damage(good));
    const SettingsImage before = Shown(0, 11);
    prompts.ExpectOpenFile(damaged);
    prompts.ExpectMessage();
    Action("Open1")->trigger();
    EXPECT_EQ(form->Image(), before) << row.name;
    ASSERT_FALSE(prompts.MessageTexts().empty()) << row.name;
    EXPECT_TRUE(prompts.MessageTexts().back().contains(row.says))
        << row.name << ": " << prompts.MessageTexts().back().toStdString();
  }
  EXPECT_NE(exported, Shown(0, 11));
}

struct RefusalRow {
  const char* name;
  const char* from;  // text of the exported file
  const char* to;    // what the hand edit puts there
  const char* says;  // the refusal quotes what the file holds
};

// A refusal quotes what the file really holds, never a value that reads the same as the bytes.
TEST_F(ExportTest, RefusalQuotesWhatTheFileHolds) {
  const std::vector<RefusalRow> rows = {
      {"number written as a string", "\"value\": 30283\n", "\"value\": \"30283\"\n", "\"30283\""},
      {"number with a fraction", "\"value\": 30283\n", "\"value\": 30283.4\n", "30283.4"},
      {"number too large", "\"value\": 30283\n", "\"value\": 1e308\n", "1e+308"},
      {"format version as a string", "\"formatVersion\": 2,", "\"formatVersion\": \"1\",",
       "format version \"1\""},
      {"product as a number", "\"product\": \"c\",", "\"product\": 99,", "product (99)"},
  };
  SettingsImage image = Shown(product::kQuirn, 4);
  WriteWord(image, quirnfield::ReduceStopPsi, 30283);
  for (std::size_t i = 0; i < kImageSize; ++i) {
    if (i != quirnfield::ReduceStopPsi && i != quirnfield::ReduceStopPsi + 1) image[i] = 0;
  }
  const QString path = folder.filePath("quirn.json");
  Write(path, ExportJson(image, product::kQuirn));
  const QByteArray good = Read(path);
  for (const RefusalRow& row : rows) {
    ASSERT_EQ(good.count(row.from), 1) << row.name;
    QByteArray damaged = good;
    damaged.replace(row.from, row.to);
    Write(path, damaged);
    prompts.ExpectOpenFile(path);
    prompts.ExpectMessage();
    Action("Open1")->trigger();
    const QString said = LastMessage();
    EXPECT_TRUE(said.contains(row.says)) << row.name << ": " << said.toStdString();
    EXPECT_FALSE(said.contains("reads 30283 in the file but its bytes hold 30283")) << row.name;
  }
}

// CSV: a carriage return is quoted like a line feed; a field a spreadsheet would run as a
// formula is written as text; the byte order mark lets a spreadsheet read accents.
TEST_F(ExportTest, CsvFieldsSpreadsheetsReadSafely) {
  SettingsImage image = Shown(0, 3);
  WriteLabel(image, zorvfield::RedButtonLabel, "=1+2");
  image[zorvfield::GreenButtonLabel + 2] = '\r';
  image[zorvfield::BlueButtonLabel + 1] = '@';
  form->Image() = image;
  const QString path = folder.filePath("export.csv");
  Export(path);
  const QByteArray csv = Read(path);
  ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << "UTF-8 byte order mark";
  const QString text = QString::fromUtf8(csv.mid(3));
  EXPECT_TRUE(text.startsWith("key,caption,page,value,text\r\n"));
  // Rows split as a spreadsheet does: CR LF outside quotes ends a row.
  int rows = 0;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (!quoted && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++rows;
    if (!quoted && (text[i] == '\r' || text[i] == '\n')) {
      EXPECT_TRUE(text[i] == '\r' ? text.mid(i, 2) == "\r\n" : text[i - 1] == '\r')
          << "a bare line end outside quotes at " << i;
    }
  }
  EXPECT_EQ(rows, static_cast<int>(Describe(form->Image(), 0).size()) + 1);
  EXPECT_TRUE(text.contains(",'=1+2,'=1+2\r\n")) << "a formula is written as text";
  EXPECT_FALSE(text.contains(",=1+2"));
  EXPECT_FALSE(text.contains(",@"));
}

// A name typed without ".json" is saved as name.json: the question about replacing a file is
// asked about that file.
TEST_F(ExportTest, ReplacingTheFileReallyWrittenIsAsked) {
  Shown(0, 3);
  const QString existing = folder.filePath("truck1.json");
  Write(existing, "keep me");
  for (const bool replace : {false, true}) {
    prompts.ExpectSaveFile(folder.filePath("truck1"));
    prompts.ExpectConfirm(replace);
    Action("Export1")->trigger();
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().call, ScriptedPrompts::Call::Confirm);
    EXPECT_TRUE(prompts.shown.back().text.contains("truck1.json")) << prompts.shown.back().text.toStdString();
    EXPECT_EQ(Read(existing) == "keep me", !replace);
  }
}

struct ProductRow {
  const char* name;
  std::uint8_t fileProduct;
  std::uint8_t windowProduct;
  int answer;  // -1: no question expected; 0 load, 1 keep
  bool loaded;
};

// An export of another product is named and asked about before it is loaded.
TEST_F(ExportTest, AnotherProductsFileIsAskedAbout) {
  const std::vector<ProductRow> rows = {
      {"Quirn file, Zorv window, keep", product::kQuirn, product::kZorv11, 1, false},
      {"Quirn file, Zorv window, load", product::kQuirn, product::kZorv11, 0, true},
      {"Zorv file, Zorv window", product::kZorv11, product::kZorv11, -1, true},
      {"Zorv v1.1 file, no controller", product::kZorv11, product::kZorvPages, -1, true},
  };
  for (const ProductRow& row : rows) {
    const SettingsImage file = Shown(row.fileProduct, 21);
    const QString path = folder.filePath("other.json");
    Write(path, ExportJson(file, row.fileProduct));
    const SettingsImage before = Shown(row.windowProduct, 22);
    prompts.ExpectOpenFile(path);
    if (row.answer >= 0) prompts.ExpectChoice(row.answer);
    Action("Open1")->trigger();
    if (row.answer >= 0) {
      ASSERT_EQ(prompts.shown.back().call, ScriptedPrompts::Call::Choose) << row.name;
      EXPECT_TRUE(prompts.shown.back().text.contains("Quirn")) << prompts.shown.back().text.toStdString();
    }
    if (!row.loaded) {
      EXPECT_EQ(form->Image(), before) << row.name;
    } else if (row.answer == 0) {
      EXPECT_NE(form->Image(), before) << row.name << ": loaded, then shown as this window reads it";
    } else {
      EXPECT_EQ(form->Image(), file) << row.name;
    }
  }
}

// A value the catalogue's range does not allow is named in the refusal, not clamped.
TEST_F(ExportTest, ValueOutOfRangeIsNamed) {
  SettingsImage image = Shown(0, 3);
  image[zorvfield::StartupDelay] = 99;
  const QString path = folder.filePath("range.json");
  Write(path, ExportJson(image, 0));
  const SettingsImage before = Shown(0, 8);
  prompts.ExpectOpenFile(path);
  prompts.ExpectMessage();
  Action("Open1")->trigger();
  EXPECT_EQ(form->Image(), before);
  const QString said = LastMessage();
  EXPECT_TRUE(said.contains("Startup Delay") && said.contains("99")) << said.toStdString();
}

// Compare with File, "Load this file", and a JSON import leave the caption clean, as File >
// Open does: the window holds what the file holds.
TEST_F(ExportTest, LoadedFilesLeaveNoMarker) {
  const SettingsImage exported = Shown(0, 3);
  const QString json = folder.filePath("marker.json");
  Export(json);
  const QString joy = folder.filePath("marker.joy");
  ASSERT_TRUE(WriteSwitchFile(joy.toStdString(), exported).ok);
  for (const QString& path : {json, joy}) {
    Shown(0, 9);
    form->Image()[zorvfield::StartupDelay] = 3;  // an unsent edit
    form->RefreshControls(0);
    ASSERT_TRUE(form->isWindowModified());
    prompts.ExpectOpenFile(path);
    prompts.ExpectModal([](QDialog& compare) { compare.done(CompareWindow::kLoadFile); return CompareWindow::kLoadFile; });
    Action("CompareWithFile1")->trigger();
    EXPECT_EQ(form->Image(), exported) << path.toStdString();
    EXPECT_FALSE(form->isWindowModified()) << "compare, load: " << path.toStdString();
  }
  Shown(0, 9);
  form->Image()[zorvfield::StartupDelay] = 3;
  form->RefreshControls(0);
  Open(json);
  EXPECT_FALSE(form->isWindowModified()) << "JSON import";
}

// A file of the first format (no second rows on shared bytes) still opens, byte for byte.
TEST_F(ExportTest, FirstFormatFileStillOpens) {
  SettingsImage image = Shown(0, 3);
  image[zorvfield::RedButtonMode] = mode::kSlave;
  image[zorvfield::JoystickType] = joystick::kThreeHfxCustom;
  form->Image() = image;
  form->RefreshControls(1);
  const SettingsImage exported = form->Image();
  const QString path = folder.filePath("first.json");
  Export(path);
  QJsonObject root = QJsonDocument::fromJson(Read(path)).object();
  ASSERT_EQ(root["formatVersion"].toInt(), 2);
  root["formatVersion"] = 1;
  QJsonObject named = root["settings"].toObject();
  int removed = 0;
  for (const QString& key : named.keys()) {
    if (key.endsWith(".slave_target") || key.startsWith("zorv.three_stick.")) {
      named.remove(key);
      ++removed;
    }
  }
  EXPECT_EQ(removed, 6 + 4);
  root["settings"] = named;
  Write(path, QJsonDocument(root).toJson());
  Shown(0, 8);
  Open(path);
  EXPECT_TRUE(prompts.MessageTexts().empty()) << LastMessage().toStdString();
  EXPECT_EQ(form->Image(), exported);
}

}  // namespace
}  // namespace zorv::test
