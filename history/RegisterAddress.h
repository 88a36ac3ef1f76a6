#pragma once
// Where the shared register of a shop's laptops is: a PostgreSQL database. No password here:
// libpq takes it from the file PGPASSFILE names, or ~/.pgpass.
#include <QString>

namespace zorv::history {

// A register that does not answer is given up after this long, on every attempt.
inline constexpr int kConnectTimeoutS = 3;
// A host name the name server does not resolve is given up after this long.
inline constexpr int kResolveTimeoutMs = 2000;

struct RegisterAddress {
  QString host;  // empty: the local file only
  int port = 5432;
  QString database = "zorvtrim";
  QString user;  // empty: the login name, as libpq does
  // Refuse a connection that is not encrypted to a server whose certificate `caFile` signed
  // for this host name (libpq's verify-full); off: encrypted when the server offers it.
  bool requireEncryption = false;
  QString caFile;

  bool IsSet() const { return !host.trimmed().isEmpty(); }
  // "user@host:port/database", for the lines the user reads.
  QString Text() const {
    return (user.isEmpty() ? QString() : user + "@") + host + ":" + QString::number(port) + "/" +
           database;
  }
};

}  // namespace zorv::history
