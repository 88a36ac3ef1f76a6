// zorvtrim-cli end to end, reached as COM200 through an alias in a private settings folder.
// Each row starts a simulator, runs command lines and checks their exit status, their output,
// and what the simulator holds afterwards (its settings memory and flash), the files written
// and the history. Most rows run the subcommands in this process against the simulator's core
// on the link's fast clock; the main roads, the terminal and Ctrl+C run the program as a
// process against zorv-sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "link/FlashImage.h"
#include "link/HexReader.h"
#include "link/HexWriter.h"
#include "tests/support/SimProcess.h"
#include "tests/cli/CliWorld.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

SettingsImage Distinctive() {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  image[1] = 77;  // Hoist Up minimum
  image[2] = 201;
  return image;
}

SettingsImage ReadJoy(const QString& file) {
  SettingsImage image;
  EXPECT_TRUE(ReadSwitchFile(file.toStdString(), image)) << file.toStdString();
  return image;
}

// The simulator's flash holds the HEX file's bytes.
void ExpectFlashHolds(const std::vector<std::uint8_t>& flash, const QString& hex) {
  FlashImage expected;
  ASSERT_TRUE(ReadHexFile(hex.toStdString(), expected));
  ASSERT_GT(flash.size(), expected.highestAddress);
  for (std::uint32_t a = 0; a <= expected.highestAddress; ++a) {
    ASSERT_EQ(static_cast<std::uint8_t>(flash[a]), expected.bytes[a]) << "flash byte " << a;
  }
}

// What a row finds after the run: the world and the simulator's memories.
struct After {
  const CliWorld& world;
  const CliRun& run;
  SettingsImage memory;
  std::vector<std::uint8_t> flash;
  QStringList simLog;
};

struct CliRow {
  const char* name;
  QStringList sim;   // the simulator's options; empty: no simulator
  QStringList cli;   // "{dir}" is the row's folder; files made by the row are there
  int exitCode;
  const char* out;   // standard output contains this ("" : anything)
  const char* err;   // standard error contains this
  std::function<void(const After&)> check = nullptr;
};

void PrintTo(const CliRow& row, std::ostream* os) { *os << row.name; }

class CliTable : public ::testing::TestWithParam<CliRow> {};

// The command line's main roads also run as the program on a real port.
const QStringList kOnARealPort = {"GetSwitchFile", "SendWritesAndChecks", "FlashGood"};

TEST_P(CliTable, ExitOutputAndController) {
  const CliRow& row = GetParam();
  CliWorld world;
  const SettingsImage start = Distinctive();
  // Files a row may send, compare or print.
  ASSERT_TRUE(WriteSwitchFile(world.File("start.joy").toStdString(), start));
  SettingsImage changed = start;
  changed[3] = 99;
  ASSERT_TRUE(WriteSwitchFile(world.File("changed.joy").toStdString(), changed));
  SettingsImage tarnovex = start;
  tarnovex[33] = kTarnovexMarker;
  ASSERT_TRUE(WriteSwitchFile(world.File("tarnovex.joy").toStdString(), tarnovex));

  TestController sim;
  if (!row.sim.isEmpty()) {
    const QStringList image = row.sim.contains("--blank")
                                  ? QStringList{}
                                  : QStringList{"--image", world.File("start.joy")};
    ASSERT_TRUE(world.Connect(sim, row.sim + image,
                              kOnARealPort.contains(row.name) ? Where::RealPort : Where::InProcess,
                              !row.cli.contains("--port")))
        << sim.Output();
  }
  const QByteArray settingsBefore = ReadAll(world.SettingsFile());
  const CliRun run = world.Cli(row.cli);
  // The command line reads the window's settings and never writes them.
  EXPECT_EQ(ReadAll(world.SettingsFile()), settingsBefore);
  EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(row.out)) << run.out.toStdString();
  EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
  if (row.check) {
    After after{world, run, {}, {}, {}};
    if (!row.sim.isEmpty()) {
      after.memory = sim.Memory();
      after.flash = sim.Flash();
      after.simLog = sim.Lines();
    }
    row.check(after);
  }
}

const QStringList kFast = {"--fast"};

