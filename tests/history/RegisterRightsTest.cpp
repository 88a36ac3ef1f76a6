// The shared register against a real PostgreSQL server: the administrator's roles (a laptop adds
// and reads, never changes or deletes), tables of another program left alone, an event the
// server refuses set aside instead of blocking the rest, marks that cannot be sent, and an
// encrypted connection checked against the shop's own CA.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <functional>
#include <memory>

#include "history/HistoryRecorder.h"
#include "history/HistorySchema.h"
#include "history/HistoryStore.h"
#include "history/RegisterStore.h"
#include "tests/history/RegisterServer.h"

namespace zorv::test {
namespace {

using history::Event;
using history::HistoryRecorder;
using history::RegisterAddress;

constexpr int kRetryMs = 300;
const char* kSetupScript = ZORV_TEST_DATA_DIR "/../../packaging/register-setup.sql";

Event Sample(int n) {
  ImageBytes image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(n * 11 + i);
  Event event = history::NewEvent(history::EventKind::Downloaded, image);
  event.truck = "Unit " + QString::number(n);
  event.product = "Zorv v1.1";
  return event;
}

// One statement on a connection of its own as `user`; "" when it ran, else the server's error.
QString RunAs(const RegisterAddress& address, const QString& user, const QString& sql) {
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "rights-test");
    db.setHostName(address.host);
    db.setPort(address.port);
    db.setDatabaseName(address.database);
    db.setUserName(user);
    if (!db.open()) {
      error = db.lastError().text();
    } else {
      QSqlQuery query(db);
      if (!query.exec(sql)) error = query.lastError().databaseText();
      if (error.isEmpty() && !query.lastError().text().trimmed().isEmpty()) {
        error = query.lastError().text();
      }
    }
  }
  QSqlDatabase::removeDatabase("rights-test");
  return error;
}

class RegisterRightsTest : public RegisterServer {
 protected:
  // The administrator's script, then a login for one laptop in the laptops' role.
  void SetUpRoles(const QString& script) {
    ASSERT_TRUE(QFile::exists(script)) << script.toStdString();
    ASSERT_EQ(server_->Psql(address_.database, {"-f", script}), "");
    const QString laptop = "laptop_" + address_.database;
    ASSERT_EQ(server_->Psql(address_.database,
                            {"-c", "CREATE ROLE " + laptop + " LOGIN IN ROLE zorvtrim_laptop"}),
              "");
    laptop_ = address_;
    laptop_.user = laptop;
  }
  // The laptop records and lists its events, and every change or deletion is refused.
  void ExpectLaptopRights();
  RegisterAddress laptop_;
};

void RegisterRightsTest::ExpectLaptopRights() {
  const Event a = Sample(1);
  const Event b = Sample(2);
  {
    HistoryRecorder recorder(QString::fromStdString(folder_.File("laptop.sqlite")), nullptr,
                             nullptr, laptop_, kRetryMs);
    recorder.Record(a);
    recorder.Record(b);
    ASSERT_TRUE(WaitFor([&] { return recorder.Waiting() == 0; }, 10000))
        << recorder.Line().toStdString();
    EXPECT_TRUE(recorder.Line().isEmpty()) << recorder.Line().toStdString();
  }
  EXPECT_EQ(EventsIn(laptop_).size(), 2u);

  const char* refused[] = {
      "UPDATE events SET truck = 'forged'",
      "DELETE FROM events",
      "UPDATE meta SET value = '99'",
      "ALTER TABLE events ADD COLUMN forged TEXT",
      "DROP TABLE events",
      "TRUNCATE events",
      "CREATE TABLE forged (x int)",
  };
  for (const char* sql : refused) {
    const QString error = RunAs(laptop_, laptop_.user, sql);
    EXPECT_TRUE(error.contains("permission denied") || error.contains("must be owner"))
        << sql << ": " << error.toStdString();
  }
  const auto events = EventsIn(address_);
  ASSERT_EQ(events.size(), 2u);
  for (const Event& e : events) EXPECT_TRUE(e.truck.startsWith("Unit ")) << e.truck.toStdString();
}

// The packaged script is the one the tool makes from its schema: they never drift apart.
TEST(RegisterSetupScriptTest, PackagedScriptMatchesTheSchema) {
  QFile file(kSetupScript);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << kSetupScript;
  const QString packaged = QString::fromUtf8(file.readAll());
  if (packaged != history::RegisterSetupSql()) {
    QFile made(ZORV_BINARY_DIR "/register-setup.sql");
    if (made.open(QIODevice::WriteOnly)) made.write(history::RegisterSetupSql().toUtf8());
    FAIL() << "packaging/register-setup.sql differs from the schema; the current script is in "
           << ZORV_BINARY_DIR "/register-setup.sql";
  }
}

