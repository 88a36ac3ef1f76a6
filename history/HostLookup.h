#pragma once
// A host name's address, looked up with a time limit: the system's resolver has none of its own
// that a caller could set, and a lookup blocked in it cannot be stopped.
#include <QString>

namespace zorv::history {

// The numeric address of `host` (itself when it already is one); "" after `timeoutMs` or when
// the name does not resolve, with `error` saying which.
QString ResolveHost(const QString& host, int timeoutMs, QString& error);

}  // namespace zorv::history