void MemoryIsStart(const After& a) { EXPECT_EQ(a.memory.bytes, Distinctive().bytes); }
void NothingFlashed(const After& a) {
  for (const QString& line : a.simLog) EXPECT_FALSE(line.contains(" written")) << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, CliTable,
    ::testing::Values(
        CliRow{"Help", {}, {"--help"}, 0, "flash [--port N] FILE.hex", ""},
        CliRow{"HelpOfASubcommand", {}, {"send", "--help"}, 0, "--timeout", ""},
        CliRow{"UnknownCommand", {}, {"fetch"}, 2, "", "Unknown command: fetch"},
        CliRow{"GetWithoutOutput", {}, {"get"}, 2, "", "get needs -o FILE"},
        CliRow{"GetIntoAMissingFolder", kFast, {"get", "-o", "{dir}/none/x.joy"}, 2, "",
               "No such folder: ",
               [](const After& a) {
                 for (const QString& line : a.simLog) {
                   // No transfer was asked for: the controller was never kept waiting.
                   EXPECT_FALSE(line.contains("requested")) << line.toStdString();
                 }
               }},
        CliRow{"BadPort", {}, {"get", "--port", "COMX", "-o", "{dir}/x.joy"}, 2, "", "--port"},
        CliRow{"TruckTooLong", {}, {"get", "-o", "{dir}/x.joy", "--truck", QString(25, 'X')}, 2, "",
               "--truck: The truck label has 25 characters: at most 24 are allowed"},
        CliRow{"TruckOnTwoLines", {}, {"get", "-o", "{dir}/x.joy", "--truck", "Unit\n42"}, 2, "",
               "--truck: The truck label must be one line of text"},
        CliRow{"PortsListTheAlias", kFast, {"ports", "--json"}, 0, "\"name\": \"COM200\"", ""},
        CliRow{"GetSwitchFile", kFast, {"get", "-o", "{dir}/got.joy", "--truck", "Unit 7"}, 0, "", "",
               [](const After& a) {
                 EXPECT_EQ(ReadJoy(a.world.File("got.joy")).bytes, Distinctive().bytes);
                 // No terminal, no progress bar: a script's log stays clean.
                 EXPECT_FALSE(a.run.err.contains('%')) << a.run.err.toStdString();
                 // The history holds the download and the saved file, with the truck.
                 auto db = QSqlDatabase::addDatabase("QSQLITE", "cli-history");
                 db.setDatabaseName(a.world.History());
                 ASSERT_TRUE(db.open());
                 {
                   QSqlQuery q("SELECT kind, truck, file_path FROM events ORDER BY time_utc", db);
                   QStringList events;
                   while (q.next()) events << q.value(0).toString() + "/" + q.value(1).toString();
                   EXPECT_EQ(events.size(), 2) << events.join(' ').toStdString();
                   for (const QString& e : events) EXPECT_TRUE(e.endsWith("/Unit 7")) << e.toStdString();
                 }
                 db.close();
                 QSqlDatabase::removeDatabase("cli-history");
               }},
        CliRow{"GetOnANamedPort", kFast, {"get", "--port", "200", "-o", "{dir}/got.joy"}, 0, "", "",
               [](const After& a) {
                 EXPECT_EQ(ReadJoy(a.world.File("got.joy")).bytes, Distinctive().bytes);
               }},
        CliRow{"GetBlankGivesDefaults", {"--fast", "--blank"}, {"get", "-o", "{dir}/got.joy"}, 0,
               "", "blank",
               [](const After& a) {
                 // The window's defaults, not the blank memory, which stays blank.
                 SettingsImage defaults;
                 GlobalTrimPair trims;
                 LoadDefaultImage(defaults, trims);
                 EXPECT_EQ(ReadJoy(a.world.File("got.joy")).bytes, defaults.bytes);
                 EXPECT_EQ(a.memory[33], 255);
               }},
        CliRow{"NeverAnswersTimesOut", {"--silent"}, {"get", "--timeout", "1", "-o", "{dir}/x.joy"},
               1, "", "No controller answered on COM200 within 1 s",
               [](const After& a) {
                 EXPECT_GE(a.run.ms, 1000);
                 EXPECT_LT(a.run.ms, 3000);
                 EXPECT_FALSE(QFile::exists(a.world.File("x.joy")));
               }},
        CliRow{"SendWritesAndChecks", kFast, {"send", "{dir}/changed.joy"}, 0, "", "",
               [](const After& a) { EXPECT_EQ(a.memory[3], 99); }},
        CliRow{"SendAnotherProductIsRefused", kFast, {"send", "{dir}/tarnovex.joy"}, 1, "",
               "nothing was sent", MemoryIsStart},
        CliRow{"SendWrongEchoFails", {"--fast", "--wrong-echo", "5"}, {"send", "{dir}/changed.joy"},
               1, "", "Upload Failed on COM200"},
        CliRow{"ShowNamesEverySetting", {}, {"show", "{dir}/start.joy"}, 0,
               "Hoist (A2)\tHoist Up minimum\t3.9v\n", ""},
        CliRow{"ShowJson", {}, {"show", "{dir}/start.joy", "--json"}, 0, "\"format\"", ""},
        CliRow{"ShowMissingFile", {}, {"show", "{dir}/none.joy"}, 2, "", "none.joy: File not found"},
        CliRow{"DiffFilesDiffer", {}, {"diff", "{dir}/start.joy", "{dir}/changed.joy"}, 1,
               "Hoist Down minimum: ", ""},
        CliRow{"DiffFilesSame", {}, {"diff", "{dir}/start.joy", "{dir}/start.joy"}, 0, "", ""},
        CliRow{"DiffControllerSame", kFast, {"diff", "controller", "{dir}/start.joy"}, 0, "", ""},
        CliRow{"DiffControllerDiffers", kFast, {"diff", "{dir}/changed.joy", "controller"}, 1,
               "Hoist Down minimum: ", ""},
        CliRow{"DiffNoController", {"--silent"}, {"diff", "controller", "{dir}/start.joy", "--timeout", "1"},
               2, "", "No controller answered"},
        CliRow{"ReportLines", {}, {"report", "{dir}/start.joy"}, 0,
               "Zorv Trim/Configuration Settings\n\nJoystick Configuration:", ""},
        CliRow{"ReportPdf", {}, {"report", "{dir}/start.joy", "--pdf", "{dir}/r.pdf"}, 0, "", "",
               [](const After& a) { EXPECT_TRUE(ReadAll(a.world.File("r.pdf")).startsWith("%PDF")); }},
        CliRow{"FlashGood", kFast, {"flash", kHex + "good.hex", "--yes"}, 0, "",
               "Upload completed and verified!",
               [](const After& a) { ExpectFlashHolds(a.flash, kHex + "good.hex"); }},
        CliRow{"FlashNothingAnswers", {"--silent"}, {"flash", kHex + "good.hex", "--yes", "--timeout", "1"},
               1, "", "No controller answered on COM200 within 1 s",
               [](const After& a) {
                 EXPECT_FALSE(a.run.err.contains("Boot Hook Failed!")) << a.run.err.toStdString();
                 EXPECT_LT(a.run.ms, 5000);
               }},
        CliRow{"FlashRefusedHexWritesNothing", kFast, {"flash", kHex + "bad-checksum.hex", "--yes"},
               2, "", "checksum", NothingFlashed},
        CliRow{"FlashOverLimitRefused", kFast, {"flash", kHex + "over-limit.hex", "--yes"}, 1, "", "",
               NothingFlashed},
        CliRow{"FlashWithoutYesNoTerminalWritesNothing", kFast, {"flash", kHex + "good.hex"}, 1, "",
               "No terminal to ask on", NothingFlashed},
        CliRow{"FlashFailsVerification", {"--fast", "--corrupt-flash-once", "256"},
               {"flash", kHex + "good.hex", "--yes"}, 1, "",
               "Firmware incomplete: upgrade again before using the truck",
               [](const After& a) {
                 // Held in the boot loader: the broken program is never started.
                 for (const QString& line : a.simLog) {
                   EXPECT_FALSE(line.contains("program start requested")) << line.toStdString();
                 }
               }},
        CliRow{"FlashBootLoaderOnly", {"--fast", "--no-program"}, {"flash", kHex + "good.hex", "--yes"},
               0, "", "Upload completed and verified!",
               [](const After& a) { ExpectFlashHolds(a.flash, kHex + "good.hex"); }},
        CliRow{"FlashKeepSettings", {"--fast", "--blank-after-flash"},
               {"flash", kHex + "good.hex", "--yes", "--keep-settings"}, 0, "",
               "The controller's own settings were sent back", MemoryIsStart},
        CliRow{"FlashSaysWhenSettingsChanged", {"--fast", "--blank-after-flash"},
               {"flash", kHex + "good.hex", "--yes"}, 0, "",
               "The new firmware changed the controller's settings",
               [](const After& a) { EXPECT_EQ(a.memory[33], 255); }},
        CliRow{"FlashReadBack", kFast,
               {"flash", kHex + "good.hex", "--yes", "--read-back", "{dir}/old.hex"}, 0, "",
               "Firmware read",
               [](const After& a) { EXPECT_TRUE(ReadAll(a.world.File("old.hex")).startsWith(":")); }}),
    [](const auto& p) { return std::string(p.param.name); });

