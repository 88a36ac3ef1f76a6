// A hand-edited settings file: whatever "COM Port" holds that is not a plain number stays in
// the file as the user wrote it, and the port falls back to 1.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "host/HostSettings.h"

namespace zorv {
namespace {

struct FileRow {
  const char* name;
  const char* line;  // the value as written in the file
  int port;
};

class SettingsFileTest : public ::testing::TestWithParam<FileRow> {};

TEST_P(SettingsFileTest, ValueIsLeftInTheFile) {
  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  const QString file = dir.path() + "/Dravik Controls/ZorvTrim.conf";
  ASSERT_TRUE(QDir().mkpath(dir.path() + "/Dravik Controls"));
  const QByteArray content = QByteArray("[Settings]\nCOM%20Port=") + GetParam().line + "\n";
  {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(content);
  }
  EXPECT_EQ(PortNumberFromSetting(ReadSetting("ZorvTrim", "COM Port", "1")), GetParam().port);
  QFile in(file);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  EXPECT_EQ(in.readAll(), content);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFileTest,
                         ::testing::Values(FileRow{"Comma", "3,4", 1},
                                           FileRow{"QuotedComma", "\"3, 4\"", 1},
                                           FileRow{"Word", "abc", 1},
                                           FileRow{"Number", "7", 7}),
                         [](const ::testing::TestParamInfo<FileRow>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
}  // namespace zorv