TEST_F(RegisterRightsTest, LaptopRecordsAndListsButMayNotChangeOrDelete) {
  SetUpRoles(kSetupScript);
  ExpectLaptopRights();
}

// "zorvtrim-cli register-setup" prints the packaged script byte for byte, and what it prints,
// fed to psql as an administrator would, sets up the same rights.
TEST_F(RegisterRightsTest, CliPrintsTheScriptThatSetsUpTheRoles) {
  QProcess cli;
  cli.start(ZORV_BINARY_DIR "/cli/zorvtrim-cli", {"register-setup"});
  ASSERT_TRUE(cli.waitForFinished(20000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const QByteArray printed = cli.readAllStandardOutput();
  QFile packaged(kSetupScript);
  ASSERT_TRUE(packaged.open(QIODevice::ReadOnly));
  EXPECT_EQ(printed, packaged.readAll());
  const QString script = QString::fromStdString(folder_.File("printed.sql"));
  QFile written(script);
  ASSERT_TRUE(written.open(QIODevice::WriteOnly) && written.write(printed) == printed.size());
  written.close();
  SetUpRoles(script);
  ExpectLaptopRights();
}

// A register of an older version that only its owner may change: the laptop says what to do and
// keeps recording here.
TEST_F(RegisterRightsTest, OlderRegisterAsksForTheAdministrator) {
  SetUpRoles(kSetupScript);
  ASSERT_EQ(server_->Psql(address_.database,
                          {"-c",
                           "ALTER TABLE events DROP COLUMN image_product,"
                           " DROP COLUMN repaired_image, DROP COLUMN flash_crc32;"
                           " DROP TABLE set_aside;"
                           " UPDATE meta SET value = '2' WHERE key = 'schema_version'"}),
            "");
  const QString file = QString::fromStdString(folder_.File("laptop.sqlite"));
  QString line;
  {
    HistoryRecorder recorder(file, nullptr, nullptr, laptop_, kRetryMs);
    recorder.Record(Sample(1));
    ASSERT_TRUE(recorder.Flush(10000));
    ASSERT_TRUE(WaitFor([&] { return !recorder.Line().isEmpty(); }, 10000));
    line = recorder.Line();
    EXPECT_TRUE(recorder.Recording());
  }
  EXPECT_EQ(line,
            "The register needs an update: ask your administrator to run register-setup.sql: "
            "recording on this laptop");
  history::HistoryStore local(file);
  ASSERT_NE(local.OpenForReading().mode, history::StoreMode::Closed);
  EXPECT_EQ(local.Count(), 1);
  EXPECT_EQ(local.UnsentCount(), 1);
}

// No rights at all on a new register: the line says so, never "unreachable".
TEST_F(RegisterRightsTest, NoRightsAreSaidAsSuch) {
  const QString stranger = "stranger_" + address_.database;
  ASSERT_EQ(server_->Psql(address_.database, {"-c", "CREATE ROLE " + stranger + " LOGIN"}), "");
  RegisterAddress address = address_;
  address.user = stranger;
  HistoryRecorder recorder(QString::fromStdString(folder_.File("laptop.sqlite")), nullptr,
                           nullptr, address, kRetryMs);
  recorder.Record(Sample(1));
  ASSERT_TRUE(WaitFor([&] { return !recorder.Line().isEmpty(); }, 10000));
  EXPECT_EQ(recorder.Line(),
            "History register refused this laptop (permission denied for schema public): "
            "recording on this laptop");
}

// Another program's meta and events in the register's database: never written to.
TEST_F(RegisterRightsTest, TablesOfAnotherProgramAreLeftAlone) {
  const QString other = "other_" + address_.database;
  ASSERT_EQ(server_->Psql(address_.database,
                          {"-c", "CREATE ROLE " + other + " LOGIN; GRANT CREATE ON SCHEMA public TO " +
                                     other}),
            "");
  ASSERT_EQ(server_->Psql(address_.database,
                          {"-c",
                           "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT);"
                           " INSERT INTO meta VALUES ('schema_version', '1');"
                           " CREATE TABLE events (id INT, note TEXT);"
                           " INSERT INTO events VALUES (1, 'theirs')"},
                          other),
            "");
  history::RegisterStore store(address_);
  QString error;
  EXPECT_FALSE(store.Open(error));
  EXPECT_EQ(error, "the table events is not ZorvTrim's (its columns are id, note)");
  // Untouched: their version, their row, no column of ours.
  EXPECT_EQ(RunAs(address_, address_.user,
                  "DO $$ BEGIN IF (SELECT value FROM meta) <> '1' OR"
                  " (SELECT count(*) FROM events) <> 1 THEN RAISE 'changed'; END IF; END $$"),
            "");
}

// A chip line with a NUL, and an event the server refuses on its own (a rule of the shop's):
// the rest reach the register, the refused one is set aside with the reason and listed so.
TEST_F(RegisterRightsTest, NulTextGoesCleanAndARefusedEventBlocksNothing) {
  QString error;
  ASSERT_TRUE(history::RegisterStore(address_).Open(error)) << error.toStdString();
  ASSERT_EQ(server_->Psql(address_.database,
                          {"-c", "ALTER TABLE events ADD CONSTRAINT shop_rule"
                                 " CHECK (truck <> 'REFUSED')"}),
            "");
  Event nul = Sample(1);
  nul.kind = history::EventKind::FirmwareInstalled;
  nul.chipLine = QString("ATmega16") + QChar(0) + "BOOT";
  Event refused = Sample(2);
  refused.truck = "REFUSED";
  const Event after = Sample(3);
  const QString file = QString::fromStdString(folder_.File("laptop.sqlite"));
  QString line;
  {
    QObject context;
    HistoryRecorder recorder(file, &context, [&](const QString& l) { line = l; }, address_,
                             kRetryMs);
    for (const Event& e : {nul, refused, after}) recorder.Record(e);
    ASSERT_TRUE(WaitFor([&] { return recorder.Waiting() == 0; }, 10000))
        << recorder.Line().toStdString();
    WaitFor([&] { return line.contains("refused"); }, 2000);
  }
  EXPECT_TRUE(line.startsWith("History register refused 1 event(s), set aside (")) << line.toStdString();
  const auto events = EventsIn(address_);
  ASSERT_EQ(events.size(), 2u);
  for (const Event& e : events) {
    EXPECT_NE(e.id, refused.id);
    if (e.id == nul.id) {
      EXPECT_EQ(e.chipLine, "ATmega16 BOOT");
    }
  }
  history::HistoryStore local(file);
  ASSERT_NE(local.OpenForReading().mode, history::StoreMode::Closed);
  const auto kept = local.Load(refused.id);
  ASSERT_TRUE(kept.has_value());
  EXPECT_TRUE(kept->setAsideReason.contains("shop_rule")) << kept->setAsideReason.toStdString();
  EXPECT_EQ(local.UnsentCount(), 0);
}

// A waiting mark without its event, and an event of a kind this version does not know: set
// aside once, and the recorder ends within 2 s.
TEST_F(RegisterRightsTest, MarksThatCannotBeSentEndTheLoop) {
  const QString file = QString::fromStdString(folder_.File("laptop.sqlite"));
  const Event good = Sample(1);
  const Event unknown = Sample(2);
  {
    history::HistoryStore store(file);
    ASSERT_EQ(store.OpenForWriting().mode, history::StoreMode::ReadWrite);
    ASSERT_TRUE(store.InsertAll({good, unknown}, true, false).ok());
    QSqlQuery query(store.Database());
    ASSERT_TRUE(query.exec("INSERT INTO unsent (id) VALUES ('orphan-mark')"));
    ASSERT_TRUE(query.exec("UPDATE events SET kind = 'teleported' WHERE id = '" + unknown.id + "'"));
  }
  QElapsedTimer timer;
  timer.start();
  auto recorder = std::make_unique<HistoryRecorder>(file, nullptr, nullptr, address_, kRetryMs);
  ASSERT_TRUE(WaitFor([&] { return recorder->Waiting() == 0; }, 10000))
      << recorder->Line().toStdString();
  recorder->Finish(0);
  recorder.reset();
  EXPECT_LT(timer.elapsed(), 2000);
  const auto events = EventsIn(address_);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events.front().id, good.id);
  history::HistoryStore local(file);
  ASSERT_NE(local.OpenForReading().mode, history::StoreMode::Closed);
  EXPECT_EQ(local.SetAsideList().size(), 2u);
}

// Eleven events recorded before a register was set: offered, marked, and then all sent.
TEST_F(RegisterRightsTest, EarlierEventsAreSentOnceMarked) {
  const QString file = QString::fromStdString(folder_.File("laptop.sqlite"));
  std::vector<Event> earlier;
  {
    HistoryRecorder alone(file, nullptr, nullptr);
    for (int i = 0; i < 11; ++i) {
      earlier.push_back(Sample(i));
      alone.Record(earlier.back());
    }
    ASSERT_TRUE(alone.Flush(10000));
  }
  {
    history::HistoryStore store(file);
    ASSERT_EQ(store.OpenForWriting().mode, history::StoreMode::ReadWrite);
    EXPECT_EQ(store.NotWaitingCount(), 11);
    EXPECT_EQ(store.MarkAllWaiting(), 11);
    EXPECT_EQ(store.NotWaitingCount(), 0);
  }
  HistoryRecorder recorder(file, nullptr, nullptr, address_, kRetryMs);
  ASSERT_TRUE(WaitFor([&] { return recorder.Waiting() == 0; }, 10000))
      << recorder.Line().toStdString();
  EXPECT_EQ(EventsIn(address_).size(), 11u);
}

// The shop's own CA: one that signed the server's certificate (for localhost and 127.0.0.1), and
// another that did not.
QString MakeCertificates(const QString& folder) {
  const QString script = R"sh(set -e
cd "$1"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 -subj "/CN=Shop CA"
openssl req -x509 -newkey rsa:2048 -nodes -keyout other.key -out other.crt -days 2 \
  -subj "/CN=Other CA"
openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost"
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' > san.ext
openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt \
  -days 2 -extfile san.ext
chmod 600 server.key
if [ "$(id -u)" = 0 ]; then chown nobody server.key server.crt; fi
)sh";
  QProcess shell;
  shell.setProcessChannelMode(QProcess::MergedChannels);
  shell.start("sh", {"-c", script, "sh", folder});
  if (!shell.waitForFinished(60000) || shell.exitCode() != 0) {
    return "openssl failed: " + QString::fromLocal8Bit(shell.readAll());
  }
  return {};
}

