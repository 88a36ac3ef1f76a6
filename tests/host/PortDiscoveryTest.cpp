// Aliases that lead nowhere usable: the port list keeps them (the user set them) but marks them
// dead, with the reason, instead of offering them as present.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "host/PortDiscovery.h"

namespace zorv {
namespace {

struct AliasCase {
  const char* name;
  const char* target;  // {dir}/... made by the test; {pty} a live pseudo-terminal
  const char* dead;    // "" : a serial device
};

void PrintTo(const AliasCase& c, std::ostream* os) { *os << c.name; }

class AliasTargets : public ::testing::TestWithParam<AliasCase> {};

TEST_P(AliasTargets, AreResolvedAndDeadOnesSaySo) {
  const AliasCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  QFile plain(dir.filePath("plain"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const QString pty = QString::fromLocal8Bit(ptsname(master));

  QString target = QString(c.target).replace("{dir}", dir.path()).replace("{pty}", pty);
  // Every alias is a link, as a by-id name is.
  const QString alias = dir.filePath("alias");
  ASSERT_TRUE(QFile::link(target, alias));
  const AliasTarget found = ResolveAlias(alias.toStdString());
  const std::string expected = QFileInfo(target).canonicalFilePath().toStdString();
  close(master);
  EXPECT_EQ(found.dead, c.dead);
  if (std::string(c.dead) != "missing") {
    EXPECT_EQ(found.resolved, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, AliasTargets,
    ::testing::Values(AliasCase{"PseudoTerminal", "{pty}", ""},
                      AliasCase{"Missing", "{dir}/gone", "missing"},
                      AliasCase{"Folder", "{dir}/folder", "a folder"},
                      AliasCase{"PlainFile", "{dir}/plain", "a plain file"},
                      AliasCase{"DevNull", "/dev/null", "not a serial device"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace zorv
