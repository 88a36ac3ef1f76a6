// get [--port N] -o FILE: the controller's settings into a switch file or JSON.
#include <QDir>
#include <QFileInfo>

#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/Session.h"
#include "cli/SettingsFiles.h"

namespace zorv::cli {

int Get(const QStringList& arguments) {
  Parser parser("get -o FILE", "Waits for the controller, downloads its settings and writes them to "
                       "FILE: a switch file, or JSON when FILE ends in .json.", true);
  parser.Raw().addOption({{"o", "output"}, "The file to write.", "FILE"});
  parser.OfferJson();
  if (const auto ended = parser.Parse(arguments, 0, 0)) return *ended;
  const QString file = parser.Raw().value("output");
  if (file.isEmpty()) return Fail(kUsage, "get needs -o FILE; see get --help");
  // Found out before the controller is kept waiting for a download that could not be saved.
  const QString unusable = UnusableTarget(file);
  if (!unusable.isEmpty()) return Fail(kUsage, unusable);
  const QFileInfo target(file);

  Session session(parser.Options());
  const QString failed = session.ConnectAndDownload();
  if (!failed.isEmpty()) return Fail(kFailure, failed);
  if (session.Bridge().receivedBlank) {
    Err("The controller's settings memory is blank: " + file + " holds the defaults");
  }
  const QString written =
      WriteSettings(file, session.Image(), session.ControllerProduct());
  if (!written.isEmpty()) return Fail(kFailure, written);
  // The history is read later from anywhere: the file by its whole path.
  JsonSet("file", target.absoluteFilePath());
  JsonSet("blank", session.Bridge().receivedBlank);
  session.Saved(target.absoluteFilePath());
  return kSuccess;
}

}  // namespace zorv::cli
