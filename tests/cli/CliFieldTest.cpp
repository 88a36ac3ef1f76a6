// zorvtrim-cli in the field, as a process against zorv-sim: switch files that are not whole
// images, comparisons across products and of blank memories, an adapter pulled out in the
// middle of a transfer, and a settings upload cut halfway.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "tests/cli/CliWorld.h"
#include "tests/support/SimProcess.h"

namespace zorv::test {
namespace {

constexpr const char* kHalfSentLine =
    "Settings half-sent: the controller holds a mix of old and new settings; send again";

SettingsImage Start() {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  image[1] = 77;
  image[2] = 201;
  return image;
}

// The files a row may name, in the row's folder.
void WriteFiles(const CliWorld& world) {
  ASSERT_TRUE(WriteSwitchFile(world.File("start.joy").toStdString(), Start()));
  SettingsImage changed = Start();
  for (std::size_t i = 40; i < 250; ++i) changed[i] = static_cast<std::uint8_t>(changed[i] ^ 0x5A);
  ASSERT_TRUE(WriteSwitchFile(world.File("changed.joy").toStdString(), changed));
  SettingsImage defaults;
  GlobalTrimPair trims;
  LoadDefaultImage(defaults, trims);
  ASSERT_TRUE(WriteSwitchFile(world.File("defaults.joy").toStdString(), defaults));
  QFile empty(world.File("empty.joy"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  QFile big(world.File("big.joy"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.write(QByteArray(10000, '\x01'));
  big.close();
  QFile shortFile(world.File("short.joy"));
  ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
  shortFile.write(QByteArray(255, '\x01'));
  shortFile.close();
}

struct FieldRow {
  const char* name;
  QStringList sim;  // empty: no simulator
  QStringList cli;
  int exitCode;
  const char* out;
  const char* err;
  std::function<void(const QStringList& simLog, const SettingsImage& memory)> check = nullptr;
};

void PrintTo(const FieldRow& row, std::ostream* os) { *os << row.name; }

void NothingSent(const QStringList& log, const SettingsImage& memory) {
  for (const QString& line : log) EXPECT_FALSE(line.contains("upload")) << line.toStdString();
  EXPECT_EQ(memory.bytes, Start().bytes);
}

class CliField : public ::testing::TestWithParam<FieldRow> {};

// Rows that open the port by its device, or look at it without the link, need a real one.
const QStringList kOnARealPort = {"GetThroughDevice", "ProbeFindsTheProgram",
                                  "ProbeFindsTheBootLoader"};

TEST_P(CliField, ExitAndOutput) {
  const FieldRow& row = GetParam();
  CliWorld world;
  WriteFiles(world);
  TestController sim;
  if (!row.sim.isEmpty()) {
    const QStringList image = row.sim.contains("--blank")
                                  ? QStringList{}
                                  : QStringList{"--image", world.File("start.joy")};
    ASSERT_TRUE(world.Connect(sim, row.sim + image,
                              kOnARealPort.contains(row.name) ? Where::RealPort : Where::InProcess))
        << sim.Output();
  }
  QStringList arguments = row.cli;
  arguments.replaceInStrings("{port}", sim.process.Port());
  const CliRun run = world.Cli(arguments);
  EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString() << run.out.toStdString();
  EXPECT_TRUE(run.out.contains(row.out)) << run.out.toStdString();
  EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
  if (row.sim.isEmpty()) return;
  const SettingsImage memory = sim.Memory();
  if (row.check) row.check(sim.Lines(), memory);
}

const QStringList kFast = {"--fast"};

INSTANTIATE_TEST_SUITE_P(
    Rows, CliField,
    ::testing::Values(
        // A switch file that is not exactly the 256 image bytes never reaches a truck.
        FieldRow{"SendEmptyFile", kFast, {"send", "{dir}/empty.joy"}, 2, "",
                 "empty.joy: 0 bytes; a switch file holds exactly 256: nothing was sent",
                 NothingSent},
        FieldRow{"SendDevNull", kFast, {"send", "/dev/null"}, 2, "",
                 "/dev/null: 0 bytes; a switch file holds exactly 256: nothing was sent",
                 NothingSent},
        FieldRow{"SendShortFile", kFast, {"send", "{dir}/short.joy"}, 2, "",
                 "short.joy: 255 bytes; a switch file holds exactly 256", NothingSent},
        FieldRow{"SendLongFile", kFast, {"send", "{dir}/big.joy"}, 2, "",
                 "big.joy: 10000 bytes; a switch file holds exactly 256", NothingSent},
        // The bytes as received, not the defaults the window puts in their place.
        FieldRow{"DiffBlankControllerWithTheDefaults", {"--fast", "--blank"},
                 {"diff", "controller", "{dir}/defaults.joy"}, 1, " -> ", ""},
        // A usage mistake goes to standard error, where a script's log looks.
        FieldRow{"UnknownCommandUsageOnStderr", {}, {"fetch"}, 2, "", "Usage: zorvtrim-cli"},
        FieldRow{"HelpNamesTheProgramAndExitCodes", {}, {"get", "--help"}, 0,
                 "Usage: zorvtrim-cli [options] get -o FILE", ""},
        FieldRow{"HelpOfSendGivesExitCodes", {}, {"send", "--help"}, 0, "Exit status: 0 done", ""},
        FieldRow{"GetIntoAFolderIsRefusedFirst", kFast, {"get", "-o", "{dir}"}, 2, "",
                 "is a folder: give a file name",
                 [](const QStringList& log, const SettingsImage&) {
                   for (const QString& line : log) EXPECT_FALSE(line.contains("requested"));
                 }},
        FieldRow{"GetFromABootLoaderSaysSo", {"--fast", "--no-program"},
                 {"get", "-o", "{dir}/x.joy"}, 1, "", "is in its boot loader"},
        // --device instead of a port number: the device itself, nothing stored.
        FieldRow{"GetThroughDevice", kFast, {"get", "--device", "{port}", "-o", "{dir}/x.joy"}, 0,
                 "", ""},
        FieldRow{"ProbeFindsTheProgram", kFast, {"probe"}, 0,
                 "COM200: a running program, Zorv v1.1", ""},
        FieldRow{"ProbeFindsTheBootLoader", {"--fast", "--no-program"}, {"probe"}, 0,
                 "COM200: a boot loader, ATmega16 BOOT", ""},
        FieldRow{"SendKeepsWhatWasBefore", kFast,
                 {"send", "--before", "{dir}/before.joy", "{dir}/changed.joy"}, 0, "", "",
                 [](const QStringList&, const SettingsImage& memory) {
                   EXPECT_NE(memory.bytes, Start().bytes);
                 }},
        FieldRow{"PortAndDeviceTogether", {}, {"get", "--port", "3", "--device", "/dev/null",
                 "-o", "{dir}/x.joy"}, 2, "", "give one"}),
    [](const auto& p) { return std::string(p.param.name); });

// --json: one object on standard output that a JSON parser reads, with the exit status.
struct JsonRow {
  const char* name;
  QStringList sim;
  QStringList cli;
  int exitCode;
  std::function<void(const QJsonObject&, const CliWorld&)> check;
};

void PrintTo(const JsonRow& row, std::ostream* os) { *os << row.name; }

class CliJson : public ::testing::TestWithParam<JsonRow> {};

TEST_P(CliJson, OneObjectAScriptCanParse) {
  const JsonRow& row = GetParam();
  CliWorld world;
  WriteFiles(world);
  TestController sim;
  if (!row.sim.isEmpty()) {
    // probe looks at the port itself, without the link.
    ASSERT_TRUE(world.Connect(sim, row.sim + QStringList{"--image", world.File("start.joy")},
                              row.cli.first() == "probe" ? Where::RealPort : Where::InProcess))
        << sim.Output();
  }
  const CliRun run = world.Cli(row.cli);
  EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
  ASSERT_TRUE(document.isObject()) << run.out.toStdString();
  const QJsonObject o = document.object();
  EXPECT_EQ(o.value("exitCode").toInt(-1), row.exitCode);
  EXPECT_EQ(o.value("ok").toBool(), row.exitCode == 0);
  EXPECT_EQ(o.value("command").toString(), row.cli.first());
  row.check(o, world);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliJson,
    ::testing::Values(
        JsonRow{"Get", kFast, {"get", "--json", "-o", "{dir}/got.json"}, 0,
                [](const QJsonObject& o, const CliWorld& w) {
                  EXPECT_EQ(o.value("product").toString(), "Zorv v1.1");
                  EXPECT_EQ(o.value("file").toString(), w.File("got.json"));
                  EXPECT_FALSE(o.value("blank").toBool(true));
                }},
        JsonRow{"GetFails", {"--silent"}, {"get", "--json", "--timeout", "1", "-o", "{dir}/x.joy"},
                1,
                [](const QJsonObject& o, const CliWorld&) {
                  EXPECT_TRUE(o.value("error").toString().startsWith(
                      "No controller answered on COM200 within 1 s"));
                }},
        JsonRow{"SendWithBefore", kFast,
                {"send", "--json", "--before", "{dir}/before.json", "{dir}/changed.joy"}, 0,
                [](const QJsonObject& o, const CliWorld& w) {
                  EXPECT_TRUE(o.value("sent").toBool());
                  EXPECT_EQ(o.value("before").toString(), w.File("before.json"));
                  EXPECT_EQ(o.value("product").toString(), "Zorv v1.1");
                  EXPECT_FALSE(o.contains("halfSent"));
                }},
        JsonRow{"SendRefused", {}, {"send", "--json", "{dir}/empty.joy"}, 2,
                [](const QJsonObject& o, const CliWorld&) {
                  EXPECT_TRUE(o.value("error").toString().contains("0 bytes"));
                }},
        JsonRow{"DiffByKey", {}, {"diff", "--json", "{dir}/start.joy", "{dir}/changed.joy"}, 1,
                [](const QJsonObject& o, const CliWorld&) {
                  EXPECT_FALSE(o.value("same").toBool(true));
                  const QJsonArray differences = o.value("differences").toArray();
                  ASSERT_FALSE(differences.isEmpty());
                  const QJsonObject first = differences.first().toObject();
                  EXPECT_TRUE(first.contains("key"));
                  EXPECT_TRUE(first.contains("before") && first.contains("after"));
                  EXPECT_FALSE(first.value("beforeText").toString().isEmpty());
                  EXPECT_NE(first.value("before"), first.value("after"));
                }},
        JsonRow{"DiffSame", {}, {"diff", "--json", "{dir}/start.joy", "{dir}/start.joy"}, 0,
                [](const QJsonObject& o, const CliWorld&) {
                  EXPECT_TRUE(o.value("same").toBool());
                  EXPECT_TRUE(o.value("differences").toArray().isEmpty());
                }},
        JsonRow{"Probe", kFast, {"probe", "--json"}, 0,
                [](const QJsonObject& o, const CliWorld&) {
                  EXPECT_EQ(o.value("found").toString(), "program");
                  EXPECT_EQ(o.value("product").toString(), "Zorv v1.1");
                }},
        JsonRow{"ProbeBootLoader", {"--fast", "--no-program"}, {"probe", "--json"}, 0,
                [](const QJsonObject& o, const CliWorld&) {
                  EXPECT_EQ(o.value("found").toString(), "boot loader");
                  EXPECT_EQ(o.value("chipLine").toString(), "ATmega16 BOOT");
                }}),
    [](const auto& p) { return std::string(p.param.name); });

// Output that cannot be written is a failed run.
TEST(CliOutput, AWriteErrorOnStandardOutputIsExit2) {
  CliWorld world;
  WriteFiles(world);
  QProcess process;
  process.setStandardOutputFile("/dev/full");
  world.Start(process, {"show", "{dir}/start.joy"});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_TRUE(process.readAllStandardError().contains("Cannot write to standard output"));
}

// Two programs on one adapter, by the same name or by two names of one device (an alias and
// the device itself). Root passes the exclusive-open flag and QSerialPort's lock file is named
// after the path: only a lock on the device itself keeps the second out.
struct SecondProgram {
  const char* name;
  bool otherName;
};

void PrintTo(const SecondProgram& row, std::ostream* os) { *os << row.name; }

class CliPortInUse : public ::testing::TestWithParam<SecondProgram> {};

TEST_P(CliPortInUse, TheSecondIsRefusedWithTheFirstsProcessId) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, as a shop laptop with full rights";
  CliWorld world;
  zorvtest::SimProcess sim;
  const QString port = sim.Start({"--silent"});
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  const QString alias = world.File("adapter");
  ASSERT_TRUE(QFile::link(port, alias));
  QProcess first;
  world.Start(first, {"get", "--device", alias, "--timeout", "30", "-o", "{dir}/a.joy"});
  ASSERT_TRUE(first.waitForStarted());
  first.waitForFinished(1500);  // holds the port, waiting for a controller that stays silent
  ASSERT_EQ(first.state(), QProcess::Running);
  const CliRun second = world.Cli({"get", "--device", GetParam().otherName ? port : alias,
                                   "--timeout", "2", "-o", "{dir}/b.joy"});
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_TRUE(second.err.contains(QString("COM Port in use by another program (process %1)")
                                      .arg(first.processId())))
      << second.err.toStdString();
  EXPECT_FALSE(second.err.contains("Permission error")) << second.err.toStdString();
  first.kill();
  first.waitForFinished();
}

INSTANTIATE_TEST_SUITE_P(Names, CliPortInUse,
                         ::testing::Values(SecondProgram{"SameName", false},
                                           SecondProgram{"AnotherName", true}),
                         [](const auto& p) { return std::string(p.param.name); });

// A Tarnovex export compared with a Zorv controller or a Zorv export: never "same", even with
// the same bytes.
TEST(CliDiff, DifferentProductsAreNeverTheSame) {
  CliWorld world;
  WriteFiles(world);
  // Each outlives the runs after it, which run on the last one connected.
  TestController sims[3];
  for (int i : {0, 1}) {
    const char* product = i == 0 ? "b" : "g";
    ASSERT_TRUE(world.Connect(sims[i],
                              {"--fast", "--product", product, "--image", world.File("start.joy")},
                              Where::InProcess));
    const CliRun got = world.Cli({"get", "-o", "{dir}/" + QString(product) + ".json"});
    ASSERT_EQ(got.exitCode, 0) << got.err.toStdString();
  }
  const CliRun files = world.Cli({"diff", "{dir}/b.json", "{dir}/g.json"});
  EXPECT_EQ(files.exitCode, 1) << files.out.toStdString() << files.err.toStdString();
  EXPECT_TRUE(files.out.contains("Different products: Tarnovex settings against Zorv settings"))
      << files.out.toStdString();

  ASSERT_TRUE(world.Connect(sims[2], {"--fast", "--image", world.File("start.joy")}, Where::InProcess));
  const CliRun controller = world.Cli({"diff", "{dir}/b.json", "controller"});
  EXPECT_EQ(controller.exitCode, 1) << controller.out.toStdString() << controller.err.toStdString();
  EXPECT_TRUE(controller.out.contains("Different products: Tarnovex settings against Zorv settings"))
      << controller.out.toStdString();
  // The same controller against its own export: the same.
  const CliRun same = world.Cli({"diff", "{dir}/g.json", "controller"});
  EXPECT_EQ(same.exitCode, 0) << same.out.toStdString() << same.err.toStdString();
}

// The adapter pulled out during a transfer: the command line says so within a second of the
// pull, and a cut upload says the controller now holds a mix.
struct Pull {
  const char* name;
  QStringList cli;
  const char* when;  // the simulator's log line after which the cable is pulled
  int exitCode;
  bool halfSent;
};

void PrintTo(const Pull& row, std::ostream* os) { *os << row.name; }

class CliUnplug : public ::testing::TestWithParam<Pull> {};

TEST_P(CliUnplug, SaysAdapterUnpluggedWithinASecond) {
  const Pull& row = GetParam();
  CliWorld world;
  WriteFiles(world);
  zorvtest::SimProcess sim;
  // 20 ms a byte: a transfer lasts several seconds.
  const QString port =
      sim.Start({"--latency", "20", "--image", world.File("start.joy")});
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  world.PointAt(port);
  QProcess process;
  world.Start(process, row.cli);
  ASSERT_TRUE(process.waitForStarted());
  ASSERT_TRUE(sim.WaitForLine(row.when, 30000).has_value()) << sim.Output().toStdString();
  // Well inside the transfer.
  process.waitForFinished(600);
  ASSERT_EQ(process.state(), QProcess::Running);
  QElapsedTimer pulled;
  pulled.start();
  ASSERT_TRUE(sim.Signal(SIGUSR1));
  ASSERT_TRUE(process.waitForFinished(10000));
  const qint64 ms = pulled.elapsed();
  const QString err = QString::fromLocal8Bit(process.readAllStandardError());
  EXPECT_EQ(process.exitCode(), row.exitCode) << err.toStdString();
  EXPECT_TRUE(err.contains("Adapter unplugged from COM200")) << err.toStdString();
  EXPECT_LT(ms, 1000) << err.toStdString();
  EXPECT_EQ(err.contains(kHalfSentLine), row.halfSent) << err.toStdString();
  EXPECT_EQ(sim.Stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, CliUnplug,
    ::testing::Values(Pull{"Get", {"get", "-o", "{dir}/x.joy"}, "download requested", 1, false},
                      Pull{"SendDuringUpload", {"send", "{dir}/changed.joy"}, "upload requested",
                           1, true},
                      // diff's trouble is 2: 1 would read as "different".
                      Pull{"Diff", {"diff", "controller", "{dir}/start.joy"}, "download requested",
                           2, false}),
    [](const auto& p) { return std::string(p.param.name); });

// Ctrl+C (and the signals a stopped job gets) during an upload: the stop is said, and so is
// what the controller now holds.
TEST(CliHalfSent, CtrlCDuringUploadSaysTheControllerHoldsAMix) {
  CliWorld world;
  WriteFiles(world);
  zorvtest::SimProcess sim;
  const QString port = sim.Start({"--latency", "20", "--image", world.File("start.joy"),
                                  "--save-image", world.File("memory.joy")});
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  world.PointAt(port);
  QProcess process;
  world.Start(process, {"send", "{dir}/changed.joy"});
  ASSERT_TRUE(process.waitForStarted());
  ASSERT_TRUE(sim.WaitForLine("upload requested", 30000).has_value()) << sim.Output().toStdString();
  process.waitForFinished(1500);
  ASSERT_EQ(process.state(), QProcess::Running);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  const QString err = QString::fromLocal8Bit(process.readAllStandardError());
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_TRUE(err.contains(kHalfSentLine)) << err.toStdString();
  EXPECT_TRUE(err.contains("Stopped by Ctrl+C")) << err.toStdString();
  ASSERT_EQ(sim.Stop(), 0);
  // It is a mix indeed: some new bytes, not all.
  SettingsImage memory;
  ASSERT_TRUE(ReadSwitchFile(world.File("memory.joy").toStdString(), memory));
  EXPECT_NE(memory.bytes, Start().bytes);
}

}  // namespace
}  // namespace zorv::test