// On a terminal: the progress bar, the check printed before writing and the question; only "y"
// writes. The terminal is a pseudo-terminal of script(1).
struct Answer {
  const char* name;
  const char* answer;
  int exitCode;
  bool written;
};

void PrintTo(const Answer& row, std::ostream* os) { *os << row.name; }

class CliTerminal : public ::testing::TestWithParam<Answer> {};

TEST_P(CliTerminal, FlashAsksBeforeWriting) {
  const Answer& row = GetParam();
  if (QStandardPaths::findExecutable("script").isEmpty()) GTEST_SKIP() << "no script(1)";
  CliWorld world;
  zorvtest::SimProcess sim;
  const QString port = sim.Start({"--fast"});
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  world.PointAt(port);

  QProcess process;
  process.setProcessEnvironment(world.Environment());
  process.start("script", {"-qec", kCli + " flash " + kHex + "good.hex", "/dev/null"});
  QByteArray seen;
  QElapsedTimer timer;
  timer.start();
  while (!seen.contains("[y/N]") && timer.elapsed() < 30000) {
    process.waitForReadyRead(500);
    seen += process.readAll();
  }
  ASSERT_TRUE(seen.contains("[y/N]")) << seen.toStdString();
  EXPECT_TRUE(seen.contains("% 0:0")) << "no progress bar: " << seen.toStdString();
  EXPECT_TRUE(seen.contains("CRC-32: ")) << seen.toStdString();
  EXPECT_FALSE(sim.Output().contains(" written")) << "written before the answer";
  process.write(QByteArray(row.answer) + "\n");
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), row.exitCode) << process.readAll().toStdString();
  ASSERT_EQ(sim.Stop(), 0);
  EXPECT_EQ(sim.Output().contains(" written"), row.written) << sim.Output().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Answers, CliTerminal,
                         ::testing::Values(Answer{"No", "n", 1, false},
                                           Answer{"Enter", "", 1, false},
                                           Answer{"Yes", "y", 0, true}),
                         [](const auto& p) { return std::string(p.param.name); });

