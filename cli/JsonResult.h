#pragma once
// --json: a subcommand's one JSON object on standard output, for a fleet script to parse
// instead of reading lines. The subcommand adds what it did; a failure adds its text as
// "error"; main() prints the object once, with the exit status, whatever road the run took.
// Texts still go to standard error as without --json, for the script's log.
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace zorv::cli {

// Turns --json on for this run; from then on Fail() also records its text.
void UseJson(const QString& command);
bool JsonWanted();
// Adds (or replaces) a member of the run's object.
void JsonSet(const QString& key, const QJsonValue& value);
// The first failure's text (later ones are its echoes).
void JsonError(const QString& text);
// Prints the object with "exitCode": `status`, and forgets it; nothing without --json.
void PrintJson(int status);

}  // namespace zorv::cli
