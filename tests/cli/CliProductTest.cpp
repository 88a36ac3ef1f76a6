// Settings of products other than the Zorv in files, as a process: a switch file names no
// product, so --product says which; a JSON file names its own. show, report and diff read them
// in their own product's layout, never as Zorv settings.
#include <gtest/gtest.h>

#include "image/Catalogue.h"
#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "report/SettingsExport.h"
#include "tests/cli/CliWorld.h"

namespace zorv::test {
namespace {

constexpr std::uint8_t kNoShow = 0xEE;  // the row does not check show's lines

struct ProductRow {
  const char* name;
  QStringList cli;
  int exitCode;
  const char* out;  // in standard output
  const char* err;  // in standard error
  std::uint8_t shownAs = kNoShow;  // show's lines are those of this product's layout
};

void PrintTo(const ProductRow& row, std::ostream* os) { *os << row.name; }

// A controller's settings as they come: no Tarnovex marker in a Tarnovex controller's bytes.
SettingsImage Settings() {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  image[kTarnovexMarkerOffset] = 0;
  return image;
}

void WriteFiles(const CliWorld& world) {
  ASSERT_TRUE(WriteSwitchFile(world.File("settings.joy").toStdString(), Settings()));
  const std::pair<const char*, std::uint8_t> exports[] = {
      {"zorv.json", product::kZorvPages}, {"tarnovex.json", product::kTarnovex},
      {"halverston.json", product::kHalverston}, {"quirn.json", product::kQuirn}};
  for (const auto& [name, code] : exports) {
    ASSERT_TRUE(WriteWholeFile(world.File(name), ExportJson(Settings(), code)).isEmpty());
  }
}

class CliProduct : public ::testing::TestWithParam<ProductRow> {};

TEST_P(CliProduct, ReadInItsOwnLayout) {
  const ProductRow& row = GetParam();
  CliWorld world;
  WriteFiles(world);
  const CliRun run = world.Cli(row.cli);
  EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(row.out)) << run.out.toStdString();
  EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
  if (row.shownAs == kNoShow) return;
  const std::vector<Described> expected = Describe(Settings(), row.shownAs);
  const QStringList lines = run.out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), static_cast<qsizetype>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(lines[static_cast<qsizetype>(i)].startsWith(
        QString::fromStdString(expected[i].setting->page + "\t" + expected[i].setting->caption)))
        << lines[static_cast<qsizetype>(i)].toStdString();
  }
  if (row.shownAs != product::kZorvPages) {
    EXPECT_NE(expected.size(), Describe(Settings(), product::kZorvPages).size())
        << "the row cannot tell the product from the Zorv";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CliProduct,
    ::testing::Values(
        ProductRow{"ShowSwitchFileAsZorvByDefault", {"show", "{dir}/settings.joy"}, 0, "", "",
                   product::kZorvPages},
        ProductRow{"ShowSwitchFileAsTarnovex",
                   {"show", "--product", "tarnovex", "{dir}/settings.joy"}, 0, "", "",
                   product::kTarnovex},
        ProductRow{"ShowSwitchFileAsHalverston",
                   {"show", "--product", "Halverston", "{dir}/settings.joy"}, 0, "", "",
                   product::kHalverston},
        ProductRow{"ShowQuirnExport", {"show", "{dir}/quirn.json"}, 0, "", "", product::kQuirn},
        ProductRow{"ShowExportAsAnotherProductRefused",
                   {"show", "--product", "zorv", "{dir}/tarnovex.json"}, 2, "",
                   "tarnovex.json: holds Tarnovex settings, not Zorv (--product)"},
        ProductRow{"UnknownProductRefused", {"show", "--product", "vw", "{dir}/settings.joy"}, 2,
                   "", "Unknown product \"vw\""},
        ProductRow{"ReportTarnovexExport", {"report", "{dir}/tarnovex.json"}, 0,
                   "Tarnovex Trim/Configuration Settings", ""},
        ProductRow{"ReportSwitchFileAsTarnovex",
                   {"report", "--product", "tarnovex", "{dir}/settings.joy"}, 0,
                   "Tarnovex Trim/Configuration Settings", ""},
        ProductRow{"ReportZorvExport", {"report", "{dir}/zorv.json"}, 0,
                   "Zorv Trim/Configuration Settings", ""},
        ProductRow{"ReportHalverstonRefused", {"report", "{dir}/halverston.json"}, 2, "",
                   "No printed report for Halverston settings"},
        ProductRow{"ReportQuirnSwitchFileRefused",
                   {"report", "--product", "quirn", "{dir}/settings.joy"}, 2, "",
                   "No printed report for Quirn settings"},
        ProductRow{"DiffSwitchFileAsTarnovexAgainstZorvExport",
                   {"diff", "--product", "tarnovex", "{dir}/settings.joy", "{dir}/zorv.json"}, 1,
                   "Different products: Tarnovex settings against Zorv settings", ""},
        ProductRow{"DiffSwitchFileAsQuirnAgainstQuirnExport",
                   {"diff", "--product", "quirn", "{dir}/settings.joy", "{dir}/quirn.json"}, 0,
                   "", ""}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