// A failed run leaves the controller held in its boot loader, which then says nothing until
// asked: running the command again programs it, without a power cycle.
TEST(CliHeld, FlashAgainAfterAFailedVerification) {
  CliWorld world;
  TestController sim;
  ASSERT_TRUE(world.Connect(sim, {"--fast", "--corrupt-flash-once", "256"}, Where::InProcess))
      << sim.Output();
  const CliRun failed = world.Cli({"flash", kHex + "good.hex", "--yes"});
  ASSERT_EQ(failed.exitCode, 1) << failed.err.toStdString();
  const CliRun again = world.Cli({"flash", kHex + "good.hex", "--yes", "--timeout", "2"});
  EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
  EXPECT_TRUE(again.err.contains("Upload completed and verified!")) << again.err.toStdString();
  EXPECT_FALSE(again.err.contains("Boot Hook Failed!")) << again.err.toStdString();
  ExpectFlashHolds(sim.Flash(), kHex + "good.hex");
}

// Ctrl+C: while firmware is being written the first press only warns and the job ends verified,
// a second stops it and says the controller is left without a program; at any other time it
// stops at once with nothing else said.
struct Interruption {
  const char* name;
  QStringList sim;
  QStringList cli;   // "{dir}/big.hex" is a 4 KB program
  bool duringWrite;  // pressed once the first page is written, else a second after the start
  int presses;
  int exitCode;
  const char* err;
  int signal = SIGINT;  // SIGTERM and SIGHUP come from `timeout`, a cancelled job, a lost session
};

void PrintTo(const Interruption& row, std::ostream* os) { *os << row.name; }

class CliInterrupt : public ::testing::TestWithParam<Interruption> {};

