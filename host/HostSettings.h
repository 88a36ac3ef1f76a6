#pragma once
// The tool's per-user settings: named string values under "Dravik Controls" / application /
// "Settings". On Windows QSettings keeps them in the current user's registry key, elsewhere in a
// per-user file.
#include <QString>

namespace zorv {

inline constexpr const char* kApplicationName = "ZorvTrim";
inline constexpr const char* kComPortSetting = "COM Port";

// The stored value, or `defaultValue` when there is none; never writes (the command line reads
// the window's settings and leaves them as they are).
QString PeekSetting(const QString& application, const QString& name, const QString& defaultValue);

// The stored value; when it is missing, `defaultValue` is stored and returned.
QString ReadSetting(const QString& application, const QString& name, const QString& defaultValue);
void WriteSetting(const QString& application, const QString& name, const QString& value);

// The service history file in the per-user data folder (the window and the command line share
// it; both set the same application and organisation names).
QString HistoryFile();

// The port number a "COM Port" value names: its decimal value, or 1 when it is not a number.
int PortNumberFromSetting(const QString& value);

}  // namespace zorv
