// send [--port N] FILE: uploads a settings file, downloads again and checks the controller
// holds what was sent.
#include <QFileInfo>

#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/Session.h"
#include "cli/SettingsFiles.h"
#include "image/Catalogue.h"

namespace zorv::cli {

// "" when `file` may go to the controller whose settings are `held`, else why not. A JSON
// file names its product; a switch file names none, and only its Tarnovex marker gives one away
// (a Tarnovex controller's own memory need not carry the marker, so its absence tells nothing).
QString ProductMismatch(const SettingsFile& file, const SettingsImage& held,
                        std::uint8_t controllerProduct) {
  const Layout controller = SelectLayout(controllerProduct, held);
  Layout settings = SelectLayout(file.productCode.value_or(0), file.image);
  if (!file.productCode) {
    if (settings != Layout::Tarnovex || controller == Layout::Tarnovex) return {};
  } else if (settings == controller) {
    return {};
  }
  return QString("The file holds %1 settings; the controller is a %2: nothing was sent")
      .arg(QString::fromStdString(LayoutName(settings)),
           QString::fromStdString(LayoutName(controller)));
}

int Send(const QStringList& arguments) {
  Parser parser("send FILE", "Uploads FILE (a switch file or JSON) to the controller with the "
                             "per-byte echo check, then downloads again and checks the "
                             "controller holds what was sent.", true);
  parser.Raw().addOption({"before", "Also writes the controller's settings as they were before "
                                    "the send to BEFORE (a switch file, or JSON for .json): the "
                                    "record a fleet keeps, without a get of its own.", "BEFORE"});
  parser.OfferJson();
  if (const auto ended = parser.Parse(arguments, 1, 1)) return *ended;
  const QString fileName = parser.Positional().at(0);
  const QString refused = RefuseUnlessWholeImage(fileName);
  if (!refused.isEmpty()) return Fail(kUsage, refused);
  const std::optional<SettingsFile> file = ReadSettings(fileName);
  if (!file) return kUsage;

  const QString before = parser.Raw().value("before");
  if (parser.Raw().isSet("before")) {
    const QString unusable = UnusableTarget(before);
    if (!unusable.isEmpty()) return Fail(kUsage, unusable);
  }

  Session session(parser.Options());
  QString failed = session.ConnectAndDownload();
  if (!failed.isEmpty()) return Fail(kFailure, failed);
  const std::uint8_t product = session.ControllerProduct();
  JsonSet("file", QFileInfo(fileName).absoluteFilePath());
  if (!before.isEmpty()) {
    // Kept before anything is sent: the record survives a send that fails.
    failed = WriteSettings(before, session.Image(), product);
    if (!failed.isEmpty()) return Fail(kFailure, failed);
    session.Saved(QFileInfo(before).absoluteFilePath());
    JsonSet("before", QFileInfo(before).absoluteFilePath());
  }
  failed = ProductMismatch(*file, session.Image(), product);
  if (!failed.isEmpty()) return Fail(kFailure, failed);

  failed = session.SendAndCheck(file->image, "The controller does not hold what was sent");
  JsonSet("sent", failed.isEmpty());
  return failed.isEmpty() ? kSuccess : Fail(kFailure, failed);
}

}  // namespace zorv::cli
