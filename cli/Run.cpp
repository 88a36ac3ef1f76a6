// The subcommands by name, the usage text, and what every run does at its end (the Ctrl+C
// line, the JSON object, a checked standard output).
#include "cli/Run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/Interrupt.h"
#include "cli/JsonResult.h"
#include "link/TCOMThread.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(const QStringList&);
  const char* summary;
};

constexpr Subcommand kSubcommands[] = {
    {"ports", zorv::cli::Ports, "ports [--json]"},
    {"get", zorv::cli::Get, "get [--port N | --device PATH] -o FILE"},
    {"send", zorv::cli::Send, "send [--port N | --device PATH] [--before FILE] FILE"},
    {"show", zorv::cli::Show, "show FILE [--json] [--product NAME]"},
    {"diff", zorv::cli::Diff, "diff A B [--port N | --device PATH] [--product NAME]   (A or B may be \"controller\")"},
    {"flash", zorv::cli::Flash,
     "flash [--port N] FILE.hex [--keep-settings] [--read-back OLD.hex] [--yes] [--json]"},
    {"report", zorv::cli::Report, "report FILE [--pdf OUT.pdf] [--product NAME]"},
    {"probe", zorv::cli::Probe, "probe [--port N | --device PATH] [--json]"},
    {"register-setup", zorv::cli::RegisterSetup, "register-setup [-o FILE]"},
};

// On standard output when asked for (--help), on standard error after a usage mistake.
void Usage(void (*print)(const QString&)) {
  print("Usage: zorvtrim-cli COMMAND [OPTIONS]; zorvtrim-cli COMMAND --help for more.");
  for (const Subcommand& s : kSubcommands) print(QString("  ") + s.summary);
  print("Common: --timeout SECONDS (10), --quiet, --truck LABEL. Exit status: 0 done, "
        "1 failed, 2 wrong usage or trouble (diff: 0 same, 1 different, 2 trouble).");
}

// A line lost on a full disk or a closed pipe is a failed run, not a quiet success.
int CheckedOutput(int status) {
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
  zorv::cli::Err(QString("Cannot write to standard output: ") + std::strerror(errno));
  return zorv::cli::kUsage;
}

}  // namespace

namespace zorv::cli {

int Run(const QStringList& arguments) {
  if (arguments.isEmpty()) {
    Usage(zorv::cli::Err);
    return zorv::cli::kUsage;
  }
  if (arguments.first() == "--help" || arguments.first() == "-h") {
    Usage(zorv::cli::Out);
    return CheckedOutput(zorv::cli::kSuccess);
  }
  for (const Subcommand& s : kSubcommands) {
    if (arguments.first() != s.name) continue;
    int status = s.run(arguments);
    if (zorv::cli::Interrupted() && status != zorv::cli::kSuccess) {
      QString stopped = "Stopped by " + zorv::cli::InterruptName();
      if (zorv::cli::InterruptedWhileWriting()) {
        stopped += QString(" while the firmware was being written. ") +
                   zorv::TCOMThread::kFirmwareIncomplete;
      }
      zorv::cli::Err(stopped);
      zorv::cli::JsonError(stopped);
      status = zorv::cli::kFailure;
    }
    zorv::cli::PrintJson(status);
    return CheckedOutput(status);
  }
  Usage(zorv::cli::Err);
  return zorv::cli::Fail(zorv::cli::kUsage, "Unknown command: " + arguments.first());
}

}  // namespace zorv::cli
