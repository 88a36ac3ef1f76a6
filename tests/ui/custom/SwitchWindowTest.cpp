// "Switch Group Setup": which groups the window shows, what it shows, and what it stores.
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <set>

#include "tests/ui/custom/CustomTabFixture.h"
#include "tests/ui/SheetCheck.h"
#include "ui/pages/custom/TAxisScreen.h"
#include "ui/widgets/SpinEdit.h"

namespace zorv::test {
namespace {

std::size_t Address(int n) {
  return static_cast<std::size_t>(198 + n);
}
std::size_t Plus(int n) {
  return static_cast<std::size_t>(210 + n);
}
std::size_t Minus(int n) {
  return static_cast<std::size_t>(222 + n);
}

class SwitchWindowTest : public CustomTabTest {
 protected:
  // Presses "Switch Group Setup"; `act` plays the user inside the modal window.
  void OpenSwitchWindow(const std::function<int(QDialog&)>& act) {
    host.scriptedPrompts.ExpectModal(act);
    const int refreshes = host.refreshCount;
    Find<QPushButton>("axisswitches")->click();
    EXPECT_TRUE(host.scriptedPrompts.AllUsed());
    ASSERT_FALSE(host.scriptedPrompts.shown.empty());
    EXPECT_EQ(host.scriptedPrompts.shown.back().title, "Axis Switch Setup");
    EXPECT_EQ(host.refreshCount, refreshes) << "the main window is not refreshed";
  }

  static std::set<int> ShownGroups(QDialog& window) {
    std::set<int> shown;
    for (int n = 1; n <= 12; ++n) {
      auto* box = window.findChild<QGroupBox*>(QStringLiteral("switchgroup%1").arg(n));
      EXPECT_NE(box, nullptr);
      if (box && !box->isHidden()) shown.insert(n);
    }
    return shown;
  }

  static SpinEdit* Spin(QDialog& window, int n, const char* kind) {
    auto* spin = window.findChild<SpinEdit*>(QStringLiteral("switch%1%2").arg(n).arg(kind));
    EXPECT_NE(spin, nullptr) << n << kind;
    return spin;
  }

  // Replaces the text of a spin edit by typing, as the user does.
  static void Type(SpinEdit* spin, const QString& text) {
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Backspace);
    QTest::keyClicks(spin, text);
  }
};

TEST_F(SwitchWindowTest, PurpleZOnSwitchGroup12ShowsOnlyGroup12) {
  SetJoystickType(3);
  Choose(Find<QComboBox>("PurpleButtonZAxis"), 20);
  ASSERT_EQ(host.image[148], 20);
  std::set<int> shown;
  OpenSwitchWindow([&](QDialog& window) {
    shown = ShownGroups(window);
    EXPECT_EQ(window.findChild<QGroupBox*>("switchgroup12")->title(), "Switch Group 12");
    return int{QDialog::Rejected};
  });
  EXPECT_EQ(shown, std::set<int>{12});
}

TEST_F(SwitchWindowTest, ShowsExactlyTheGroupsTheAxesUse) {
  const struct {
    std::vector<std::pair<std::size_t, std::uint8_t>> axes;
    std::set<int> shown;
  } cases[] = {
      {{}, {}},
      {{{124, 9}}, {1}},
      {{{122, 15}, {135, 9}, {127, 20}}, {1, 7, 12}},
      {{{121, 8}, {148, 21}, {133, 255}}, {}},       // valve groups and unknown values
      {{{121, 10}, {147, 10}, {143, 19}}, {2, 11}},  // two axes on one group
  };
  for (const auto& c : cases) {
    host.image = SettingsImage{};
    LoadDefaultImage(host.image, host.trims);
    for (const auto& [offset, value] : c.axes) host.image[offset] = value;
    std::set<int> shown;
    OpenSwitchWindow([&](QDialog& window) {
      shown = ShownGroups(window);
      return int{QDialog::Rejected};
    });
    EXPECT_EQ(shown, c.shown);
  }
}

TEST_F(SwitchWindowTest, FreshImageShowsSwitchOneAndAddress101AndCloseStoresIt) {
  int result = -1;
  OpenSwitchWindow([&](QDialog& window) {
    for (int n = 1; n <= 12; ++n) {
      EXPECT_EQ(Spin(window, n, "address")->value(), 101) << n;
      EXPECT_EQ(Spin(window, n, "plus")->value(), 1) << n;
      EXPECT_EQ(Spin(window, n, "minus")->value(), 1) << n;
    }
    EXPECT_EQ(host.image[Address(1)], 0) << "opening alone stores no address";
    window.findChild<QPushButton*>("AxisClose")->click();
    result = window.result();
    return result;
  });
  EXPECT_EQ(result, QDialog::Accepted);
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(host.image[Address(n)], 101) << n;
    EXPECT_EQ(host.image[Plus(n)], 0) << n;
    EXPECT_EQ(host.image[Minus(n)], 0) << n;
  }
}

