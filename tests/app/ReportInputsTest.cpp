// The report read from the catalogue prints what the window's "&Print" prints: for every product
// and every joystick type with button modes, the lines made from the catalogue's inputs equal
// those made from the real window's drop-downs and frequency bar after its refresh.
#include "image/Catalogue.h"
#include "image/DefaultImage.h"
#include "report/CatalogueReportInputs.h"
#include "tests/app/FormFixture.h"
#include "ui/report/WindowReportInputs.h"

namespace zorv::test {
namespace {

struct InputsCase {
  const char* name;
  std::uint8_t productCode;
  std::uint8_t byte33;  // joystick type, or the Tarnovex marker
};

class ReportInputsTest : public FormFixture, public ::testing::WithParamInterface<InputsCase> {};

// Every button-mode byte gets a valid value of its own, different per seed.
void SetModes(SettingsImage& image, std::uint8_t productCode, int seed) {
  std::size_t row = 0;
  for (const Setting& s : CatalogueOf(SelectLayout(productCode, image))) {
    if (s.encoding != Encoding::ButtonMode) continue;
    const std::size_t pick = row++ * 3 + static_cast<std::size_t>(seed) * 5;
    const int value = s.values.empty() ? s.min + static_cast<int>(pick % static_cast<std::size_t>(s.max - s.min + 1))
                                       : s.values[pick % s.values.size()];
    for (const ByteRange& r : s.ranges) image[r.offset] = static_cast<std::uint8_t>(value);
  }
}

TEST_P(ReportInputsTest, CatalogueLinesEqualWindowLines) {
  const InputsCase c = GetParam();
  MakeForm();
  for (int seed = 0; seed < 3; ++seed) {
    SettingsImage image;
    LoadDefaultImage(image, form->Trims());
    image[33] = c.byte33;
    image[0] = static_cast<std::uint8_t>(40 + 50 * seed);
    SetModes(image, c.productCode, seed);
    form->Image() = image;
    form->SetProductCode(c.productCode);
    form->RefreshControls(1);
    const SettingsImage shown = form->Image();
    const QStringList window = ReportLines(shown, ReportInputsFrom(*form, shown));
    const QStringList catalogue = ReportLines(shown, CatalogueReportInputs(shown, c.productCode));
    EXPECT_EQ(catalogue.join('\n').toStdString(), window.join('\n').toStdString())
        << "seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryProduct, ReportInputsTest,
    ::testing::Values(InputsCase{"ZorvFourButton", 0, 1}, InputsCase{"ZorvSixButton", 0, 2},
                      InputsCase{"ZorvEightButton", 0, 3}, InputsCase{"ZorvSlave", 0, 19},
                      InputsCase{"ZorvTwinHfx", 0, 21}, InputsCase{"ZorvTripleHfx", 0, 23},
                      InputsCase{"Tarnovex", product::kTarnovex, 20},
                      InputsCase{"Halverston", product::kHalverston, 23},
                      InputsCase{"Quirn", product::kQuirn, 21}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
