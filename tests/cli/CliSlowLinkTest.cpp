// zorvtrim-cli over a slow line (zorv-sim --latency: every byte from the controller held up,
// as a USB adapter's buffer does), one row per road: the run succeeds, the bytes are right and
// the controller saw no wrong echo. The minute-long get at 250 ms runs in process
// on the link's clock (only silence may end it, never the whole time); one shorter get runs on a
// real port, where the latency is real time. The link's part at each latency (no shifted byte,
// no wrong echo) is tests/e2e/SlowLineE2ETest.cpp.
#include <gtest/gtest.h>

#include "image/DefaultImage.h"
#include "image/SwitchFile.h"
#include "tests/cli/CliWorld.h"

namespace zorv::test {
namespace {

struct SlowRow {
  const char* name;
  const char* latency;
  const char* product;
  bool send;  // send a changed file (download, upload, download) instead of get
  Where where;
};

void PrintTo(const SlowRow& row, std::ostream* os) { *os << row.name; }

class CliSlowLink : public ::testing::TestWithParam<SlowRow> {};

TEST_P(CliSlowLink, RightBytesAndNoWrongEcho) {
  const SlowRow& row = GetParam();
  CliWorld world;
  SettingsImage start;
  GlobalTrimPair trims;
  LoadDefaultImage(start, trims);
  for (std::size_t i = 0; i < 121; ++i) start[i] = static_cast<std::uint8_t>(start[i] + i * 3);
  start[33] = 0;  // neither blank nor Tarnovex
  SettingsImage changed = start;
  // Byte 33 keeps its value: 0xFF there reads back as a blank controller, and the run would
  // always end as a mismatch, never reaching the check of the bytes.
  for (std::size_t i = 1; i < 121; i += 2) {
    if (i != 33) changed[i] = static_cast<std::uint8_t>(~changed[i]);
  }
  ASSERT_TRUE(WriteSwitchFile(world.File("start.joy").toStdString(), start));
  ASSERT_TRUE(WriteSwitchFile(world.File("changed.joy").toStdString(), changed));
  TestController sim;
  ASSERT_TRUE(world.Connect(
      sim, {"--latency", row.latency, "--product", row.product, "--image", world.File("start.joy")},
      row.where))
      << sim.Output();

  const QStringList command = row.send ? QStringList{"send", "{dir}/changed.joy"}
                                       : QStringList{"get", "-o", "{dir}/got.joy"};
  const CliRun run = world.Cli(command, 400000);
  const SettingsImage memory = sim.Memory();  // a real port's simulator has stopped
  if (SharedSim* inProcess = sim.InProcess()) inProcess->With([](InProcessSim& s) { s.Stop(); });
  const auto badEchoes = sim.Line("counter bad echoes from tool: ");
  ASSERT_TRUE(badEchoes.has_value()) << sim.Output();
  const std::size_t length = QString(row.product) == "G" ? 121 : 256;
  // A slow line is slow, not broken: the run must succeed. A run cut by a limit on its whole
  // time (a minute of link time here) fails this row, as does a shifted byte below.
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(badEchoes->endsWith(": 0")) << badEchoes->toStdString();
  const SettingsImage& expected = row.send ? changed : start;
  const SettingsImage got = row.send ? memory : [&] {
    SettingsImage file;
    EXPECT_TRUE(ReadSwitchFile(world.File("got.joy").toStdString(), file));
    return file;
  }();
  for (std::size_t i = 0; i < length; ++i) ASSERT_EQ(got[i], expected[i]) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Latencies, CliSlowLink,
    // 256 bytes at 250 ms each: about a minute of steady progress, far past the silence limit.
    ::testing::Values(SlowRow{"Get250", "250", "g", false, Where::InProcess},
                      SlowRow{"Send100V10", "100", "G", true, Where::InProcess},
                      // 121 bytes at 100 ms of real time each: 12 s past the silence limit.
                      SlowRow{"Get100V10RealPort", "100", "G", false, Where::RealPort}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv::test
