#pragma once
// A PostgreSQL server of the test's own: a new cluster in a temporary folder under /tmp, run as
// `nobody` (the server refuses root), reached on 127.0.0.1 at a free port with trust for one
// user, its socket in that folder. Stopped and removed with the object; the system's own
// cluster is never touched.
#include <QString>
#include <QStringList>

namespace zorvtest {

class PgServer {
 public:
  PgServer() = default;
  ~PgServer();
  PgServer(const PgServer&) = delete;
  PgServer& operator=(const PgServer&) = delete;

  // One server for all the cases of a test program: made on the first call, started by the
  // caller's Start(), stopped and removed when the program's QCoreApplication goes. A cluster
  // costs seconds to make; cases keep apart by databases of their own.
  static PgServer& Shared();

  // Makes the cluster on the first call, then starts the server; "" when it runs, else what
  // went wrong (missing binaries included: scripts/deps.sh installs them).
  QString Start();
  // Stops at once, as a crash or a pulled cable would (pg_ctl stop -m immediate).
  bool Stop();
  // A new database; "" when made.
  QString CreateDatabase(const QString& name);

  static QString Host() { return QStringLiteral("127.0.0.1"); }
  static QString User() { return QStringLiteral("zorv"); }
  int Port() const { return port_; }
  QString Log() const;

  // The folder of initdb and pg_ctl: `pg_config --bindir`, else /usr/lib/postgresql/*/bin.
  static QString BinDir();

 private:
  // Runs one of the server's programs as nobody (when root); "" on success, else its output.
  QString Run(const QString& program, const QStringList& arguments, bool asServerUser);

  QString folder_;
  QString bin_;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace zorvtest
