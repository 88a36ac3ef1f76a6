// diff A B [--port N]: the named differences between two settings files, or a file and the
// controller ("controller"). Exit status as diff(1): 0 same, 1 different, 2 trouble.
#include "cli/Commands.h"
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

QString Name(Layout layout) {
  QString name = QString::fromStdString(LayoutName(layout));
  if (!name.isEmpty()) name[0] = name[0].toUpper();
  return name;
}

}  // namespace

int Diff(const QStringList& arguments) {
  Parser parser("diff A B", "The named differences from A to B, one a line; every differing "
                            "byte is reported. A or B may be \"controller\": the settings the "
                            "controller holds now, as it sends them. Settings of two different "
                            "products are never the same.", true);
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
  Side sides[2];
  for (int i = 0; i < 2; ++i) {
    if (names[i] == "controller") {
      // The bytes that came, not the defaults the window shows for a blank memory.
      sides[i].image.bytes = session->Bridge().bytesAsReceived;
      sides[i].product = session->ControllerProduct();
    } else {
      const std::optional<SettingsFile> file = ReadSettings(names[i]);
      if (!file) return kUsage;
      sides[i].image = file->image;
      sides[i].product = file->productCode;
    }
    sides[i].layout = KnownLayout(sides[i].product, sides[i].image);
  }
  if (sides[0].layout && sides[1].layout && *sides[0].layout != *sides[1].layout) {
    Out("Different products: " + Name(*sides[0].layout) + " settings against " +
        Name(*sides[1].layout) + " settings");
    return kFailure;
  }
  const std::uint8_t product =
      sides[0].product ? *sides[0].product : sides[1].product.value_or(0);
  const auto differences = Compare(sides[0].image, sides[1].image, product);
  for (const Difference& d : differences) Out(QString::fromStdString(d.Line()));
  return differences.empty() ? kSuccess : kFailure;
}

}  // namespace zorv::cli