class RegisterEncryptionTest : public RegisterServer {
 protected:
  static void SetUpTestSuite() {
    RegisterServer::SetUpTestSuite();
    if (!startError_.isEmpty()) return;
    certificates_ = server_->Folder() + "/certificates";
    QDir().mkpath(certificates_);
    startError_ = MakeCertificates(certificates_);
    if (!startError_.isEmpty()) return;
    server_->Stop();
    server_->AddServerOptions("-c ssl=on -c ssl_cert_file=" + certificates_ +
                              "/server.crt -c ssl_key_file=" + certificates_ + "/server.key");
    startError_ = server_->Start();
  }
  static inline QString certificates_;
};

struct EncryptionRow {
  const char* name;
  const char* host;
  const char* ca;  // "" : not required
  bool opens;
  bool encrypted;
  const char* error;  // a part of the error when it does not open
};
void PrintTo(const EncryptionRow& row, std::ostream* out) { *out << row.name; }

class RegisterEncryptionRows : public RegisterEncryptionTest,
                               public ::testing::WithParamInterface<EncryptionRow> {};

TEST_P(RegisterEncryptionRows, VerifyFullAgainstTheShopsCa) {
  const EncryptionRow& row = GetParam();
  RegisterAddress address = address_;
  address.host = row.host;
  address.requireEncryption = QString(row.ca) != "";
  if (address.requireEncryption) address.caFile = certificates_ + "/" + row.ca;
  history::RegisterStore store(address);
  QString error;
  EXPECT_EQ(store.Open(error), row.opens) << error.toStdString();
  if (row.opens) {
    EXPECT_EQ(store.Encrypted(), row.encrypted);
  } else {
    EXPECT_TRUE(error.contains(row.error)) << error.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Certificates, RegisterEncryptionRows,
    ::testing::Values(
        EncryptionRow{"ShopCaByName", "localhost", "ca.crt", true, true, ""},
        EncryptionRow{"ShopCaByAddress", "127.0.0.1", "ca.crt", true, true, ""},
        EncryptionRow{"WrongCa", "localhost", "other.crt", false, false,
                      "certificate verify failed"},
        EncryptionRow{"MissingCaFile", "localhost", "none.crt", false, false,
                      "cannot be read"},
        EncryptionRow{"NotRequiredStillEncrypted", "localhost", "", true, true, ""}),
    [](const ::testing::TestParamInfo<EncryptionRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace zorv::test
