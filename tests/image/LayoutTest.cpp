// Layout selection and the offsets that are a wire and file format.
#include <gtest/gtest.h>

#include "image/HalverstonLayout.h"
#include "image/QuirnLayout.h"
#include "image/SettingsImage.h"
#include "image/TarnovexLayout.h"
#include "image/ZorvLayout.h"

namespace zorv {
namespace {

TEST(LayoutSelection, ProductCodeAndTarnovexMarker) {
  struct Case {
    std::uint8_t product;
    std::uint8_t byte33;
    Layout layout;
  };
  const Case cases[] = {
      {0, 1, Layout::Zorv},           {0, 20, Layout::Tarnovex},       {'b', 1, Layout::Tarnovex},
      {'d', 20, Layout::Halverston},  {'c', 20, Layout::Quirn},        {'g', 1, Layout::Zorv},
      {'G', 20, Layout::Tarnovex},    {0, 255, Layout::Zorv},          {'d', 1, Layout::Halverston},
      {'c', 0, Layout::Quirn}};
  for (const Case& c : cases) {
    SettingsImage image;
    image[33] = c.byte33;
    EXPECT_EQ(SelectLayout(c.product, image), c.layout)
        << "product " << int(c.product) << " byte33 " << int(c.byte33);
  }
}

TEST(ZorvLayout, TrimPairsAndGroupsSitWhereTheControllerExpectsThem) {
  for (int function = 1; function <= kFunctionCount; ++function) {
    EXPECT_EQ(zorvfield::TrimMin(function), static_cast<std::size_t>(2 * function - 1));
    EXPECT_EQ(zorvfield::TrimMax(function), zorvfield::TrimMin(function) + 1);
  }
  EXPECT_EQ(zorvfield::BladeRightMax, 32u);
  EXPECT_EQ(zorvfield::SwitchGroupAddress(1), 199u);
  EXPECT_EQ(zorvfield::SwitchGroupAddress(12), 210u);
  EXPECT_EQ(zorvfield::SwitchGroupPlus(1), 211u);
  EXPECT_EQ(zorvfield::SwitchGroupPlus(12), 222u);
  EXPECT_EQ(zorvfield::SwitchGroupMinus(1), 223u);
  EXPECT_EQ(zorvfield::SwitchGroupMinus(12), 234u);
  // Labels are 9 bytes apart, with the reserved block 93..101 between purple and no-button.
  EXPECT_EQ(zorvfield::GreenButtonLabel - zorvfield::RedButtonLabel, 9u);
  EXPECT_EQ(zorvfield::PurpleButtonLabel + 18, zorvfield::NoButtonLabel);
  EXPECT_EQ(zorvfield::AlwaysLiveLabel + 9, zorvfield::Stick4Function);
  EXPECT_EQ(zorvfield::HoistLimitKey, 244u);
}

TEST(OtherLayouts, FieldsShareTheSameBytes) {
  EXPECT_EQ(tarnovexfield::Joy1Safety, 17u);
  EXPECT_EQ(tarnovexfield::SystemMode, 19u);
  EXPECT_EQ(tarnovexfield::RtWingOutMax, 28u);
  EXPECT_EQ(tarnovexfield::Joy3Safety, 29u);
  EXPECT_EQ(halverstonfield::DumpMax, 16u);
  EXPECT_EQ(halverstonfield::DecelArmDownTime, 24u);
  EXPECT_EQ(quirnfield::IncreaseStopOutput, 26u);
  EXPECT_EQ(quirnfield::PulsesPerDistance, 28u);
  EXPECT_EQ(quirnfield::PistonFaceDiameter, 119u);
  EXPECT_EQ(quirnfield::UseMathSetup, 138u);
}

}  // namespace
}  // namespace zorv
