// zorvtrim-cli flash off the main road, against the simulator's core in this process: a bad
// HEX file is refused before the controller is touched, a port that fails gets the port
// doctor's findings as get's does, and --json gives one object a script parses.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>

#include "tests/cli/CliWorld.h"

namespace zorv::test {
namespace {

struct FlashRow {
  const char* name;
  QStringList sim;  // the simulator's arguments
  QStringList cli;
  int exitCode;
  const char* err;
  std::function<void(const QJsonObject&, const QStringList& simLog)> check;
};

void PrintTo(const FlashRow& row, std::ostream* os) { *os << row.name; }

void NothingAsked(const QJsonObject&, const QStringList& simLog) {
  for (const QString& line : simLog) EXPECT_FALSE(line.contains("requested")) << line.toStdString();
}

class CliFlashField : public ::testing::TestWithParam<FlashRow> {};

TEST_P(CliFlashField, ExitTextAndJson) {
  const FlashRow& row = GetParam();
  CliWorld world;
  TestController sim;
  ASSERT_TRUE(world.Connect(sim, row.sim, Where::InProcess)) << sim.Output();
  const CliRun run = world.Cli(QStringList{"flash", "--json"} + row.cli);
  EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
  const QJsonObject o = document.object();
  EXPECT_EQ(o.value("command").toString(), "flash");
  EXPECT_EQ(o.value("exitCode").toInt(-1), row.exitCode);
  EXPECT_EQ(o.value("installed").toBool(), row.exitCode == 0);
  row.check(o, sim.Lines());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CliFlashField,
    ::testing::Values(
        // The file is read whole first: a running controller is never stopped for a bad file.
        FlashRow{"TruncatedHexAsksNothing", {"--fast"}, {kHex + "truncated.hex", "--yes"}, 2,
                 "Error parsing file", NothingAsked},
        FlashRow{"BadChecksumAsksNothing", {"--fast"}, {kHex + "bad-checksum.hex", "--yes"}, 2,
                 "checksum", NothingAsked},
        FlashRow{"Installed", {"--fast"}, {kHex + "good.hex", "--yes"}, 0,
                 "Upload completed and verified!",
                 [](const QJsonObject& o, const QStringList&) {
                   EXPECT_EQ(o.value("product").toString(), "Zorv v1.1");
                   EXPECT_FALSE(o.value("held").toBool(true));
                   EXPECT_EQ(o.value("fileCrc32").toString().size(), 8);
                   EXPECT_EQ(o.value("flashCrc32").toString().size(), 8);
                   EXPECT_FALSE(o.value("settingsChanged").toBool(true));
                 }},
        FlashRow{"FailedVerificationIsHeld", {"--fast", "--corrupt-flash-once", "256"},
                 {kHex + "good.hex", "--yes"}, 1,
                 "Firmware incomplete: upgrade again before using the truck",
                 [](const QJsonObject& o, const QStringList&) {
                   EXPECT_TRUE(o.value("held").toBool());
                   EXPECT_FALSE(o.value("error").toString().isEmpty());
                 }}),
    [](const auto& p) { return std::string(p.param.name); });

// A port that will not open: flash says what get says, the doctor's findings included.
struct PortRow {
  const char* name;
  std::function<QString(const QString& dir)> device;
};

void PrintTo(const PortRow& row, std::ostream* os) { *os << row.name; }

class CliFlashDoctor : public ::testing::TestWithParam<PortRow> {};

TEST_P(CliFlashDoctor, SameWordsAsGet) {
  CliWorld world;
  const QString device = GetParam().device(world.Dir());
  const CliRun get = world.Cli({"get", "--device", device, "--timeout", "1", "-o", "{dir}/x.joy"});
  const CliRun flash = world.Cli({"flash", "--device", device, "--timeout", "1", "--yes",
                                  kHex + "good.hex"});
  EXPECT_EQ(get.exitCode, 1) << get.err.toStdString();
  EXPECT_EQ(flash.exitCode, 1) << flash.err.toStdString();
  EXPECT_GT(get.err.count('\n'), 1) << "no findings under get's error: " << get.err.toStdString();
  EXPECT_EQ(flash.err, get.err);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, CliFlashDoctor,
    ::testing::Values(PortRow{"Missing", [](const QString& dir) { return dir + "/ttyUSB9"; }},
                      PortRow{"PlainFile",
                              [](const QString& dir) {
                                QFile file(dir + "/ttyUSB8");
                                (void)file.open(QIODevice::WriteOnly);
                                return file.fileName();
                              }}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
