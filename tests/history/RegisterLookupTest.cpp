// A register whose host name the name server never answers for: local writes and the end of the
// run do not wait for it. Run in a network namespace of the test's own, whose only name server
// is a UDP listener on 127.0.0.1 that never answers (the machine's resolver is never asked).
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cstdlib>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {
namespace {

constexpr const char* kInside = "ZORV_LOOKUP_NAMESPACE";
constexpr const char* kThisTest = "RegisterLookupTest.UnresolvableHostHoldsNeitherDiskNorExit";

// Limits: the hand-over is far below a frame; on disk as fast as without a register; the exit
// waits for the register at most 1 s (plus the local write).
constexpr qint64 kRecordCallMaxMs = 50;
constexpr qint64 kOnDiskMaxMs = 1000;
constexpr qint64 kFinishMaxMs = 1500;

// Takes name queries on 127.0.0.1:53 and never answers them.
int SilentNameServer() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(53);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  return fd;
}

void RunInside() {
  const int server = SilentNameServer();
  ASSERT_GE(server, 0) << "cannot listen on 127.0.0.1:53 inside the namespace";
  TempFolder folder;
  const QString file = QString::fromStdString(folder.File("history.sqlite"));
  history::RegisterAddress address;
  address.host = "register.zorvshop.example";
  history::HistoryRecorder recorder(file, nullptr, nullptr, address);

  const history::Event event = history::NewEvent(history::EventKind::Downloaded, ImageBytes{});
  QElapsedTimer timer;
  timer.start();
  recorder.Record(event);
  const qint64 recordMs = timer.elapsed();
  ASSERT_TRUE(recorder.Flush(10000));
  const qint64 onDiskMs = timer.elapsed();
  // Time for the register's sender to be inside its lookup (limited to 2 s) when the run ends.
  QThread::msleep(500);
  QElapsedTimer finishing;
  finishing.start();
  const QString line = recorder.Finish(5000);
  const qint64 finishMs = finishing.elapsed();
  std::printf("record call %lld ms, on disk after %lld ms, exit %lld ms, line \"%s\"\n",
              static_cast<long long>(recordMs), static_cast<long long>(onDiskMs),
              static_cast<long long>(finishMs), line.toLocal8Bit().constData());
  EXPECT_LT(recordMs, kRecordCallMaxMs);
  EXPECT_LT(onDiskMs, kOnDiskMaxMs);
  EXPECT_LT(finishMs, kFinishMaxMs);
  EXPECT_FALSE(line.contains("not written")) << line.toStdString();
  history::HistoryStore store(file);
  ASSERT_NE(store.OpenForReading().mode, history::StoreMode::Closed);
  EXPECT_TRUE(store.Load(event.id).has_value());
  EXPECT_EQ(store.UnsentCount(), 1);  // waits for the register, kept here
  ::close(server);
}

TEST(RegisterLookupTest, UnresolvableHostHoldsNeitherDiskNorExit) {
  if (std::getenv(kInside) != nullptr) {
    RunInside();
    return;
  }
  if (::geteuid() != 0) {
    GTEST_SKIP() << "not run: a network namespace of the test's own needs root";
  }
  TempFolder folder;
  const std::string resolv =
      folder.Write("resolv.conf", "nameserver 127.0.0.1\noptions timeout:5 attempts:2\n");
  QProcess inside;
  inside.setProcessChannelMode(QProcess::MergedChannels);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kInside, "1");
  // The child runs its one case, whatever shard of the suite this run is.
  env.remove("GTEST_TOTAL_SHARDS");
  env.remove("GTEST_SHARD_INDEX");
  inside.setProcessEnvironment(env);
  // A private mount table, so resolv.conf is replaced for this namespace only.
  inside.start("unshare",
               {"--net", "--mount", "--propagation", "private", "sh", "-c",
                "ip link set lo up && mount --bind \"$1\" /etc/resolv.conf && exec \"$2\" "
                "--gtest_filter=\"$3\"",
                "sh", QString::fromStdString(resolv), QCoreApplication::applicationFilePath(),
                kThisTest});
  ASSERT_TRUE(inside.waitForFinished(60000));
  const QString output = QString::fromLocal8Bit(inside.readAll());
  if (output.contains("unshare failed") || output.contains("Operation not permitted")) {
    GTEST_SKIP() << "not run: this machine refuses a network namespace: " << output.toStdString();
  }
  EXPECT_EQ(inside.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
  std::printf("%s", output.section("record call", 1, 1).prepend("record call").section('\n', 0, 0)
                        .append('\n').toLocal8Bit().constData());
}

}  // namespace
}  // namespace zorv::test
