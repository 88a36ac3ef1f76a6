// register-setup [-o FILE]: the script an administrator runs once on a shared history register.
#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "history/HistorySchema.h"
#include "report/SettingsExport.h"

namespace zorv::cli {

int RegisterSetup(const QStringList& arguments) {
  Parser parser("register-setup [-o FILE]",
                "The script that sets up a shared history register, for its administrator: a "
                "role that owns the tables (and creates and updates them) and a role for the "
                "laptops, which may only add events and read them. Run it once as a PostgreSQL "
                "superuser, and again whenever a laptop says \"The register needs an update\":\n"
                "  zorvtrim-cli register-setup | psql -h HOST -U postgres -d zorvtrim -f -\n"
                "Then give each laptop a login of its own:\n"
                "  CREATE ROLE laptop_unit1 LOGIN PASSWORD '...' IN ROLE zorvtrim_laptop;",
                false);
  parser.Raw().addOption({{"o", "output"}, "Write the script to FILE instead.", "FILE"});
  if (const auto ended = parser.Parse(arguments, 0, 0)) return *ended;

  const QByteArray script = history::RegisterSetupSql().toUtf8();
  if (parser.Raw().isSet("output")) {
    const QString file = parser.Raw().value("output");
    const QString failed = WriteWholeFile(file, script);
    return failed.isEmpty() ? kSuccess : Fail(kFailure, "Cannot write " + file + ": " + failed);
  }
  if (std::fwrite(script.constData(), 1, static_cast<std::size_t>(script.size()), stdout) !=
          static_cast<std::size_t>(script.size()) ||
      std::fflush(stdout) != 0) {
    return Fail(kFailure, "Cannot write the script to standard output");
  }
  return kSuccess;
}

}  // namespace zorv::cli