TEST_F(SwitchWindowTest, OpeningShowsStoredSwitchesAndClearsOnesItCannotShow) {
  const struct {
    std::uint8_t stored;
    int shown;
    std::uint8_t after;
  } cases[] = {{0, 1, 0}, {4, 5, 4}, {11, 12, 11}, {12, 0, 200}, {200, 0, 200}, {255, 0, 200}};
  for (const auto& c : cases) {
    for (int n = 1; n <= 12; ++n) host.image[Plus(n)] = host.image[Minus(n)] = c.stored;
    OpenSwitchWindow([&](QDialog& window) {
      for (int n = 1; n <= 12; ++n) {
        EXPECT_EQ(Spin(window, n, "plus")->value(), c.shown) << "stored " << int(c.stored);
        EXPECT_EQ(Spin(window, n, "minus")->value(), c.shown) << "stored " << int(c.stored);
      }
      return int{QDialog::Rejected};
    });
    for (int n = 1; n <= 12; ++n) {
      EXPECT_EQ(host.image[Plus(n)], c.after) << "stored " << int(c.stored);
      EXPECT_EQ(host.image[Minus(n)], c.after) << "stored " << int(c.stored);
    }
  }
}

TEST_F(SwitchWindowTest, AddressesShowHeldToTheirRange) {
  const struct {
    std::uint8_t stored;
    int shown;
  } cases[] = {{0, 101}, {50, 101}, {101, 101}, {150, 150}, {255, 255}};
  for (const auto& c : cases) {
    host.image[Address(5)] = c.stored;
    OpenSwitchWindow([&](QDialog& window) {
      EXPECT_EQ(Spin(window, 5, "address")->value(), c.shown) << "stored " << int(c.stored);
      window.findChild<QPushButton*>("AxisClose")->click();
      return window.result();
    });
    EXPECT_EQ(host.image[Address(5)], c.shown) << "Close stores what the window shows";
  }
}

// The window edits a copy: what was typed reaches the image when the window closes.
TEST_F(SwitchWindowTest, TypedSwitchNumbersAreStoredOnClosing) {
  const struct {
    int group;
    const char* kind;
    const char* typed;
    std::size_t offset;
    std::uint8_t stored;
  } cases[] = {
      {1, "minus", "0", Minus(1), 200},       {1, "minus", "12", Minus(1), 11},
      {3, "plus", "0", Plus(3), 200},         {3, "plus", "5", Plus(3), 4},
      {12, "plus", "12", Plus(12), 11},       {7, "minus", "1", Minus(7), 0},
      {9, "address", "150", Address(9), 150}, {9, "address", "255", Address(9), 255},
  };
  for (const auto& c : cases) {
    host.image[c.offset] = c.offset < 211 ? 120 : 5;  // a valid address or switch 6
    OpenSwitchWindow([&](QDialog& window) {
      window.show();
      Type(Spin(window, c.group, c.kind), c.typed);
      window.reject();  // the window's close box
      return window.result();
    });
    EXPECT_EQ(host.image[c.offset], c.stored) << c.group << c.kind << " typed " << c.typed;
  }
}

