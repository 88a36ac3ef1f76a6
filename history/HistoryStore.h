#pragma once
// One connection to the history file, used on one thread: opening (creating, migrating, moving a
// damaged file aside), recording an event in its own transaction, and reading events back.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "history/EventFilter.h"
#include "history/HistoryEvent.h"

namespace zorv::history {

enum class StoreMode { Closed, ReadWrite, ReadOnly };

// Why a statement failed, as far as the user's next step differs.
enum class Fault { None, Busy, Damaged, Other };

struct OpenResult {
  StoreMode mode = StoreMode::Closed;
  Fault fault = Fault::None;
  QString line;        // what the user is told ("" when all is well)
  QString movedAside;  // where a damaged file went
};

struct WriteResult {
  Fault fault = Fault::None;
  QString error;
  bool ok() const { return fault == Fault::None; }
};

class HistoryStore {
 public:
  // How long a write waits for another program's lock before it gives up.
  static constexpr int kBusyWaitMs = 1500;

  explicit HistoryStore(QString file);
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // Opens to record: creates the folder and the file, brings an older file up to date, opens a
  // newer one read-only, moves a damaged one aside (with the date in its name) and starts anew.
  OpenResult OpenForWriting();
  // Opens to read only; a missing file is an empty history.
  OpenResult OpenForReading();
  void Close();

  // Records one event in its own transaction; `unsent` also marks it waiting for the register.
  WriteResult Insert(const Event& event, bool unsent = false);
  // Records all of them in one transaction; `skipKnown` leaves an event whose id is already
  // there as it is.
  WriteResult InsertAll(const std::vector<Event>& events, bool unsent, bool skipKnown);
  // The oldest `limit` events waiting for the register, and how many wait. A mark that cannot
  // be sent (no such event, or a kind this version does not know) is not among them: see
  // Unsendable.
  std::vector<Event> Unsent(int limit) const;
  // Marks waiting for the register that can never be sent, with the reason for each.
  std::vector<std::pair<QString, QString>> Unsendable() const;
  // Takes the event off the waiting list and keeps it, with the reason, among those set aside.
  WriteResult SetAside(const QString& id, const QString& reason);
  // The events set aside: id and reason.
  std::vector<std::pair<QString, QString>> SetAsideList() const;
  long long UnsentCount() const;
  // The register committed these: they wait no more.
  WriteResult MarkSent(const std::vector<QString>& ids);
  std::optional<Event> Load(const QString& id) const;
  // Every event of a known kind, oldest first.
  std::vector<Event> All() const;
  // The newest `limit` events the filter lets through, oldest first.
  std::vector<Event> Events(const Filter& filter, int limit) const;
  // Events recorded here that are not waiting for the register (recorded before a register was
  // set, or sent already), and marking them all as waiting; -1 on failure.
  long long NotWaitingCount() const;
  int MarkAllWaiting();
  // The most a list holds: the window reads its rows in one go, so no statement stays open
  // (an open read pins the log, which then grows with every write).
  static constexpr int kListRows = 1000;

  // Newest first, at most kListRows: id, time (UTC text), kind key, truck, product, link text,
  // file path, and where the event stands with the register ("Not in the register",
  // "Set aside: reason" or "").
  QString ListSql(const Filter& filter) const;
  QSqlQuery ListQuery(const Filter& filter) const;
  QStringList Trucks() const;
  QStringList Products() const;
  long long Count() const;
  // How many events the filter lets through.
  long long Count(const Filter& filter) const;

  StoreMode Mode() const { return mode_; }
  const QString& File() const { return file_; }
  QSqlDatabase Database() const;

  // Moves a file found damaged (by a write or the check) aside and starts a new one holding every
  // event of the old one that can still be read, with its waiting mark. The line says so.
  OpenResult Recover();
  // SQLite's own check of the whole file (reads all of it: never on the start-up path); true
  // when it found damage.
  bool FindsDamage();
  // Writes the log's pages into the file, so the log does not grow while a reader is about (a
  // store opened for reading does it through a short connection of its own).
  void Checkpoint();

  // Where a damaged file named `file` goes: the same folder, the date and time in its name.
  static QString AsideName(const QString& file, const QDateTime& when);

 private:
  bool OpenConnection(bool readOnly, QString& error);
  OpenResult Prepare();
  // Moves the file and its log aside; "" when it could not.
  QString MoveAside();

  QString file_;
  QString connection_;
  StoreMode mode_ = StoreMode::Closed;
};

Fault FaultOf(const class QSqlError& error);

}  // namespace zorv::history
