// A hand-edited settings file (on Windows: the registry value, as regedit leaves it): whatever
// "COM Port" holds that is not a plain number stays as the user wrote it, and the port falls
// back to 1.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "host/HostSettings.h"
#ifdef Q_OS_WIN
#include <windows.h>

#include "tests/host/PrivateSettings.h"
#endif

namespace zorv {
namespace {

struct FileRow {
  const char* name;
  const char* line;  // the value as written in the file
  int port;
};

class SettingsFileTest : public ::testing::TestWithParam<FileRow> {};

#ifdef Q_OS_WIN
constexpr const wchar_t* kSettingsKey = L"Software\\Dravik Controls\\ZorvTrim\\Settings";

TEST_P(SettingsFileTest, ValueIsLeftInTheFile) {
  test::PrivateSettings settings;
  const std::wstring line = QString::fromUtf8(GetParam().line).toStdWString();
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"COM Port", REG_SZ, line.c_str(),
                            DWORD((line.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  EXPECT_EQ(PortNumberFromSetting(ReadSetting("ZorvTrim", "COM Port", "1")), GetParam().port);
  wchar_t back[64] = {};
  DWORD size = sizeof back;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"COM Port", RRF_RT_ANY, &type, back, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_SZ));
  EXPECT_EQ(std::wstring(back), line);
}
#else
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
#endif

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
