// File > "Export..." and File > Open of an exported JSON file, through the real window: the
// round trip gives the same 256 bytes for every product, and a file changed by hand is refused
// with a clear text while the window's image stays as it was.
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "image/Catalogue.h"
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

}  // namespace
}  // namespace zorv::test
