#include "cli/JsonResult.h"

#include <QJsonDocument>
#include <cstdio>

namespace zorv::cli {
namespace {

bool gWanted = false;
QJsonObject& Object() {
  static QJsonObject object;
  return object;
}

}  // namespace

void UseJson(const QString& command) {
  gWanted = true;
  Object().insert("command", command);
}

bool JsonWanted() { return gWanted; }

void JsonSet(const QString& key, const QJsonValue& value) {
  if (gWanted) Object().insert(key, value);
}

void JsonError(const QString& text) {
  if (gWanted && !Object().contains("error")) Object().insert("error", text);
}

void PrintJson(int status) {
  if (!gWanted) return;
  Object().insert("exitCode", status);
  Object().insert("ok", status == 0);
  const QByteArray text = QJsonDocument(Object()).toJson(QJsonDocument::Indented);
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
  // One object a run: a next run in the same process starts empty.
  gWanted = false;
  Object() = QJsonObject();
}

}  // namespace zorv::cli
