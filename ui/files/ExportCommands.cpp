#include "ui/files/ExportCommands.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "image/Catalogue.h"
#include "ui/files/CompareWindow.h"
#include "report/SettingsExport.h"

namespace zorv {

namespace {

void ShowError(PageHost& host, const QString& text) {
  host.prompts().Message(Prompts::Kind::Error, "Error", text);
}

// Whether the file's bytes are read by the layout the window shows them with; a switch file
// names no product.
bool SameLayout(PageHost& host, const SettingsFile& file) {
  if (!file.productCode) return true;
  return SelectLayout(*file.productCode, file.image) == SelectLayout(host.ProductCode(), file.image);
}

// An export names its product: loading it onto another product's pages is asked first.
bool MayLoadOntoThisProduct(PageHost& host, const SettingsFile& file) {
  const QString text = "The file holds settings for a " + ProductName(*file.productCode) +
                       " controller; the window shows a " + ProductName(host.IdentifiedProduct()) +
                       ". Loaded here, its bytes are read as this window's pages read them, and "
                       "Send Cal would send them to this controller.";
  return host.prompts().Choose(Prompts::Kind::Warning, "Open", text, {"Load anyway", "Cancel"}, 1) ==
         0;
}

}  // namespace

void ExportCommands::Export1Click() {
  QString chosen = host_.prompts().SaveFileName(
      "Export", QCoreApplication::applicationDirPath() + "/*.json", kExportFilter);
  if (chosen.isEmpty()) return;
  const bool csv = chosen.endsWith(".csv", Qt::CaseInsensitive);
  if (!csv && !IsJsonFileName(chosen)) {
    chosen += ".json";
    // The dialog asked about the name typed; the file really written is another one.
    if (QFileInfo::exists(chosen) &&
        !host_.prompts().Confirm("Export", chosen + " already exists.\nDo you want to replace it?")) {
      return;
    }
  }
  const SettingsImage snapshot = host_.Image();
  const QByteArray data = csv ? ExportCsv(snapshot, host_.IdentifiedProduct())
                              : ExportJson(snapshot, host_.IdentifiedProduct());
  const QString failed = WriteWholeFile(chosen, data);
  if (!failed.isEmpty()) {
    ShowError(host_, "The settings could not be exported to " + chosen + ": " + failed);
  }
}

bool OpenSettingsFile(PageHost& host, const QString& fileName) {
  QString error;
  const auto file = ReadSettingsFile(fileName, error);
  if (!file) {
    ShowError(host, error);
    return false;
  }
  const bool sameProduct = SameLayout(host, *file);
  if (!sameProduct && !MayLoadOntoThisProduct(host, *file)) return false;
  host.CommitPendingEdit();
  const SettingsImage previous = host.Image();
  const std::uint8_t previousCode = host.ProductCode();
  host.Image() = file->image;
  host.RefreshControls(1);
  const SettingsImage shown = host.Image();
  // A value its page cannot show would be changed by the pages without a word: named instead.
  const std::vector<Difference> changed = Compare(file->image, shown, host.ProductCode());
  if (sameProduct && file->productCode && !changed.empty()) {
    host.Image() = previous;
    host.SetProductCode(previousCode);
    host.RefreshControls(1);
    QString lines;
    for (const Difference& d : changed) lines += "\n" + QString::fromStdString(d.Line());
    ShowError(host, "The file holds values its pages do not allow; they would change:" + lines +
                        "\nThe file is not loaded.");
    return false;
  }
  // The unsent edits the history keeps are those of the image before the file.
  host.Image() = previous;
  host.BeforeImageReplaced();
  host.Image() = shown;
  // The window now holds what the file holds, as after File > Open of a switch file.
  host.ImageKept();
  host.FileEvent(IsJsonFileName(fileName) ? history::EventKind::JsonImported
                                          : history::EventKind::FileOpened,
                 fileName);
  return true;
}

void ExportCommands::CompareWithFile1Click() {
  const QString chosen = host_.prompts().OpenFileName(
      "Compare with File", QCoreApplication::applicationDirPath() + "/*.joy", kCompareFilter);
  if (chosen.isEmpty()) return;
  QString error;
  const auto file = ReadSettingsFile(chosen, error);
  if (!file) {
    ShowError(host_, error);
    return;
  }
  CompareWindow window(host_.Image(), host_.IdentifiedProduct(), *file, chosen);
  if (host_.prompts().ShowModal(window) == CompareWindow::kLoadFile) OpenSettingsFile(host_, chosen);
}

}  // namespace zorv
