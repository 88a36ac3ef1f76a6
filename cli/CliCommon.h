#pragma once
// What every subcommand shares: its exit codes, the common options (--port, --timeout, --quiet,
// --truck, --help), parsing with a help text, and the lines it writes.
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorv::cli {

// Exit statuses; diff(1) uses the same three (0 same, 1 different, 2 trouble).
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;  // the work failed: the link's or the file's text on stderr
inline constexpr int kUsage = 2;    // wrong usage, or trouble before any work

inline constexpr int kDefaultTimeoutSeconds = 10;

struct Common {
  int port = 0;                   // the remembered "COM Port" unless --port
  int timeoutSeconds = kDefaultTimeoutSeconds;
  bool quiet = false;
  QString truck;
};

// One subcommand's parser. `linkOptions` adds --port, --timeout and --truck.
class Parser {
 public:
  Parser(const QString& usage, const QString& description, bool linkOptions);
  QCommandLineParser& Raw() { return parser_; }
  // Parses `arguments` (the subcommand's name first). An exit status when the run ends here
  // (help printed: 0; a usage error printed: 2), nothing when the subcommand goes on.
  std::optional<int> Parse(const QStringList& arguments, int minPositional, int maxPositional);
  // Adds --json: the run's result as one JSON object on standard output (see JsonResult.h).
  void OfferJson();
  QStringList Positional() const { return parser_.positionalArguments(); }
  const Common& Options() const { return common_; }

 private:
  QCommandLineParser parser_;
  bool linkOptions_;
  bool jsonOption_ = false;
  Common common_;
};

// A line on standard output / standard error, flushed at once.
void Out(const QString& line);
void Err(const QString& line);
// Prints `text` and returns `status`: for the failure paths of the subcommands.
int Fail(int status, const QString& text);

}  // namespace zorv::cli
