// The refresh frame: guard, the window's image itself, page selection, steps in order.
#include <gtest/gtest.h>

#include <QLabel>
#include <vector>

#include "tests/support/FakePageHost.h"
#include "ui/RefreshControls.h"

namespace zorv {
namespace {

// A tab that records the steps and what it was given, asks for a nested refresh (as a handler
// fired while showing would) and sets a label and a repair.
class RecordingTab final : public ZorvRefreshTarget {
 public:
  explicit RecordingTab(test::FakePageHost& host) : host_(host) {}
  void Refresh(ZorvStep step, SettingsImage& local) override {
    steps.push_back(step);
    onTheImage = onTheImage && &local == &host_.Image();
    if (step == ZorvStep::TrimBars) {
      host_.RefreshControls(0);
      label.setText("fired");
      local[237] = 1;  // a repair
    }
  }
  std::vector<ZorvStep> steps;
  bool onTheImage = true;
  QLabel label;

 private:
  test::FakePageHost& host_;
};

class RecordingProductPage final : public ProductPageRefreshTarget {
 public:
  void Refresh(SettingsImage& local) override {
    ++calls;
    byte33 = local[33];
  }
  int calls = 0;
  int byte33 = -1;
};

TEST(RefreshFrame, GuardImageAndStepOrder) {
  test::FakePageHost host;
  RecordingTab tab(host);
  host.refresher().AddZorvTarget(&tab);

  host.RefreshControls(1);

  ASSERT_EQ(tab.steps.size(), static_cast<std::size_t>(kLastZorvStep));
  for (std::size_t i = 0; i < tab.steps.size(); ++i) {
    EXPECT_EQ(static_cast<int>(tab.steps[i]), static_cast<int>(i) + kFirstZorvStep);
  }
  EXPECT_TRUE(tab.onTheImage) << "every step works on the window's image, no copy";
  EXPECT_EQ(host.image[237], 1) << "repairs are stored";
  EXPECT_EQ(tab.label.text(), "fired") << "other effects of fired handlers stay";
  EXPECT_EQ(host.refreshCount, 2) << "the nested call happened and did nothing";
  EXPECT_EQ(host.productPagesShown, (std::vector<int>{productpage::kZorv}));
}

TEST(RefreshFrame, ProductPageSelection) {
  struct Case {
    std::uint8_t product;
    std::uint8_t byte33;
    int page;
    std::uint8_t productAfter;
    std::uint8_t byte33After;
  };
  const Case cases[] = {{0, 1, productpage::kZorv, 0, 1},
                        {'b', 1, productpage::kTarnovex, 0, 20},
                        {0, 20, productpage::kTarnovex, 0, 20},
                        {'d', 20, productpage::kHalverston, 'd', 20},
                        {'c', 1, productpage::kQuirn, 'c', 1}};
  for (const Case& c : cases) {
    test::FakePageHost host;
    RecordingTab tab(host);
    RecordingProductPage tarnovex, quirn, halverston;
    host.refresher().AddZorvTarget(&tab);
    host.refresher().SetProductPage(productpage::kTarnovex, &tarnovex);
    host.refresher().SetProductPage(productpage::kQuirn, &quirn);
    host.refresher().SetProductPage(productpage::kHalverston, &halverston);
    host.productCode = c.product;
    host.image[33] = c.byte33;

    host.RefreshControls(1);

    EXPECT_EQ(host.productPagesShown, (std::vector<int>{c.page})) << int(c.product);
    EXPECT_EQ(host.productCode, c.productAfter);
    EXPECT_EQ(host.image[33], c.byte33After);
    EXPECT_EQ(tab.steps.empty(), c.page != productpage::kZorv);
    const int calls = tarnovex.calls + quirn.calls + halverston.calls;
    EXPECT_EQ(calls, c.page == productpage::kZorv ? 0 : 1);
    if (c.page == productpage::kTarnovex) {
      EXPECT_EQ(tarnovex.byte33, 20);
    }
  }
}

}  // namespace
}  // namespace zorv
