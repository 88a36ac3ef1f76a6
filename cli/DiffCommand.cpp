// diff A B [--port N]: the named differences between two settings files, or a file and the
// controller ("controller"). Exit status as diff(1): 0 same, 1 different, 2 trouble.
#include <QJsonArray>
#include <QJsonObject>

#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/Session.h"
#include "cli/SettingsFiles.h"
#include "image/Catalogue.h"

namespace zorv::cli {
namespace {

// One side of the comparison: its bytes, and its product when it names one. A switch file
// names none unless its Tarnovex marker gives it away; it then takes the other side's.
struct Side {
  SettingsImage image;
  std::optional<std::uint8_t> product;
  std::optional<Layout> layout;
};

std::optional<Layout> KnownLayout(const std::optional<std::uint8_t>& product,
                                  const SettingsImage& image) {
  const Layout layout = SelectLayout(product.value_or(0), image);
  if (product || layout == Layout::Tarnovex) return layout;
  return std::nullopt;
}

// One difference for a script: by key where a setting covers it, both values and both texts.
QJsonObject DifferenceJson(const Difference& d, const SettingsImage& a, const SettingsImage& b) {
  QJsonObject o;
  o.insert("key", d.setting != nullptr ? QJsonValue(QString::fromStdString(d.setting->key))
                                       : QJsonValue());
  o.insert("caption", QString::fromStdString(d.Caption()));
  o.insert("offset", static_cast<int>(d.offset));
  const auto value = [&](const SettingsImage& image) -> QJsonValue {
    if (d.setting == nullptr) return image[d.offset];
    const Shown shown = Show(*d.setting, image);
    if (IsTextual(*d.setting)) return QString::fromStdString(shown.text);
    return static_cast<double>(shown.value);
  };
  o.insert("before", value(a));
  o.insert("after", value(b));
  o.insert("beforeText", QString::fromStdString(d.before));
  o.insert("afterText", QString::fromStdString(d.after));
  return o;
}


}  // namespace

int Diff(const QStringList& arguments) {
  Parser parser("diff A B", "The named differences from A to B, one a line; every differing "
                            "byte is reported. A or B may be \"controller\": the settings the "
                            "controller holds now, as it sends them. Settings of two different "
                            "products are never the same.\n\nExit status: 0 same, 1 different (or different "
                            "products), 2 trouble (a file that cannot be read, no controller).",
                true);
  parser.OfferJson();
  OfferProduct(parser);
  if (const auto ended = parser.Parse(arguments, 2, 2)) return *ended;
  std::optional<std::uint8_t> chosen;
  if (!ChosenProduct(parser, chosen)) return kUsage;
  const QStringList names = parser.Positional();
  if (names.count("controller") > 1) return Fail(kUsage, "Only one of A and B can be the controller");

  std::optional<Session> session;
  if (names.contains("controller")) {
    session.emplace(parser.Options());
    const QString failed = session->ConnectAndDownload();
    // Trouble, not a difference: diff(1)'s 2.
    if (!failed.isEmpty()) return Fail(kUsage, failed);
  }
  Side sides[2];
  for (int i = 0; i < 2; ++i) {
    if (names[i] == "controller") {
      // The bytes that came, not the defaults the window shows for a blank memory.
      sides[i].image.bytes = session->Bridge().receivedBytes;
      sides[i].product = session->ControllerProduct();
    } else {
      // --product names the switch files' product: a JSON file on the other side keeps its own.
      const std::optional<SettingsFile> file =
          ReadSettings(names[i], IsJsonFileName(names[i]) ? std::nullopt : chosen);
      if (!file) return kUsage;
      sides[i].image = file->image;
      sides[i].product = file->productCode;
    }
    sides[i].layout = KnownLayout(sides[i].product, sides[i].image);
  }
  QJsonArray products;
  for (const Side& side : sides) products.append(side.layout ? LayoutTitle(*side.layout) : QJsonValue());
  JsonSet("products", products);
  if (sides[0].layout && sides[1].layout && *sides[0].layout != *sides[1].layout) {
    const QString line = "Different products: " + LayoutTitle(*sides[0].layout) + " settings against " +
                         LayoutTitle(*sides[1].layout) + " settings";
    JsonSet("same", false);
    JsonSet("differentProducts", true);
    JsonSet("differences", QJsonArray());
    if (!JsonWanted()) Out(line);
    return kFailure;
  }
  const std::uint8_t product =
      sides[0].product ? *sides[0].product : sides[1].product.value_or(0);
  const auto differences = Compare(sides[0].image, sides[1].image, product);
  QJsonArray listed;
  for (const Difference& d : differences) {
    if (!JsonWanted()) Out(QString::fromStdString(d.Line()));
    listed.append(DifferenceJson(d, sides[0].image, sides[1].image));
  }
  JsonSet("same", differences.empty());
  JsonSet("differentProducts", false);
  JsonSet("differences", listed);
  return differences.empty() ? kSuccess : kFailure;
}

}  // namespace zorv::cli
