#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "host/PortChoice.h"
#include "ui/port/PortChoiceDialog.h"
#include "host/PortDiscovery.h"
#include "ui/port/SettingsDialog.h"
#include "link/PortNames.h"
#include "tests/host/PrivateSettings.h"

namespace zorv {
namespace {

PresentPorts Ports(std::initializer_list<int> numbers) {
  PresentPorts ports;
  for (const int n : numbers) ports[n] = {"/dev/x" + std::to_string(n), "port " + std::to_string(n)};
  return ports;
}

struct Selection {
  std::vector<int> present;
  int current;
  int selectedPort;  // 0: nothing selected
};

class InitialSelectionTest : public ::testing::TestWithParam<Selection> {};

// The dialog opens on the current port, else the highest present port below it, else the first.
TEST_P(InitialSelectionTest, DialogOpensOnTheRightEntry) {
  PresentPorts ports;
  for (const int n : GetParam().present) ports[n] = {"/dev/x", ""};
  int shownPort = -1;
  ChoosePort(ports, GetParam().current, [&](QDialog& dialog) {
    auto* box = dialog.findChild<QComboBox*>("ComPortBox");
    const QString text = box->currentText();
    shownPort = text.isEmpty() ? 0 : text.mid(3).toInt();
    return QDialog::Accepted;
  });
  EXPECT_EQ(shownPort, GetParam().selectedPort);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InitialSelectionTest,
    ::testing::Values(Selection{{1, 3, 10}, 3, 3}, Selection{{1, 3, 10}, 5, 3},
                      Selection{{1, 3, 10}, 0, 1}, Selection{{1, 3, 10}, 10, 10},
                      Selection{{1, 3, 10}, 255, 10}, Selection{{3, 10}, 2, 3},
                      Selection{{3, 10}, -4, 3}, Selection{{}, 1, 0}));

TEST(ChoosePort, ListsComNumbersAscendingWithDeviceTooltipsAndOnlyAnOkButton) {
  TSettingsDialog dialog(Ports({10, 1, 3}));
  EXPECT_EQ(dialog.windowTitle(), "COM Port Setting");
  QComboBox* box = dialog.ComPortBox();
  EXPECT_EQ(box->objectName(), "ComPortBox");
  EXPECT_FALSE(box->isEditable());
  ASSERT_EQ(box->count(), 3);
  EXPECT_EQ(box->itemText(0), "COM1");
  EXPECT_EQ(box->itemText(1), "COM3");
  EXPECT_EQ(box->itemText(2), "COM10");
  EXPECT_EQ(box->itemData(2, Qt::ToolTipRole).toString(), "/dev/x10 - port 10");
  const auto buttons = dialog.findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons[0]->text(), "OK");
  EXPECT_TRUE(buttons[0]->isDefault());
}

TEST(ChoosePort, ChoosingAnEntryGivesItsPortNumber) {
  const int chosen = ChoosePort(Ports({1, 3, 10}), 3, [](QDialog& dialog) {
    auto* box = dialog.findChild<QComboBox*>("ComPortBox");
    box->setCurrentIndex(box->findText("COM10"));
    dialog.findChild<QPushButton*>()->click();
    return dialog.result();
  });
  EXPECT_EQ(chosen, 10);
}

TEST(ChoosePort, EscapeDoesNotCancelAndTheSelectionStillCounts) {
  const int chosen = ChoosePort(Ports({1, 3, 10}), 1, [](QDialog& dialog) {
    dialog.reject();
    return dialog.result();
  });
  EXPECT_EQ(chosen, 1);
}

TEST(ChoosePort, EmptyListGivesPortZero) {
  EXPECT_EQ(ChoosePort({}, 3, [](QDialog&) { return QDialog::Accepted; }), 0);
}

// The system's own names for ports 1, 3, 33, 34 and 66, and a serial device with no number.
#ifdef Q_OS_WIN
constexpr const char* kPort1 = "COM1";
constexpr const char* kPort3 = "COM3";
constexpr const char* kPort33 = "COM33";
constexpr const char* kPort34 = "COM34";
constexpr const char* kPort66 = "COM66";
constexpr const char* kNoNumber = "CNCA0";
#else
constexpr const char* kPort1 = "/dev/ttyS0";
constexpr const char* kPort3 = "/dev/ttyS2";
constexpr const char* kPort33 = "/dev/ttyUSB0";
constexpr const char* kPort34 = "/dev/ttyUSB1";
constexpr const char* kPort66 = "/dev/ttyACM1";
constexpr const char* kNoNumber = "/dev/rfcomm0";
#endif

TEST(PortTable, SystemDevicesByStableNumberAliasesAddedAndWinning) {
  test::PrivateSettings settings;
  const std::vector<SystemPort> system = {{kPort3, "16550A"},
                                          {kPort33, "FT232R USB UART"},
                                          {kPort66, ""},
                                          {kNoNumber, "Bluetooth"}};
  const std::map<int, std::string> aliases = {{200, "/dev/pts/7"}, {34, "/dev/serial/by-id/x"}};
  const PresentPorts ports = BuildPortTable(system, aliases);
  EXPECT_EQ(ListedPorts(ports), (std::vector<int>{3, 33, 34, 66, 200}));
  EXPECT_EQ(ports.at(33).device, kPort33);
  EXPECT_EQ(ports.at(33).description, "FT232R USB UART");
  EXPECT_EQ(ports.at(200).device, "/dev/pts/7");
  EXPECT_EQ(PresetPortNumber(ports), 3);
}

TEST(PortTable, AliasOverASystemPortWins) {
  test::PrivateSettings settings;
  const PresentPorts ports = BuildPortTable({{kPort33, "adapter"}}, {{33, "/dev/pts/3"}});
  ASSERT_EQ(ports.size(), 1u);
  EXPECT_EQ(ports.at(33).device, "/dev/pts/3");
}

TEST(PortTable, NoPortsPresetsPortOne) {
  test::PrivateSettings settings;
  const PresentPorts ports = BuildPortTable({{"/dev/pts/9", ""}}, {});
  EXPECT_TRUE(ports.empty());
  EXPECT_EQ(PresetPortNumber(ports), 1);
}

// Each entry's tooltip tells the adapter apart; "Remember this adapter" writes the alias to the
// adapter's stable path, and is only offered for an entry that has one.
struct RememberCase {
  const char* name;
  int choose;     // index of the entry chosen
  bool tick;      // the user ticks the box (when it is enabled)
  bool enabled;   // the box can be ticked for that entry
  const char* alias;  // alias of COM33 afterwards, "" for none
};

class RememberAdapter : public ::testing::TestWithParam<RememberCase> {};

TEST_P(RememberAdapter, WritesTheStableAliasOnlyWhenAsked) {
  test::PrivateSettings settings;
  const std::string stable = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3ZQ7-if00-port0";
  const PresentPorts ports = BuildPortTable(
      {{kPort1, "16550A"}, {kPort33, "FT232R USB UART", "FTDI", "A10K3ZQ7", stable}},
      {});
  const RememberCase& c = GetParam();
  QString tooltip;
  bool enabled = false;
  const int chosen = ChoosePort(ports, 1, [&](QDialog& dialog) {
    auto* box = dialog.findChild<QComboBox*>("ComPortBox");
    box->setCurrentIndex(c.choose);
    tooltip = box->itemData(1, Qt::ToolTipRole).toString();
    auto* remember = dialog.findChild<QCheckBox*>("RememberAdapterBox");
    enabled = remember->isEnabled();
    if (c.tick && remember->isEnabled()) remember->click();
    dialog.accept();
    return dialog.result();
  });
  EXPECT_EQ(chosen, c.choose == 0 ? 1 : 33);
  EXPECT_EQ(enabled, c.enabled);
  EXPECT_EQ(tooltip.toStdString(), std::string(kPort33) +
                                       " - FT232R USB UART\nMaker: FTDI\nSerial number: "
                                       "A10K3ZQ7\nAdapter: " + stable);
  const auto aliases = PortAliases();
  EXPECT_EQ(aliases.count(33) ? aliases.at(33) : std::string(), *c.alias ? stable : "");
  EXPECT_EQ(aliases.count(1), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, RememberAdapter,
    ::testing::Values(RememberCase{"adapter_remembered", 1, true, true, "stable"},
                      RememberCase{"adapter_not_ticked", 1, false, true, ""},
                      RememberCase{"builtin_port_has_no_stable_name", 0, true, false, ""}),
    [](const auto& row) { return std::string(row.param.name); });

// A remembered adapter that is present still shows what it is.
TEST(PortTable, RememberedAdapterKeepsItsDescription) {
  test::PrivateSettings settings;
  const std::string stable = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
  const PresentPorts ports =
      BuildPortTable({{kPort34, "USB Serial", "1a86", "", stable}}, {{33, stable}});
  EXPECT_EQ(ListedPorts(ports), (std::vector<int>{33, 34}));
  EXPECT_EQ(ports.at(33).device, stable);
  EXPECT_EQ(ports.at(33).description, "USB Serial (remembered)");
}

TEST(PortTable, DiscoveryIncludesTheUsersAliases) {
  test::PrivateSettings settings;
  SetPortAlias(201, "/dev/pts/42");
  const PresentPorts ports = DiscoverPorts();
  ASSERT_TRUE(ports.count(201));
  EXPECT_EQ(ports.at(201).device, "/dev/pts/42");
}

}  // namespace
}  // namespace zorv
