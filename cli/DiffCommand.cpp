// diff A B [--port N]: the named differences between two settings files, or a file and the
// controller ("controller"). Exit status as diff(1): 0 same, 1 different, 2 trouble.
#include "cli/Commands.h"
#include "cli/Session.h"
#include "cli/SettingsFiles.h"
#include "image/Catalogue.h"

namespace zorv::cli {

int Diff(const QStringList& arguments) {
  Parser parser("diff A B", "The named differences from A to B, one a line. A or B may be "
                            "\"controller\": the settings the controller holds now.", true);
  if (const auto ended = parser.Parse(arguments, 2, 2)) return *ended;
  const QStringList names = parser.Positional();
  if (names.count("controller") > 1) return Fail(kUsage, "Only one of A and B can be the controller");

  std::optional<Session> session;
  if (names.contains("controller")) {
    session.emplace(parser.Options());
    const QString failed = session->ConnectAndDownload();
    // Trouble, not a difference: diff(1)'s 2.
    if (!failed.isEmpty()) return Fail(kUsage, failed);
  }
  SettingsImage images[2];
  std::optional<std::uint8_t> product;
  for (int i = 0; i < 2; ++i) {
    if (names[i] == "controller") {
      images[i] = session->Bridge().received;
      product = session->ControllerProduct();
      continue;
    }
    const std::optional<SettingsFile> file = ReadSettings(names[i]);
    if (!file) return kUsage;
    images[i] = file->image;
    if (!product) product = file->productCode;
  }
  const auto differences = Compare(images[0], images[1], product.value_or(0));
  for (const Difference& d : differences) Out(QString::fromStdString(d.Line()));
  return differences.empty() ? kSuccess : kFailure;
}

}  // namespace zorv::cli
