#pragma once
// Runs poppler's PDF tools on a printed file. The Windows tests run under Wine, where the tools
// are Linux programs: Wine starts a Linux program for a Windows one but cannot wait for it or
// give it pipes, so there a shell runs the tool into files named in Linux terms, and the test
// waits for its exit status to appear.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#ifdef _WIN32
#include <windows.h>
#endif

namespace zorv::test {

#ifdef _WIN32
// Wine's own name conversions; null on Windows itself.
template <class Function>
Function WineFunction(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}
#endif

// The file's name as the tools read it: its Linux name under Wine, its own name elsewhere.
inline QString ToolPath(const QString& file) {
#ifdef _WIN32
  if (const auto unixName = WineFunction<char* (*)(const wchar_t*)>("wine_get_unix_file_name")) {
    const std::wstring native = QDir::toNativeSeparators(file).toStdWString();
    if (char* name = unixName(native.c_str())) {
      const QString path = QString::fromLocal8Bit(name);
      HeapFree(GetProcessHeap(), 0, name);
      return path;
    }
  }
#endif
  return file;
}

// The tool's output; a failure of the test when it does not run or fails.
inline QString RunTool(const QString& program, const QStringList& arguments) {
#ifdef _WIN32
  if (const auto dosName = WineFunction<wchar_t* (*)(const char*)>("wine_get_dos_file_name")) {
    QTemporaryDir dir;
    const QString shell = QString::fromWCharArray(dosName("/bin/sh"));
    const QString script = QStringLiteral("PATH=/usr/bin:/bin; \"$@\" >'%1' 2>'%2'; echo $? >'%3.part'; mv '%3.part' '%3'")
                               .arg(ToolPath(dir.filePath("out")), ToolPath(dir.filePath("err")),
                                    ToolPath(dir.filePath("status")));
    if (!QProcess::startDetached(shell, QStringList{"-c", script, "sh", program} + arguments)) {
      ADD_FAILURE() << program.toStdString() << " did not start";
      return {};
    }
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(dir.filePath("status")) && !deadline.hasExpired()) QThread::msleep(20);
    QFile status(dir.filePath("status"));
    QFile out(dir.filePath("out"));
    QFile err(dir.filePath("err"));
    if (!status.open(QIODevice::ReadOnly) || status.readAll().trimmed() != "0" ||
        !out.open(QIODevice::ReadOnly)) {
      err.open(QIODevice::ReadOnly);
      ADD_FAILURE() << program.toStdString() << " failed: " << err.readAll().toStdString();
      return {};
    }
    return QString::fromUtf8(out.readAll());
  }
#endif
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: "
                  << process.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace zorv::test