// A download that arrives while the window is open keeps every byte the user did not change
// there; "Close" writes only the user's changes.
TEST_F(SwitchWindowTest, CloseWritesOnlyWhatTheUserChanged) {
  const struct {
    const char* name;
    int group;
    const char* kind;
    const char* typed;
    std::size_t changed;
    std::uint8_t stored;
  } cases[] = {{"plus", 2, "plus", "7", Plus(2), 6},
               {"address", 5, "address", "140", Address(5), 140},
               {"nothing", 0, "", "", 0, 0}};
  for (const auto& c : cases) {
    for (int n = 1; n <= 12; ++n) host.image[Address(n)] = 120;
    OpenSwitchWindow([&](QDialog& window) {
      window.show();
      // The download: every address and switch byte changes under the open window.
      for (int n = 1; n <= 12; ++n) {
        host.image[Address(n)] = static_cast<std::uint8_t>(200 + n);
        host.image[Plus(n)] = 3;
        host.image[Minus(n)] = 4;
      }
      if (c.group != 0) {
        SpinEdit* spin = Spin(window, c.group, c.kind);
        spin->setFocus();
        Type(spin, c.typed);
      }
      window.findChild<QPushButton*>("AxisClose")->click();
      return window.result();
    });
    for (int n = 1; n <= 12; ++n) {
      const int address = Address(n) == c.changed ? c.stored : 200 + n;
      const int plus = Plus(n) == c.changed ? c.stored : 3;
      EXPECT_EQ(host.image[Address(n)], address) << c.name << n;
      EXPECT_EQ(host.image[Plus(n)], plus) << c.name << n;
      EXPECT_EQ(host.image[Minus(n)], 4) << c.name << n;
    }
  }
}

TEST_F(SwitchWindowTest, UnfinishedAddressIsStoredAsTheWindowWouldShowIt) {
  const struct {
    const char* typed;
    std::uint8_t stored;
  } cases[] = {{"999", 255}, {"5", 101}, {"", 101}, {"256", 255}, {"180", 180}};
  for (const auto& c : cases) {
    int result = -1;
    OpenSwitchWindow([&](QDialog& window) {
      window.show();
      SpinEdit* spin = Spin(window, 4, "address");
      spin->setFocus();
      Type(spin, c.typed);
      // Enter presses the default button "Close" while the number is still being typed.
      QTest::keyClick(spin, Qt::Key_Return);
      result = window.result();
      return result;
    });
    EXPECT_EQ(result, QDialog::Accepted) << "typed " << c.typed;
    EXPECT_EQ(host.image[Address(4)], c.stored) << "typed " << c.typed;
  }
}

TEST_F(SwitchWindowTest, EveryGroupIsReadableWhenShown) {
  for (std::size_t offset : {121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132}) {
    host.image[offset] = static_cast<std::uint8_t>(offset - 121 + 9);
  }
  OpenSwitchWindow([&](QDialog& window) {
    EXPECT_EQ(ShownGroups(window).size(), 12u);
    window.show();
    ExpectReadable(window, "/tmp/zorv-switch-window-all.png");
    window.hide();
    return int{QDialog::Rejected};
  });
  host.image[148] = 20;
  for (std::size_t offset = 121; offset <= 132; ++offset) host.image[offset] = 0;
  OpenSwitchWindow([&](QDialog& window) {
    EXPECT_EQ(ShownGroups(window), std::set<int>{12});
    window.show();
    ExpectReadable(window, "/tmp/zorv-switch-window-group12.png");
    window.hide();
    return int{QDialog::Rejected};
  });
}

}  // namespace
}  // namespace zorv::test