TEST_P(CliInterrupt, WarnsWhileWritingElseStops) {
  const Interruption& row = GetParam();
  CliWorld world;
  std::vector<std::uint8_t> program(4096);
  for (std::size_t i = 0; i < program.size(); ++i) program[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(WriteHexFile(world.File("big.hex").toStdString(), program));
  zorvtest::SimProcess sim;
  const QString port = sim.Start(row.sim + QStringList{"--save-flash", world.File("flash.bin")});
  ASSERT_FALSE(port.isEmpty()) << sim.Output().toStdString();
  world.PointAt(port);

  QStringList arguments = row.cli;
  for (QString& a : arguments) a.replace("{dir}", world.Dir());
  QProcess process;
  process.setProcessEnvironment(world.Environment());
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(kCli, arguments);
  ASSERT_TRUE(process.waitForStarted());
  QElapsedTimer timer;
  if (row.duringWrite) {
    ASSERT_TRUE(sim.WaitForLine(" written", 30000).has_value()) << sim.Output().toStdString();
  } else {
    process.waitForFinished(1000);
  }
  ASSERT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
  for (int press = 0; press < row.presses; ++press) {
    // Never kill(0, ...): that would reach the test's own process group.
    if (process.state() != QProcess::Running || process.processId() <= 0) break;
    ::kill(static_cast<pid_t>(process.processId()), row.signal);
    process.waitForFinished(300);
  }
  timer.restart();
  ASSERT_TRUE(process.state() == QProcess::NotRunning || process.waitForFinished(60000));
  const QString err = QString::fromLocal8Bit(process.readAllStandardError());
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), row.exitCode) << err.toStdString();
  EXPECT_TRUE(err.contains(row.err)) << err.toStdString();
  ASSERT_EQ(sim.Stop(), 0) << sim.Output().toStdString();
  const bool started = sim.Output().contains("program start requested");
  if (row.exitCode == 0) {
    EXPECT_FALSE(err.contains("Stopped")) << err.toStdString();
    const QByteArray flash = ReadAll(world.File("flash.bin"));
    ASSERT_GE(flash.size(), static_cast<qsizetype>(program.size()));
    EXPECT_EQ(flash.left(static_cast<qsizetype>(program.size())),
              QByteArray(reinterpret_cast<const char*>(program.data()),
                         static_cast<qsizetype>(program.size())));
  } else if (row.duringWrite) {
    EXPECT_FALSE(started) << "a half-written program was started";
  } else {
    // Stopped at once, and only the stop is reported.
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(err.trimmed(), row.err);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Presses, CliInterrupt,
    ::testing::Values(
        Interruption{"OnceWhileWritingOnlyWarns", {}, {"flash", "{dir}/big.hex", "--yes"}, true, 1,
                     0, "Press Ctrl+C again to stop anyway."},
        Interruption{"TwiceWhileWritingStops", {}, {"flash", "{dir}/big.hex", "--yes"}, true, 2, 1,
                     "Stopped by Ctrl+C while the firmware was being written. Firmware "
                     "incomplete: upgrade again before using the truck"},
        Interruption{"WhileWaitingStopsAtOnce", {"--silent"},
                     {"get", "--timeout", "30", "-o", "{dir}/x.joy"}, false, 1, 1,
                     "Stopped by Ctrl+C"},
        Interruption{"TermWhileWaitingStopsAtOnce", {"--silent"},
                     {"get", "--timeout", "30", "-o", "{dir}/x.joy"}, false, 1, 1,
                     "Stopped by SIGTERM", SIGTERM},
        Interruption{"HupWhileWaitingStopsAtOnce", {"--silent"},
                     {"get", "--timeout", "30", "-o", "{dir}/x.joy"}, false, 1, 1,
                     "Stopped by SIGHUP", SIGHUP}),
    [](const auto& p) { return std::string(p.param.name); });

// get, then send what was got, then diff it against the controller: no difference, on every
// product, through a switch file and through JSON.
struct RoundTrip {
  const char* name;
  const char* product;
  const char* file;
};

void PrintTo(const RoundTrip& row, std::ostream* os) { *os << row.name; }

class CliRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CliRoundTrip, GetSendDiffFindsNoDifference) {
  const RoundTrip& row = GetParam();
  CliWorld world;
  TestController sim;
  ASSERT_TRUE(world.Connect(sim, {"--fast", "--product", row.product}, Where::InProcess))
      << sim.Output();
  const QString file = world.File(row.file);
  for (const QStringList& args : {QStringList{"get", "-o", file}, QStringList{"send", file},
                                  QStringList{"diff", file, "controller"}}) {
    const CliRun run = world.Cli(args);
    EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << ": " << run.err.toStdString()
                               << run.out.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(EveryProduct, CliRoundTrip,
                         ::testing::Values(RoundTrip{"ZorvV10", "G", "a.joy"},
                                           RoundTrip{"Zorv", "g", "a.json"},
                                           RoundTrip{"Tarnovex", "b", "a.json"},
                                           RoundTrip{"Halverston", "d", "a.joy"},
                                           RoundTrip{"Quirn", "c", "a.json"}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
